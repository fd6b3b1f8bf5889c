#!/bin/bash
# The Find window, driven by keys: Enter finds, the Find window keeps the focus after a match,
# and after the last match Enter brings the message, which another program may destroy.
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

# Another program destroys the message: it counts as closed, and the Find window finds on. The
# message blocks only the Find window: Escape in the main window ends the program meanwhile.
xdotool windowactivate --sync "$MAIN" key --clearmodifiers space
wait_until "the Find window again" has_window "$FIND_TITLE"
FIND=$(windows_named "$FIND_TITLE" | head -n 1)
wait_until "the new Find window to be active" active_window_is "$FIND"
xdotool key --clearmodifiers Tab && xdotool type --delay 20 WP02
xdotool key --clearmodifiers Return Return
wait_until "the message again" window_count_is Arbolix 2
xdotool windowclose "$(windows_named Arbolix | grep -vxF "$MAIN")"
sleep 0.5 # the program takes note of it before the keys come
xdotool windowactivate --sync "$FIND" key --clearmodifiers Return Return
wait_until "a message after the destroyed one" window_count_is Arbolix 2
end_program
echo PASS
