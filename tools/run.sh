#!/usr/bin/env bash
# `make run`: starts the desktop program from the build tree (a settings file may be given).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display here, so the desktop program cannot open its window; the command line" >&2
  echo "front end works without one (build/default/cli/tickerlux-cli):" >&2
  echo >&2
  exec build/default/cli/tickerlux-cli --help
fi
exec build/default/app/tickerlux "$@"
