#!/bin/sh
# Runs the control gallery on the SDL2 backend inside a private X server and
# asks the X server what a task list would show for its window: the name the
# main frame gives it ("Pindle") and the program icon. Skips (exit 77) when
# xvfb-run, xdotool or xprop is missing.
set -u
gallery="$1"
. "$(dirname "$0")/../../../x_tools.sh"
require_tools xvfb-run xdotool xprop
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/ask.sh" <<'ASK'
#!/bin/sh
set -u
gallery="$1"
work="$2"
"$gallery" --seconds 8 > "$work/out" 2>&1 &
pid=$!
window=""
for _ in $(seq 1 200); do
    window=$(xdotool search --onlyvisible --name '^Pindle$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.05
done
if [ -n "$window" ]; then
    xprop -id "$window" -notype _NET_WM_NAME > "$work/name"
    xprop -id "$window" -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON > "$work/icon"
fi
kill "$pid" 2>/dev/null
wait "$pid"
ASK
chmod +x "$work/ask.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/ask.sh" "$gallery" "$work"
[ -s "$work/name" ] || { cat "$work/out"; echo "no window named Pindle appeared"; exit 1; }
cat "$work/name"
grep -q '= "Pindle"$' "$work/name" || { echo "the window is not named Pindle"; exit 1; }
# _NET_WM_ICON=64, 64, then 64 x 64 pixels as 0xAARRGGBB numbers.
set -- $(tr -d ',=' < "$work/icon" | sed 's/_NET_WM_ICON//')
[ "$#" -eq $((2 + 64 * 64)) ] && [ "$1" = 64 ] && [ "$2" = 64 ] ||
    { echo "the window has no 64 by 64 icon"; exit 1; }
opaque=0
shift 2
for pixel in "$@"; do
    [ "$pixel" -ge 4278190080 ] && opaque=$((opaque + 1))  # alpha 255
done
[ "$opaque" -gt 2048 ] || { echo "the window's icon is mostly empty ($opaque opaque pixels)"; exit 1; }
echo "the window shows the name Pindle and a 64 by 64 icon ($opaque opaque pixels)"
