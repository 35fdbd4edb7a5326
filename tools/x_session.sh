# Sourced by the scripts that drive the desktop program under a window
# manager (position_check.sh, soak_gui.sh). Checks the tools, makes a scratch
# directory $work (removed at exit with every process in $pids), and
# start_display starts Xvfb on a free display number with openbox on it and
# exports DISPLAY; wait_for_main_window sets $main to the program's main
# window once it is there (returns 1 after about ten seconds without it).

for tool in Xvfb openbox xdotool; do
    command -v "$tool" >/dev/null || { echo "$(basename "$0"): $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_display() {
    # Xvfb picks a free number and writes it to fd 3.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "$(basename "$0"): Xvfb did not start" >&2; exit 2; }
    export DISPLAY=:$(head -n 1 "$work/display")
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
}

wait_for_main_window() {
    main=""
    for _ in $(seq 100); do
        main=$(xdotool search --name '^  Ohmtrim  2\.2$' 2>/dev/null | head -n 1 || true)
        [ -n "$main" ] && return 0
        sleep 0.1
    done
    return 1
}
