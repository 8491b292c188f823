#!/usr/bin/python3
"""Makes Lumidot's pictures and sounds.

It writes:
  icons/lumidot-{16,32,128}.png   the program icon in three sizes;
  icons/lumidot.ico               the 16 and 32 pixel icons for Windows;
  overlays/Zentrax.gif            Zentrax's frame around the dot display: a
                                  starry space border with the game's name,
                                  see-through over the dot cells;
  buttons/zx_kp_07.gif .. 09.gif  the arrows on Zentrax's three fire keys:
                                  up and right, straight up, up and left;
  samples/zx_hit.wav              the crash of a hit;
  samples/zx_gameover.wav         the short falling tune when the game ends;
  cartridges/Glintmoor/           beside the Lua game's cartridge.lua: its
                                  frame overlay.gif (a night moor), the
                                  arrows up/down/left/right.gif on its step
                                  keys, and glint.wav, milestone.wav and
                                  caught.wav.

Everything is drawn and synthesized here from code, with fixed seeds, so
every run writes the same bytes.

Run it with Debian's Python (python3-pil is importable from /usr/bin/python3
only) from anywhere; it writes into assets/ beside this folder. Its outputs
are committed, so building Lumidot never needs it.
"""

import math
import random
import struct
import wave
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


# ---------------------------------------------------------------------------
# Zentrax's overlay: the frame around the dot display.
#
# The picture is stretched over the display panel, beneath the 16 x 16 dot
# cells, which lie in [22, 149) of its own pixels. Over [19, 152) it is
# see-through, so the panel's own grey shows between the dots and the unlit
# dots melt into it; only the band outside is drawn. The top rows are hidden
# behind the panel's edge, so the name goes in the bottom band.

OVERLAY_SIZE = 169
WINDOW = (19, 152)  # the see-through square, [19, 152) on both axes

# Palette indices of the overlay. Index 0 is the see-through one; its colour
# is the panel grey, for viewers that ignore the transparency.
CLEAR, SPACE, SPACE_EDGE, STAR_DIM, STAR_MID, STAR_BRIGHT = range(6)
RIM, BEVEL_DARK, BEVEL_LIGHT, TITLE, TITLE_LIGHT, TITLE_SHADOW = range(6, 12)
PLANET, PLANET_DARK, PLANET_RING, SHIP, SHIP_FLAME = range(12, 17)
OVERLAY_PALETTE = [
    (224, 224, 224),  # CLEAR: see-through
    (12, 18, 44),  # SPACE: the border band
    (6, 9, 26),  # SPACE_EDGE: the band's outermost line
    (64, 76, 124),  # STAR_DIM
    (146, 160, 212),  # STAR_MID
    (242, 246, 255),  # STAR_BRIGHT
    (44, 62, 116),  # RIM: a line a little way out from the window
    (4, 6, 16),  # BEVEL_DARK: the window's upper and left edges, in shadow
    (120, 150, 210),  # BEVEL_LIGHT: its lower and right edges, lit
    (250, 186, 52),  # TITLE: the letters of the game's name
    (255, 238, 160),  # TITLE_LIGHT: their upper edges
    (110, 34, 18),  # TITLE_SHADOW: the shadow below and right of them
    (196, 98, 66),  # PLANET
    (112, 48, 38),  # PLANET_DARK: its night side
    (170, 150, 196),  # PLANET_RING
    (200, 214, 232),  # SHIP: the little fighter in the right band
    (255, 140, 40),  # SHIP_FLAME
]

