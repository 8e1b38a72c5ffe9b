#!/usr/bin/python3
"""Finds parts of the program's windows in a screenshot, for tests that
drive the real program through an X server, one "x y" line (a centre) each:

  screen_parts.py unchecked-boxes SHOT.png   the unchecked check boxes
  screen_parts.py fields SHOT.png            one-line text fields, top to bottom
  screen_parts.py differing A.png B.png      how many pixels differ (one number)

Check boxes and text fields are the only white areas the program draws
that are this small: a box's inside is a white square, a field a white
rectangle of one line's height."""
import sys

from PIL import Image

WHITE = (255, 255, 255)


def white_areas(path, largest=4000):
    """The white areas' bounding boxes and whether each fills its box."""
    image = Image.open(path).convert("RGB")
    width, height = image.size
    pixels = image.load()
    seen = set()
    for y in range(height):
        for x in range(width):
            if pixels[x, y] != WHITE or (x, y) in seen:
                continue
            stack = [(x, y)]
            seen.add((x, y))
            area = []
            while stack:
                a, b = stack.pop()
                area.append((a, b))
                for c, d in ((a + 1, b), (a - 1, b), (a, b + 1), (a, b - 1)):
                    if 0 <= c < width and 0 <= d < height and (c, d) not in seen \
                            and pixels[c, d] == WHITE:
                        seen.add((c, d))
                        stack.append((c, d))
            if len(area) > largest:
                continue
            xs = [p[0] for p in area]
            ys = [p[1] for p in area]
            left, top = min(xs), min(ys)
            w, h = max(xs) - left + 1, max(ys) - top + 1
            yield left, top, w, h, len(area) == w * h


def unchecked_boxes(path):
    for left, top, w, h, full in white_areas(path, 400):
        if 9 <= w <= 14 and w == h and full:
            yield left + w // 2, top + h // 2


def fields(path):
    found = []
    for left, top, w, h, _ in white_areas(path):
        if 14 <= h <= 26 and 30 <= w <= 200:
            found.append((top, left + w // 2, top + h // 2))
    shown = []
    for _, x, y in sorted(found):
        if all(abs(x - a) > 3 or abs(y - b) > 3 for a, b in shown):  # a bevel's light line too
            shown.append((x, y))
    yield from shown


def differing(first, second):
    a = Image.open(first).convert("RGB")
    b = Image.open(second).convert("RGB")
    if a.size != b.size:
        return a.size[0] * a.size[1]
    return sum(1 for p, q in zip(a.getdata(), b.getdata()) if p != q)


if __name__ == "__main__":
    if sys.argv[1] == "differing":
        print(differing(sys.argv[2], sys.argv[3]))
        sys.exit(0)
    finder = {"unchecked-boxes": unchecked_boxes, "fields": fields}[sys.argv[1]]
    for x, y in finder(sys.argv[2]):
        print(x, y)
