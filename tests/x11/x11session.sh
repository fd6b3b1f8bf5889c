# Shared by the x11 tests, sourced inside xvfb-run: a window manager, the program started with
# the stand-in library tracing its calls, bounded polling, and clean-up whatever happens.
set -eu

PROGRAM=$1
WORK=$2
TIMEOUT_S=${X11_TIMEOUT_S:-30}
rm -rf "$WORK" && mkdir -p "$WORK"
TRACE=$WORK/trace.txt
export ARBOLIX_X11_RECORD=$WORK/started.txt
export QT_QPA_PLATFORM=xcb
unset DIRAPI_DEMO DIRAPI_FILE DIRAPI_DELAY_MS DIRAPI_MAXOBJ

WM_PID=
APP_PID=
cleanup() {
    # A program that failed its test may no longer end on SIGTERM.
    [ -n "$APP_PID" ] && kill -KILL "$APP_PID" 2>/dev/null || true
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$TRACE" ] && { echo "-- library calls:" >&2; cat "$TRACE" >&2; }
    exit 1
}

# wait_until DESCRIPTION COMMAND...: polls every 0.1 s, fails after TIMEOUT_S. The command runs
# afresh at every poll, but its arguments are expanded once, when wait_until is called: what has
# to be read again each time ("$(...)") belongs in the command, as in the conditions below.
wait_until() {
    local what=$1
    shift
    local tries=$((TIMEOUT_S * 10))
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "timed out waiting for $what"
        sleep 0.1
    done
}

# The visible top-level windows whose title is exactly $1, one id a line.
windows_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}
has_window() { [ -n "$(windows_named "$1")" ]; }
has_no_window() { [ -z "$(windows_named "$1")" ]; }
window_count() { windows_named "$1" | grep -c . || true; }
traced() { [ -f "$TRACE" ] && grep -qxF "$1" "$TRACE"; }
# traced_at_least LINE N: the library was called so at least N times.
traced_at_least() { [ -f "$TRACE" ] && [ "$(grep -cxF "$1" "$TRACE")" -ge "$2" ]; }
window_count_is() { [ "$(window_count "$1")" -eq "$2" ]; }
active_window_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

start_window_manager() {
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    wait_until "the window manager" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# start_program [VAR=value...]: the program with $PROGRAM_OPTION as its argument, if set, its
# library tracing to $TRACE.
start_program() {
    env "$@" DIRAPI_TRACE="$TRACE" "$PROGRAM" ${PROGRAM_OPTION:+"$PROGRAM_OPTION"} >"$WORK/program.log" 2>&1 &
    APP_PID=$!
}

# The main window, once the population has ended ($1: the last listing call of the plant).
main_window_after_population() {
    wait_until "the last listing" traced "$1"
    wait_until "the Initializing window to go" has_no_window Initializing
    wait_until "the main window" has_window Arbolix
    MAIN=$(windows_named Arbolix | head -n 1)
    xdotool windowactivate --sync "$MAIN"
    wait_until "the main window to be active" active_window_is "$MAIN"
}

# window_size XWININFO_ARGUMENTS...: the size "W H" of a window (-id ID) or the screen (-root).
window_size() { xwininfo "$@" | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}'; }
# The main window's client size.
client_size() { window_size -id "$MAIN"; }
client_size_is() { [ "$(client_size)" = "$1" ]; }
client_size_is_not() { [ "$(client_size)" != "$1" ]; }

program_gone() { ! kill -0 "$APP_PID" 2>/dev/null; }

# program_ends HOW [STATUS]: waits for the program to end (HOW, e.g. "on Escape", is for the
# messages) and checks the directory was released exactly once. Its exit status must be STATUS,
# by default 0; "any" takes every status.
program_ends() {
    wait_until "the program to end $1" program_gone
    local status=0
    wait "$APP_PID" || status=$?
    APP_PID=
    [ "${2:-}" = any ] || [ "$status" = "${2:-0}" ] || fail "the program ended with status $status $1"
    [ "$(grep -cxF an_exit "$TRACE")" = 1 ] || fail "an_exit was not called exactly once $1"
}

# Ends the program as the operator would.
end_program() {
    xdotool windowactivate --sync "$MAIN" key --clearmodifiers Escape
    program_ends "on Escape"
}

# The visible windows of the program, popups included, one id a line.
program_windows() {
    xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null || true
}
program_windows_at_least() { [ "$(program_windows | grep -c .)" -ge "$1" ]; }

# Ends the program with signal $1 and checks it ended as Exit ends it: status 0, the directory
# released once.
end_by_signal() {
    kill -s "$1" "$APP_PID"
    program_ends "on $1"
}
