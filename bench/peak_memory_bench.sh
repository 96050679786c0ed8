#!/usr/bin/env bash
# Peak memory of an installation against the size of its archive: for each size in MB
# (default "160 1536", or PEAK_BENCH_MB) it generates a tree of that size, half incompressible
# (random bytes) and half text, in files of 1 KB to 8 MB (at most 1999, an install file's
# UniqueID goes up to 1999), builds our distribution and prints the peak resident memory of
# one installation (GNU time's maximum RSS, the setup program and the programs it waited for)
# beside makeself's extraction of the same tree. A peak that does not grow with the archive
# is the goal. Everything lives in one scratch folder in /tmp, removed at the end (the largest
# size needs about four times its size of free disk there).
#   bench/peak_memory_bench.sh [BUILD_DIR]   (needs setup, quenloft, QuenloftLoadProgram built)
set -euo pipefail
cd "$(dirname "$0")/.."
name=peak-bench
source bench/distribution_common.sh "$@"

printf '%-8s | %-10s | %-22s | %s\n' "tree MB" "archive MB" "install peak MiB: ours" "makeself"
for mb in ${PEAK_BENCH_MB:-160 1536}; do
  rm -rf "$work/tree" "$work/project" "$work/dist" "$work/author" "$work/machine" "$work/peer.run" "$work/peer-out"
  mkdir -p "$work/tree/data"
  /usr/bin/python3 - "$work/tree/data" "$mb" <<'PY'
import os, random, sys
folder, total = sys.argv[1], int(sys.argv[2]) * 1024 * 1024
rng = random.Random(total)
words = [("".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9)))) for _ in range(4000)]
text = " ".join(rng.choice(words) for _ in range(400000)).encode()
# Sizes spread over four orders of magnitude; the average is chosen so that the count stays
# below 2000 at the largest size.
average = max(64 * 1024, total // 1800)
done, n = 0, 0
while done < total and n < 1999:
    size = min(total - done, max(1024, int(rng.expovariate(1 / average))), 8 * 1024 * 1024)
    with open("%s/File%04d.bin" % (folder, n), "wb") as f:
        if n % 2:
            f.write(os.urandom(size))
        else:
            start = rng.randrange(len(text) - 1)
            chunk = (text[start:] + text) * (size // len(text) + 1)
            f.write(chunk[:size])
    done += size
    n += 1
PY
  (cd "$work/tree" && find data -type f | LC_ALL=C sort) > "$work/list"
  make_project < "$work/list"
  echo '#!/bin/sh' > "$work/tree/noop.sh"; chmod +x "$work/tree/noop.sh"
  ours_build > /dev/null 2>&1
  peer_build > /dev/null 2>&1
  [ -s "$work/dist/setup.exe" ] && [ -s "$work/peer.run" ] || { echo "a build failed" >&2; exit 1; }
  archive=$(du -m "$work/dist/setup.exe" | cut -f1) # the self-extracting program holds the archives
  rm -rf "$work/machine" "$work/peer-out"
  m1=$(peak_mib env WINEPREFIX="$work/machine" "$work/dist/setup.exe")
  installed=$(find "$work/machine/drive_c/Program Files/Bench Product/data" -type f | wc -l)
  [ "$installed" -eq "$(wc -l < "$work/list")" ] || { echo "installed $installed of $(wc -l < "$work/list") files" >&2; exit 1; }
  rm -rf "$work/machine"
  m2=$(peak_mib "$work/peer.run" --noexec --nox11 --quiet --target "$work/peer-out")
  printf '%-8s | %-10s | %-22s | %s\n' "$(du -sm "$work/tree" | cut -f1)" "$archive" "$m1" "$m2"
done
