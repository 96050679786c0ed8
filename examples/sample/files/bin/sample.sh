#!/bin/sh
# The sample's program; the installation starts it once at its end, and it notes that it ran.
dir=$(dirname "$0")
echo "Sample Application started $(date '+%Y-%m-%d %H:%M:%S')" >> "$dir/sample.log"
