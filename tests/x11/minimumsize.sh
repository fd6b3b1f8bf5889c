#!/bin/bash
# Asked to shrink to 50 x 50, the main window stops at 200 x 200 pixels, frame included.
. "$(dirname "$0")/x11session.sh"

start_window_manager
printf 'WP01 UC01 AIN1 AIN\n' >"$WORK/plant.txt"
start_program DIRAPI_FILE="$WORK/plant.txt"
main_window_after_population "an_all_blk UC01"

# The frame extents "L R T B" as the window system has them.
frame_extents() { xprop -id "$MAIN" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,//g'; }

read -r width height <<<"$(client_size)"
wait_until "the frame extents" sh -c "xprop -id $MAIN _NET_FRAME_EXTENTS | grep -q ="
xdotool windowsize "$MAIN" 50 50
wait_until "the window to shrink" client_size_is_not "$width $height"

read -r width height <<<"$(client_size)"
read -r left right top bottom <<<"$(frame_extents)"
frame_width=$((width + left + right))
frame_height=$((height + top + bottom))
echo "client ${width}x${height}, frame ${frame_width}x${frame_height}"
[ "$frame_width" -ge 200 ] || fail "the frame is $frame_width pixels wide"
[ "$frame_height" -ge 200 ] || fail "the frame is $frame_height pixels high"

end_program
echo PASS
