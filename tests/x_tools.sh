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
