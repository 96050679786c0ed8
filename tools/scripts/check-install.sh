#!/usr/bin/env bash
# The installed product on its own: installs the build BUILD_DIR into a temporary prefix,
# moves the build tree away, then with the installed tools alone compiles the sample project,
# builds its distribution with setup -b and installs it, and builds the example with code of
# its own through find_package(Quenloft), then its distribution, and installs that too. The
# build tree is put back however the script ends.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${BUILD_DIR:-build}
work=$(mktemp -d "${TMPDIR:-/tmp}/quenloft-install.XXXXXX")
prefix=$work/prefix
away=$work/build-tree

cmake --install "$build" --prefix "$prefix" >/dev/null
mv "$build" "$away"
trap 'mv "$away" "$build"; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# Desktop menu entries of the installed shortcuts stay in the scratch folder.
export XDG_DATA_HOME=$work/xdg-data
# A Unix path as the machines see it: drive Z: is the root of the file system.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# install DIST NAME: runs DIST's setup.exe on a fresh machine and checks that FILE arrived.
install_dist() {
  local machine=$work/machine-$2
  # Nobody clicks through a wizard here: its pages take their default buttons (one line each).
  QUENLOFT_UNATTENDED=1 WINEPREFIX="$machine" "$1/setup.exe" >/dev/null
  [ -f "$machine/drive_c/Program Files/$3" ] || { echo "$2: $3 was not installed" >&2; exit 1; }
  echo "$2: installed C:\\Program Files\\$3"
}

# The sample: a setup program beside the installed tools finds the product directory
# (lib/quenloft) on its own.
mkdir -p "$work/sample-dist"
"$prefix/bin/quenloft" compile "$root/examples/sample/formMain.txt" -o "$prefix/bin/sample-setup"
printf '%s\r\n' "$(winpath "$work/sample-dist")" > "$prefix/bin/BUILD.INF"
(cd "$root/examples/sample" && env -u QUENLOFT_PATH WINEPREFIX="$work/author" "$prefix/bin/sample-setup" -b)
install_dist "$work/sample-dist" sample "Sample Application/readme.txt"

# A project with code of its own, built against the installed package; its setup program
# lies in the project's build and names the product directory with QUENLOFT_PATH.
cmake -S "$root/examples/with-code" -B "$work/with-code" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/with-code" -j"$(nproc)" >/dev/null
program=$work/with-code/examples/with-code/example-with-code-setup
mkdir -p "$work/with-code-dist"
printf '%s\r\n' "$(winpath "$work/with-code-dist")" > "$(dirname "$program")/BUILD.INF"
(cd "$root/examples/with-code" && WINEPREFIX="$work/author" QUENLOFT_PATH="$prefix/lib/quenloft" "$program" -b)
install_dist "$work/with-code-dist" with-code "Example With Code/welcome.sh"
echo "the installed product works without its build tree"
