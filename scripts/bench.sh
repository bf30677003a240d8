#!/usr/bin/env bash
# Builds a Release build and runs the benchmarks; every case is also given as a ratio to a
# full-window fill measured in the same run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
build_tree "$ROOT/build-bench" Release -DKOYOMIPLAN_TESTS=OFF -DKOYOMIPLAN_BENCH=ON
say "running benchmarks"
QT_QPA_PLATFORM=offscreen "$ROOT/build-bench/bench/koyomiplan_bench" "$@"
