#!/bin/sh
# The real pindle program in a private X server, driven with X key and mouse
# events: it opens a GIF, the Preferences dialog is opened from the File
# menu, "Try harder (slower)" is checked with a click, the program quits; a
# second run must show the option still checked. Skips (exit 77) when the X
# tools, ImageMagick or Python's imaging library are missing.
set -u
pindle="$1"
gif="$2"
here=$(dirname "$0")
. "$(dirname "$0")/../../x_tools.sh"
require_tools xvfb-run xdotool import pillow
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/settings"
cp "$gif" "$work/anim.gif"

cat > "$work/drive.sh" <<'DRIVE'
#!/bin/sh
set -u
pindle="$1"
work="$2"
here="$3"
. "$here/../../x_tools.sh"
SCREEN_PARTS="$here/screen_parts.py"
run=0

# Starts the program and opens the Preferences dialog with the keyboard;
# leaves a screenshot in $work/shot-N.png.
start_and_open_preferences() {
    run=$((run + 1))
    "$pindle" "--settings-folder=$work/settings" "$work/anim.gif" >> "$work/out" 2>&1 &
    pid=$!
    for _ in $(seq 1 100); do
        xdotool search --name '^Pindle$' >/dev/null 2>&1 && break
        sleep 0.05
    done
    screenshot_when_steady "$work/before-$run.png"
    xdotool key alt+f
    sleep 0.3
    xdotool key p
    sleep 0.5
    screenshot_when_steady "$work/shot-$run.png"
    # The dialog's unchecked boxes: those that were not there before it opened.
    /usr/bin/python3 "$here/screen_parts.py" unchecked-boxes "$work/before-$run.png" \
        > "$work/others-$run"
    /usr/bin/python3 "$here/screen_parts.py" unchecked-boxes "$work/shot-$run.png" |
        grep -vxF -f "$work/others-$run" > "$work/boxes-$run"
}

start_and_open_preferences
if [ "$(wc -l < "$work/boxes-1")" -ne 1 ]; then
    echo "expected one unchecked box (Try harder) in the dialog, found:"
    cat "$work/boxes-1"
    exit 1
fi
set -- $(cat "$work/boxes-1")
xdotool mousemove "$1" "$2" click 1
sleep 0.5
quit_with_ctrl_q "$pid"

start_and_open_preferences
quit_with_ctrl_q "$pid"
[ -s "$work/boxes-2" ] && { echo "the option was not kept:"; cat "$work/boxes-2"; exit 1; }
exit 0
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/drive.sh" "$pindle" "$work" "$here"
status=$?
cat "$work/out" 2>/dev/null
echo "settings file:"
cat "$work/settings/Pindle.prf" 2>/dev/null
if [ "$status" -ne 0 ]; then
    exit 1
fi
grep -q 'Try harder (slower)' "$work/settings/Pindle.prf" || { echo "no such setting written"; exit 1; }
echo "the option set in the Preferences dialog was kept across a restart"