# The game's name in blocky letters, 5 x 5 cells, drawn 2 px per cell.
TITLE_TEXT = "ZENTRAX"
TITLE_LETTERS = {
    "Z": ["#####", "...#.", "..#..", ".#...", "#####"],
    "E": ["#####", "#....", "####.", "#....", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#"],
    "T": ["#####", "..#..", "..#..", "..#..", "..#.."],
    "R": ["####.", "#...#", "####.", "#..#.", "#...#"],
    "A": [".###.", "#...#", "#####", "#...#", "#...#"],
    "X": ["#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    # The rest of Glintmoor's name.
    "G": [".####", "#....", "#..##", "#...#", ".###."],
    "L": ["#....", "#....", "#....", "#....", "#####"],
    "I": ["#####", "..#..", "..#..", "..#..", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", ".###."],
}
TITLE_CELL = 2
TITLE_GAP = 2  # pixels between letters
TITLE_TOP = 156  # the name takes rows 156..165 of the bottom band

# A small fighter climbing the right band, pointing up like the player's gun.
SHIP_PICTURE = [
    "...#...",
    "...#...",
    "..###..",
    "..###..",
    ".#####.",
    "###.###",
    "#.....#",
]
SHIP_FLAME_PICTURE = [
    "..f.f..",
    "...f...",
]


def _in_window(x: int, y: int, margin: int = 0) -> bool:
    low, high = WINDOW
    return low - margin <= x < high + margin and low - margin <= y < high + margin


def _title_box(text: str = TITLE_TEXT) -> tuple[int, int, int, int]:
    """Left, top, right and bottom (exclusive) of the name and its shadow."""
    width = len(text) * 5 * TITLE_CELL + (len(text) - 1) * TITLE_GAP
    left = (OVERLAY_SIZE - width) // 2
    return left, TITLE_TOP, left + width + 1, TITLE_TOP + 5 * TITLE_CELL + 1


def _draw_title(image: Image.Image, text: str = TITLE_TEXT, inks=None) -> None:
    """The name centred in the bottom band; inks: letter, lit edge, shadow."""
    letter_ink, light_ink, shadow_ink = inks or (TITLE, TITLE_LIGHT, TITLE_SHADOW)
    left, top, _, _ = _title_box(text)
    cells = []
    for i, letter in enumerate(text):
        x0 = left + i * (5 * TITLE_CELL + TITLE_GAP)
        for row, line in enumerate(TITLE_LETTERS[letter]):
            for column, mark in enumerate(line):
                if mark == "#":
                    cells.append((x0 + column * TITLE_CELL, top + row * TITLE_CELL))
    lit = set()
    for x, y in cells:
        for dy in range(TITLE_CELL):
            for dx in range(TITLE_CELL):
                lit.add((x + dx, y + dy))
    # The shadow first, one pixel down and right, then the letters over it.
    for x, y in lit:
        image.putpixel((x + 1, y + 1), shadow_ink)
    for x, y in lit:
        # The top pixel of each stroke catches the light.
        image.putpixel((x, y), letter_ink if (x, y - 1) in lit else light_ink)


def _draw_planet(image: Image.Image, cx: int, cy: int, radius: int) -> None:
    """A small ringed planet, lit from the upper left."""
    # The back half of the ring, then the ball, then the front half.
    ring = []
    for step in range(200):
        angle = 2 * math.pi * step / 200
        rx = cx + round(math.cos(angle) * (radius + 2))
        ry = cy + round(math.sin(angle) * 1.6)
        ring.append((rx, ry, math.sin(angle) > 0))
    for rx, ry, front in ring:
        if not front:
            image.putpixel((rx, ry), PLANET_RING)
    for y in range(cy - radius, cy + radius + 1):
        for x in range(cx - radius, cx + radius + 1):
            dx, dy = x - cx, y - cy
            if dx * dx + dy * dy <= radius * radius + radius // 2:
                shade = PLANET_DARK if dx + dy > radius * 0.6 else PLANET
                image.putpixel((x, y), shade)
    for rx, ry, front in ring:
        if front:
            image.putpixel((rx, ry), PLANET_RING)


def _draw_ship(image: Image.Image, left: int, top: int) -> None:
    for row, line in enumerate(SHIP_PICTURE):
        for column, mark in enumerate(line):
            if mark == "#":
                image.putpixel((left + column, top + row), SHIP)
    flame_top = top + len(SHIP_PICTURE)
    for row, line in enumerate(SHIP_FLAME_PICTURE):
        for column, mark in enumerate(line):
            if mark == "f":
                image.putpixel((left + column, flame_top + row), SHIP_FLAME)


def zentrax_overlay() -> Image.Image:
    """The frame of Zentrax: deep space round a see-through window."""
    size = OVERLAY_SIZE
    image = Image.new("P", (size, size), SPACE)
    image.putpalette([channel for colour in OVERLAY_PALETTE for channel in colour])
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, size - 1, size - 1], outline=SPACE_EDGE)

    # The decorations, placed first so the stars keep clear of them.
    planet = (8, 136, 4)  # centre x, centre y, radius: low in the left band
    ship = (157, 34)  # upper left corner: high in the right band
    keep_clear = [
        _title_box(),
        (planet[0] - planet[2] - 6, planet[1] - planet[2] - 3,
         planet[0] + planet[2] + 7, planet[1] + planet[2] + 4),
        (ship[0] - 2, ship[1] - 2, ship[0] + 9, ship[1] + 12),
    ]

    # Stars: a fixed sky, the same on every run.
    sky = random.Random(1984)
    placed = 0
    while placed < 90:
        x = sky.randrange(1, size - 1)
        y = sky.randrange(1, size - 1)
        if _in_window(x, y, margin=5):
            continue
        if any(l - 1 <= x < r + 1 and t - 1 <= y < b + 1 for l, t, r, b in keep_clear):
            continue
        if image.getpixel((x, y)) != SPACE:
            continue
        kind = sky.random()
        if kind < 0.55:
            image.putpixel((x, y), STAR_DIM)
        elif kind < 0.88:
            image.putpixel((x, y), STAR_MID)
        else:
            # A bright star with a faint cross of light round it.
            if _in_window(x, y, margin=7):
                continue
            if not (2 <= x < size - 2 and 2 <= y < size - 2):
                continue
            image.putpixel((x, y), STAR_BRIGHT)
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                image.putpixel((x + dx, y + dy), STAR_DIM)
        placed += 1

    _draw_planet(image, *planet)
    _draw_ship(image, *ship)
    _draw_title(image)
    _draw_window(draw, SPACE, RIM, BEVEL_DARK, BEVEL_LIGHT)
    return image


def _draw_window(draw: ImageDraw.ImageDraw, band: int, rim: int, dark: int, light: int) -> None:
    """A rim line, then a sunken bevel just outside the see-through square."""
    low, high = WINDOW
    draw.rectangle([low - 3, low - 3, high + 2, high + 2], outline=rim)
    draw.rectangle([low - 2, low - 2, high + 1, high + 1], fill=band)
    draw.line([low - 1, low - 1, high, low - 1], fill=dark)
    draw.line([low - 1, low - 1, low - 1, high], fill=dark)
    draw.line([low, high, high, high], fill=light)
    draw.line([high, low, high, high], fill=light)
    draw.rectangle([low, low, high - 1, high - 1], fill=CLEAR)


# ---------------------------------------------------------------------------
# The arrows on Zentrax's three fire keys: which way each one shoots.

BUTTON_PICTURE_SIZE = (41, 17)
BUTTON_PALETTE = [
    (236, 236, 236),  # 0: see-through; a button face grey for other viewers
    (18, 18, 22),  # 1: the arrow's ink
]


def _up_arrow() -> set[tuple[int, int]]:
    """Pixels of an arrow pointing straight up, centred in the picture."""
    cx = BUTTON_PICTURE_SIZE[0] // 2
    pixels = set()
    tip = 2
    for row in range(6):  # the head: rows 2..7, widening by one each side
        for x in range(cx - row, cx + row + 1):
            pixels.add((x, tip + row))
    for y in range(tip + 6, 15):  # the shaft, 3 px wide
        for x in range(cx - 1, cx + 2):
            pixels.add((x, y))
    return pixels


def _up_right_arrow() -> set[tuple[int, int]]:
    """Pixels of an arrow pointing up and to the right, at 45 degrees."""
    cx = BUTTON_PICTURE_SIZE[0] // 2
    left, top, span = cx - 6, 2, 13  # the arrow's 13 x 13 box
    tip_x, tip_y = left + span - 1, top
    pixels = set()
    for y in range(top, top + 8):  # the head: a right triangle at the tip
        for x in range(tip_x - 7, tip_x + 1):
            if (tip_x - x) + (y - tip_y) <= 7:
                pixels.add((x, y))
    diagonal = tip_x + tip_y
    for y in range(top, top + span):  # the shaft, three pixels a row
        for x in range(left, tip_x + 1):
            if diagonal - 1 <= x + y <= diagonal + 1:
                pixels.add((x, y))
    return pixels


def fire_button(direction: str) -> Image.Image:
    """A fire key's picture: 'right' (up and right), 'up', or 'left'."""
    width, height = BUTTON_PICTURE_SIZE
    if direction == "up":
        pixels = _up_arrow()
    else:
        pixels = _up_right_arrow()
        if direction == "left":
            pixels = {(width - 1 - x, y) for x, y in pixels}
    image = Image.new("P", (width, height), 0)
    image.putpalette([channel for colour in BUTTON_PALETTE for channel in colour])
    for pixel in pixels:
        image.putpixel(pixel, 1)
    return image


# ---------------------------------------------------------------------------
# Zentrax's sounds.

RATE = 22050
PEAK = 10 ** (-3 / 20)  # -3 dBFS


def _write_wave(path: Path, samples: list[float]) -> None:
    """Scales the samples to the peak level and writes 16-bit mono PCM."""
    loudest = max(abs(s) for s in samples) or 1.0
    scale = PEAK * 32767 / loudest
    frames = struct.pack(f"<{len(samples)}h", *(round(s * scale) for s in samples))
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def _fade(samples: list[float], fade_in: float, fade_out: float) -> list[float]:
    """Short linear ramps at both ends, so the sound starts and stops cleanly."""
    count = len(samples)
    rise = max(1, round(fade_in * RATE))
    fall = max(1, round(fade_out * RATE))
    out = list(samples)
    for i in range(min(rise, count)):
        out[i] *= i / rise
    for i in range(min(fall, count)):
        out[count - 1 - i] *= i / fall
    return out


def hit_sound() -> list[float]:
    """The crash when a shot hits: a falling growl in a burst of noise."""
    count = round(0.25 * RATE)
    noise = random.Random(7)
    samples = []
    phase = 0.0
    rumble = 0.0
    for i in range(count):
        t = i / RATE
        # The growl falls from 900 Hz to 55 Hz, a rounded square wave.
        frequency = 900 * (55 / 900) ** (t / 0.25)
        phase += 2 * math.pi * frequency / RATE
        growl = math.tanh(3 * math.sin(phase)) * math.exp(-t / 0.07)
        # The noise gets darker as it dies away.
        smoothing = 0.7 - 0.6 * (t / 0.25)
        rumble += (1 - smoothing) * ((noise.random() * 2 - 1) - rumble)
        crash = rumble * math.exp(-t / 0.06)
        samples.append(0.55 * growl + 0.9 * crash)
    return _fade(samples, 0.002, 0.015)


def gameover_tune() -> list[float]:
    """The tune when the game ends: five falling notes, the last one held."""
    notes = [  # frequency in Hz, length in seconds
        (659.26, 0.15),  # E5
        (523.25, 0.15),  # C5
        (440.00, 0.15),  # A4
        (349.23, 0.15),  # F4
        (329.63, 0.70),  # E4, held and fading
    ]
    gap = 0.025
    samples = []
    for number, (frequency, length) in enumerate(notes):
        last = number == len(notes) - 1
        count = round(length * RATE)
        phase = 0.0
        for i in range(count):
            t = i / RATE
            wobble = 1 + (0.006 * math.sin(2 * math.pi * 5.5 * t) if last else 0)
            phase += 2 * math.pi * frequency * wobble / RATE
            # A soft square wave: the first odd harmonics, fading away.
            tone = math.sin(phase) + math.sin(3 * phase) / 4 + math.sin(5 * phase) / 10
            attack = min(1.0, t / 0.006)
            if last:
                taper = 0.5 + 0.5 * math.cos(math.pi * i / count)
                level = math.exp(-t / 0.35) * taper
            else:
                level = 0.65 + 0.35 * math.exp(-t / 0.05)
                level *= min(1.0, (count - i) / (0.02 * RATE))  # release
            samples.append(tone * attack * level)
        if not last:
            samples.extend([0.0] * round(gap * RATE))
    samples.extend([0.0] * round(0.05 * RATE))
    return _fade(samples, 0.002, 0.01)

# ---------------------------------------------------------------------------
# Glintmoor, the Lua cartridge: its frame, its four arrow keys, its sounds.
#
# The frame has Zentrax's geometry (see above): a night moor round the same
# see-through window, a crescent moon high in the right band, reeds in the
# corners and will-o'-wisp glints where Zentrax has stars.

MOOR_NIGHT, MOOR_EDGE, WISP_DIM, WISP, WISP_BRIGHT = range(1, 6)
MOOR_RIM, MOOR_BEVEL_DARK, MOOR_BEVEL_LIGHT, MOOR_TITLE, MOOR_TITLE_LIGHT = range(6, 11)
MOOR_TITLE_SHADOW, MOON, REED, REED_HEAD = range(11, 15)
MOOR_PALETTE = [
    (224, 224, 224),  # CLEAR: see-through
    (14, 26, 30),  # MOOR_NIGHT: the border band
    (6, 12, 14),  # MOOR_EDGE: the band's outermost line
    (62, 86, 52),  # WISP_DIM
    (176, 212, 96),  # WISP
    (246, 255, 196),  # WISP_BRIGHT
    (38, 70, 60),  # MOOR_RIM
    (2, 6, 6),  # MOOR_BEVEL_DARK
    (104, 156, 134),  # MOOR_BEVEL_LIGHT
    (222, 212, 150),  # MOOR_TITLE
    (255, 250, 214),  # MOOR_TITLE_LIGHT
    (58, 40, 70),  # MOOR_TITLE_SHADOW
    (236, 232, 198),  # MOON
    (40, 62, 40),  # REED
    (96, 70, 40),  # REED_HEAD: a bulrush's brown head
]
MOOR_TITLE_TEXT = "GLINTMOOR"

# Reeds: left x, ground y, height. A tall stand low in the left band, short
# ones in the bottom corners either side of the name.
MOOR_REEDS = [(4, 150, 22), (8, 150, 30), (12, 150, 18), (6, 166, 9), (14, 166, 12),
              (22, 166, 7), (145, 166, 8), (153, 166, 12), (161, 166, 10)]


def _draw_reed(image: Image.Image, x: int, ground: int, height: int) -> None:
    """A stalk with a bulrush head two pixels wide below its tip."""
    for y in range(ground - height, ground + 1):
        image.putpixel((x, y), REED)
    for y in range(ground - height + 2, ground - height + 6):
        image.putpixel((x, y), REED_HEAD)
        image.putpixel((x + 1, y), REED_HEAD)


def _draw_moon(image: Image.Image, cx: int, cy: int, radius: int) -> None:
    """A crescent: the disc less a disc shifted to the upper right."""
    for y in range(cy - radius, cy + radius + 1):
        for x in range(cx - radius, cx + radius + 1):
            inside = (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
            bitten = (x - cx - 3) ** 2 + (y - cy + 2) ** 2 <= radius * radius
            if inside and not bitten:
                image.putpixel((x, y), MOON)


def _draw_wisps(image: Image.Image, keep_clear: list[tuple[int, int, int, int]]) -> None:
    """Glints scattered over the band, a few of them haloed; a fixed scatter."""
    size = OVERLAY_SIZE
    moor = random.Random(2026)
    placed = 0
    while placed < 60:
        x, y = moor.randrange(2, size - 2), moor.randrange(2, size - 2)
        if _in_window(x, y, margin=7) or image.getpixel((x, y)) != MOOR_NIGHT:
            continue
        if any(l - 2 <= x < r + 2 and t - 2 <= y < b + 2 for l, t, r, b in keep_clear):
            continue
        kind = moor.random()
        image.putpixel((x, y), WISP_DIM if kind < 0.5 else WISP if kind < 0.85 else WISP_BRIGHT)
        if kind >= 0.85:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                image.putpixel((x + dx, y + dy), WISP_DIM)
        placed += 1


def glintmoor_overlay() -> Image.Image:
    """The frame of Glintmoor: a night moor round a see-through window."""
    size = OVERLAY_SIZE
    image = Image.new("P", (size, size), MOOR_NIGHT)
    image.putpalette([channel for colour in MOOR_PALETTE for channel in colour])
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, size - 1, size - 1], outline=MOOR_EDGE)
    moon = (161, 30, 5)
    for reed in MOOR_REEDS:
        _draw_reed(image, *reed)
    _draw_moon(image, *moon)
    keep_clear = [_title_box(MOOR_TITLE_TEXT),
                  (moon[0] - 7, moon[1] - 7, moon[0] + 8, moon[1] + 8)]
    _draw_wisps(image, keep_clear)
    inks = (MOOR_TITLE, MOOR_TITLE_LIGHT, MOOR_TITLE_SHADOW)
    _draw_title(image, MOOR_TITLE_TEXT, inks)
    _draw_window(draw, MOOR_NIGHT, MOOR_RIM, MOOR_BEVEL_DARK, MOOR_BEVEL_LIGHT)
    return image


