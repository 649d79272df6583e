#!/usr/bin/env bash
# `make screenshots`: pictures of the desktop program's windows under a virtual X server, saved
# in build/screenshots/ for review.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
cmake --build "$build" --target tickerlux_screenshots tickerlux-signsim
out=build/screenshots
mkdir -p "$out"
# The delivery picture starts the virtual sign from the build.
TICKERLUX_BUILD_DIR="$(realpath "$build")" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/gui/tickerlux_screenshots" "$out"
# The sign's web page as a phone shows it (360 px wide), after an update of the virtual sign.
cmake --build "$build" --target tickerlux-web tickerlux-signsim tickerlux-cli tickerlux-pageserve
/usr/bin/python3 tests/web/browser_test.py "$build" --screenshot "$out/web-phone.png"
