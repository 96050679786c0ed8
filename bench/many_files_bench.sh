#!/usr/bin/env bash
# Cost per file of building and installing a distribution whose files all go to one
# directory, against makeself on the same files (compression level 9 on both sides). For each
# count (default "1000 10000", or MANY_FILES_COUNTS) it makes that many small files of 1 to
# 8 KB in one directory and prints, per file, our build and install times, makeself's, and the
# ratios ours / makeself (< 1: faster). A cost per file that grows with the count shows as a
# ratio that grows from one line to the next. Median of RUNS (default 1) runs of each side.
# MANY_FILES_LAYOUT=deep spreads the files over a tree of 100 directories two levels deep
# (data/dN/dM) instead of one directory; "1000 10000 50000" adds the largest count.
#   bench/many_files_bench.sh [BUILD_DIR]   (needs setup, quenloft, QuenloftLoadProgram built)
set -euo pipefail
cd "$(dirname "$0")/.."
name=many-files-bench
source bench/distribution_common.sh "$@"
runs=${RUNS:-1}

perfile() { awk -v t="$1" -v n="$2" 'BEGIN { printf "%.3f", t * 1000 / n }'; }

printf '%-6s | %-34s | %-34s\n' files "build ms/file: ours makeself ratio" "install ms/file: ours makeself ratio"
for count in ${MANY_FILES_COUNTS:-1000 10000}; do
  rm -rf "$work/tree" "$work/project" "$work/author"
  mkdir -p "$work/tree/data"
  # Text-like files of 1 to 8 KB, each different, so that both sides compress real work.
  /usr/bin/python3 - "$work/tree/data" "$count" "${MANY_FILES_LAYOUT:-flat}" <<'PY'
import random, sys
import os
folder, count, deep = sys.argv[1], int(sys.argv[2]), sys.argv[3] == "deep"
rng = random.Random(count)
words = [("".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9)))) for _ in range(4000)]
for n in range(count):
    size = rng.randint(1024, 8192)
    text, length = [], 0
    while length < size:
        w = rng.choice(words); text.append(w); length += len(w) + 1
    sub = "%s/d%d/d%d" % (folder, n % 10, n // 10 % 10) if deep else folder
    os.makedirs(sub, exist_ok=True)
    with open("%s/File%05d.txt" % (sub, n), "w") as f:
        f.write(" ".join(text)[:size])
PY
  first=$(cd "$work/tree" && find data -name File00000.txt)
  (cd "$work/tree" && find data -type f | LC_ALL=C sort) > "$work/list"
  make_project < "$work/list"
  echo '#!/bin/sh' > "$work/tree/noop.sh"; chmod +x "$work/tree/noop.sh"
  # Warm the page cache so that both sides read from memory.
  find "$work/tree" -type f -exec cat {} + > /dev/null
  time_both_sides
  installed=$(find "$work/machine/drive_c/Program Files/Bench Product/data" -type f | wc -l)
  [ "$installed" -eq "$count" ] || { echo "installed $installed of $count files" >&2; exit 1; }
  cmp -s "$work/tree/$first" "$work/machine/drive_c/Program Files/Bench Product/$first" ||
    { echo "an installed file differs from its source" >&2; exit 1; }
  printf '%-6s | %8s %8s %8s          | %8s %8s %8s\n' "$count" \
    "$(perfile "$b1" "$count")" "$(perfile "$b2" "$count")" "$(ratio "$b1" "$b2")" \
    "$(perfile "$i1" "$count")" "$(perfile "$i2" "$count")" "$(ratio "$i1" "$i2")"
done
