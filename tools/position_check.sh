#!/usr/bin/env bash
# Checks under a real window manager that windows keep their screen position:
# starts the desktop program on a virtual display (Xvfb) with openbox, which
# draws title bars and borders, then opens every calculator window that
# exists twice through "&Select circuit" and leaves it with "&Close". Each
# window must appear exactly where the main window was, and the main window
# must come back to the same place. Prints one line per visit and exits 1 on
# any drift.
#
#   tools/position_check.sh [BIN_DIR]      (default: build/bin)
#
# Needs Xvfb, openbox and xdotool (apt-get install xvfb openbox xdotool).
set -euo pipefail

bin=$(cd "${1:-$(dirname "$0")/../build/bin}" && pwd)
. "$(dirname "$0")/x_session.sh"

# A copy of the program directory, so that the settings file of the build
# stays as it is.
cp "$bin/ohmtrim" "$bin"/*.val "$bin/omtr.ini" "$work/"
cp "$bin/omtr.html" "$work/" 2>/dev/null || true

start_display
"$work/ohmtrim" >"$work/stdout" 2>"$work/stderr" &
program=$!
pids+=("$program")

# The active window once it differs from $1 (empty after a timeout).
wait_active_other_than() {
    local before=$1 w
    for _ in $(seq 40); do
        w=$(xdotool getactivewindow 2>/dev/null || true)
        if [ -n "$w" ] && [ "$w" != "$before" ]; then
            echo "$w"
            return
        fi
        sleep 0.05
    done
}

# "X,Y" of a window's client area on the screen, after the window manager
# has settled it.
position() {
    local last="" now
    for _ in $(seq 20); do
        now=$(xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x "," y}')
        [ "$now" = "$last" ] && break
        last=$now
        sleep 0.05
    done
    echo "$now"
}

wait_for_main_window || { echo "position_check: the main window did not appear" >&2; exit 2; }
xdotool windowactivate --sync "$main"
sleep 0.3
echo "main window first shown at $(position "$main") (client area)"
# Where the user puts it: every window must follow it there.
xdotool windowmove "$main" 137 149
sleep 0.5
home=$(position "$main")
echo "main window moved to $home"

drift=0
check() { # what, position
    local mark=ok
    if [ "$2" != "$home" ]; then mark="DRIFT"; drift=1; fi
    printf '  %-44s %-10s %s\n' "$1" "$2" "$mark"
}

visits=0
for pass in 1 2; do
    for entry in $(seq 0 23); do
        # The main window shows entry $entry here.
        xdotool windowactivate --sync "$main"
        xdotool key --clearmodifiers alt+s
        calc=$(wait_active_other_than "$main")
        if [ -n "$calc" ]; then
            sleep 0.2
            name=$(xdotool getwindowname "$calc")
            check "pass $pass entry $entry '${name# }' shown at" "$(position "$calc")"
            visits=$((visits + 1))
            xdotool key --clearmodifiers alt+c
            back=$(wait_active_other_than "$calc")
            [ "$back" = "$main" ] || { echo "position_check: &Close did not return to the main window" >&2; exit 1; }
            sleep 0.2
            check "  main window back at" "$(position "$main")"
        fi
        xdotool key --clearmodifiers alt+n
        sleep 0.05
    done
done

kill -0 "$program" 2>/dev/null || { echo "position_check: the program ended early" >&2; exit 1; }
if [ "$drift" = 0 ]; then
    echo "no drift: $visits visits, every window at $home"
else
    echo "position_check: windows drifted" >&2
    exit 1
fi
