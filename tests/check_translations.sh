#!/usr/bin/env bash
# Fails when a text of the sources has no finished translation in a .ts file, or a .ts file
# keeps a text the sources no longer have: lupdate runs over a copy of each and says what it
# would change.
# Usage: check_translations.sh LUPDATE TS... -- LUPDATE_OPTION... -- SOURCE...
set -euo pipefail
lupdate=$1
shift
ts_files=()
while [ "$1" != -- ]; do
    ts_files+=("$1")
    shift
done
shift
options=()
while [ "$1" != -- ]; do
    options+=("$1")
    shift
done
shift
[ ${#ts_files[@]} -gt 0 ] || { echo "no translations found" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "${ts_files[@]}"; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" "${options[@]}" "$@" -ts "$copy" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
    # Each message whose translation is unfinished, new, vanished or obsolete, with its source.
    bad=$(python3 - "$copy" <<'PY'
import sys
import xml.etree.ElementTree as ET
for context in ET.parse(sys.argv[1]).getroot().iter("context"):
    name = context.findtext("name")
    for m in context.iter("message"):
        t = m.find("translation")
        kind = t.get("type") if t is not None else "missing"
        if kind or t is None or not (t.text or "").strip():
            print(f"  {name}: {kind or 'empty'}: {m.findtext('source')!r}")
PY
)
    if [ -n "$bad" ]; then
        echo "$(basename "$ts"): texts without a finished translation:"
        echo "$bad"
        status=1
    fi
    if ! cmp -s "$ts" "$copy"; then
        echo "$(basename "$ts") is not as lupdate writes it (cmake --build BUILD -t update_translations):"
        diff -u "$ts" "$copy" | head -40
        status=1
    fi
done
exit $status
