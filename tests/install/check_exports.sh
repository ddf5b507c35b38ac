#!/bin/sh
# Fails when a shared library exports more than CEILING symbols of its own: only its marked API may show.
#   check_exports.sh LIBRARY CEILING
count=$(nm -D --defined-only -C "$1" | grep -c "zorvel::")
echo "$(basename "$1"): $count symbols exported"
[ "$count" -le "$2" ] || { echo "more than $2: are the library's internals hidden by default?" >&2; exit 1; }
