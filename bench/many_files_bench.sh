#!/usr/bin/env bash
# Cost per file of building and installing a distribution whose files all go to one
# directory, against makeself on the same files (compression level 9 on both sides). For each
# count (default "1000 10000", or MANY_FILES_COUNTS) it makes that many small files of 1 to
# 8 KB in one directory and prints, per file, our build and install times, makeself's, and the
# ratios ours / makeself (< 1: faster). A cost per file that grows with the count shows as a
# ratio that grows from one line to the next. Median of RUNS (default 1) runs of each side.
#   bench/many_files_bench.sh [BUILD_DIR]   (needs setup, quenloft, QuenloftLoadProgram built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
bin=$build/bin
for p in setup quenloft QuenloftLoadProgram.exe; do
  [ -x "$bin/$p" ] || { echo "build setup, quenloft and QuenloftLoadProgram in $build first" >&2; exit 1; }
done
command -v makeself > /dev/null || { echo "makeself is not installed (apt-get install makeself)" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d /tmp/many-files-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-1}

seconds() { local s; s=$(date +%s.%N); "$@" > /dev/null 2>&1; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
perfile() { awk -v t="$1" -v n="$2" 'BEGIN { printf "%.3f", t * 1000 / n }'; }

ours_build() { rm -rf "$work/dist"; WINEPREFIX="$work/author" QUENLOFT_PATH="$bin" "$work/project/setup" -b; }
peer_build() { rm -f "$work/peer.run"; makeself --gzip --complevel 9 --nox11 "$work/tree" "$work/peer.run" bench ./noop.sh; }
ours_install() { rm -rf "$work/machine"; WINEPREFIX="$work/machine" "$work/dist/setup.exe"; }
peer_install() { rm -rf "$work/peer-out"; "$work/peer.run" --noexec --nox11 --quiet --target "$work/peer-out"; }

printf '%-6s | %-34s | %-34s\n' files "build ms/file: ours makeself ratio" "install ms/file: ours makeself ratio"
for count in ${MANY_FILES_COUNTS:-1000 10000}; do
  rm -rf "$work/tree" "$work/project" "$work/author"
  mkdir -p "$work/tree/data" "$work/project"
  # Text-like files of 1 to 8 KB, each different, so that both sides compress real work.
  /usr/bin/python3 - "$work/tree/data" "$count" <<'PY'
import random, sys
folder, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(count)
words = [("".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9)))) for _ in range(4000)]
for n in range(count):
    size = rng.randint(1024, 8192)
    text, length = [], 0
    while length < size:
        w = rng.choice(words); text.append(w); length += len(w) + 1
    with open("%s/File%05d.txt" % (folder, n), "w") as f:
        f.write(" ".join(text)[:size])
PY
  (cd "$work/tree" && find data -type f | LC_ALL=C sort) > "$work/list"
  python3 bench/make_bench_project.py "$work/tree" "Bench Product" < "$work/list" > "$work/formMain.txt"
  "$bin/quenloft" compile "$work/formMain.txt" -o "$work/project/setup" > /dev/null
  printf 'Z:%s\r\n' "$(echo "$work/dist" | tr / '\\')" > "$work/project/BUILD.INF"
  echo '#!/bin/sh' > "$work/tree/noop.sh"; chmod +x "$work/tree/noop.sh"
  # Warm the page cache so that both sides read from memory.
  find "$work/tree" -type f -exec cat {} + > /dev/null
  ob=() pb=() oi=() pi=()
  for _ in $(seq "$runs"); do
    ob+=("$(seconds ours_build)"); pb+=("$(seconds peer_build)")
    oi+=("$(seconds ours_install)"); pi+=("$(seconds peer_install)")
  done
  [ -s "$work/dist/setup.exe" ] && [ -s "$work/peer.run" ] || { echo "a build failed" >&2; exit 1; }
  installed=$(find "$work/machine/drive_c/Program Files/Bench Product/data" -type f | wc -l)
  [ "$installed" -eq "$count" ] || { echo "installed $installed of $count files" >&2; exit 1; }
  cmp -s "$work/tree/data/File00000.txt" "$work/machine/drive_c/Program Files/Bench Product/data/File00000.txt" ||
    { echo "an installed file differs from its source" >&2; exit 1; }
  b1=$(echo "${ob[*]}" | median); b2=$(echo "${pb[*]}" | median)
  i1=$(echo "${oi[*]}" | median); i2=$(echo "${pi[*]}" | median)
  printf '%-6s | %8s %8s %8s          | %8s %8s %8s\n' "$count" \
    "$(perfile "$b1" "$count")" "$(perfile "$b2" "$count")" "$(ratio "$b1" "$b2")" \
    "$(perfile "$i1" "$count")" "$(perfile "$i2" "$count")" "$(ratio "$i1" "$i2")"
done
