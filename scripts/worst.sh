#!/usr/bin/env bash
# The worst-case search: the slowest redraws of one figure's records at 1920 × 1080 and
# 3840 × 2160, in Release, each with its ratio to a full-window fill of the same run.
# Usage: scripts/worst.sh FIGURE SECONDS [SEED]
#   FIGURE: a figure with settings, by kind number (0 … 8, not 5) or caption (円);
#   SECONDS: the time for the search, split between the two window sizes.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ $# -lt 2 ]; then
    echo "usage: scripts/worst.sh FIGURE SECONDS [SEED]" >&2
    exit 2
fi
ensure_packages
build_tree "$ROOT/build-bench" Release -DKOYOMIPLAN_TESTS=OFF -DKOYOMIPLAN_BENCH=ON >/dev/null
cmake --build "$ROOT/build-bench" --target worst_case -j "$(nproc)" >/dev/null
"$ROOT/build-bench/bench/worst_case" "$@"
