#!/usr/bin/env bash
# Runs one fuzz target for a while: bash scripts/fuzz.sh TARGET SECONDS [libFuzzer options]
# Targets: comma_text_fuzz, library_fuzz, settings_fuzz, record_fuzz. The corpus grows in
# build-fuzz/corpus/TARGET (seeded from tests/fuzz/corpus/TARGET); findings are written to
# build-fuzz/findings/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ $# -lt 2 ]; then
    say "usage: bash scripts/fuzz.sh TARGET SECONDS [libFuzzer options]"
    exit 2
fi
target="$1" seconds="$2"
shift 2
ensure_packages
build_fuzz_tree
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
corpus="$ROOT/build-fuzz/corpus/$target"
mkdir -p "$corpus" "$ROOT/build-fuzz/findings"
say "fuzzing $target for $seconds s"
cd "$ROOT/build-fuzz/findings"
QT_QPA_PLATFORM=offscreen "$ROOT/build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" \
    -timeout=1 -rss_limit_mb=4096 -detect_leaks=0 -print_final_stats=1 "$@" \
    "$corpus" "$ROOT/tests/fuzz/corpus/$target"
