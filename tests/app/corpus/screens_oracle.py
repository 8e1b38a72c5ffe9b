#!/usr/bin/python3
"""Prints the screens Pillow shows for each GIF file given.

For every file, a header line and then either its screens or one error line:

    file PATH
    screen WIDTHxHEIGHT DURATION HASH FRAMES
    error MESSAGE

A screen is a frame as Pillow composites it, converted to RGBA; HASH is a
digest of those bytes with every fully transparent pixel made 0,0,0,0 (what
a transparent pixel carries is not seen). DURATION is the frame's duration
in milliseconds as Pillow reports it, "-" when it reports none. Frames that
show the same screen one after another are one screen: their durations are
summed ("-" only when none of them has one) and FRAMES counts them.

A file Pillow cannot read to its end gives the error line instead of any
screen, so that a half-read file is never taken for a whole one.
"""

import ctypes
import ctypes.util
import hashlib
import sys

from PIL import Image, ImageSequence


def keep_freed_memory():
    """Big screens are made and dropped for every frame; glibc hands each one
    back to the system and faults it in again, which costs more than the
    decoding. Keeping freed memory in the process makes reading several
    times faster."""
    try:
        libc = ctypes.CDLL(ctypes.util.find_library("c"))
        m_trim_threshold, m_mmap_threshold = -1, -3
        libc.mallopt(m_mmap_threshold, 64 << 20)
        libc.mallopt(m_trim_threshold, 1 << 30)
    except (OSError, AttributeError):
        pass  # only slower


def visible_bytes(frame):
    """The frame's RGBA bytes, every fully transparent pixel 0,0,0,0."""
    rgba = frame.convert("RGBA")
    alpha = rgba.getchannel("A")
    if alpha.getextrema()[0] == 0:
        clear = alpha.point(lambda value: 255 if value == 0 else 0)
        rgba.paste((0, 0, 0, 0), mask=clear)
    return rgba.tobytes()


def raw_state(frame):
    """What the frame is made of as Pillow holds it: equal states show equal
    screens, so a repeated frame is known without converting it."""
    palette = frame.getpalette() if frame.mode == "P" else None
    return frame.mode, frame.size, frame.info.get("transparency"), palette, frame.tobytes()


def screens(path):
    """[size, duration, hash, frames] of each screen, merged."""
    shown = []
    previous = None  # size and bytes of the last screen: most frames repeat it
    previous_raw = None
    with Image.open(path) as image:
        for frame in ImageSequence.Iterator(image):
            size = "%dx%d" % frame.size
            duration = frame.info.get("duration")
            raw = raw_state(frame)
            repeated = shown and raw == previous_raw
            previous_raw = raw
            if not repeated:
                pixels = visible_bytes(frame)
                repeated = shown and previous == (size, pixels)
            if repeated:
                last = shown[-1]
                if duration is not None:
                    last[1] = (last[1] or 0) + duration
                last[3] += 1
                continue
            shown.append([size, duration, hashlib.sha1(pixels).hexdigest(), 1])
            previous = (size, pixels)
    return shown


def describe(path):
    try:
        lines = []
        for size, duration, key, frames in screens(path):
            shown_duration = "-" if duration is None else str(duration)
            lines.append("screen %s %s %s %d" % (size, shown_duration, key, frames))
        return lines
    except Exception as error:  # whatever Pillow raises, the file is out of reach
        text = " ".join(str(error).split()) or "no message"
        return ["error %s: %s" % (type(error).__name__, text)]


def main(paths):
    if not paths:
        sys.stderr.write("usage: screens_oracle.py FILE...\n")
        return 2
    keep_freed_memory()
    for path in paths:
        print("file " + path)
        print("\n".join(describe(path)), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
