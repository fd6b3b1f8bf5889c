#!/bin/bash
# A double-click starts the display command of the selected block, then of the selected compound,
# through the utility the program was built with, with the program's argument as the option.
. "$(dirname "$0")/x11session.sh"

start_window_manager
printf 'WP01 UC01 AIN1 AIN\nWP01 UC01 PIDA1 PIDA\n' >"$WORK/plant.txt"
UTILITY=$3
PROGRAM_OPTION=WP01 start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"

started() { [ -f "$ARBOLIX_X11_RECORD" ] && [ "$(grep -cx -- -- "$ARBOLIX_X11_RECORD")" -ge "$1" ]; }
# The client point at fractions $1 and $2 of the window's width and height.
point_in_window() {
    xwininfo -id "$MAIN" | awk -v fx="$1" -v fy="$2" \
        '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {printf "%d %d\n", w * fx, h * fy}'
}
double_click_at() {
    xdotool mousemove --window "$MAIN" $1 $2 click --repeat 2 --delay 80 1
}

# Into the tree, then to block AIN1 by keys, each expansion a refresh.
xdotool key --clearmodifiers Tab Home Right Down Right Down
wait_until "the refresh of UC01" traced_at_least "an_all_blk UC01" 2

# Below the rows: the double-click acts on the selected item.
double_click_at $(point_in_window 0.2 0.9)
wait_until "the block's display command" started 1
expected="$UTILITY
-WP01
DMCMD
stddisp UC01:AIN1
--"
[ "$(cat "$ARBOLIX_X11_RECORD")" = "$expected" ] ||
    fail "started: $(cat "$ARBOLIX_X11_RECORD")"

xdotool key --clearmodifiers Up
double_click_at $(point_in_window 0.2 0.9)
wait_until "the compound's display command" started 2
expected="$expected
$UTILITY
-WP01
DMCMD
stddisp UC01 CMP
--"
[ "$(cat "$ARBOLIX_X11_RECORD")" = "$expected" ] ||
    fail "started: $(cat "$ARBOLIX_X11_RECORD")"

end_program
echo PASS
