#!/usr/bin/env bash
# Builds (installing what is missing), starts the controller simulator on the network port
# (the editor's COM5) unless something already listens there, then the editor. The simulator
# stops when the editor exits; its log is in ${TMPDIR:-/tmp}/kestrova-sim.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"

sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
}
trap stop_sim EXIT

if (exec 3<>/dev/tcp/127.0.0.1/2217) 2>/dev/null; then
  echo "Something already listens on 127.0.0.1:2217; the editor's COM5 will reach it."
else
  log="${TMPDIR:-/tmp}/kestrova-sim.log"
  "$root/build/tools/sim/kestrova-sim" >"$log" 2>&1 &
  sim_pid=$!
  echo "Controller simulator on 127.0.0.1:2217 (COM5), log: $log"
fi

"$root/build/src/ui/kestrova-editor"
