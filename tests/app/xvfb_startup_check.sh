#!/usr/bin/env bash
# The start of a lesson under Xvfb with a window manager (openbox): a library with blank
# last lines and lines that cannot be read puts no box over the projection, and a start-up
# message (a library that cannot be read at all) comes over the presentation window once it
# is up, which stays the same window when the message is closed.
set -euo pipefail
exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=0

mkdir -p "$work/bin" "$work/config"
cp "$exe" "$work/bin/koyomiplan"

env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s '-screen 0 1280x800x24' \
    bash -c '
        set -euo pipefail
        work="$1"
        openbox & wm=$!
        trap "kill $wm 2>/dev/null || true" EXIT
        sleep 1
        # The visible top-level windows named Koyomiplan, one "id width" a line.
        windows() {
            for w in $(xdotool search --onlyvisible --name "^Koyomiplan$" 2>/dev/null); do
                eval "$(xdotool getwindowgeometry --shell "$w")"
                echo "$w $WIDTH"
            done
        }
        # The presentation window is 800 pixels wide; a message box is far narrower.
        presentation() { windows | awk "\$2 >= 800 { print \$1 }"; }
        boxes() { windows | awk "\$2 < 800" | wc -l; }
        fail() { echo "$*" >&2; exit 1; }

        # 1. Blank last lines and unreadable lines: the projection and no box.
        printf "1,\"A\",1,10\r\n\r\nnot a record\r\n\r\n" >"$work/library"
        cp "$work/library" "$work/bin/koyomiplan.txt"
        "$work/bin/koyomiplan" & pid=$!
        first=""
        for i in $(seq 1 40); do sleep 0.25; first=$(presentation); [ -n "$first" ] && break; done
        [ -n "$first" ] || fail "no presentation window"
        sleep 2
        [ "$(boxes)" -eq 0 ] || fail "a box over the projection at start: $(windows)"
        [ "$(presentation)" = "$first" ] || fail "the presentation window was replaced"
        echo "unreadable lines: the presentation window $first and no box"
        kill $pid; wait $pid 2>/dev/null || true
        cmp -s "$work/library" "$work/bin/koyomiplan.txt" || fail "the library was not kept"

        # 2. A library that cannot be read at all (a folder of its name): the message comes
        # over the presentation window, which is the same window before and after it.
        rm "$work/bin/koyomiplan.txt"
        mkdir "$work/bin/koyomiplan.txt"
        "$work/bin/koyomiplan" & pid=$!
        first=""
        for i in $(seq 1 40); do sleep 0.25; first=$(presentation); [ -n "$first" ] && break; done
        [ -n "$first" ] || fail "no presentation window before the message"
        for i in $(seq 1 40); do sleep 0.25; [ "$(boxes)" -ge 1 ] && break; done
        [ "$(boxes)" -eq 1 ] || fail "no start-up message: $(windows)"
        box=$(windows | awk "\$2 < 800 { print \$1 }")
        xdotool windowactivate --sync "$box" key Return
        for i in $(seq 1 20); do sleep 0.25; [ "$(boxes)" -eq 0 ] && break; done
        [ "$(boxes)" -eq 0 ] || fail "the message did not close"
        sleep 1
        [ "$(presentation)" = "$first" ] ||
            fail "the presentation window was replaced: $first, then $(presentation)"
        echo "start-up message: over the presentation window $first, which stayed"
        kill $pid; wait $pid 2>/dev/null || true
    ' _ "$work"
