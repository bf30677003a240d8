#!/usr/bin/env bash
# Builds a Release build and runs the benchmarks; every case is also given as a ratio to a
# full-window fill measured in the same run, as the median of repeated runs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
build_tree "$ROOT/build-bench" Release -DKOYOMIPLAN_TESTS=OFF -DKOYOMIPLAN_BENCH=ON
say "running benchmarks"
# Every case is run three times and reported by its median, unless other options are given.
[ $# -gt 0 ] || set -- --benchmark_repetitions=3
QT_QPA_PLATFORM=offscreen "$ROOT/build-bench/bench/koyomiplan_bench" "$@"
