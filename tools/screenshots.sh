#!/usr/bin/env bash
# Makes the README's screenshots by driving the real program on the built-in demo plant, the way
# an operator would, on an X display with a window manager (run it under xvfb-run; `make
# screenshots` does).
# Usage: screenshots.sh PROGRAM OUTPUT_DIR
set -euo pipefail

program=$(realpath "${1:?usage: screenshots.sh PROGRAM OUTPUT_DIR}")
out=${2:?usage: screenshots.sh PROGRAM OUTPUT_DIR}
mkdir -p "$out"

pids=()
cleanup()
{
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'echo "screenshots: failed at line $LINENO" >&2' ERR

# wait_for TITLE: the id of the visible window with exactly that title, once it is mapped
wait_for()
{
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    echo "window '$1' did not appear" >&2
    return 1
}

# wait_gone TITLE: until no visible window has that title
wait_gone()
{
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    echo "window '$1' stayed" >&2
    return 1
}

# settle: lets the program and the window manager finish drawing before a capture
settle()
{
    sleep 0.7
}

# shoot WINDOW FILE: the window with its frame
shoot()
{
    import -frame -window "$1" "$out/$2"
    echo "wrote $out/$2"
}

openbox &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

unset DIRAPI_FILE DIRAPI_DEMO DIRAPI_DELAY_MS
"$program" WP01 &
pids+=($!)

main=$(wait_for Arbolix)
wait_gone Initializing
xdotool windowsize --sync "$main" 560 460
xdotool windowmove --sync "$main" 40 40
xdotool windowactivate --sync "$main"
settle

# The main window: the first station and its first compound expanded.
xdotool mousemove --window "$main" 200 300 click 1
xdotool key --delay 150 Home Right Down Right
settle
shoot "$main" mainwindow.png

# The Find window on a match: a block fragment, found once and then once more; the main window
# beside it shows the match selected.
xdotool key Tab space
find=$(wait_for "Find station, compound or block")
xdotool windowmove --sync "$find" 620 40
xdotool windowactivate --sync "$find"
settle
xdotool key --delay 100 Tab Tab Tab
xdotool type --delay 80 pida
xdotool key --delay 300 Return Return
settle
# The bare screen around the two windows is black; a light backdrop reads better in the README.
import -window root miff:- | convert - -crop 1000x530+0+0 +repage \
    -fill '#e3e6ea' -draw 'color 999,529 floodfill' "$out/find.png"
echo "wrote $out/find.png"
xdotool key Escape
wait_gone "Find station, compound or block"

# The About box, from the main window's context menu.
xdotool windowactivate --sync "$main"
xdotool mousemove --window "$main" 200 300 click 1
xdotool key --delay 300 Menu a
about=$(wait_for "About Arbolix")
settle
shoot "$about" about.png
xdotool key Return
wait_gone "About Arbolix"
