#!/usr/bin/env bash
# Configures, builds and runs every test. BUILD_DIR and CMAKE_ARGS may be set.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
