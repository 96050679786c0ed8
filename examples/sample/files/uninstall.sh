#!/bin/sh
# The sample's uninstaller entry: the files it would remove are listed in the registry under
# HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sample Application.
echo "To remove the Sample Application, delete $(dirname "$0")"