def glintmoor_arrow(direction: str) -> Image.Image:
    """A step key's picture: Zentrax's up arrow turned 'up', 'down', 'left' or 'right'."""
    width, height = BUTTON_PICTURE_SIZE
    cx, cy = width // 2, height // 2
    pixels = _up_arrow()  # rows 2..14, columns cx - 5 .. cx + 5
    if direction == "down":
        pixels = {(x, height - 1 - y) for x, y in pixels}
    elif direction in ("left", "right"):
        # Turned on its side about the picture's centre: the tip to the left.
        pixels = {(cx - 6 + (y - 2), cy + (x - cx)) for x, y in pixels}
        if direction == "right":
            pixels = {(width - 1 - x, y) for x, y in pixels}
    image = Image.new("P", (width, height), 0)
    image.putpalette([channel for colour in BUTTON_PALETTE for channel in colour])
    for pixel in pixels:
        image.putpixel(pixel, 1)
    return image


def _tone(frequency: float, length: float, decay: float) -> list[float]:
    """A bell-like sine with its octave, dying away over `decay` seconds."""
    count = round(length * RATE)
    return [
        (math.sin(2 * math.pi * frequency * i / RATE)
         + 0.3 * math.sin(4 * math.pi * frequency * i / RATE)) * math.exp(-i / RATE / decay)
        for i in range(count)
    ]


