# The two set-up commands are `make demo` and `make test`; every target installs what it
# needs first (scripts/install-deps installs only missing packages).
JOBS ?= $(shell nproc)
RELEASE := build/release
SANITIZE := build/sanitize
BENCH := build/bench
FUZZ := build/fuzz
FUZZ_SECONDS ?= 30
CTEST_FLAGS := --output-on-failure -j $(JOBS) --timeout 600

.PHONY: all deps build test test-release test-sanitize demo bench fuzz format clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS)

test: test-release test-sanitize

test-release: build
	cd $(RELEASE) && ctest $(CTEST_FLAGS)

test-sanitize: deps
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DZELVAR_SANITIZE=ON
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest $(CTEST_FLAGS)

# With a display, the setup wizard in a window; without one (or if no window opens), the
# tour of both examples runs headless and leaves a picture per step in out/demo/.
demo: build
	@mkdir -p out/demo
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ] && $(RELEASE)/tools/zelvar run examples/setup.txt; then \
	  :; \
	else \
	  echo "== no window: the tour of the examples, pictures in out/demo/"; \
	  $(RELEASE)/tools/zelvar run --script examples/tour.zs; \
	fi

bench: deps
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DZELVAR_BUILD_TESTS=OFF -DZELVAR_BUILD_BENCH=ON
	cmake --build $(BENCH) -j $(JOBS)
	@for b in $(BENCH)/bench/bench_*; do echo "== $$b"; $$b || exit 1; done

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVAR_BUILD_TESTS=OFF \
	  -DZELVAR_BUILD_FUZZ=ON -DZELVAR_SANITIZE=ON
	cmake --build $(FUZZ) -j $(JOBS)
	@for f in $(FUZZ)/fuzz/fuzz_*; do \
	  name=$$(basename $$f .exe); name=$${name#fuzz_}; mkdir -p $(FUZZ)/corpus/$$name; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/corpus/$$name fuzz/seeds/$$name || exit 1; \
	done

format: deps
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
