#!/usr/bin/env bash
# Soak check of the desktop program, run by hand: a scripted user clicks
# through every window that exists for a while (five minutes by default) on
# a virtual display with a window manager, with random clicks, random typing,
# "&Go", Enter, Escape (also while a search runs), "&Input data" and
# "&Close", and answers every message box. The program must live to the end, its memory (RSS) must
# not keep growing, and after "&Exit" the settings file must be intact.
#
#   tools/soak_gui.sh [BIN_DIR] [SECONDS] [SEED]     (default: build/bin 300)
#
# Needs Xvfb, openbox and xdotool (apt-get install xvfb openbox xdotool).
set -euo pipefail

bin=$(cd "${1:-$(dirname "$0")/../build/bin}" && pwd)
duration=${2:-300}
RANDOM=${3:-$$}
. "$(dirname "$0")/x_session.sh"

# The small shipped value sets keep the searches short enough that the
# session gets round; Escape stops the long ones.
cp "$bin/ohmtrim" "$bin"/E3.val "$bin"/E6.val "$bin"/E12.val "$bin"/E12SO.val "$work/"
cp "$bin/omtr.html" "$work/" 2>/dev/null || true
printf '; soak\n[Setup]\nRelTol=0.001\nLabel=E6\n' >"$work/omtr.ini"

start_display
"$work/ohmtrim" >"$work/stdout" 2>"$work/stderr" &
program=$!
pids+=("$program")

rss() { awk '/^VmRSS/ {print $2}' "/proc/$program/status"; }
alive() { kill -0 "$program" 2>/dev/null; }
died() {
    local status=0
    wait "$program" || status=$?
    echo "soak_gui: the program died ($1), exit status $status; its standard error:" >&2
    tail -n 20 "$work/stderr" >&2
    exit 1
}

wait_for_main_window || { echo "soak_gui: the main window did not appear" >&2; exit 1; }
sleep 1
rss_start=$(rss)
echo "started: pid $program, RSS $rss_start kB"

texts=("100" "4700" "4k7" "1e15" "1.1e15" "0" "-3.3" "12" "5" "0.001" "abc" "  2.2  "
       "1e-15" "99999999999999999999999999" "1,5" "." "-" "3.3e3" "1000000" "7")
pick() { local a=("$@"); echo "${a[RANDOM % ${#a[@]}]}"; }

# Keys go to whatever window is active when they arrive, and a window may
# close between the look and the key. So no Tab is ever sent (it could walk
# the main window's focus onto "&Exit"), the main window's focus is moved by
# a click onto a harmless button (access keys leave the focus where it is),
# and Enter is sent only while the window it is meant for is still the
# active one.
still_active() { [ "$(xdotool getactivewindow 2>/dev/null || true)" = "$1" ]; }

