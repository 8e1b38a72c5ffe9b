#!/bin/sh
# The real pindle program in a private X server, driven with X key and mouse
# events as a user would: the start-up window dismissed, an animation opened
# through the Open dialog, played, stopped, stepped two frames on, a new
# duration typed for the frame shown, Test Compression, Save, Quit; then the
# saved file opened again. Pillow, an independent decoder, must find exactly
# one frame's duration changed (to 3 seconds) and every frame's pixels as
# they were. Skips (exit 77) when the X tools, ImageMagick or Pillow are
# missing.
set -u
pindle="$1"
gif="$2"
keep="${3:-}"  # a folder to keep the screenshots in
here=$(dirname "$0")
. "$(dirname "$0")/../../x_tools.sh"
require_tools xvfb-run xdotool import pillow
if [ ! -f "$gif" ]; then
    echo "SKIP: $gif is missing (the shared corpus is not beside the repository)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/settings"
cp "$gif" "$work/anim.gif"
chmod u+w "$work/anim.gif"
cp "$work/anim.gif" "$work/original.gif"

cat > "$work/drive.sh" <<'DRIVE'
#!/bin/sh
set -u
pindle="$1"
work="$2"
here="$3"
. "$here/../../x_tools.sh"
SCREEN_PARTS="$here/screen_parts.py"
"$pindle" "--settings-folder=$work/settings" >> "$work/out" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    xdotool search --name '^Pindle$' >/dev/null 2>&1 && break
    sleep 0.05
done
sleep 1.5
xdotool key space              # dismisses the start-up window: the Open dialog follows
sleep 1
xdotool type --delay 10 "$work/anim.gif"
xdotool key Return
sleep 1.5
xdotool key space              # play
sleep 1
xdotool key Escape             # stop
sleep 0.3
xdotool key Right Right        # two frames on
sleep 0.5
screenshot_when_steady "$work/opened.png"
set -- $(/usr/bin/python3 "$here/screen_parts.py" fields "$work/opened.png" | tail -1)
xdotool mousemove "$1" "$2" click 1
sleep 0.2
xdotool key ctrl+a
xdotool type "0:03.00"
xdotool key Return
sleep 0.5
import -window root "$work/edited.png"
xdotool key ctrl+t             # Test Compression: a report
sleep 1.5
import -window root "$work/tested.png"
xdotool key Return
sleep 0.5
xdotool key ctrl+s             # Save: perhaps a question, then a report
sleep 1.5
xdotool key Return
sleep 0.8
xdotool key Return
sleep 0.5
STUCK_SHOT="$work/stuck.png" quit_with_ctrl_q "$pid"
# Opened again, as named on the command line.
"$pindle" "--settings-folder=$work/settings" "$work/anim.gif" >> "$work/out" 2>&1 &
pid=$!
sleep 2.5
import -window root "$work/reopened.png"
xdotool key ctrl+q
sleep 0.5
kill "$pid" 2>/dev/null
exit 0
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/drive.sh" "$pindle" "$work" "$here"
status=$?
cat "$work/out" 2>/dev/null
[ -n "$keep" ] && cp "$work"/*.png "$keep"/
[ "$status" -eq 0 ] || exit 1
/usr/bin/python3 - "$work/original.gif" "$work/anim.gif" <<'CHECK'
import sys
from PIL import Image, ImageChops

def frames(path):
    image = Image.open(path)
    shown = []
    for index in range(image.n_frames):
        image.seek(index)
        shown.append((image.info.get("duration", 0), image.convert("RGBA").copy()))
    return shown

before, after = frames(sys.argv[1]), frames(sys.argv[2])
if len(before) != len(after):
    sys.exit("frame count changed: %d to %d" % (len(before), len(after)))
changed = [i for i, ((a, _), (b, _)) in enumerate(zip(before, after)) if a != b]
if len(changed) != 1 or after[changed[0]][0] != 3000:
    sys.exit("expected one frame's duration to become 3000 ms, changed: %s" %
             [(i, before[i][0], after[i][0]) for i in changed])
for i, ((_, a), (_, b)) in enumerate(zip(before, after)):
    if ImageChops.difference(a, b).getbbox() is not None:
        sys.exit("frame %d looks different" % i)
print("frame %d now lasts 3 s; every frame looks as it did" % changed[0])
CHECK
