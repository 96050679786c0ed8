#!/usr/bin/env bash
# System calls per file of building and installing COUNT (default 3000, or SYSCALL_FILES) small
# files in one directory, counted by strace over every thread: a figure that does not depend on
# how busy the machine is. Prints the calls per file of each side and the commonest calls.
#   bench/syscalls_per_file.sh [BUILD_DIR]   (needs strace, and setup, quenloft, QuenloftLoadProgram built)
set -euo pipefail
cd "$(dirname "$0")/.."
name=syscall-bench
source bench/distribution_common.sh "$@"
command -v strace > /dev/null || { echo "strace is not installed (apt-get install strace)" >&2; exit 1; }
count=${SYSCALL_FILES:-3000}

mkdir -p "$work/tree/data"
/usr/bin/python3 - "$work/tree/data" "$count" <<'PY'
import random, sys
folder, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(count)
for n in range(count):
    with open("%s/File%05d.txt" % (folder, n), "w") as f:
        f.write(" ".join("w%d" % rng.randrange(5000) for _ in range(rng.randint(200, 1600))))
PY
(cd "$work/tree" && find data -type f | LC_ALL=C sort) > "$work/list"
make_project < "$work/list"

# strace -c's last line is the total; the lines above it, the calls by name.
count_calls() {
  strace -f -c -o "$work/calls" "$@" > /dev/null 2>&1
  awk -v n="$count" '$NF == "total" { printf "%.1f", $4 / n }' "$work/calls"
}
top_calls() {
  # Columns: % time, seconds, usecs/call, calls, [errors,] name.
  awk -v n="$count" '$1 ~ /^[0-9.]+$/ && $NF != "total" { printf "%s %.1f\n", $NF, $4 / n }' "$work/calls" |
    sort -k2 -rn | head -6 | tr '\n' ' '
}
b=$(count_calls env WINEPREFIX="$work/author" QUENLOFT_PATH="$bin" "$work/project/setup" -b)
echo "build:   $b calls per file   ($(top_calls))"
i=$(count_calls env WINEPREFIX="$work/machine" "$work/dist/setup.exe")
echo "install: $i calls per file   ($(top_calls))"
