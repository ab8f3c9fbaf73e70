#!/usr/bin/python3
"""Writes the small PNG images that the engine names itself and that the tests draw.

Run from anywhere: `tools/make_images.py`. The files are committed; the build never runs this.
It needs Debian's python3-pil (hence /usr/bin/python3 rather than whatever python3 is first on
PATH). Every image is written with known pixel values so that tests can compute what a driver
must show; change a value here only together with the tests that rely on it.

Engine images (data/gui/):
  empty.png   1x1, fully transparent (0,0,0,0). The texture of empty grouping nodes and
              virtual nodes, and what the main loop draws in place of the cursor while the
              system cursor is shown.
  black.png   4x4, opaque black. The pause fader and the black curtain, stretched to the screen.

Start-up images (data/gui/):
  backdrop.png    256x192, a deep blue field darkening towards the edges with a fixed pattern of
                  stars: the background the start-up script shows while the game loads.
  title_hole.png  128x128, a gravity hole: a black core in a glowing violet ring that fades to
                  transparent outside; shown by the start-up script once loading has ended.

Test images (tests/data/images/):
  white_16.png         16x16 opaque white (255,255,255,255): tinting by a vertex colour shows
                       that colour exactly.
  grey_16.png          16x16 opaque grey (128,128,128,255).
  orange_16.png        16x16 opaque (200,100,50,255): distinct channels for blend arithmetic.
  quadrants_64x32.png  64x32 (not square) in four 32x16 quadrants: top left red (255,0,0),
                       top right green (0,255,0), bottom left blue (0,0,255), bottom right
                       white; all opaque. Shows size, orientation and mirroring.
  odd_33x33.png        33x33 (not a power of two), opaque (10,200,30) with the top-left pixel
                       opaque red (255,0,0) as an orientation mark.
  border_16.png        16x16 with a one-pixel fully transparent border (0,0,0,0) around an
                       opaque white 14x14 inside: atlas padding and trimming.
  red_key_16.png       16x16 RGB without alpha: columns 0-7 pure red (255,0,0), the key colour
                       that is to become transparent; columns 8-15 are blue (0,0,255) in rows
                       0-7 and near-red (254,0,0) in rows 8-15, which must stay visible.
  half_alpha_16.png    16x16 white with alpha 128 (255,255,255,128).
  alpha_steps_48x16.png  48x16 of colour (200,100,50) in three 16-pixel columns with alpha 255,
                       128 and 0: the blend materials are probed at each column's centre.
  strip_8_frames.png   64x8: eight 8x8 animation frames side by side, frame i filled with
                       STRIP_COLOURS[i], all opaque.
"""

import os

from PIL import Image

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

STRIP_COLOURS = [
    (255, 0, 0),
    (0, 255, 0),
    (0, 0, 255),
    (255, 255, 0),
    (0, 255, 255),
    (255, 0, 255),
    (255, 255, 255),
    (128, 128, 128),
]


def solid(size, rgba):
    return Image.new("RGBA", size, rgba)


def quadrants():
    image = Image.new("RGBA", (64, 32))
    colours = {(0, 0): (255, 0, 0, 255), (1, 0): (0, 255, 0, 255),
               (0, 1): (0, 0, 255, 255), (1, 1): (255, 255, 255, 255)}
    for (qx, qy), rgba in colours.items():
        image.paste(rgba, (qx * 32, qy * 16, qx * 32 + 32, qy * 16 + 16))
    return image


def odd_size():
    image = solid((33, 33), (10, 200, 30, 255))
    image.putpixel((0, 0), (255, 0, 0, 255))
    return image


def transparent_border():
    image = solid((16, 16), (0, 0, 0, 0))
    image.paste((255, 255, 255, 255), (1, 1, 15, 15))
    return image


def red_key():
    image = Image.new("RGB", (16, 16), (255, 0, 0))
    image.paste((0, 0, 255), (8, 0, 16, 8))
    image.paste((254, 0, 0), (8, 8, 16, 16))
    return image


def alpha_steps():
    image = Image.new("RGBA", (48, 16))
    for column, alpha in enumerate((255, 128, 0)):
        image.paste((200, 100, 50, alpha), (column * 16, 0, column * 16 + 16, 16))
    return image


def frame_strip():
    image = Image.new("RGBA", (8 * len(STRIP_COLOURS), 8))
    for index, rgb in enumerate(STRIP_COLOURS):
        image.paste(rgb + (255,), (index * 8, 0, index * 8 + 8, 8))
    return image


def backdrop():
    width, height = 256, 192
    image = Image.new("RGBA", (width, height))
    for y in range(height):
        for x in range(width):
            dx, dy = (x - width / 2) / (width / 2), (y - height / 2) / (height / 2)
            light = max(0.0, 1.0 - 0.6 * (dx * dx + dy * dy))
            image.putpixel((x, y), (int(12 * light), int(24 * light), int(70 * light), 255))
    # A fixed pseudo-random star field, so reruns give equal bytes.
    seed = 12345
    for _ in range(90):
        seed = (seed * 1103515245 + 12345) % 2147483648
        x, y = seed % width, (seed // width) % height
        shade = 150 + seed % 106
        image.putpixel((x, y), (shade, shade, min(255, shade + 20), 255))
    return image


def title_hole():
    size = 128
    image = Image.new("RGBA", (size, size))
    centre = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            r = ((x - centre) ** 2 + (y - centre) ** 2) ** 0.5 / centre
            glow = max(0.0, 1.0 - abs(r - 0.55) / 0.45)
            # The core blends into the ring over a few pixels, so its edge is smooth.
            core = min(1.0, max(0.0, (r - 0.42) / 0.08))
            alpha = 255 if r < 0.55 else int(255 * glow)
            image.putpixel((x, y), (int(170 * glow * core), int(60 * glow * core),
                                    int(255 * glow * core), alpha if r < 1.0 else 0))
    return image


IMAGES = {
    "data/gui/empty.png": lambda: solid((1, 1), (0, 0, 0, 0)),
    "data/gui/black.png": lambda: solid((4, 4), (0, 0, 0, 255)),
    "data/gui/backdrop.png": backdrop,
    "data/gui/title_hole.png": title_hole,
    "tests/data/images/white_16.png": lambda: solid((16, 16), (255, 255, 255, 255)),
    "tests/data/images/grey_16.png": lambda: solid((16, 16), (128, 128, 128, 255)),
    "tests/data/images/orange_16.png": lambda: solid((16, 16), (200, 100, 50, 255)),
    "tests/data/images/quadrants_64x32.png": quadrants,
    "tests/data/images/odd_33x33.png": odd_size,
    "tests/data/images/border_16.png": transparent_border,
    "tests/data/images/red_key_16.png": red_key,
    "tests/data/images/half_alpha_16.png": lambda: solid((16, 16), (255, 255, 255, 128)),
    "tests/data/images/alpha_steps_48x16.png": alpha_steps,
    "tests/data/images/strip_8_frames.png": frame_strip,
}


def main():
    for relative, build in IMAGES.items():
        path = os.path.join(ROOT, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # optimize keeps the files small; no metadata is written, so reruns give equal bytes.
        build().save(path, "PNG", optimize=True)
        print(relative)


if __name__ == "__main__":
    main()
