#!/usr/bin/env bash
# The cost of the progress window: the same distribution installed with and without a
# TCopyFileDlg (offscreen), alternating, RUNS (default 5) times each. Prints the medians of the
# elapsed and of the CPU (user + system) seconds and the ratios with / without (1.00: no cost);
# on a shared machine the CPU figure is the steadier one. The tree is DIST_BENCH_MB (default 100) MB of
# /usr/lib and /usr/share, at most 1999 files.
#   bench/progress_window_bench.sh [BUILD_DIR]   (needs setup, quenloft, QuenloftLoadProgram built)
set -euo pipefail
cd "$(dirname "$0")/.."
name=progress-bench
source bench/distribution_common.sh "$@"
limit=$((${DIST_BENCH_MB:-100} * 1024 * 1024))
runs=${RUNS:-5}

gather_tree "$limit"

# One distribution per project: without and with the progress window.
for variant in plain progress; do
  flag=(); [ "$variant" = progress ] && flag=(--progress)
  mkdir -p "$work/$variant"
  python3 bench/make_bench_project.py "$work/tree" "Bench Product" "${flag[@]}" < "$work/list" > "$work/$variant/formMain.txt"
  "$bin/quenloft" compile "$work/$variant/formMain.txt" -o "$work/$variant/setup" > /dev/null
  printf 'Z:%s\r\n' "$(echo "$work/$variant/dist" | tr / '\\')" > "$work/$variant/BUILD.INF"
  WINEPREFIX="$work/author" QUENLOFT_PATH="$bin" "$work/$variant/setup" -b > /dev/null
done
# Elapsed and CPU seconds of one install, as "elapsed cpu".
measure() {
  rm -rf "$work/machine"
  /usr/bin/time -f '%e %U %S' -o "$work/t" env WINEPREFIX="$work/machine" "$work/$1/dist/setup.exe" > /dev/null 2>&1
  awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' "$work/t"
}
cat "$work"/*/dist/* > /dev/null
plain=() progress=() plaincpu=() progresscpu=()
for _ in $(seq "$runs"); do
  read -r e c < <(measure plain); plain+=("$e"); plaincpu+=("$c")
  read -r e c < <(measure progress); progress+=("$e"); progresscpu+=("$c")
done
p1=$(echo "${plain[*]}" | median); p2=$(echo "${progress[*]}" | median)
c1=$(echo "${plaincpu[*]}" | median); c2=$(echo "${progresscpu[*]}" | median)
installed=$(find "$work/machine/drive_c/Program Files/Bench Product" -type f | wc -l)
echo "installed files (last run, with the window): $installed"
echo "install: without ${p1}s  with the progress window ${p2}s  ratio with/without $(ratio "$p2" "$p1")   (runs: ${plain[*]} / ${progress[*]})"
echo "install CPU: without ${c1}s  with the progress window ${c2}s  ratio with/without $(ratio "$c2" "$c1")   (runs: ${plaincpu[*]} / ${progresscpu[*]})"
