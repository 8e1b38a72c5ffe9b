#!/bin/sh
# Checks the desktop entry with desktop-file-validate, which must find
# nothing to say about it: no error, warning or hint. Skips (exit 77) when the
# tool is missing (Debian's desktop-file-utils has it).
set -u
entry="$1"
if ! command -v desktop-file-validate >/dev/null 2>&1; then
    echo "SKIP: desktop-file-validate is not installed (scripts/install-deps installs it)"
    exit 77
fi
report=$(desktop-file-validate "$entry" 2>&1)
status=$?
if [ "$status" -ne 0 ] || [ -n "$report" ]; then
    echo "$report"
    echo "desktop-file-validate does not accept $entry as it is"
    exit 1
fi
echo "$entry is a valid desktop entry"
