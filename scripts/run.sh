#!/usr/bin/env bash
# Builds a Release build and starts the program. Safe to run again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
build_tree "$ROOT/build-release" Release -DKOYOMIPLAN_TESTS=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    say "no display to open the window on; start it under a virtual one with: xvfb-run -a bash scripts/run.sh"
    exit 2
fi
say "starting"
exec "$ROOT/build-release/src/koyomiplan"
