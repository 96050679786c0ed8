#!/bin/sh
# Streaming a language of 100, 1,000 and 10,000 lines into the translator, line by line as a
# project load does, against awk splitting the same lines at ";" (the peer). The time per
# line must stay flat: every added line is parsed once, not the whole language again.
# Usage: bench/translate_bench.sh [build dir]   (default: build)
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
cmake --build "$build" --target translate_bench -j2 >/dev/null
bench=$(find "$build" -name translate_bench -type f -perm -u+x | head -n 1)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

now() { date +%s.%N; }
printf '%8s %12s %12s %14s %12s %10s\n' lines "ours (s)" "us/line" "naive (s)" "awk (s)" "ours/awk"
for n in 100 1000 10000; do
  set -- $("$bench" "$n" "$tmp/lang.txt")
  ours=$2
  # The naive rule (whole language parsed after every line) takes a minute at 10,000 lines.
  naive=-1
  [ "$n" -le 1000 ] && naive=$("$bench" "$n" "$tmp/naive.txt" naive | cut -d' ' -f2)
  # awk: split each line at ";" and keep the text field, 20 rounds to rise above the start-up
  t0=$(now)
  i=0
  while [ $i -lt 20 ]; do
    awk -F';' '/^[0-9]/ { n++; c += length($2) } END { print n, c > "/dev/null" }' "$tmp/lang.txt"
    i=$((i + 1))
  done
  t1=$(now)
  awk_s=$(echo "$t0 $t1" | awk '{ printf "%.6f", ($2 - $1) / 20 }')
  echo "$n $ours $naive $awk_s" | awk '{ printf "%8d %12.6f %12.3f %14s %12.6f %10.2f\n", $1, $2, $2 / $1 * 1e6, ($3 < 0 ? "-" : sprintf("%.6f", $3)), $4, $2 / $4 }'
done
