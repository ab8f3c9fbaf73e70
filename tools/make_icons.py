#!/usr/bin/python3
"""Makes the desktop icon from the bundled game's art: a rounded tile of the main menu's space
scene with a black hole in its middle and the player's station beside it, written at the hicolor
sizes to packaging/icons/hicolor/NxN/apps/org.vellumengine.Vellum.png.

Run from anywhere: `tools/make_icons.py`. The files are committed; the build never runs this.
It needs Debian's python3-pil (hence /usr/bin/python3).
"""

from pathlib import Path

from PIL import Image, ImageDraw

ROOT = Path(__file__).resolve().parent.parent
ICON_ID = "org.vellumengine.Vellum"
SIZES = (48, 64, 128, 256)
# Drawn at this size and reduced, so the edges are smooth.
MASTER = 1024


def rounded_mask(size, radius):
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, size - 1, size - 1), radius, fill=255)
    return mask


def master_icon():
    scene = Image.open(ROOT / "data/gui/menu_bg.png").convert("RGBA")
    side = min(scene.size) * 5 // 8
    left = (scene.width - side) // 2
    top = (scene.height - side) // 2
    tile = scene.crop((left, top, left + side, top + side)).resize((MASTER, MASTER), Image.LANCZOS)

    hole = Image.open(ROOT / "data/actors/black_hole.png").convert("RGBA")
    hole = hole.resize((MASTER * 3 // 4, MASTER * 3 // 4), Image.LANCZOS)
    tile.alpha_composite(hole, ((MASTER - hole.width) // 2, (MASTER - hole.height) // 2))

    station = Image.open(ROOT / "data/actors/target.png").convert("RGBA")
    station = station.resize((MASTER * 3 // 10, MASTER * 3 // 10), Image.LANCZOS)
    tile.alpha_composite(station, (MASTER * 64 // 100, MASTER * 62 // 100))

    icon = Image.new("RGBA", (MASTER, MASTER), (0, 0, 0, 0))
    icon.paste(tile, (0, 0), rounded_mask(MASTER, MASTER // 6))
    return icon


def main():
    icon = master_icon()
    for size in SIZES:
        folder = ROOT / f"packaging/icons/hicolor/{size}x{size}/apps"
        folder.mkdir(parents=True, exist_ok=True)
        icon.resize((size, size), Image.LANCZOS).save(folder / f"{ICON_ID}.png", optimize=True)


if __name__ == "__main__":
    main()
