#!/bin/bash
# Asked to grow to 65535 x 65535, the main window stops at the screen's size, frame included:
# held by the window manager, and by the program itself when no window manager runs.
. "$(dirname "$0")/x11session.sh"

start_window_manager
printf 'WP01 UC01 AIN1 AIN\n' >"$WORK/plant.txt"
start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"

read -r screen_width screen_height <<<"$(window_size -root)"

within_screen() {
    local width height
    read -r width height <<<"$(client_size)"
    [ "$width" -le "$screen_width" ] && [ "$height" -le "$screen_height" ]
}
grown() { client_size_is_not "400 300" && within_screen; }

# grows_to_at_most_screen WHAT: asks for the absurd size; what the window system gives first
# may be that size, and the window must come back within the screen.
grows_to_at_most_screen() {
    xdotool windowsize "$MAIN" 400 300
    wait_until "the window at 400 x 300 ($1)" client_size_is "400 300"
    xdotool windowsize "$MAIN" 65535 65535
    wait_until "the window to grow within the screen ($1)" grown
    echo "$1: client $(client_size), screen ${screen_width} ${screen_height}"
}

grows_to_at_most_screen "window manager"
kill "$WM_PID"
wait "$WM_PID" 2>/dev/null || true
WM_PID=
grows_to_at_most_screen "no window manager"

end_by_signal TERM
echo PASS
