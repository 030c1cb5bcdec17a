# Installs the build into a scratch prefix, then builds and runs programs of other projects
# against it: a headless CMake project, which must neither look for nor link SDL2 and Xlib (and
# which compiles every installed header on its own), the C++ examples (examples/cpp), which link
# the window backend and run under their scripts, and one-file programs built with pkg-config
# alone. Another consumer project is one more check_project call (ZELVAR_SOURCE_DIR is the
# repository, for a project outside tests/install).
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGV}")
  endif()
endfunction()

# Configures the CMake project in source against the prefix, builds it in WORK_DIR/name and
# runs its program there with the ARGS given; CONFIGURE options go to the configure step.
function(check_project name source program)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "ARGS;CONFIGURE")
  set(build ${WORK_DIR}/${name})
  run(${CMAKE_COMMAND} -S ${source} -B ${build}
      -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release ${arg_CONFIGURE})
  run(${CMAKE_COMMAND} --build ${build} --parallel 2)
  run(${build}/${program} ${arg_ARGS})
endfunction()

# The shared libraries a program loads, as ldd names them; a program that names one it does
# not use fails here.
function(loaded_libraries program out)
  execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE libs RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "ldd ${program} failed (${rc})")
  endif()
  execute_process(COMMAND ldd -u ${program} OUTPUT_VARIABLE unused)
  if(unused MATCHES "/")
    message(FATAL_ERROR "${program} links libraries it does not use:\n${unused}")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${libs}")
  list(LENGTH lines count)
  message(STATUS "${program} loads ${count} shared libraries")
  set(${out} "${libs}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${ZELVAR_BUILD_DIR} --prefix ${prefix})

# Headless: SDL2 and X11 cannot even be found, so the package must not ask for them.
check_project(headless ${CONSUMER_SOURCE_DIR} consumer
  CONFIGURE -DCMAKE_DISABLE_FIND_PACKAGE_SDL2=ON -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON)
loaded_libraries(${WORK_DIR}/headless/consumer libs)
if(libs MATCHES "libSDL2|libX11")
  message(FATAL_ERROR "the headless consumer loads SDL2 or Xlib:\n${libs}")
endif()

# The C++ examples of the guide, built as a developer builds them (find_package(Zelvar), link
# Zelvar::zelvar and Zelvar::window), each run headless under its script from examples/, where
# the form files are: a script that fails, or ends early, fails the program.
set(examples ${ZELVAR_SOURCE_DIR}/examples)
run(${CMAKE_COMMAND} -S ${examples}/cpp -B ${WORK_DIR}/examples
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/examples --parallel 2)
function(run_example program expected)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ZELVAR_SCRIPT=cpp/${program}.zs ${WORK_DIR}/examples/${program}
    WORKING_DIRECTORY ${examples} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
    message(FATAL_ERROR "${program} under cpp/${program}.zs: status ${rc}\n${out}${err}")
  endif()
endfunction()
run_example(first_wizard "Finished: Ada\n")
run_example(setup "Installed into /usr/local/zelvar, language German\n")
loaded_libraries(${WORK_DIR}/examples/setup libs)
if(NOT libs MATCHES "libSDL2")
  message(FATAL_ERROR "the setup example does not load SDL2:\n${libs}")
endif()

# Without CMake: the compiler line that pkg-config gives is all it takes.
function(check_pkgconfig name module source)
  execute_process(COMMAND pkg-config --cflags --libs ${module}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(${CXX} ${source} -o ${WORK_DIR}/${name} ${flags})
  run(${WORK_DIR}/${name})
endfunction()
set(ENV{PKG_CONFIG_PATH} ${prefix}/${ZELVAR_LIBDIR}/pkgconfig)
execute_process(COMMAND pkg-config --exact-version=${ZELVAR_VERSION} --print-errors zelvar
  COMMAND_ERROR_IS_FATAL ANY)
check_pkgconfig(pkgconfig zelvar ${CONSUMER_SOURCE_DIR}/pkgconfig/main.cpp)
check_pkgconfig(pkgconfig-window zelvar-window ${CONSUMER_SOURCE_DIR}/window/main.cpp)
