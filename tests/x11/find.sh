#!/bin/bash
# The Find window, driven by keys: Enter finds, the Find window keeps the focus after a match,
# and after the last match Enter brings the message.
. "$(dirname "$0")/x11session.sh"

start_window_manager
printf 'WP01 UC01 AIN1 AIN\nWP01 UC02 AIN2 AIN\nWP02 UC03 PIDA1 PIDA\n' >"$WORK/plant.txt"
start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC03"

# The focus starts on Exit; the tab order is Exit, tree, Find...
xdotool key --clearmodifiers Tab Tab space
FIND_TITLE="Find station, compound or block"
wait_until "the Find window" has_window "$FIND_TITLE"
FIND=$(windows_named "$FIND_TITLE" | head -n 1)
wait_until "the Find window to be active" active_window_is "$FIND"

# The focus starts on Find; the station field is next. One station matches.
xdotool key --clearmodifiers Tab
xdotool type --delay 20 WP02
xdotool key --clearmodifiers Return
active_window_is "$FIND" || fail "the Find window lost the focus to the match"

# Found once, the next Enter has nothing further: the message. It can only come from a search
# that Enter ran, and it comes after everything the first Enter did.
xdotool key --clearmodifiers Return
wait_until "the not-found message" window_count_is Arbolix 2
[ "$(window_count Arbolix)" -eq 2 ] || fail "no message after the last match"
xdotool key --clearmodifiers Return
wait_until "the message to close" window_count_is Arbolix 1
wait_until "the Find window to be active again" active_window_is "$FIND"

# The walk starts again from the top: the station is found, no message.
xdotool key --clearmodifiers Return
active_window_is "$FIND" || fail "the Find window lost the focus to the match"
xdotool key --clearmodifiers Escape
wait_until "the Find window to close" has_no_window "$FIND_TITLE"
[ "$(window_count Arbolix)" -eq 1 ] || fail "a second match brought a message"

end_program
echo PASS