def glint_sound() -> list[float]:
    """A glint gathered: two quick rising notes, a tenth of a second in all."""
    return _fade(_tone(1318.5, 0.04, 0.03) + _tone(1760.0, 0.06, 0.03), 0.002, 0.01)


def milestone_sound() -> list[float]:
    """Every fifth glint: a quick arpeggio up C, E, G, C, the last held a little."""
    samples = []
    for frequency, length in ((1046.5, 0.05), (1318.5, 0.05), (1568.0, 0.05), (2093.0, 0.12)):
        samples += _tone(frequency, length, 0.06)
    return _fade(samples, 0.002, 0.02)


def caught_sound() -> list[float]:
    """The wraith's catch: a wavering moan falling two octaves in 0.6 s."""
    count = round(0.6 * RATE)
    hiss = random.Random(13)
    samples, phase = [], 0.0
    for i in range(count):
        t = i / RATE
        frequency = 440 * (110 / 440) ** (t / 0.6) * (1 + 0.04 * math.sin(2 * math.pi * 7 * t))
        phase += 2 * math.pi * frequency / RATE
        moan = math.sin(phase) + 0.25 * math.sin(3 * phase)
        samples.append((moan + 0.15 * (hiss.random() * 2 - 1)) * (1 - t / 0.6) ** 0.5)
    return _fade(samples, 0.005, 0.03)


