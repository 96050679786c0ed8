#!/usr/bin/env bash
# The main job: builds Quenloft, compiles the sample project into a setup program and runs
# it on a fresh machine directory, listing the loaded project.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${BUILD_DIR:-build}
cmake -S . -B "$build" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" --target setup quenloft -j"$(nproc)"
work=$(mktemp -d "${TMPDIR:-/tmp}/quenloft-sample.XXXXXX")
export WINEPREFIX="$work/machine"
# Without a display the program runs on Qt's offscreen platform.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
"$build/bin/quenloft" compile "$root/examples/sample/formMain.txt" -o "$work/setup"
echo "setup program: $work/setup"
status=0
QNL_DEBUG_TREE=1 "$work/setup" 2> >(tee "$work/stderr.txt" >&2) || status=$?
wait
echo "setup exit status: $status"
echo "machine directory: $WINEPREFIX"
# The installation pass is not built yet: the program loads the project, reaches the
# installation on its first activation and reports that it is not implemented. That is
# the expected end of this job until then; any other error fails it.
if [ "$status" -ne 0 ] && [ "$(grep -c . "$work/stderr.txt")" -eq 1 ] &&
   grep -qx "Error: TInstall.Process is not implemented" "$work/stderr.txt"; then
  echo "the project loaded; the installation pass is not implemented yet"
  exit 0
fi
exit "$status"
