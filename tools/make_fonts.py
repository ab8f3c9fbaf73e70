#!/usr/bin/python3
"""Writes the game's two bitmap fonts from DejaVu Sans: data/gui/font-main.xml with
data/gui/font-main.png, and data/gui/font-alt.xml with data/gui/font-alt.png.

Run from anywhere: `tools/make_fonts.py` (add `--preview FILE` to also write a picture of sample
lines laid out by the engine's rules, for checking the spacing). The files are committed; the
build never runs this. It needs Debian's python3-pil and fonts-dejavu-core (hence
/usr/bin/python3 rather than whatever python3 is first on PATH).

Characters. Engine text is Windows-1252 bytes, so glyph i is byte 32 + i decoded as cp1252, for
the bytes 32..255. The five bytes cp1252 leaves undefined (81, 8D, 8F, 90, 9D) and the control
character 7F get a small hollow box, like the font's own "missing glyph" mark: such a byte in a
text is a mistake, and a box shows it where a blank would hide it. A0 (no-break space) is a space,
AD (soft hyphen) a hyphen.

Pages. Glyphs are white with the coverage in alpha, packed in rows on one power-of-two PNG page
per font; pixels without coverage are transparent black, because the software renderer adds a
texture's colour onto the screen whatever its alpha. The texture cache treats the outermost pixel
of an image as a border that is never shown and reports the rest as the image's region, so the
font file's coordinates count from image pixel (1, 1): a rectangle l, t, r, b in the file covers
the image pixels l + 1 .. r and t + 1 .. b. The border and a one-pixel gap between rectangles
stay transparent.

Glyph rectangles. The engine draws a glyph as a quad whose lower-left corner sits at the pen
(plus abcA x 0.003 scene units) and whose size is the rectangle's size x 0.005 x size x scale.
So every rectangle ends at the same line below the baseline (the lowest ink of the font plus one
pixel, at least the font's descent), which keeps the baseline common. Each rectangle starts
horizontally at the glyph's origin (the pen), or one pixel left of the ink when the ink begins
left of the origin ("j", "T"); its top is one pixel above the glyph's ink. The engine pulls
texture coordinates inwards by 0.002 of the page on every side (half a pixel of a 256-pixel page,
one pixel of a 512-pixel page), so the pixel of transparent margin around the ink keeps every
inked pixel on screen.

Spacing. The engine advances the pen by (rectangle width x 0.005 + abcB x 0.0018 + abcC x 0.003
- (gaps l + r) x 0.0055) x size x scale, and shifts the glyph by abcA x 0.003 scene units, a
shift that does not grow with the size. The values written:
  abcA  0, or for ink that begins left of the origin that offset in units of 0.003 scene units
        at the font's own size (size x global), so it is exact for unscaled text;
  abcB  0: the rectangle is the glyph's body and already enters the advance;
  abcC  DejaVu's advance minus the rectangle width, in units of 0.6 font pixels
        (0.003 / 0.005), so the pen moves by exactly the font's advance (fractional, unkerned).
Gaps are 0.

Line height and centring. A text's height is measured on the space alone: its rectangle width
x 0.005 + its height x 0.002. The space's rectangle is therefore the full cell height (ascent +
descent) high and 0.6 of that wide (it is transparent; abcC brings its advance back to a
space's), so the height comes out as the cell height x 0.005, and text drawn vertically centred
is centred on its cell. Text nodes move down by that height x 7 x lineh x the node's scale, without
the font's size, so lineh = size x global / 7 makes one line of text one cell high on screen.

Sizes. The camera stands at z = -20.65 with the 4:3 view of 72 degrees, so the screen is 30
scene units high at z = 0: 20 screen pixels per unit at 800x600, 25.6 at 1024x768. One font pixel
is 0.005 x size x global units. The font's material has bilinear and trilinear filtering off and
anisotropic filtering on; graphics chips apply the latter only to filtered sampling, so the page
is sampled pixel by pixel, and text is crispest where one font pixel covers one screen pixel: any
other ratio repeats or drops rows and columns (a software OpenGL such as llvmpipe does filter,
which softens the text a little at any ratio). The game opens at 800x600, so size x global is 10
for both fonts, one font pixel per screen pixel at 800x600 (0.005 x 10 x 20 = 1) and 1.28 at
1024x768, where text is larger and still sharp-edged; shrinking instead (1:1 at 1024x768, 0.78 at
800x600) would drop every fourth or fifth row at the default size, thinning strokes and bars:
  main  size 5,    global 2      DejaVu Sans at 15 pixels: the cell (a line) is 19 pixels high,
                                 0.95 scene units;
  alt   size 9.69, global 1.032  DejaVu Sans at 26 pixels, about 1.7 times the main font: titles
                                 and large labels; the cell is 32 pixels high.
The main page is 256 x 256, where the inset is half a pixel and a quad shows exactly its
rectangle's pixels at 1:1. The alternative font needs a 256 x 512 page; along its height a quad
shows two rows fewer than it is high, so its glyphs stand two pixels taller than drawn (capitals
21 rows instead of 19; see page_size).
The scale element's x and y (1) scale only the pixel dimensions the engine reports.
"""

