#!/usr/bin/python3
"""Makes Lumidot's pictures: the program icon in three sizes.

Run it with Debian's Python (python3-pil is importable from /usr/bin/python3
only) from anywhere; it writes into assets/ beside this folder. Its outputs
are committed, so building Lumidot never needs it.
"""

from pathlib import Path

from PIL import Image, ImageDraw

ASSETS = Path(__file__).resolve().parent.parent / "assets"

BODY = (54, 84, 110, 255)
BODY_EDGE = (28, 44, 60, 255)
SCREEN = (208, 214, 196, 255)
DOT = (24, 28, 24, 255)
KEY = (228, 180, 60, 255)

# A 6 x 6 picture for the icon's display: a little gun under a target bar.
SCREEN_PICTURE = [
    "......",
    ".###..",
    "......",
    "......",
    "..#...",
    ".###..",
]


def icon(size: int) -> Image.Image:
    """The handheld seen from the front: its dot display above its keys."""
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    unit = size / 16
    margin = round(unit * 1)
    draw.rounded_rectangle(
        [margin + round(unit), 0, size - 1 - margin - round(unit) + 1, size - 1],
        radius=max(1, round(unit * 2)),
        fill=BODY,
        outline=BODY_EDGE,
    )
    # The display: a square screen with a 6 x 6 grid of dots.
    left = round(unit * 4)
    top = round(unit * 2)
    side = round(unit * 8)
    draw.rectangle([left, top, left + side - 1, top + side - 1], fill=SCREEN)
    pitch = max(1, side // 6)
    dot = pitch - 1 if pitch > 2 else pitch
    offset = (side - 6 * pitch) // 2
    for row, line in enumerate(SCREEN_PICTURE):
        for column, mark in enumerate(line):
            if mark != "#":
                continue
            x = left + offset + column * pitch
            y = top + offset + row * pitch
            draw.rectangle([x, y, x + dot - 1, y + dot - 1], fill=DOT)
    # Three keys below the display.
    key_top = round(unit * 12)
    key_side = max(1, round(unit * 2))
    for i in range(3):
        x = round(unit * (4 + 3 * i))
        draw.rectangle([x, key_top, x + key_side - 1, key_top + key_side - 1], fill=KEY)
    return image


def main() -> None:
    icons = ASSETS / "icons"
    icons.mkdir(parents=True, exist_ok=True)
    for size in (16, 32, 128):
        icon(size).save(icons / f"lumidot-{size}.png", optimize=True)


if __name__ == "__main__":
    main()
