#!/usr/bin/env bash
# Start-up time: from launch to a visible window under Xvfb, for the presentation window and
# for a minimal Qt main window, launched in turn; then from launch to exit for
# koyomiplan-render drawing a default figure at 64 × 48 and for a minimal Qt Gui program
# that draws a text into an image and saves it. Prints every time, the medians and their
# ratios. Usage: scripts/startup.sh [LAUNCHES] (12 by default). Builds the Release benchmark
# tree first.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

launches="${1:-12}"
ensure_packages
build_tree "$ROOT/build-bench" Release -DKOYOMIPLAN_TESTS=OFF -DKOYOMIPLAN_BENCH=ON >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config"
cp "$ROOT/build-bench/src/koyomiplan" "$work/bin/"
say "launching each program $launches times"
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s '-noreset -screen 0 1920x1080x24' \
    bash -c '
        set -euo pipefail
        launches="$1" koyomiplan="$2" minimal="$3"
        # Milliseconds from launch until a window of that title is viewable, asked every 10 ms
        # (asking much more often runs the server out of connections).
        measure() {
            local title="$1"; shift
            local start end
            start=$(date +%s%N)
            "$@" >/dev/null 2>&1 & local pid=$!
            local tries=0
            until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
                sleep 0.01
                tries=$((tries + 1))
                [ "$tries" -lt 1000 ] || { echo "no $title window within seconds" >&2; exit 1; }
            done
            end=$(date +%s%N)
            kill "$pid"; wait "$pid" 2>/dev/null || true
            echo $(( (end - start) / 1000000 ))
        }
        median() { sort -n | awk "{ v[NR] = \$1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }"; }
        a=(); b=()
        for i in $(seq 1 "$launches"); do
            a+=("$(measure Minimal "$minimal")")
            b+=("$(measure Koyomiplan "$koyomiplan")")
        done
        echo "minimal window (ms):      ${a[*]}"
        echo "presentation window (ms): ${b[*]}"
        ma=$(printf "%s\n" "${a[@]}" | median); mb=$(printf "%s\n" "${b[@]}" | median)
        echo "medians: minimal ${ma} ms, presentation ${mb} ms, ratio $(awk -v a="$ma" -v b="$mb" "BEGIN { printf \"%.2f\", b / a }")"
    ' _ "$launches" "$work/bin/koyomiplan" "$ROOT/build-bench/bench/minimal_window"

say "running the command and a minimal Qt Gui program $launches times each"
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Milliseconds (to a tenth) from launch to exit.
run_ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v d="$((end - start))" 'BEGIN { printf "%.1f", d / 1e6 }'
}
a=(); b=()
for i in $(seq 1 "$launches"); do
    a+=("$(run_ms "$ROOT/build-bench/bench/minimal_render" "$work/minimal.png")")
    b+=("$(run_ms "$ROOT/build-bench/src/koyomiplan-render" --kind 0 --size 64x48 -o "$work/kind0.png")")
done
echo "minimal Qt Gui program (ms): ${a[*]}"
echo "koyomiplan-render --kind 0 --size 64x48 (ms): ${b[*]}"
ma=$(printf "%s\n" "${a[@]}" | median); mb=$(printf "%s\n" "${b[@]}" | median)
echo "medians: minimal ${ma} ms, command ${mb} ms, ratio $(awk -v a="$ma" -v b="$mb" 'BEGIN { printf "%.2f", b / a }')"
