#!/usr/bin/env bash
# The program in a real X window under Xvfb with a window manager (openbox), as a teacher
# uses it in class: the Draw tool opened from the hot corner while the presentation window
# is full screen must be visible on top, and a preset double-clicked in its library is on
# the projector at once; the Paint tool opened from the other corner is on top too, and a
# drag over the projection leaves ink.
set -euo pipefail
exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=0

# The program beside its own library: one graph paper preset saved on white.
mkdir -p "$work/bin" "$work/config"
cp "$exe" "$work/bin/koyomiplan"
printf '1,"white paper",1,10,50,10,50,10,50,1,10,1,10,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,0\r\n' \
    >"$work/bin/koyomiplan.txt"

env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s '-screen 0 1280x800x24' \
    bash -c '
        set -euo pipefail
        work="$1"
        mean() { convert "$work/shot.png" -crop "$2" -format "%[fx:mean]" info:; }
        shot() { import -window root "$work/shot.png"; }
        openbox & wm=$!
        sleep 1
        "$work/bin/koyomiplan" & pid=$!
        trap "kill $pid $wm 2>/dev/null || true" EXIT
        win=$(xdotool search --sync --onlyvisible --limit 1 --name "^Koyomiplan$")
        sleep 1
        # Full screen (Space), then the hot corner at the bottom right opens the Draw tool.
        xdotool windowactivate --sync "$win" key space
        sleep 1.5
        xdotool mousemove 1275 795 click 1
        tool=$(xdotool search --sync --limit 1 --name "Drawツール")
        sleep 1.5
        eval "$(xdotool getwindowgeometry --shell "$tool")"
        shot
        # The tool is light grey where the full-screen figure is black with white lines.
        inner="300x400+$((X + 150))+$((Y + 100))"
        m=$(mean "$work" "$inner")
        echo "Draw tool over the full-screen window: mean brightness $m at $inner"
        awk -v m="$m" "BEGIN { exit !(m > 0.6) }" || { echo "the Draw tool is not on top" >&2; exit 1; }
        # The preset is the first row under the first group, opened at start: a double-click
        # on it turns the projection white.
        xdotool mousemove --window "$tool" 60 $((26 + 27)) click --repeat 2 --delay 80 1
        sleep 1.5
        shot
        m=$(mean "$work" "300x300+900+400")
        echo "after the double-click: projection brightness $m"
        awk -v m="$m" "BEGIN { exit !(m > 0.8) }" || { echo "the preset was not loaded" >&2; exit 1; }

        # The bottom-left corner opens the Paint tool, above the full-screen window in the
        # window manager'"'"'s stacking order (bottom to top), as the Draw tool is.
        xdotool mousemove 3 797 click 1
        paint=$(xdotool search --sync --limit 1 --name "Paintツール")
        sleep 1.5
        stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed "s/.*# //; s/,//g")
        echo "stacking (bottom to top): $stacking; presentation $win, Draw $tool, Paint $paint"
        position() { local i=0; for w in $stacking; do [ $((w)) -eq $(($1)) ] && echo $i; i=$((i + 1)); done; }
        p1=$(position "$win"); p2=$(position "$tool"); p4=$(position "$paint")
        [ -n "$p1" ] && [ -n "$p2" ] && [ -n "$p4" ] && [ "$p2" -gt "$p1" ] && [ "$p4" -gt "$p1" ] ||
            { echo "a tool window is not above the presentation window" >&2; exit 1; }
        # Filled rectangles (second button of the second row): a drag on the white projection
        # leaves a black box with the default fill.
        xdotool mousemove --window "$paint" 41 43 click 1
        sleep 0.5
        xdotool mousemove 600 300 mousedown 1 mousemove 700 350 mousemove 800 400 mouseup 1
        sleep 1
        shot
        m=$(mean "$work" "150x60+630+320")
        echo "inside the dragged rectangle: brightness $m"
        awk -v m="$m" "BEGIN { exit !(m < 0.2) }" || { echo "the drag left no ink" >&2; exit 1; }
    ' _ "$work"
