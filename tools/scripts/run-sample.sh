#!/usr/bin/env bash
# The main job: builds Quenloft, compiles the sample project into a setup program and runs
# it on a fresh machine directory.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)"
work=$(mktemp -d "${TMPDIR:-/tmp}/quenloft-sample.XXXXXX")
export WINEPREFIX="$work/machine"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$build/bin/quenloft" compile "$root/examples/sample/formMain.txt" -o "$work/setup"
echo "setup program: $work/setup"
QNL_DEBUG_TREE=1 "$work/setup"
echo "machine directory: $WINEPREFIX"
