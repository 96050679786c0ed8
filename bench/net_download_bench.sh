#!/usr/bin/env bash
# Downloading a network distribution (NET_BENCH_MB, default 200, of archives) from a local HTTP
# server with one net location, against `curl -o` of the same files in one curl process. Prints
# the median of RUNS (default 3) runs of each side and the ratio ours / curl (goal <= 1.1).
#   bench/net_download_bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
cmake --build "$build" --target net_download_bench -j2 > /dev/null
driver=$build/bin/net_download_bench
work=$(mktemp -d /tmp/net-bench.XXXXXX)
server=
trap '[ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
export WINEPREFIX="$work/machine"
runs=${RUNS:-3}
mb=${NET_BENCH_MB:-200}

# Archives are compressed: random bytes stand for them. Four archives and the file list.
mkdir -p "$work/www/dist" "$work/ours" "$work/curl"
files=()
for name in Install1.1 Docs.1 Tools.1 Extras.1; do
  head -c $((mb * 1024 * 1024 / 4)) /dev/urandom > "$work/www/dist/$name"
  files+=("$name")
done
head -c 220 /dev/urandom > "$work/www/dist/filelist.lst"
files+=(filelist.lst)

/usr/bin/python3 tests/support/net_server.py http "$work/www" > "$work/port" &
server=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
host=127.0.0.1:$(sed 's/PORT //' "$work/port")
urls=()
for f in "${files[@]}"; do urls+=(-o "$work/curl/$f" "http://$host/dist/$f"); done

seconds() { local s; s=$(date +%s.%N); "$@" > /dev/null; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ours() { "$driver" "$host" dist "$work/ours" "${files[@]}"; }
peer() { curl -s "${urls[@]}"; }

o=() p=()
for _ in $(seq "$runs"); do
  o+=("$(seconds ours)")
  p+=("$(seconds peer)")
done
for f in "${files[@]}"; do cmp -s "$work/www/dist/$f" "$work/ours/$f" || { echo "$f differs" >&2; exit 1; }; done
mo=$(echo "${o[*]}" | median) mp=$(echo "${p[*]}" | median)
echo "download of $mb MB in ${#files[@]} files, median of $runs: ours ${mo}s (${o[*]}), curl -o ${mp}s (${p[*]})"
awk -v a="$mo" -v b="$mp" 'BEGIN { printf "ratio ours / curl: %.2f (goal <= 1.1)\n", a / b }'
