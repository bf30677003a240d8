#!/usr/bin/env bash
# Builds a sanitizer Debug build and runs every test headless, then runs every fuzz target
# briefly. Safe to run again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
build_tree "$ROOT/build-test" Debug -DKOYOMIPLAN_SANITIZE=ON -DKOYOMIPLAN_TESTS=ON
say "running tests"
# Leak checking stays off: LeakSanitizer's tracer cannot run in every sandbox (it crashes
# after a passing test there), and Qt and fontconfig keep process-lifetime allocations that
# it would report. Address and undefined-behaviour checks stay on, for the tests and for the
# programs they start.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
(cd "$ROOT/build-test" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

# Every fuzz target, briefly: its seeds and a fixed number of mutated inputs.
build_fuzz_tree
say "running fuzz targets"
cd "$ROOT/build-fuzz"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
