#!/usr/bin/env bash
# check-runpath.sh FOLDER: every ELF program and library under FOLDER may carry RPATH or RUNPATH
# entries that are absolute folders (or start at $ORIGIN) and nothing else. An empty entry, or a
# relative one, makes the loader search the folder the program is started from, where anyone
# could plant a library.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 FOLDER" >&2; exit 2; }

checked=0
bad=0
while IFS= read -r -d '' file; do
    dynamic=$(readelf --dynamic "$file" 2>/dev/null) || continue  # not an ELF file
    checked=$((checked + 1))
    while IFS= read -r path; do
        entries=()
        IFS=: read -r -a entries <<<"$path"
        # A trailing ':' leaves no field behind for read; count the separators instead.
        separators=${path//[^:]/}
        [ ${#entries[@]} -eq $((${#separators} + 1)) ] || entries+=("")
        for entry in "${entries[@]}"; do
            case $entry in
                /* | '$ORIGIN' | '$ORIGIN/'*) ;;
                *) echo "$file: RUNPATH [$path] has the entry '$entry'" >&2; bad=1 ;;
            esac
        done
    done < <(sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]$/\2/p' <<<"$dynamic")
done < <(find "$1" -type f \( -perm -u+x -o -name '*.so*' \) -not -path '*/_CPack_Packages/*' -print0)

[ "$checked" -gt 0 ] || { echo "no ELF file under $1" >&2; exit 1; }
echo "$checked ELF files checked"
exit $bad
