#!/usr/bin/env bash
# `make package`: the Debian package of the default build in build/package/, its contents, and
# lintian's verdict (it fails on an error).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
out=$PWD/build/package
rm -f "$out"/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out"
deb=$(ls "$out"/*.deb)
echo "== $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
echo "== lintian"
lintian --info --display-info --fail-on error "$deb"
echo "lintian: no errors"