import argparse
import math
import os

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

# The engine's constants (scene units).
PIXEL_TO_SCENE = 0.005
ABC_A_FACTOR = 0.003
ABC_C_FACTOR = 0.003
TEXTURE_INSET = 0.002
LINE_HEIGHT_UNIT = 7

FIRST_CODE = 32
LAST_CODE = 255
# Bytes drawn as the "missing glyph" box.
BOXED = {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}
BLANK = {0x20, 0xA0}

SAMPLE_LINES = [
    "The quick brown fox jumps over the lazy dog.",
    "Level 12 - Score: 1,234,567  (x3) [OK] \"Quit?\" Yes/No",
    "\u00c5ngstr\u00f6m caf\u00e9 na\u00efve \u00a9 \u20ac 100 \u2013 j\u00e4ger T\u00f7j",
]


class FontSpec:
    def __init__(self, name, size, pixels, global_scale):
        self.name = name
        self.size = size
        self.pixels = pixels
        self.global_scale = global_scale

    @property
    def effective_size(self):
        return self.size * self.global_scale


FONTS = [
    FontSpec("font-main", 5.0, 15, 2.0),
    FontSpec("font-alt", 9.69, 26, 1.032),
]


class Glyph:
    """One character: its coverage image and where that image lies around the glyph origin."""

    def __init__(self, code, image, left, top, advance):
        self.code = code
        self.image = image  # coverage ("L"), exactly the rectangle
        self.left = left  # rectangle's left edge relative to the origin (pixels, <= 0)
        self.top = top  # rectangle's top relative to the baseline (pixels, negative is up)
        self.advance = advance
        self.x = self.y = 0  # place in the font image

    @property
    def width(self):
        return self.image.width

    @property
    def height(self):
        return self.image.height


def character(code):
    # The soft hyphen would be laid out as nothing; the engine never breaks lines there, so it
    # shows as the hyphen it stands for.
    return "-" if code == 0xAD else bytes([code]).decode("cp1252")


def ink_box(font, text):
    """The inked pixels of the text drawn with its origin at (0, 0) on the baseline, as
    (left, top, right, bottom) relative to the origin, and the coverage image of that box."""
    margin = font.size * 2
    canvas = Image.new("L", (margin * 3, margin * 3))
    ImageDraw.Draw(canvas).text((margin, margin * 2), text, fill=255, font=font, anchor="ls")
    box = canvas.getbbox()
    if box is None:
        return None, None
    left, top, right, bottom = box
    return ((left - margin, top - margin * 2, right - margin, bottom - margin * 2),
            canvas.crop(box))


def missing_box(font):
    """A hollow box half an em wide and a capital high, one stroke thick, with bearings of
    0.15 em: its ink box, coverage image and advance."""
    cap_top = ink_box(font, "H")[0][1]
    stroke = max(1, round(font.size / 14))
    bearing = math.ceil(font.size * 0.15)
    width = max(4, round(font.size * 0.5))
    image = Image.new("L", (width, -cap_top))
    ImageDraw.Draw(image).rectangle((0, 0, width - 1, -cap_top - 1), outline=255, width=stroke)
    return (bearing, cap_top, bearing + width, 0), image, width + 2 * bearing


def make_glyphs(setting):
    font = ImageFont.truetype(FACE, setting.pixels)
    ascent, descent = font.getmetrics()
    inked = {}
    for code in range(FIRST_CODE, LAST_CODE + 1):
        if code in BLANK:
            continue
        if code in BOXED:
            inked[code] = missing_box(font)
        else:
            box, image = ink_box(font, character(code))
            inked[code] = (box, image, font.getlength(character(code)))
    # Every rectangle ends on one line: one pixel below the lowest ink, at least the descent.
    bottom = max([descent] + [box[3] + 1 for box, _, _ in inked.values()])
    cell = ascent + bottom

    glyphs = []
    for code in range(FIRST_CODE, LAST_CODE + 1):
        if code in BLANK:
            width = round(cell * 0.6)
            glyphs.append(Glyph(code, Image.new("L", (width, cell)), 0, -ascent,
                                font.getlength(" ")))
            continue
        (left, top, right, _), image, advance = inked[code]
        rect_left = min(0, left - 1)
        rect_top = top - 1
        coverage = Image.new("L", (right + 1 - rect_left, bottom - rect_top))
        coverage.paste(image, (left - rect_left, top - rect_top))
        glyphs.append(Glyph(code, coverage, rect_left, rect_top, advance))
    return glyphs, cell


