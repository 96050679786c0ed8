#!/bin/sh
# Started after the installation when the user says yes: greets from the installed directory.
echo "Welcome to the example with code, installed in $(dirname "$0")"
