#!/bin/bash
# SIGTERM ends the program as Exit does whatever is open over the main window: the context menu,
# the About box opened from it. So does the main window destroyed by another client.
. "$(dirname "$0")/x11session.sh"

start_window_manager
printf 'WP01 UC01 AIN1 AIN\n' >"$WORK/plant.txt"

start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"
xdotool key --clearmodifiers Menu
wait_until "the context menu" program_windows_at_least 2
end_by_signal TERM

rm -f "$TRACE"
start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"
# The last item of the menu is About.
xdotool key --clearmodifiers Menu
wait_until "the context menu" program_windows_at_least 2
xdotool key --clearmodifiers Up Return
wait_until "the About box" has_window "About Arbolix"
end_by_signal TERM

rm -f "$TRACE"
start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"
xdotool windowclose "$MAIN"
program_ends "when another client destroyed the main window"
echo PASS
