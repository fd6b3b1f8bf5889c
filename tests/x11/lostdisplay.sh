#!/bin/bash
# When the display goes away the toolkit ends the process itself with status 1; the directory is
# still released, once: the connection closed by the server (as xkill does), and the server gone.
# Without a display at all, the program ends with status 1 and one line of its own.
. "$(dirname "$0")/x11session.sh"

printf 'WP01 UC01 AIN1 AIN\n' >"$WORK/plant.txt"
XVFB_PID=
trap 'cleanup; [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true' EXIT

start_program DIRAPI_FILE="$WORK/plant.txt"
wait_until "the last listing" traced "an_all_blk UC01"
wait_until "the main window" has_window Arbolix
xdotool windowkill "$(windows_named Arbolix | head -n 1)"
program_ends "when the server closed the connection" 1

# A server of our own, to be killed.
rm -f "$TRACE"
exec 3>"$WORK/display.txt"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
wait_until "the second server" test -s "$WORK/display.txt"
DISPLAY=:$(cat "$WORK/display.txt") start_program DIRAPI_FILE="$WORK/plant.txt"
wait_until "the last listing" traced "an_all_blk UC01"
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=
program_ends "when the server went away" 1
status=0
env -u DISPLAY "$PROGRAM" 2>"$WORK/nodisplay.txt" || status=$?
[ "$status: $(sed 's/ (installed: .*)$//' "$WORK/nodisplay.txt")" = "1: arbolix: cannot show a window: no X display (DISPLAY is not set); choose a platform with QT_QPA_PLATFORM=name" ] ||
    fail "without a display: status $status, $(cat "$WORK/nodisplay.txt")"
echo PASS
