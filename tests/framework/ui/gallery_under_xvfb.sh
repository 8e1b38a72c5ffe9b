#!/bin/sh
# Runs the control gallery on the SDL2 backend inside a private X server,
# clicks its "Loop forever" check box and presses a key through the X
# server, and checks what the gallery wrote on exit. Skips (exit 77) when
# xvfb-run or xdotool is missing.
set -u
gallery="$1"
. "$(dirname "$0")/../../x_tools.sh"
require_tools xvfb-run xdotool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/drive.sh" <<'DRIVE'
#!/bin/sh
set -u
gallery="$1"
work="$2"
"$gallery" --seconds 6 --state "$work/state" > "$work/out" 2>&1 &
pid=$!
# The gallery prints where the check box is once its windows are up.
for _ in $(seq 1 100); do
    grep -q '^check ' "$work/out" && break
    sleep 0.05
done
sleep 0.5
set -- $(grep '^check ' "$work/out")
xdotool mousemove "$2" "$3"
sleep 0.2
xdotool click 1
sleep 0.3
xdotool key k
wait "$pid"
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/drive.sh" "$gallery" "$work"
status=$?
cat "$work/out"
cat "$work/state" 2>/dev/null
if [ "$status" -ne 0 ]; then
    echo "the gallery failed ($status)"
    exit 1
fi
grep -q '^loop=1$' "$work/state" || { echo "the click did not reach the check box"; exit 1; }
grep -q '^keys=[1-9]' "$work/state" || { echo "the key press did not reach the window"; exit 1; }
echo "click and key reached the framework through the X server"
