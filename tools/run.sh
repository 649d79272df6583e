#!/usr/bin/env bash
# `make run`: starts the desktop program from the build tree (a settings file may be given).
set -euo pipefail
cd "$(dirname "$0")/.."
exec build/default/app/tickerlux "$@"
