# Sourced by the tests that drive a program in a private X server.
#
# require_tools TOOL...: exits 77 (the tests' "skipped") naming the first
# tool that is not installed; "pillow" stands for Python's imaging library
# in Debian's own interpreter.
require_tools() {
    for tool in "$@"; do
        if [ "$tool" = pillow ]; then
            /usr/bin/python3 -c 'import PIL' 2>/dev/null && continue
            echo "SKIP: python3-pil is not installed (scripts/install-deps installs it)"
            exit 77
        fi
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
            exit 77
        fi
    done
}

# screenshot_when_steady FILE: a screenshot of the X display once two taken
# 0.4 s apart agree (the program has finished drawing), at most after about
# 12 s; needs $SCREEN_PARTS, the path of screen_parts.py.
screenshot_when_steady() {
    import -window root "$1"
    for _ in $(seq 1 30); do
        sleep 0.4
        import -window root "$1.next.png"
        if [ "$(/usr/bin/python3 "$SCREEN_PARTS" differing "$1" "$1.next.png")" -eq 0 ]; then
            break
        fi
        mv "$1.next.png" "$1"
    done
    rm -f "$1.next.png"
}

# quit_with_ctrl_q PID: Ctrl+Q to the program, then waits up to 5 s for the
# process to end; if it does not, a screenshot of why (into $STUCK_SHOT when
# it is set), and exit 1.
quit_with_ctrl_q() {
    xdotool key ctrl+q
    for _ in $(seq 1 100); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.05
    done
    [ -n "${STUCK_SHOT:-}" ] && import -window root "$STUCK_SHOT"
    echo "pindle did not quit"
    kill "$1"
    exit 1
}
