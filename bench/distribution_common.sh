# Shared by the distribution benchmarks (sourced): checks the programs, makes the scratch folder
# $work, and defines the timing helpers and both sides' build and install of $work/tree.
# Before sourcing: cd to the repository and set name (the scratch folder's prefix); $1 is the
# build directory (default build).
build=$(realpath "${1:-build}")
bin=$build/bin
for p in setup quenloft QuenloftLoadProgram.exe; do
  [ -x "$bin/$p" ] || { echo "build setup, quenloft and QuenloftLoadProgram in $build first" >&2; exit 1; }
done
command -v makeself > /dev/null || { echo "makeself is not installed (apt-get install makeself)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time is not installed (apt-get install time)" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d "/tmp/$name.XXXXXX")
trap 'rm -rf "$work"' EXIT

seconds() { local s; s=$(date +%s.%N); "$@" > /dev/null 2>&1; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Peak resident memory in MiB of a command and the programs it waited for (GNU time's %M).
peak_mib() { /usr/bin/time -f %M -o "$work/peak" "$@" > /dev/null 2>&1; awk '{ printf "%.1f", $1 / 1024 }' "$work/peak"; }

# The project setup program for $work/tree from the file list on stdin, building into $work/dist.
# Copies into $work/tree the regular readable files of /usr/lib and /usr/share whose names
# Windows accepts, in name order, up to LIMIT bytes and 1999 files (an install file's UniqueID
# goes up to 1999); their paths go to $work/list.
gather_tree() {
  find /usr/lib /usr/share -xdev -type f -readable -size -20M -printf '%s\t%p\n' 2>/dev/null |
    LC_ALL=C sort -t$'\t' -k2,2 |
    awk -F'\t' -v limit="$1" '$2 ~ /^[ -~]+$/ && $2 !~ /[\\:*?"<>|]/ {
        if (total + $1 > limit || n == 1999) exit; total += $1; n++; print substr($2, 2) }' > "$work/list" || true
  mkdir -p "$work/tree"
  (cd / && tr '\n' '\0' < "$work/list" | xargs -0 cp --parents -t "$work/tree")
  echo "tree: $(wc -l < "$work/list") files, $(du -sm "$work/tree" | cut -f1) MB"
}

make_project() {
  mkdir -p "$work/project"
  python3 bench/make_bench_project.py "$work/tree" "Bench Product" > "$work/formMain.txt"
  "$bin/quenloft" compile "$work/formMain.txt" -o "$work/project/setup" > /dev/null
  printf 'Z:%s\r\n' "$(echo "$work/dist" | tr / '\\')" > "$work/project/BUILD.INF"
}

ours_build() { rm -rf "$work/dist"; WINEPREFIX="$work/author" QUENLOFT_PATH="$bin" "$work/project/setup" -b; }
peer_build() { rm -f "$work/peer.run"; makeself --gzip --complevel 9 --nox11 "$work/tree" "$work/peer.run" bench ./noop.sh; }
ours_install() { rm -rf "$work/machine"; WINEPREFIX="$work/machine" "$work/dist/setup.exe"; }
peer_install() { rm -rf "$work/peer-out"; "$work/peer.run" --noexec --nox11 --quiet --target "$work/peer-out"; }

# Times RUNS builds and installs of each side, alternating, into the arrays ob pb oi pi, and
# their medians into b1 b2 i1 i2; fails when a build made nothing.
time_both_sides() {
  ob=() pb=() oi=() pi=()
  for _ in $(seq "$runs"); do
    ob+=("$(seconds ours_build)"); pb+=("$(seconds peer_build)")
    oi+=("$(seconds ours_install)"); pi+=("$(seconds peer_install)")
  done
  [ -s "$work/dist/setup.exe" ] && [ -s "$work/peer.run" ] || { echo "a build failed" >&2; exit 1; }
  b1=$(echo "${ob[*]}" | median); b2=$(echo "${pb[*]}" | median)
  i1=$(echo "${oi[*]}" | median); i2=$(echo "${pi[*]}" | median)
}
