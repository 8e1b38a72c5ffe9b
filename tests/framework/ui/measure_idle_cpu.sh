#!/bin/sh
# Measures the CPU time the control gallery uses while idle: 10 s in the
# SDL2 backend under a private X server, and 10 s of the headless clock in
# the headless backend (whose sleep only moves its clock, so the figure is
# the cost of the idle steps themselves). Not a test: it prints figures.
set -eu
gallery="${1:-build/tests/control_gallery}"
ticks=$(getconf CLK_TCK)

cpu_of() {  # user + system ticks of a process
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/sdl.sh" <<SDL
#!/bin/sh
"$gallery" --seconds 14 > /dev/null 2>&1 &
pid=\$!
sleep 2
before=\$(awk '{ print \$14 + \$15 }' /proc/\$pid/stat)
sleep 10
after=\$(awk '{ print \$14 + \$15 }' /proc/\$pid/stat)
echo \$((after - before)) > "$work/sdl"
wait \$pid
SDL
chmod +x "$work/sdl.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/sdl.sh"
used=$(cat "$work/sdl")
echo "SDL2 under Xvfb: $used ticks of CPU in 10 s idle ($(echo "scale=2; 100 * $used / ($ticks * 10)" | bc) % of one core)"

start=$(date +%s%N)
/usr/bin/time -f "%U %S" -o "$work/headless" "$gallery" --idle 10 > /dev/null
end=$(date +%s%N)
set -- $(cat "$work/headless")
echo "headless: ${1} s user + ${2} s system CPU for 10 s of idle headless clock (wall $(( (end - start) / 1000000 )) ms)"
