#!/usr/bin/env bash
# Builds a sanitizer Debug build and runs every test headless. Safe to run again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
build_tree "$ROOT/build-test" Debug -DKOYOMIPLAN_SANITIZE=ON -DKOYOMIPLAN_TESTS=ON
say "running tests"
cd "$ROOT/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
