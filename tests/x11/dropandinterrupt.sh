#!/bin/bash
# A name dragged out of the tree drops into another program's text field. SIGTERM during a drag,
# and during the refresh of a slow station, ends the program as Exit does without waiting for
# the button or the rest of the refresh. A double-click given while a refresh holds the window
# opens nothing afterwards.
. "$(dirname "$0")/x11session.sh"

RECEIVER_PROGRAM=$3
RECEIVER_PID=
RECEIVED=$WORK/received.txt
# The button is let go whatever happens: a held button would outlive the test in the X server.
trap 'xdotool mouseup 1 2>/dev/null; [ -n "$RECEIVER_PID" ] && kill "$RECEIVER_PID" 2>/dev/null; cleanup' EXIT

start_window_manager
printf 'WP01 UC01 AIN1 AIN\n' >"$WORK/plant.txt"

# Appending, so that the file can be emptied between the runs.
"$RECEIVER_PROGRAM" >>"$RECEIVED" 2>"$WORK/receiver.log" &
RECEIVER_PID=$!
wait_until "the receiver's window" has_window "Drop Receiver"
RECEIVER=$(windows_named "Drop Receiver" | head -n 1)
xdotool windowmove --sync "$RECEIVER" 900 100
received() { grep -qxF "$1" "$RECEIVED"; }

# Presses on the first row (station WP01) and moves with the button held into the receiver's
# field, until the receiver sees the drag come in.
drag_into_receiver() {
    xdotool mousemove --window "$MAIN" 40 20 mousedown 1
    for step in 5 10 20 40; do
        xdotool mousemove_relative -- "$step" 0
        sleep 0.1
    done
    wait_until "the drag to enter the receiver" \
        sh -c 'xdotool mousemove --window "$1" 100 20 mousemove --window "$1" 103 20 &&
            grep -qxF entered "$2"' \
        _ "$RECEIVER" "$RECEIVED"
}

start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"
drag_into_receiver
xdotool mouseup 1
wait_until "the name in the other program" received "dropped WP01"
end_program

rm -f "$TRACE"
: >"$RECEIVED"
start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"
drag_into_receiver
end_by_signal TERM
xdotool mouseup 1

# Twenty compounds at 200 ms a call: the refresh of the station takes seconds.
for i in $(seq -w 1 20); do
    printf 'ST01 C%s B%s AIN\n' "$i" "$i"
done >"$WORK/slow.txt"
rm -f "$TRACE"
start_program DIRAPI_FILE="$WORK/slow.txt" DIRAPI_DELAY_MS=200
main_window_after_population "an_all_blk C20"
xdotool key --clearmodifiers Tab Home Right
wait_until "the refresh under way" traced_at_least "an_all_blk C03" 2
calls=$(wc -l <"$TRACE")
end_by_signal TERM
# The call under way when the signal came ended, at most one more began; then the directory was
# released, and the refresh never reached its last compound.
[ "$(grep -cvxF an_exit "$TRACE")" -le $((calls + 1)) ] || fail "the refresh went on after SIGTERM"
[ "$(tail -n 1 "$TRACE")" = an_exit ] || fail "a listing call came after an_exit"
! traced_at_least "an_all_blk C20" 2 || fail "the refresh ran to its end"

rm -f "$TRACE" "$ARBOLIX_X11_RECORD"
printf 'WP01 UC01_LEAD AIN1 AIN\nWP01 UC02 AIN2 AIN\nWP01 UC03 AIN3 AIN\nAW01 BOILER_FEED DOUT1 DOUT\n' \
    >"$WORK/double.txt"
start_program DIRAPI_FILE="$WORK/double.txt" DIRAPI_DELAY_MS=400
main_window_after_population "an_all_blk BOILER_FEED"
xdotool key --clearmodifiers Tab Home Right
wait_until "the refresh of WP01" traced_at_least "an_all_cmp WP01" 2
# On station AW01's row, where the refresh then puts compound UC01_LEAD.
xdotool mousemove --window "$MAIN" 70 38 click --repeat 2 --delay 80 1
wait_until "the last call of the refresh" traced_at_least "an_all_blk UC03" 2
# Nothing more reaches the window until the refresh is over: what the window system queued
# meanwhile must not wait there for the next event and act then. A shorter pause only makes the
# check weaker.
sleep 2
# The operator's own: compound UC03 by keys, then double-clicks below the rows (those given
# before the refresh was over are dropped) until its display starts.
xdotool key --clearmodifiers Down Down Down
read -r _ height <<<"$(client_size)"
wait_until "UC03's display" sh -c 'xdotool mousemove --window "$1" 70 "$2" click --repeat 2 --delay 80 1 &&
    sleep 0.5 && grep -qxF "stddisp UC03 CMP" "$3"' _ "$MAIN" $((height * 9 / 10)) "$ARBOLIX_X11_RECORD"
! grep -q UC01_LEAD "$ARBOLIX_X11_RECORD" ||
    fail "the double-click given during the refresh started: $(cat "$ARBOLIX_X11_RECORD")"
end_program
echo PASS