def glintmoor(folder: Path) -> None:
    """Writes Glintmoor's pictures and sounds beside its cartridge.lua."""
    glintmoor_overlay().save(folder / "overlay.gif", transparency=CLEAR, optimize=False)
    for direction in ("up", "down", "left", "right"):
        glintmoor_arrow(direction).save(folder / f"{direction}.gif", transparency=0, optimize=False)
    _write_wave(folder / "glint.wav", glint_sound())
    _write_wave(folder / "milestone.wav", milestone_sound())
    _write_wave(folder / "caught.wav", caught_sound())


def main() -> None:
    icons = ASSETS / "icons"
    icons.mkdir(parents=True, exist_ok=True)
    for size in (16, 32, 128):
        icon(size).save(icons / f"lumidot-{size}.png", optimize=True)
    # Each size drawn at its own size, not scaled from the largest.
    icon(32).save(icons / "lumidot.ico", sizes=[(16, 16), (32, 32)], append_images=[icon(16)])

    overlays = ASSETS / "overlays"
    overlays.mkdir(parents=True, exist_ok=True)
    zentrax_overlay().save(overlays / "Zentrax.gif", transparency=CLEAR, optimize=False)

    buttons = ASSETS / "buttons"
    buttons.mkdir(parents=True, exist_ok=True)
    for number, direction in ((7, "right"), (8, "up"), (9, "left")):
        fire_button(direction).save(
            buttons / f"zx_kp_{number:02d}.gif", transparency=0, optimize=False
        )

    samples = ASSETS / "samples"
    samples.mkdir(parents=True, exist_ok=True)
    _write_wave(samples / "zx_hit.wav", hit_sound())
    _write_wave(samples / "zx_gameover.wav", gameover_tune())

    cartridge = ASSETS / "cartridges" / "Glintmoor"
    cartridge.mkdir(parents=True, exist_ok=True)
    glintmoor(cartridge)


if __name__ == "__main__":
    main()