declare -A visited=()
actions=0 gos=0 escapes=0 enters=0 boxes=0 opened=0 closes=0 dialogs=0
next_sample=$((SECONDS + 60))
rss_samples="$rss_start"
end=$((SECONDS + duration))
while [ "$SECONDS" -lt "$end" ]; do
    alive || died "after $actions actions, last in '${name:-}'"
    w=$(xdotool getactivewindow 2>/dev/null || true)
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    if [ -z "$w" ] || [ -z "$name" ]; then
        sleep 0.05
        continue
    fi
    [ -z "${SOAK_TRACE:-}" ] || echo "$SECONDS $w '$name'" >>"$SOAK_TRACE"
    actions=$((actions + 1))
    case "$name" in
    "  Ohmtrim  2.2")
        case $((RANDOM % 10)) in
        0) xdotool key --clearmodifiers alt+p ;;
        1) # another main value set
            xdotool mousemove --window "$w" 460 248 click 1
            sleep 0.1
            for _ in $(seq $((RANDOM % 4))); do xdotool key Down; done
            xdotool key Return
            xdotool key --clearmodifiers alt+n ;;
        *)
            # A click on "&Next circuit" also gives it the focus, which
            # otherwise stays on "&Exit" (first in the tab order): a stray
            # Enter arriving here later would end the program.
            xdotool mousemove --window "$w" 460 36 click 1
            for _ in $(seq $((RANDOM % 4))); do xdotool key --clearmodifiers alt+n; done
            xdotool key --clearmodifiers alt+s
            sleep 0.2
            now=$(xdotool getactivewindow 2>/dev/null || true)
            caption=$(xdotool getwindowname "$now" 2>/dev/null || true)
            if [ -n "$now" ] && [ "$now" != "$main" ]; then
                opened=$((opened + 1))
                visited[$now]=$caption
            fi ;;
        esac ;;
    " Error" | " No Solution")
        boxes=$((boxes + 1))
        xdotool key Return ;;
    " Ohmtrim help")
        xdotool key --clearmodifiers alt+F4 ;;
    *) # a calculator window, the colour-code window or an input dialog
        still_active "$w" || continue
        case $((RANDOM % 14)) in
        0 | 1 | 2) # anywhere in the window (a click beside a dialog would
            # give the focus to the desktop), but above the row where the
            # main window has "&Exit", which is right behind
            eval "$(xdotool getwindowgeometry --shell "$w")"
            xdotool mousemove --window "$w" $((RANDOM % WIDTH)) $((RANDOM % (HEIGHT < 340 ? HEIGHT : 340))) click 1 ;;
        3 | 4) xdotool type --delay 2 -- "$(pick "${texts[@]}")" ;;
        5) xdotool key ctrl+a BackSpace ;;
        6 | 7) xdotool key --clearmodifiers alt+g; gos=$((gos + 1)) ;;
        8) xdotool key Return; enters=$((enters + 1)) ;;
        9) xdotool key --clearmodifiers alt+i; dialogs=$((dialogs + 1)) ;;
        10 | 11) xdotool key Escape; escapes=$((escapes + 1)) ;;
        12) # Escape while the search of a "&Go" may still run
            xdotool key --clearmodifiers alt+g; sleep 0.$((RANDOM % 5)); xdotool key Escape
            gos=$((gos + 1)); escapes=$((escapes + 1)) ;;
        13) xdotool key --clearmodifiers alt+c; closes=$((closes + 1)); sleep 0.1 ;;
        esac ;;
    esac
    # Time for the program to take in what it was sent.
    sleep 0.03
    if [ "$SECONDS" -ge "$next_sample" ]; then
        rss_samples="$rss_samples $(rss)"
        next_sample=$((SECONDS + 60))
    fi
done

alive || died "at the end"
rss_end=$(rss)
# Back to the main window and out through "&Exit".
for _ in $(seq 50); do
    w=$(xdotool getactivewindow 2>/dev/null || true)
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    case "$name" in
    "  Ohmtrim  2.2") break ;;
    " Error" | " No Solution") xdotool key Return ;;
    "") ;;
    *) xdotool key Escape; xdotool key --clearmodifiers alt+c ;;
    esac
    sleep 0.3
done
xdotool key --clearmodifiers alt+e
status=timeout
for _ in $(seq 100); do
    if ! alive; then
        wait "$program" && status=0 || status=$?
        break
    fi
    sleep 0.1
done

echo "$duration s, $actions actions: $opened windows opened from the main window, $gos Go, $enters Enter, $escapes Escape, $dialogs Input data, $closes Close, $boxes message boxes answered"
echo "${#visited[@]} different windows visited:$(printf ' "%s"' "${visited[@]}" | sed 's/"  /"/g')"
echo "RSS at start $rss_start kB, every minute: $rss_samples kB, at the end $rss_end kB"
echo "exit status after \"&Exit\": $status"
echo "standard error: $(wc -l <"$work/stderr") lines"
head -n 40 "$work/stderr" | sed 's/^/    /'
echo "settings file:"
sed 's/^/    /' "$work/omtr.ini"
if [ "$status" != 0 ]; then echo "soak_gui: the program did not end normally" >&2; exit 1; fi
if ! grep -qx '\[Setup\]' "$work/omtr.ini" || ! grep -qx 'RelTol=0.001' "$work/omtr.ini" ||
    ! grep -qx '; soak' "$work/omtr.ini" || ! grep -qxE 'Label=(E3|E6|E12|E12SO)' "$work/omtr.ini" ||
    [ "$(wc -l <"$work/omtr.ini")" != 4 ] || [ -e "$work/omtr.ini.tmp" ]; then
    echo "soak_gui: the settings file is not intact" >&2
    exit 1
fi
echo "settings file intact"
