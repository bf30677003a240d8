#!/usr/bin/env bash
# Starts the program in a real X window under Xvfb, as a teacher would see it, and checks
# that it shows the background colour its settings file asks for.
set -euo pipefail
exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=0

# Mean brightness (0..1) of the middle of the screen, where the window's figure is.
middle_mean() { convert "$1" -crop 400x300+440+250 -format '%[fx:mean]' info:; }

check() {
    local flag="$1" expect="$2" config="$work/config$1"
    mkdir -p "$config"
    printf '[%s]\r\nBWflag=%s\r\n' "$config/koyomiplan.ini" "$flag" >"$config/koyomiplan.ini.ini"
    env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config" xvfb-run -a -s '-screen 0 1280x800x24' \
        bash -c '
            "$1" & pid=$!
            for i in $(seq 1 60); do
                sleep 0.5
                import -window root "$2" 2>/dev/null || continue
                mean=$(convert "$2" -crop 400x300+440+250 -format "%[fx:mean]" info:)
                if awk -v m="$mean" "BEGIN { exit !($3) }"; then break; fi
            done
            kill "$pid"; wait "$pid" 2>/dev/null || true
        ' _ "$exe" "$work/shot$flag.png" "$expect"
    local mean
    mean="$(middle_mean "$work/shot$flag.png")"
    if awk -v m="$mean" "BEGIN { exit !($expect) }"; then
        echo "BWflag=$flag: middle brightness $mean as expected"
    else
        echo "BWflag=$flag: middle brightness $mean, expected $expect" >&2
        return 1
    fi
}

# White: mostly white with black grid lines. Black: mostly black, with white grid lines
# (an empty black screen has no lines and does not pass).
check 1 'm > 0.8'
check 0 'm > 0.005 && m < 0.2'
