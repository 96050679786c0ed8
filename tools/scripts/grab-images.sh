#!/usr/bin/env bash
# Draws the README's pictures of a project's dialogs with "quenloft preview" (offscreen, on a
# fresh machine of its own): each wizard page, the copy-progress, status and disk windows, as
# OUT_DIR/<picture>.png. A dialog the project lacks is skipped with a line saying so.
#   tools/scripts/grab-images.sh [DIALOG...]
# Without DIALOGs: the main window (main-window.png) and the sample's dialogs below.
# PROJECT: the project (default examples/sample/formMain.txt); OUT_DIR: default docs/images;
# BUILD_DIR: a build to use as it is; without it the quenloft target of build/ is built first.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
project=${PROJECT:-examples/sample/formMain.txt}
out=${OUT_DIR:-docs/images}
if [ -n "${BUILD_DIR:-}" ]; then
  build=$BUILD_DIR
else
  build=build
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" >/dev/null
  cmake --build "$build" -j2 --target quenloft >/dev/null
fi
quenloft=$build/bin/quenloft
[ -x "$quenloft" ] || { echo "grab-images: $quenloft does not exist; build the quenloft target" >&2; exit 2; }

dialogs=("$@")
main_window=$([ ${#dialogs[@]} -gt 0 ] || echo yes)
[ ${#dialogs[@]} -gt 0 ] || dialogs=(WelcomeDlg LicenseDlg ReadmeDlg SelectDestinationDlg SelectFolderDlg
  CopyFileDlg InstallStatusDlg ChangeDiskDlg RebootDlg GoodInstallationDlg BadInstallationDlg)

# The picture's file name for a dialog component of the sample's naming.
picture() {
  case $1 in
    WelcomeDlg) echo page-welcome ;;
    LicenseDlg) echo page-license ;;
    ReadmeDlg) echo page-readme ;;
    SelectDestinationDlg) echo page-select-destination ;;
    SelectFolderDlg) echo page-select-folder ;;
    RebootDlg) echo page-reboot ;;
    GoodInstallationDlg) echo page-good-installation ;;
    BadInstallationDlg) echo page-bad-installation ;;
    CopyFileDlg) echo copy-progress ;;
    InstallStatusDlg) echo install-status ;;
    ChangeDiskDlg) echo change-disk ;;
    *) echo "$1" | tr '[:upper:]' '[:lower:]' ;;
  esac
}

# The same machine every time, so that paths and drives in the pictures do not depend on the
# user's own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX=$work/machine QT_QPA_PLATFORM=offscreen
"$quenloft" machine create >/dev/null
mkdir -p "$out"

if [ -n "$main_window" ]; then
  "$quenloft" preview "$project" -o "$out/main-window.png"
  echo "$out/main-window.png"
fi

for dialog in "${dialogs[@]}"; do
  target=$out/$(picture "$dialog").png
  if "$quenloft" preview "$project" --page "$dialog" -o "$target" 2>"$work/err"; then
    echo "$target"
  elif grep -q "has no dialog component" "$work/err"; then
    echo "grab-images: skipping $dialog: $project has no such dialog component"
  else
    cat "$work/err" >&2
    exit 1
  fi
done
