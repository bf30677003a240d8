#!/usr/bin/env bash
# Runs one fuzz target as a test: the committed seeds, then a fixed number of mutated inputs
# from a fixed seed, into a scratch corpus (the committed one is never written). These brief
# runs are for crashes and sanitizer reports, which fail the test: they run in a child
# process (-fork) so that an input still drawing after 10 s is set aside and counted
# ("timeout" in the last lines) instead of ending the run. Slowness is what the long runs of
# scripts/fuzz.sh track (anything over 1 s is a finding; the open ones are in
# tests/fuzz/findings while open). Leak checking is off: Qt keeps allocations for the life of the
# process.
set -euo pipefail
target="$1" corpus="$2" runs="$3" max_len="$4"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$target" -fork=1 -ignore_timeouts=1 -runs="$runs" -seed=1 -timeout=10 -rss_limit_mb=4096 -detect_leaks=0 -max_len="$max_len" \
    -print_final_stats=1 "$work" "$corpus" 2>&1 | tail -n 25
