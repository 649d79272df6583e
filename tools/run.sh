#!/usr/bin/env bash
# `make run`: starts the program from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
exec build/default/cli/tickerlux-cli --help
