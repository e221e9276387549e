#!/bin/bash
# The libraries the program opens on first use must not be in its dynamic section: one of them
# linked again would be loaded, with all it brings, on every start.
# Usage: bibliotecas_bajo_demanda.sh <executable> <library name>...  (a name as "libqpdf": it
# matches libqpdf.so.29 and libqpdf-anything.so)
set -uo pipefail
exe=$1
shift
[ $# -gt 0 ] || { echo "no library names given" >&2; exit 2; }
needed=$(readelf -d "$exe" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
[ -n "$needed" ] || { echo "readelf found no NEEDED entry in $exe" >&2; exit 2; }
found=0
for name in "$@"; do
    while read -r lib; do
        case "$lib" in
        "$name".so* | "$name"-*.so*)
            echo "$exe links $lib" >&2
            found=1
            ;;
        esac
    done <<<"$needed"
done
[ "$found" = 0 ] || exit 1
echo "none of $* among: $(echo $needed)"
