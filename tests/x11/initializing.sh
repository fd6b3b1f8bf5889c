#!/bin/bash
# The Initializing window is on screen while the directory is read, before the tree is filled,
# and goes once it is.
. "$(dirname "$0")/x11session.sh"

start_window_manager
printf 'WP01 UC01 AIN1 AIN\nWP02 UC02 AIN2 AIN\nWP03 UC03 AIN3 AIN\n' >"$WORK/plant.txt"
# Every listing takes 400 ms, so the population takes seconds.
start_program DIRAPI_FILE="$WORK/plant.txt" DIRAPI_DELAY_MS=400

wait_until "the Initializing window" has_window Initializing
traced "an_all_blk UC03" && fail "the Initializing window came only after the tree was filled"
has_window Arbolix || fail "the Initializing window came without the main window"

main_window_after_population "an_all_blk UC03"
end_program
echo PASS
