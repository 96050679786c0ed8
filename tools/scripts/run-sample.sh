#!/usr/bin/env bash
# The main job: builds Quenloft, makes the sample project's setup program, builds its
# self-extracting distribution with -b on an author's machine, installs it by running the
# distribution's setup.exe on a fresh machine directory, and removes it again with the
# uninstaller it installed, showing that the machine is as before but for what the log keeps.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${BUILD_DIR:-build}
cmake -S . -B "$build" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" --target setup quenloft QuenloftLoadProgram QuenloftUninstall -j"$(nproc)"
bin=$(cd "$build/bin" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quenloft-sample.XXXXXX")
# Without a display the programs run on Qt's offscreen platform, and nobody can click through
# the wizard: each page is answered by its default button and printed as one line. On a
# desktop the person running the script walks through the real wizard.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
  export QUENLOFT_UNATTENDED=${QUENLOFT_UNATTENDED:-1}
fi
# A Unix path as the machines see it: drive Z: is the root of the file system.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

echo "== compiling the project examples/sample/formMain.txt"
mkdir -p "$work/project" "$work/dist"
"$bin/quenloft" compile "$root/examples/sample/formMain.txt" -o "$work/project/setup"

echo "== building the distribution (setup -b) into $work/dist"
# BUILD.INF beside the setup program names the build directory; the project's files are
# found relative to the sample's folder.
printf '%s\r\n' "$(winpath "$work/dist")" > "$work/project/BUILD.INF"
(cd "$root/examples/sample" && WINEPREFIX="$work/author" QUENLOFT_PATH="$bin" "$work/project/setup" -b)
ls -l "$work/dist"

echo "== installing: $work/dist/setup.exe on the fresh machine $work/machine"
# What the machine holds before the installation, to compare with after the uninstall: every
# file and folder of drive C: (but the temporary ones) and the registry as .reg text.
WINEPREFIX="$work/machine" "$bin/quenloft" machine create >/dev/null
snapshot() {
  (cd "$work/machine/drive_c" && find . -mindepth 1 ! -path './windows/temp*' | sort)
  for root in HKLM HKCU; do
    WINEPREFIX="$work/machine" "$bin/quenloft" reg export "$root" "$work/export.reg" --regedit4
    tr -d '\r' < "$work/export.reg"
  done
}
WINEPREFIX="$work/machine" snapshot > "$work/before.txt"
# The desktop menu entries of its Start-menu shortcuts go beside the machine, not into the
# user's own menu.
export XDG_DATA_HOME="$work/xdg"
status=0
# The pages' lines come on stderr; they join the output in the order they are printed.
WINEPREFIX="$work/machine" "$work/dist/setup.exe" 2>&1 || status=$?
echo "setup.exe exit status: $status"
[ "$status" -eq 0 ] || exit "$status"

installed="$work/machine/drive_c/Program Files/Sample Application"
echo "== the files went to C:\\Program Files\\Sample Application ($installed):"
(cd "$installed" && find . -type f | sort)
programs=$(WINEPREFIX="$work/machine" "$bin/quenloft" reg query \
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' | sed -n 's/^ *Programs  *REG_SZ  *//p')
menu="$work/machine/drive_c/$(printf '%s' "${programs#C:\\}" | tr '\\' /)/Sample Application"
echo "== the Start-menu folder $programs\\Sample Application ($menu):"
(cd "$menu" && find . -type f | sort)
if command -v lnkinfo >/dev/null; then
  for link in "$menu"/*.lnk "$menu"/*/*.lnk; do
    echo "-- lnkinfo ${link#"$menu"/}:"
    lnkinfo "$link" | grep -E '^\s+(Local path|Working directory|Command line arguments)\s'
  done
fi
echo "== the desktop menu entries ($XDG_DATA_HOME):"
(cd "$XDG_DATA_HOME" && find . -type f | sort)
echo "== the uninstall entry:"
for key in 'Sample Application' 'Sample Application\Files'; do
  WINEPREFIX="$work/machine" "$bin/quenloft" reg query \
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$key"
done
# The run-after-install program writes its log; the temporary setup directory is gone.
for _ in $(seq 50); do [ -f "$installed/sample.log" ] && break; sleep 0.1; done
[ -f "$installed/sample.log" ] || { echo "the run-after-install program did not start" >&2; exit 1; }
leftover=$(find "$work/machine/drive_c/windows/temp" -mindepth 1 -maxdepth 1 -type d | wc -l)
echo "temporary setup directories left: $leftover"
[ "$leftover" -eq 0 ] || exit 1

echo "== uninstalling: the installed QuenloftUninstall.exe, unattended, as its entry registers it"
# No WINEPREFIX: the uninstaller takes the machine it is installed in.
status=0
env -u WINEPREFIX "$installed/QuenloftUninstall.exe" --unattended --log "$work/uninstall.log" Sample Application 2>&1 ||
  status=$?
echo "QuenloftUninstall.exe exit status: $status"
[ "$status" -eq 0 ] || exit "$status"
echo "-- what its log lists as kept:"
grep ' kept: ' "$work/uninstall.log" | sed 's/^[^ ]* //'
echo "== the machine now and before the installation (diff; only what the log keeps may differ):"
WINEPREFIX="$work/machine" snapshot > "$work/after.txt"
diff "$work/before.txt" "$work/after.txt" > "$work/machine.diff" || true
cat "$work/machine.diff"
# Each difference must lie in a folder the log lists as kept.
kept=$(sed -n 's/^.* kept: C:\\\(.*\) (it holds .*$/\1/p' "$work/uninstall.log" | tr '\\' /)
unexplained=0
while IFS= read -r line; do
  case "$line" in [\<\>]\ *) ;; *) continue ;; esac
  explained=0
  while IFS= read -r folder; do
    [ -n "$folder" ] && case "${line#[<>] }" in "./$folder" | "./$folder"/*) explained=1 ;; esac
  done <<< "$kept"
  [ "$explained" -eq 1 ] || { echo "not as before: $line" >&2; unexplained=1; }
done < "$work/machine.diff"
[ "$unexplained" -eq 0 ] || exit 1
echo "drive C: and the registry are as before the installation, but for what the log keeps"
echo "machine directory: $work/machine"
