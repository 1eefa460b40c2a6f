#!/usr/bin/env bash
# check.sh <lupdate> <source folder> <ts files...>: every .ts file complete and up to date with the sources, and
# a guide in each language beside the English one, with as many paragraphs.
set -euo pipefail
lupdate=$1 sources=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
guides=$(dirname "$sources")/resources
paragraphs() { grep -o '\\par}' "$1" | wc -l; }
for ts in "$@"; do
    name=$(basename "$ts")
    language=${name#postavo_}
    guide="$guides/Help_${language%.ts}.rtf"
    if [ ! -f "$guide" ] || ! head -c 5 "$guide" | grep -qF '{\rtf'; then
        echo "$name: no guide in its language at $guide" >&2
        status=1
    elif [ "$(paragraphs "$guide")" != "$(paragraphs "$guides/Help.rtf")" ]; then
        echo "$(basename "$guide"): $(paragraphs "$guide") paragraphs, the English guide $(paragraphs "$guides/Help.rtf")" >&2
        status=1
    fi
    # Entries the sources no longer have, kept in the file.
    if grep -qE 'type="(vanished|obsolete)"' "$ts"; then
        echo "$name: holds texts the program no longer has; run the postavo_update_translations target" >&2
        status=1
    fi
    # Texts of the sources the file lacks show up as unfinished once lupdate has run over a copy.
    cp "$ts" "$work/$name"
    "$lupdate" -silent -no-obsolete -locations none "$sources" -ts "$work/$name" >/dev/null
    if ! cmp -s "$ts" "$work/$name"; then
        echo "$name: not up to date with the sources; run the postavo_update_translations target:" >&2
        diff "$ts" "$work/$name" | head -20 >&2 || true
        status=1
    fi
    if grep -q 'type="unfinished"' "$work/$name"; then
        echo "$name: unfinished translations:" >&2
        grep -B2 'type="unfinished"' "$work/$name" | grep '<source>' | head -20 >&2
        status=1
    fi
done
exit $status
