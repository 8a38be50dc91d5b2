#!/bin/sh
# install_check.sh <build dir> <scratch prefix>: cmake --install puts the executable, the
# desktop entry and the AppStream metainfo where desktops look for them (the package is made
# from the same rules), and the entry and metainfo pass their validators.
set -eu
build="$1"; prefix="$2"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/lindenfold"
desktop-file-validate "$prefix/share/applications/lindenfold.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.lindenfold.lindenfold.metainfo.xml"
