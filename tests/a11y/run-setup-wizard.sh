#!/usr/bin/env bash
# Runs setup_wizard.py against `zelvar run examples/setup.txt` on a desktop of its own: a
# virtual X server, a private session bus, and the accessibility bus and registry on it.
# Usage: run-setup-wizard.sh PYTHON ZELVAR_TOOL SOURCE_DIR BUS_LAUNCHER REGISTRYD
# (PYTHON has pyatspi; BUS_LAUNCHER and REGISTRYD are at-spi-bus-launcher and at-spi2-registryd.)
set -euo pipefail

python=$1 tool=$2 source=$3 launcher=$4 registryd=$5
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${ZELVAR_A11Y_INSIDE:-}" ]; then
  # Everything started below dies with the private session bus and this script.
  export ZELVAR_A11Y_INSIDE=1
  exec timeout -k 5 120 dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A free display: Xvfb picks it and writes its number.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
address=""
for _ in $(seq 100); do
  address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') && [ -n "$address" ] && break
  sleep 0.1
done
[ -n "$address" ] || { echo "the accessibility bus did not start"; cat "$work/bus.log"; exit 1; }
# The bridge and the client find the bus as a desktop program does, through org.a11y.Bus.
"$registryd" >"$work/registry.log" 2>&1 &
pids+=($!)

export XDG_STATE_HOME=$work/state
export NO_AT_BRIDGE=1
"$python" "$here/setup_wizard.py" "$tool" "$source/examples/setup.txt"
