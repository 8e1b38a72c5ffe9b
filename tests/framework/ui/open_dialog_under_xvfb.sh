#!/bin/sh
# Shows the Open dialog on the SDL2 backend inside a private X server, types
# a file name with real key events and presses Return, and checks that the
# dialog chose that file. Skips (exit 77) when xvfb-run or xdotool is missing.
set -u
gallery="$1"
. "$(dirname "$0")/../../x_tools.sh"
require_tools xvfb-run xdotool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/animations"
: > "$work/animations/ball.gif"
: > "$work/animations/spinner.gif"

cat > "$work/drive.sh" <<'DRIVE'
#!/bin/sh
set -u
gallery="$1"
work="$2"
"$gallery" --open-dialog "$work/animations/" > "$work/out" 2>&1 &
pid=$!
# The gallery prints where the dialog's name field is once it waits for input.
for _ in $(seq 1 200); do
    grep -q '^field ' "$work/out" && break
    sleep 0.05
done
sleep 0.3
set -- $(grep '^field ' "$work/out")
xdotool mousemove "$2" "$3" click 1
sleep 0.2
# The field holds the pattern; select it all and type over it.
xdotool key ctrl+a
xdotool type --delay 30 "spinner.gif"
xdotool key Return
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill "$pid" 2>/dev/null
wait "$pid"
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/drive.sh" "$gallery" "$work"
status=$?
cat "$work/out"
if [ "$status" -ne 0 ]; then
    echo "the gallery failed ($status)"
    exit 1
fi
grep -qx "chosen $work/animations/spinner.gif" "$work/out" ||
    { echo "the typed name did not reach the dialog"; exit 1; }
echo "the Open dialog took a name typed through the X server"
