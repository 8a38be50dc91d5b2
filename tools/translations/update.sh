#!/bin/sh
# Collects the interface texts of the sources into the translation files; translate what
# is marked unfinished with Qt Linguist, then rebuild (lrelease runs in the build).
set -eu
cd "$(dirname "$0")/../.."
for ts in translations/*.ts; do
    lang=$(basename "$ts" .ts | sed 's/^lindenfold_//')
    /usr/lib/qt6/bin/lupdate -locations none -no-obsolete -source-language en \
        -target-language "$lang" src -ts "$ts"
done