def pack(glyphs, width, height):
    """Places the glyphs in rows, tallest first, inside the border and a pixel apart. False
    when they do not fit in an image of that size."""
    x, y, row_height = 1, 1, 0
    for glyph in sorted(glyphs, key=lambda g: (-g.height, g.code)):
        if x + glyph.width > width - 1:
            x, y, row_height = 1, y + row_height + 1, 0
        if glyph.width > width - 2 or y + glyph.height > height - 1:
            return False
        glyph.x, glyph.y = x, y
        x += glyph.width + 1
        row_height = max(row_height, glyph.height)
    return True


def page_size(glyphs):
    """The power-of-two image the glyphs fit in with the shortest longer side, then the
    smallest, then the narrower. The engine's texture inset grows with the page: along a
    512-pixel side a quad shows two pixels fewer than it is long, which repeats two rows or
    columns of the glyph when sampled pixel by pixel; repeated rows show less than repeated
    columns, which would thicken stems."""
    sizes = sorted(((1 << w, 1 << h) for w in range(6, 12) for h in range(6, 12)),
                   key=lambda s: (max(s), s[0] * s[1], s[0]))
    for size in sizes:
        if pack(glyphs, *size):
            return size
    raise SystemExit("the glyphs do not fit in a 2048x2048 page")


def number(value):
    text = "%.3f" % value
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def font_file(setting, glyphs, cell, texture_name):
    effective = setting.effective_size
    lines = [
        "<font>",
        "<!-- Written by tools/make_fonts.py from DejaVu Sans at %i pixels. -->" % setting.pixels,
        "<texture>%s</texture>" % texture_name,
        "<scale x='1' y='1' global='%s' lineh='%s' />"
        % (number(setting.global_scale), number(effective / LINE_HEIGHT_UNIT)),
        "<gaps l='0' t='0' r='0' b='0' />",
    ]
    for glyph in glyphs:
        # Rectangles count from the image pixel after the border.
        l, t = glyph.x - 1, glyph.y - 1
        abc_a = glyph.left * PIXEL_TO_SCENE * effective / ABC_A_FACTOR
        abc_c = (glyph.advance - glyph.width) * PIXEL_TO_SCENE / ABC_C_FACTOR
        lines.append(
            "<char l='%i' t='%i' r='%i' b='%i' abcA='%s' abcB='0' abcC='%s' ascii='%i' />"
            % (l, t, l + glyph.width, t + glyph.height, number(abc_a), number(abc_c),
               glyph.code))
    lines.append("</font>")
    return "\n".join(lines) + "\n"


def page_image(glyphs, size):
    alpha = Image.new("L", size)
    for glyph in glyphs:
        alpha.paste(glyph.image, (glyph.x, glyph.y))
    # White wherever there is any coverage, black where there is none.
    colour = alpha.point(lambda value: 255 if value else 0)
    return Image.merge("RGBA", (colour, colour, colour, alpha))


def preview(fonts, path):
    """Sample lines laid out as the engine lays them out, one font pixel per image pixel."""
    samples = [text.encode("cp1252") for text in SAMPLE_LINES] + [b"AVAWAY Tj yjg fi \x81 end"]
    rows = []
    for setting, glyphs, cell in fonts:
        by_code = {g.code: g for g in glyphs}
        for data in samples:
            width = int(sum(by_code[b].advance for b in data)) + 20
            line = Image.new("L", (width, cell + 8))
            pen = 10.0
            for b in data:
                glyph = by_code[b]
                line.paste(255, (int(round(pen + glyph.left)), 4 + cell - glyph.height),
                           glyph.image)
                pen += glyph.advance
            rows.append(line)
    image = Image.new("L", (max(r.width for r in rows), sum(r.height for r in rows)))
    y = 0
    for row in rows:
        image.paste(row, (0, y))
        y += row.height
    image.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--preview", help="also write a picture of sample lines here")
    arguments = parser.parse_args()
    made = []
    for setting in FONTS:
        glyphs, cell = make_glyphs(setting)
        size = page_size(glyphs)
        pack(glyphs, *size)
        inset = TEXTURE_INSET * (max(size) - 2)
        if inset > 1.05:
            raise SystemExit("%s: a %ix%i page pulls texture coordinates in by %.2f pixels, "
                             "more than the glyphs' margin" % (setting.name, size[0], size[1], inset))
        folder = os.path.join(ROOT, "data", "gui")
        os.makedirs(folder, exist_ok=True)
        texture_name = setting.name + ".png"
        page_image(glyphs, size).save(os.path.join(folder, texture_name), "PNG", optimize=True)
        with open(os.path.join(folder, setting.name + ".xml"), "w", encoding="ascii",
                  newline="\n") as out:
            out.write(font_file(setting, glyphs, cell, texture_name))
        print("data/gui/%s.xml, data/gui/%s: %ix%i, cell %i pixels"
              % (setting.name, texture_name, size[0], size[1], cell))
        made.append((setting, glyphs, cell))
    if arguments.preview:
        preview(made, arguments.preview)


if __name__ == "__main__":
    main()
