#!/bin/sh
# Installs the build into a scratch DESTDIR with the prefix /usr/local,
# checks that the program, its desktop entry and its icons landed there and
# nothing else did, uninstalls, and checks that nothing is left below
# DESTDIR, not even the folders the installation made. A real installation's records in the build
# folder (the install manifest and the list of folders it made) are put back
# afterwards, so that `make uninstall` still removes that one.
set -u
build="$1"
uninstall="$2"
work=$(mktemp -d)
saved="install_manifest.txt install_folders.txt"
for name in $saved; do
    [ -f "$build/$name" ] && cp "$build/$name" "$work/saved-$name"
done
restore() {
    for name in $saved; do
        rm -f "$build/$name"
        [ -f "$work/saved-$name" ] && cp "$work/saved-$name" "$build/$name"
    done
    rm -rf "$work"
}
trap restore EXIT
fail() {
    echo "$1"
    exit 1
}

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr/local >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }

prefix="$root/usr/local"
sizes="16 32 48 64 128 256"
{
    echo "$prefix/bin/pindle"
    echo "$prefix/share/applications/pindle.desktop"
    for size in $sizes; do
        echo "$prefix/share/icons/hicolor/${size}x${size}/apps/pindle.png"
    done
} | sort >"$work/expected"
find "$root" -type f | sort >"$work/landed"
echo "Installed:"
sed "s|^$root||" "$work/landed"
cmp -s "$work/expected" "$work/landed" ||
    { diff "$work/expected" "$work/landed"; fail "the installed files are not the expected ones"; }
[ -x "$prefix/bin/pindle" ] || fail "bin/pindle is not executable"
grep -qx "Icon=pindle" "$prefix/share/applications/pindle.desktop" || fail "the desktop entry has no Icon=pindle"

# A big-endian 32-bit number of a file at a byte offset.
number_at() {
    set -- $(od -An -tu1 -j"$2" -N4 "$1")
    echo $(((($1 * 256 + $2) * 256 + $3) * 256 + $4))
}
# Each icon is a PNG file as wide and as high as its folder says (the IHDR
# chunk's width and height follow the 8-byte signature and the chunk's
# length and type).
for size in $sizes; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/pindle.png"
    signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    [ "$signature" = "89504e470d0a1a0a" ] || fail "$png is not a PNG file"
    width=$(number_at "$png" 16)
    height=$(number_at "$png" 20)
    [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
        fail "$png is $width by $height, not $size by $size"
done

DESTDIR="$root" cmake -DBUILD_DIR="$build" -P "$uninstall" >"$work/uninstall.log" 2>&1 ||
    { cat "$work/uninstall.log"; fail "uninstalling failed"; }
left=$(find "$root" -mindepth 1)
if [ -n "$left" ]; then
    echo "$left"
    fail "uninstalling left the above behind"
fi
echo "Uninstalling took away every file and folder the installation made"
