#!/usr/bin/env bash
# Runs one fuzz target as a test: the committed seeds, then a fixed number of mutated inputs
# from a fixed seed, into a scratch corpus (the committed one is never written). These brief
# runs are for crashes and sanitizer reports: an input fails here only after 60 s, so that
# the known slow presets (tests/fuzz/findings, seconds each under the sanitizers) and a busy
# shared machine do not fail the run; the long runs of scripts/fuzz.sh count anything over
# 1 s as a finding. Leak checking is off: Qt keeps allocations for the life of the process.
set -euo pipefail
target="$1" corpus="$2" runs="$3" max_len="$4"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$target" -runs="$runs" -seed=1 -timeout=60 -rss_limit_mb=4096 -detect_leaks=0 -max_len="$max_len" \
    -print_final_stats=1 "$work" "$corpus" 2>&1 | tail -n 25
