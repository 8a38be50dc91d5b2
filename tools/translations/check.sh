#!/bin/sh
# check.sh [scratch dir]: every interface text of the sources has a finished translation in
# every language of translations/, and the desktop entry and the AppStream metainfo carry
# their texts in each of those languages. Prints what is missing and fails.
set -eu
cd "$(dirname "$0")/../.."
scratch="${1:-$(mktemp -d)}"
mkdir -p "$scratch"
desktop=packaging/lindenfold.desktop
metainfo=packaging/org.lindenfold.lindenfold.metainfo.xml
paragraphs=$(grep -c '^ *<p>' "$metainfo")
failed=0
for ts in translations/*.ts; do
    lang=$(basename "$ts" .ts | sed 's/^lindenfold_//')
    # the sources as they are now, merged into a copy: new texts come out unfinished
    cp "$ts" "$scratch/$lang.ts"
    /usr/lib/qt6/bin/lupdate -silent -locations none -no-obsolete -source-language en \
        -target-language "$lang" src -ts "$scratch/$lang.ts"
    open=$(grep -c -e 'type="unfinished"' -e '<translation></translation>' "$scratch/$lang.ts" || true)
    if [ "$open" -ne 0 ]; then
        echo "$lang: $open interface texts without a finished translation:"
        grep -B1 -e 'type="unfinished"' -e '<translation></translation>' "$scratch/$lang.ts" |
            sed -n 's|.*<source>\(.*\)</source>.*|    \1|p'
        failed=1
    fi
    for key in Name GenericName Comment Keywords; do
        if ! grep -q "^$key\[$lang\]=." "$desktop"; then
            echo "$lang: $desktop has no $key[$lang]"
            failed=1
        fi
    done
    if ! grep -q "<summary xml:lang=\"$lang\">" "$metainfo" ||
        [ "$(grep -c "<p xml:lang=\"$lang\">" "$metainfo")" -ne "$paragraphs" ]; then
        echo "$lang: $metainfo lacks the summary or a paragraph of the description"
        failed=1
    fi
done
exit "$failed"
