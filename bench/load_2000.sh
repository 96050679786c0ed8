#!/usr/bin/env bash
# Loading a project of 2,000 components: our reader against Free Pascal's reader on the
# same binary resource (and gzip -dc of the same bytes as a second peer).
# usage: bench/load_2000.sh [BUILD_DIR]   (the build needs targets quenloft and bench_load_project)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
loads=20

python3 "$here/gen_project.py" 2000 > "$work/project.txt"
"$build/bin/quenloft" convert "$work/project.txt" "$work/project.bin"
echo "project: 2000 components, text $(stat -c %s "$work/project.txt") bytes, resource $(stat -c %s "$work/project.bin") bytes"

read -r ours count < <("$build/bin/bench_load_project" "$work/project.bin" $loads)
echo "quenloft reader: $ours ms per load ($count components)"

if command -v fpc > /dev/null; then
  fpc -O2 -v0 -FE"$work" -FU"$work" "$here/fpc_load_project.pas" > /dev/null
  fpcms=$("$work/fpc_load_project" "$work/project.bin" $loads)
  echo "fpc reader:      $fpcms ms per load"
  awk -v a="$ours" -v b="$fpcms" 'BEGIN { printf "ratio quenloft/fpc: %.2f\n", a / b }'
fi

gzip -c "$work/project.bin" > "$work/project.bin.gz"
start=$(date +%s%N)
for _ in $(seq $loads); do gzip -dc "$work/project.bin.gz" > /dev/null; done
gzms=$(awk -v ns=$(( $(date +%s%N) - start )) -v n=$loads 'BEGIN { printf "%.3f", ns / n / 1e6 }')
echo "gzip -dc:        $gzms ms per run"
awk -v a="$ours" -v b="$gzms" 'BEGIN { printf "ratio quenloft/gzip: %.2f\n", a / b }'
