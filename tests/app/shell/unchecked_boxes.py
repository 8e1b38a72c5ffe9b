#!/usr/bin/python3
"""Prints where the unchecked check boxes of a screenshot are, one "x y" line
each (the box's centre): their insides are the only small, fully white
squares the program draws."""
import sys

from PIL import Image


def white_squares(path):
    image = Image.open(path).convert("RGB")
    width, height = image.size
    pixels = image.load()
    seen = set()
    for y in range(height):
        for x in range(width):
            if pixels[x, y] != (255, 255, 255) or (x, y) in seen:
                continue
            stack = [(x, y)]
            seen.add((x, y))
            area = []
            while stack:
                a, b = stack.pop()
                area.append((a, b))
                for c, d in ((a + 1, b), (a - 1, b), (a, b + 1), (a, b - 1)):
                    if 0 <= c < width and 0 <= d < height and (c, d) not in seen \
                            and pixels[c, d] == (255, 255, 255):
                        seen.add((c, d))
                        stack.append((c, d))
                if len(area) > 400:
                    break
            xs = [p[0] for p in area]
            ys = [p[1] for p in area]
            side = max(xs) - min(xs) + 1
            if 9 <= side <= 14 and side == max(ys) - min(ys) + 1 and len(area) == side * side:
                yield min(xs) + side // 2, min(ys) + side // 2


for x, y in white_squares(sys.argv[1]):
    print(x, y)
