#!/usr/bin/python3
"""Draws the bundled game's art and writes the sprite descriptions that show it.

Run from anywhere: `tools/make_game_art.py`. The files are committed; the build never runs this.
It needs Debian's python3-pil and python3-numpy (hence /usr/bin/python3). Every random choice
comes from a generator with a fixed seed, so reruns give equal bytes.

Style: deep-space blues and violets, neon edges (cyan for the player's things, orange and red for
the enemy's), soft glows made with alpha. Shapes are drawn at four times their size and reduced
with a Lanczos filter, so edges are smooth. Sprite images keep their outermost pixel ring fully
transparent (the engine never shows a texture's edge pixels), and transparent pixels carry the
colour of their neighbours so that filtering leaves no dark fringes. The screen shows about
40 x 30 scene units, so one unit is 20-26 pixels.

Descriptions hold only visual keys; physics and game keys are added to the actor descriptions by
hand, above any section header.

Interface (data/gui/):
  cursor_usual.png   256x32: 8 frames of 32x32 side by side. A cyan arrow whose tip is at
                     pixel (3,3) of each frame; frame 0 is the resting cursor, frames 1-7 a click
                     pulse (the glow swells and a ring spreads from the tip).
  cursor_point.png   256x32: 8 frames of 32x32, the in-level pointer: a slim arrow with its tip
                     at (5,3) and a small hole reticle; frames 1-7 turn the reticle and pulse.
  loading_bg.png     512x32, loading_bg.spr (-Size:w1.6 h0.1, created with factors 10, so
                     16 x 1 units): the dark capsule track of the loading bar.
  loading.png        512x32, loading.spr (same size, -Position:z-0.01 so the fill lies in
                     front): the violet-to-cyan fill of the loading bar, cut by the slider.
  volslider_bg.png   512x64, volslider_bg.spr (-Size:w1 h0.125; the slider's factors are the
                     option node's larger side): a track with ten ticks.
  volslider.png      512x64, volslider.spr (same size, z-0.01): the fill, dim to bright cyan.
  white.png          16x16 opaque white; curtain.spr shows it as 40 x 30 units (the white
                     curtain is created with size factors 1, 1).
  menu_bg.png        1024x1024 opaque: the main-menu space scene (nebula, stars, a distant
                     gravity hole). The background node is 80 x 80 units at a depth where the
                     screen shows 80 x 60, so only the middle 768 rows are seen.
  level_bg1.png .. level_bg5.png   1024x1024 opaque, five subdued level backgrounds in the
                     same style (blue, violet, teal, crimson, deep dark with a galaxy).
  button_normal.png, button_hover.png, button_pressed.png, button_disabled.png
                     256x64 each: a rounded neon button in its four states; the hover, pressed
                     and disabled images are whole buttons laid over the normal one.
  button.spr         the normal image with -Size:1, the hover image (-Event.Mouse.Over.Image:)
                     and the pressed image (-Event.Mouse.Click.Image:); a dialog uses it as
                     -Texture:\\gui\\button.spr with its own -Size:w8 h2 (the intended 4:1
                     shape), click action and label.
  button_hover.spr, button_pressed.spr
                     the hover and pressed images, just in front of the button (z -0.002 and
                     -0.004) so that they cover it.
  canvas_corner.png 64x64, canvas_edge.png 64x64, canvas_top.png 128x128, canvas_bg.png
                     32x32, with canvas_corner.spr, canvas_edge.spr, canvas_top.spr: the image
                     set of framed canvases. The corner is the top-left piece (the frame line
                     runs 22% in from its left and top sides); the edge tiles horizontally with
                     its line across the middle and its outside at the bottom; the top ornament
                     is centred on the top line; the background is a plain translucent blue.
  panel.png          512x384, panel.spr (-Size:w20 h15): a translucent dialog panel with a
                     neon border, for dialogs that want one plain sprite behind their items.
  energy_gauge.png   2048x32: 16 cells of 128x32; cell k lights k of 15 segments (orange below
                     the hole cost of 0.49, cyan from there on, with a tick at the cost).
                     energy_gauge.spr: -Atlas:x0 y0 w16 h1, -Size:w6 h1.5.
  icon_black_hole.png, icon_white_hole.png   64x64, with .spr files of 1.2 x 1.2 units: small
                     icons of the two shots.

Effects (data/effects/):
  health_bar.png     1024x16: 16 cells of 64x16; cell k fills k/15 of the bar (red when low,
                     amber, green-cyan when full). health_bar.spr: -Atlas:x0 y0 w16 h1,
                     -Size:w1.6 h0.4, -Position:y1.5 (above the object's centre).
  explosion.png      2048x128: 16 frames of 128x128 (a fireball, a shock ring and embers).
                     explosion.spr: 4 x 4 units, -Animation.Texture:t800 m16x1 and
                     -Selfdestruction:t780 f200, so it plays once and removes itself.
  hole_flash.png     128x128: a white-violet flash with four spikes. hole_flash.spr: 3 x 3 units
                     growing 2.5 times in 300 ms while it fades and removes itself.

Actors (data/actors/). Their .spr files are written by hand (they hold the game keys too), so
this tool never writes them; the sizes below are the ones they use:
  mad_ship.png       256x128, pointing right (+X): the enemy ship, dark hull with orange neon.
                     3 x 1.5 units.
  black_hole.png     256x256: dark core, violet spiral ring, glow. 3 x 3 units, turning slowly.
  white_hole.png     256x256: bright core, cyan and white rays. 3 x 3 units, turning the other
                     way.
  rock_small.png     128x128, 1.2 x 1.2 units; rock_big.png 256x256, 2.5 x 2.5 units. The rock's
                     outline reaches about 90% of the image radius.
  planet_red.png, planet_blue.png, planet_green.png   256x256, 3, 4 and 3.5 units. The solid
                     disc is 86% of the image; the rest is atmosphere glow.
  target.png         256x256, 3 x 3 units: the space station to protect (white and gold hull,
                     cyan lights, green beacon), its outer shield ring at 92% of the image.
"""

import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
SS = 4  # supersampling factor

CYAN = (90, 225, 255)
CYAN_LIGHT = (185, 245, 255)
VIOLET = (150, 80, 255)
ORANGE = (255, 140, 50)
RED = (255, 60, 50)


# ---------------------------------------------------------------------------------------------
# Helpers


def layer(w, h):
    """A transparent supersampled layer for an image of w x h pixels."""
    return Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))


def s(v):
    """Pixel coordinates of the final image to supersampled ones."""
    if isinstance(v, (tuple, list)):
        return type(v)(s(x) for x in v)
    return v * SS


def reduce(img, w, h):
    """Lanczos reduction with premultiplied alpha, so colour never leaks from clear pixels."""
    return img.convert("RGBa").resize((w, h), Image.LANCZOS).convert("RGBA")


def over(*layers):
    result = layers[0]
    for top in layers[1:]:
        result = Image.alpha_composite(result, top)
    return result


def glow(img, radius, strength=1.0, colour=None):
    """A blurred copy of img's shape (optionally recoloured) to put underneath it."""
    blurred = img.filter(ImageFilter.GaussianBlur(radius))
    arr = np.asarray(blurred, dtype=np.float32).copy()
    if colour is not None:
        arr[..., 0], arr[..., 1], arr[..., 2] = colour
    arr[..., 3] = np.clip(arr[..., 3] * strength, 0, 255)
    return Image.fromarray(arr.astype(np.uint8), "RGBA")


def box_blur(arr, r):
    """Three box passes of radius r along both axes (close to a Gaussian); edges clamp."""
    out = arr.astype(np.float64)
    for _ in range(3):
        for axis in (0, 1):
            pad = [(0, 0)] * out.ndim
            pad[axis] = (r + 1, r)
            p = np.pad(out, pad, mode="edge")
            c = np.cumsum(p, axis=axis)
            n = out.shape[axis]
            hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
            lo = np.take(c, np.arange(0, n), axis=axis)
            out = (hi - lo) / (2 * r + 1)
    return out


def finish_sprite(img):
    """Clears the outermost pixel ring and gives clear pixels their neighbours' colour."""
    arr = np.asarray(img, dtype=np.float64).copy()
    arr[0, :, 3] = arr[-1, :, 3] = arr[:, 0, 3] = arr[:, -1, 3] = 0
    alpha = arr[..., 3] / 255.0
    premult = arr[..., :3] * alpha[..., None]
    spread_a = box_blur(alpha, 3)
    spread_c = np.stack([box_blur(premult[..., k], 3) for k in range(3)], axis=-1)
    fill = spread_c / np.maximum(spread_a, 1e-6)[..., None]
    clear = arr[..., 3] < 1
    arr[..., :3][clear] = np.clip(fill[clear], 0, 255)
    return Image.fromarray(np.round(arr).astype(np.uint8), "RGBA")


def from_float(rgb, alpha=None):
    """An RGBA image from float arrays in 0..1 (rgb h x w x 3, alpha h x w)."""
    h, w = rgb.shape[:2]
    if alpha is None:
        alpha = np.ones((h, w))
    arr = np.concatenate([np.clip(rgb, 0, 1), np.clip(alpha, 0, 1)[..., None]], axis=-1)
    return Image.fromarray(np.round(arr * 255).astype(np.uint8), "RGBA")


def fractal_noise(rng, w, h, base=4, octaves=6, persistence=0.55):
    """Value noise in 0..1: random grids of doubling resolution, smoothly enlarged and summed."""
    total = np.zeros((h, w))
    amplitude, norm = 1.0, 0.0
    for octave in range(octaves):
        gw, gh = base * 2 ** octave + 1, max(2, int(base * h / w) * 2 ** octave + 1)
        grid = rng.random((gh, gw)).astype(np.float32)
        img = Image.fromarray(grid, "F").resize((w, h), Image.BICUBIC)
        total += amplitude * np.asarray(img, dtype=np.float64)
        norm += amplitude
        amplitude *= persistence
    total /= norm
    lo, hi = np.percentile(total, 1), np.percentile(total, 99)
    return np.clip((total - lo) / (hi - lo), 0, 1)


def sample(values, u, v):
    """Bilinear lookup of a 2D array at texture coordinates u, v (wrapping)."""
    h, w = values.shape
    fx, fy = (u * w) % w, (v * h) % h
    x0, y0 = np.floor(fx).astype(int), np.floor(fy).astype(int)
    tx, ty = fx - x0, fy - y0
    x1, y1 = (x0 + 1) % w, (y0 + 1) % h
    top = values[y0, x0] * (1 - tx) + values[y0, x1] * tx
    bottom = values[y1, x0] * (1 - tx) + values[y1, x1] * tx
    return top * (1 - ty) + bottom * ty


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0, 1)
    return t * t * (3 - 2 * t)


def palette(stops, t):
    """Maps t (array in 0..1) through colour stops [(position, (r, g, b)), ...]."""
    t = np.clip(t, 0, 1)
    out = np.zeros(t.shape + (3,))
    for k in range(3):
        out[..., k] = np.interp(t, [p for p, _ in stops], [c[k] / 255.0 for _, c in stops])
    return out


def grid(w, h, cx=None, cy=None):
    """Pixel-centre coordinates relative to (cx, cy) (the image centre by default)."""
    cx = (w - 1) / 2 if cx is None else cx
    cy = (h - 1) / 2 if cy is None else cy
    y, x = np.mgrid[0:h, 0:w].astype(np.float64)
    return x - cx, y - cy


def wd(v):
    """A line width in final pixels to a supersampled whole number."""
    return max(1, int(round(v * SS)))


def rounded(draw, box, radius, **kw):
    draw.rounded_rectangle(box, radius=radius, **kw)


def rgba(c, a=255):
    return (int(c[0]), int(c[1]), int(c[2]), int(a))


def mix(c1, c2, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


# ---------------------------------------------------------------------------------------------
# Cursors


ARROW = [(3, 3), (3, 25), (8.6, 19.8), (12.8, 28.4), (16.6, 26.8), (12.5, 18.3), (20, 18.3)]
SLIM = [(5, 3), (5, 21), (9.2, 17), (16, 17)]


def cursor_frame(points, index, reticle):
    pulse = math.sin(math.pi * index / 8)
    frame = layer(32, 32)
    d = ImageDraw.Draw(frame)
    d.polygon(s(points), fill=rgba(mix((10, 22, 52), (30, 70, 120), pulse), 235))
    edge = layer(32, 32)
    de = ImageDraw.Draw(edge)
    de.line(s(points + [points[0]]), fill=rgba(mix(CYAN, (235, 252, 255), 0.5 * pulse)),
            width=int(1.4 * SS), joint="curve")
    tip = points[0]
    extras = layer(32, 32)
    dx = ImageDraw.Draw(extras)
    if index > 0:
        radius = 3 + 13 * index / 8
        alpha = 230 * (1 - index / 8)
        dx.ellipse(s((tip[0] - radius, tip[1] - radius, tip[0] + radius, tip[1] + radius)),
                   outline=rgba(CYAN_LIGHT, alpha), width=int(1.2 * SS))
    if reticle:
        cx, cy, r = 22.5, 23.5, 4.6
        dx.ellipse(s((cx - r, cy - r, cx + r, cy + r)), outline=rgba(VIOLET, 255),
                   width=int(1.3 * SS))
        dx.ellipse(s((cx - 1.6, cy - 1.6, cx + 1.6, cy + 1.6)), fill=rgba((12, 6, 30), 255))
        turn = math.pi / 4 * index / 8 * 2
        for k in range(4):
            a = turn + k * math.pi / 2
            p1 = (cx + math.cos(a) * (r + 0.8), cy + math.sin(a) * (r + 0.8))
            p2 = (cx + math.cos(a) * (r + 3.2), cy + math.sin(a) * (r + 3.2))
            dx.line(s([p1, p2]), fill=rgba(mix(CYAN, (255, 255, 255), pulse)),
                    width=int(1.2 * SS))
    shape = over(frame, edge, extras)
    halo = glow(over(edge, extras), 2.2 * SS, 0.9 + 1.2 * pulse, CYAN)
    return reduce(over(layer(32, 32), halo, shape), 32, 32)


def cursor_strip(points, reticle):
    strip = Image.new("RGBA", (256, 32), (0, 0, 0, 0))
    for index in range(8):
        strip.paste(cursor_frame(points, index, reticle), (index * 32, 0))
    return finish_sprite(strip)


# ---------------------------------------------------------------------------------------------
# Bars, gauges and buttons


def capsule(w, h, inset, fill, outline=None, width=0):
    img = layer(w, h)
    d = ImageDraw.Draw(img)
    box = s((inset, inset, w - inset, h - inset))
    rounded(d, box, s((h - 2 * inset) / 2), fill=fill, outline=outline, width=wd(width))
    return img


def loading_bg():
    w, h = 512, 32
    track = capsule(w, h, 4, rgba((8, 12, 34), 215))
    rim = capsule(w, h, 4, None, rgba(CYAN, 190), 1.5)
    return finish_sprite(reduce(over(layer(w, h), glow(rim, 3 * SS, 0.8), track, rim), w, h))


def horizontal_gradient(w, h, stops, vertical_shine=True):
    x = np.linspace(0, 1, w)[None, :].repeat(h, 0)
    rgb = palette(stops, x)
    if vertical_shine:
        y = np.linspace(-1, 1, h)[:, None].repeat(w, 1)
        rgb = rgb * (0.75 + 0.45 * np.exp(-(y * 2.2) ** 2))[..., None]
    return rgb


def loading_fill():
    w, h = 512, 32
    mask = capsule(w, h, 8, (255, 255, 255, 255))
    rgb = horizontal_gradient(w * SS, h * SS, [(0, (110, 60, 230)), (0.6, (70, 170, 255)),
                                               (1, (150, 245, 255))])
    bar = from_float(rgb, np.asarray(mask.split()[3]) / 255.0)
    return finish_sprite(reduce(over(layer(w, h), glow(bar, 3 * SS, 0.9), bar), w, h))


def volslider_bg():
    w, h = 512, 64
    img = layer(w, h)
    d = ImageDraw.Draw(img)
    rounded(d, s((6, 22, w - 6, 42)), s(10), fill=rgba((8, 12, 34), 220),
            outline=rgba(CYAN, 150), width=wd(1.5))
    for k in range(11):
        x = 16 + k * (w - 32) / 10
        tall = 9 if k in (0, 5, 10) else 5
        d.line(s([(x, 22 - tall), (x, 19)]), fill=rgba(CYAN, 200), width=wd(1.5))
        d.line(s([(x, 45), (x, 45 + tall - 3)]), fill=rgba(CYAN, 200), width=wd(1.5))
    return finish_sprite(reduce(over(layer(w, h), glow(img, 3 * SS, 0.7), img), w, h))


def volslider_fill():
    w, h = 512, 64
    mask = layer(w, h)
    rounded(ImageDraw.Draw(mask), s((9, 25, w - 9, 39)), s(7), fill=(255, 255, 255, 255))
    rgb = horizontal_gradient(w * SS, h * SS, [(0, (40, 90, 170)), (0.7, (80, 200, 255)),
                                               (1, (210, 250, 255))])
    bar = from_float(rgb, np.asarray(mask.split()[3]) / 255.0)
    return finish_sprite(reduce(over(layer(w, h), glow(bar, 3 * SS, 0.9), bar), w, h))


def gradient_fill(w, h, top, bottom, alpha, mask):
    y = np.linspace(0, 1, h * SS)[:, None, None].repeat(w * SS, 1)
    rgb = (np.array(top) / 255.0) * (1 - y) + (np.array(bottom) / 255.0) * y
    return from_float(rgb, np.asarray(mask.split()[3]) / 255.0 * alpha)


BUTTON_STATES = {
    # fill top, fill bottom, fill alpha, border colour, border width, glow strength, inset
    "normal": ((22, 34, 78), (8, 12, 36), 0.92, CYAN, 2.0, 0.55, 5),
    "hover": ((36, 72, 132), (12, 28, 70), 0.95, CYAN_LIGHT, 2.5, 1.3, 5),
    "pressed": ((60, 150, 200), (20, 70, 130), 0.97, (240, 255, 255), 2.5, 1.8, 6),
    "disabled": ((40, 40, 52), (22, 22, 30), 0.85, (95, 95, 115), 1.5, 0.0, 5),
}


def button(state):
    w, h = 256, 64
    top, bottom, alpha, border, width, strength, inset = BUTTON_STATES[state]
    box = s((inset, inset, w - inset, h - inset))
    mask = layer(w, h)
    rounded(ImageDraw.Draw(mask), box, s(14), fill=(255, 255, 255, 255))
    body = gradient_fill(w, h, top, bottom, alpha, mask)
    detail = layer(w, h)
    d = ImageDraw.Draw(detail)
    # A soft highlight along the upper inside, and corner accents in the border colour.
    d.line(s([(inset + 16, inset + 4), (w - inset - 16, inset + 4)]),
           fill=rgba(border, 60 if state != "disabled" else 25), width=wd(2))
    if state == "disabled":
        for x in range(-h, w, 12):
            d.line(s([(x, h), (x + h, 0)]), fill=(120, 120, 140, 28), width=wd(2))
        detail = Image.composite(detail, layer(w, h), mask.split()[3])
    rim = layer(w, h)
    dr = ImageDraw.Draw(rim)
    rounded(dr, box, s(14), outline=rgba(border), width=wd(width))
    for sx in (1, -1):
        x0 = inset + 3 if sx == 1 else w - inset - 3
        dr.line(s([(x0 + sx * 10, h / 2 - 9), (x0, h / 2), (x0 + sx * 10, h / 2 + 9)]),
                fill=rgba(border, 0 if state == "disabled" else 150), width=wd(1.5),
                joint="curve")
    parts = [layer(w, h)]
    if strength > 0:
        parts.append(glow(rim, 3.5 * SS, strength))
    parts += [body, detail, rim]
    if state in ("hover", "pressed"):
        inner = layer(w, h)
        rounded(ImageDraw.Draw(inner), box, s(14), outline=rgba(border, 120), width=wd(5))
        inner = inner.filter(ImageFilter.GaussianBlur(3 * SS))
        inner = Image.composite(inner, layer(w, h), mask.split()[3])
        parts.append(inner)
    return finish_sprite(reduce(over(*parts), w, h))


def panel():
    w, h = 512, 384
    inset = 12
    box = s((inset, inset, w - inset, h - inset))
    mask = layer(w, h)
    rounded(ImageDraw.Draw(mask), box, s(26), fill=(255, 255, 255, 255))
    body = gradient_fill(w, h, (16, 24, 62), (6, 8, 28), 0.88, mask)
    lines = layer(w, h)
    dl = ImageDraw.Draw(lines)
    for y in range(inset + 6, h - inset, 6):
        dl.line(s([(inset, y), (w - inset, y)]), fill=(120, 160, 255, 10), width=wd(1))
    lines = Image.composite(lines, layer(w, h), mask.split()[3])
    rim = layer(w, h)
    dr = ImageDraw.Draw(rim)
    rounded(dr, box, s(26), outline=rgba(CYAN, 220), width=wd(2.5))
    for cx, cy, sx, sy in ((inset, inset, 1, 1), (w - inset, inset, -1, 1),
                           (inset, h - inset, 1, -1), (w - inset, h - inset, -1, -1)):
        dr.line(s([(cx + sx * 6, cy + sy * 44), (cx + sx * 6, cy + sy * 18),
                   (cx + sx * 18, cy + sy * 6), (cx + sx * 44, cy + sy * 6)]),
                fill=rgba(CYAN_LIGHT), width=wd(3), joint="curve")
    dr.line(s([(w / 2 - 60, inset + 1), (w / 2 + 60, inset + 1)]), fill=rgba(CYAN_LIGHT),
            width=wd(4))
    return finish_sprite(reduce(over(layer(w, h), glow(rim, 5 * SS, 0.8), body, lines, rim),
                                w, h))


def canvas_corner():
    w = h = 64
    p = 0.22 * w
    img = layer(w, h)
    d = ImageDraw.Draw(img)
    d.line(s([(p, h), (p, p + 10), (p + 10, p), (w, p)]), fill=rgba(CYAN_LIGHT), width=wd(5),
           joint="curve")
    d.polygon(s([(p, p - 7), (p + 7, p), (p, p + 7), (p - 7, p)]), fill=rgba(CYAN_LIGHT))
    d.ellipse(s((p - 2.5, p - 2.5, p + 2.5, p + 2.5)), fill=(255, 255, 255, 255))
    return finish_sprite(reduce(over(layer(w, h), glow(img, 4 * SS, 1.2, CYAN), img), w, h))


def canvas_edge():
    w = h = 64
    y = np.linspace(-1, 1, h * SS)[:, None].repeat(w * SS, 1)
    line = np.exp(-(y / 0.09) ** 4)
    halo = np.exp(-(y / 0.42) ** 2) * 0.55
    alpha = np.clip(line + halo, 0, 1)
    t = np.clip(line, 0, 1)[..., None]
    rgb = (np.array(CYAN) / 255.0) * (1 - t) + (np.array(CYAN_LIGHT) / 255.0) * t
    img = reduce(from_float(rgb, alpha), w, h)
    # Tiled along its length: no border is cleared, and every column is the same.
    return img


def canvas_top():
    w = h = 128
    c = w / 2
    img = layer(w, h)
    d = ImageDraw.Draw(img)
    d.polygon(s([(c, c - 34), (c + 34, c), (c, c + 34), (c - 34, c)]), fill=rgba((10, 16, 44)),
              outline=rgba(CYAN_LIGHT), width=wd(4))
    d.ellipse(s((c - 17, c - 17, c + 17, c + 17)), outline=rgba(VIOLET), width=wd(4))
    d.ellipse(s((c - 8, c - 8, c + 8, c + 8)), fill=(4, 2, 12, 255))
    for sx in (1, -1):
        d.line(s([(c + sx * 38, c), (c + sx * 58, c)]), fill=rgba(CYAN_LIGHT), width=wd(4))
    return finish_sprite(reduce(over(layer(w, h), glow(img, 6 * SS, 1.1, CYAN), img), w, h))


def canvas_bg():
    return Image.new("RGBA", (32, 32), (10, 14, 40, 215))


def energy_gauge():
    cw, ch, cells, segments = 128, 32, 16, 15
    strip = Image.new("RGBA", (cw * cells, ch), (0, 0, 0, 0))
    x0, x1 = 12.0, cw - 12.0
    step = (x1 - x0) / segments
    cost_x = x0 + 0.49 * (x1 - x0)
    for k in range(cells):
        back = capsule(cw, ch, 3, rgba((6, 10, 30), 225), rgba((70, 110, 190), 200), 1.5)
        lit = layer(cw, ch)
        d = ImageDraw.Draw(lit)
        dim = layer(cw, ch)
        dd = ImageDraw.Draw(dim)
        colour = ORANGE if k < 8 else CYAN
        for i in range(segments):
            box = s((x0 + i * step + 0.9, 10, x0 + (i + 1) * step - 0.9, ch - 10))
            if i < k:
                rounded(d, box, s(1.5), fill=rgba(mix(colour, (255, 255, 255), 0.15)))
            else:
                rounded(dd, box, s(1.5), fill=rgba((28, 40, 78), 230))
        tick = layer(cw, ch)
        ImageDraw.Draw(tick).line(s([(cost_x, 5), (cost_x, ch - 5)]),
                                  fill=rgba(CYAN_LIGHT, 230), width=wd(1.5))
        cell = over(layer(cw, ch), back, dim, glow(lit, 2.5 * SS, 1.0, colour), lit, tick)
        strip.paste(reduce(cell, cw, ch), (k * cw, 0))
    return finish_sprite(strip)


def health_bar():
    cw, ch, cells = 64, 16, 16
    strip = Image.new("RGBA", (cw * cells, ch), (0, 0, 0, 0))
    for k in range(cells):
        f = k / (cells - 1)
        back = capsule(cw, ch, 2.5, rgba((4, 6, 18), 190), rgba((150, 170, 220), 170), 1.2)
        if f < 0.5:
            colour = mix(RED, (255, 190, 60), f / 0.5)
        else:
            colour = mix((255, 190, 60), (80, 240, 170), (f - 0.5) / 0.5)
        fill = layer(cw, ch)
        if k > 0:
            inner = (5, 5, 5 + (cw - 10) * f, ch - 5)
            rounded(ImageDraw.Draw(fill), s(inner), s(3), fill=rgba(colour))
        cell = over(layer(cw, ch), back, glow(fill, 1.5 * SS, 0.8), fill)
        strip.paste(reduce(cell, cw, ch), (k * cw, 0))
    return finish_sprite(strip)


# ---------------------------------------------------------------------------------------------
# Space backgrounds


def star_field(rng, w, h, count, bright_count, tint):
    stars = np.zeros((h, w, 3))
    for n in range(count + bright_count):
        x, y = rng.uniform(2, w - 3), rng.uniform(2, h - 3)
        big = n >= count
        level = rng.uniform(0.6, 1.0) if big else rng.uniform(0.1, 0.7) ** 1.6
        colour = np.array(mix((255, 255, 255), tint[rng.integers(len(tint))], rng.uniform(0, 0.6)))
        colour = colour / 255.0 * level
        sigma = rng.uniform(0.9, 1.5) if big else rng.uniform(0.45, 0.75)
        r = int(math.ceil(sigma * 3)) + (6 if big else 0)
        ix, iy = int(x), int(y)
        ys, xs = np.mgrid[max(0, iy - r):min(h, iy + r + 1), max(0, ix - r):min(w, ix + r + 1)]
        dx, dy = xs - x, ys - y
        spot = np.exp(-(dx * dx + dy * dy) / (2 * sigma * sigma))
        if big:
            spikes = (np.exp(-(dy * dy) / 0.5) + np.exp(-(dx * dx) / 0.5)) * \
                np.exp(-np.sqrt(dx * dx + dy * dy) / 3.5) * 0.7
            halo = np.exp(-(dx * dx + dy * dy) / (2 * (sigma * 3) ** 2)) * 0.25
            spot = spot + spikes + halo
        stars[ys, xs] += spot[..., None] * colour
    return stars


def nebula(rng, w, h, stops, density, detail=6):
    shape = fractal_noise(rng, w, h, base=3, octaves=detail)
    wisps = fractal_noise(rng, w, h, base=6, octaves=detail)
    hue = fractal_noise(rng, w, h, base=2, octaves=4)
    fine = fractal_noise(rng, w, h, base=16, octaves=4)
    ridges = (1 - np.abs(2 * wisps - 1)) ** 4
    cloud = smoothstep(0.35, 1.0, shape * 0.7 + wisps * 0.45) ** 1.5
    cloud = cloud * (0.45 + 0.5 * fine + 0.7 * ridges) * density
    return palette(stops, hue) * cloud[..., None], np.clip(cloud, 0, 1)


def vignette(w, h, strength):
    x, y = grid(w, h)
    r = np.sqrt((x / (w / 2)) ** 2 + (y / (h / 2 * 0.75)) ** 2)
    return np.clip(1 - strength * r ** 2, 0.2, 1)[..., None]


def distant_hole(w, h, cx, cy, radius, colour):
    """A far gravity hole: a dark core, a thin photon ring and a tilted swirling disc."""
    x, y = grid(w, h, cx, cy)
    r = np.sqrt(x * x + y * y) / radius
    xd, yd = (x * 0.96 + y * 0.28) / radius, (-x * 0.28 + y * 0.96) / radius * 3.2
    rd = np.sqrt(xd * xd + yd * yd)
    swirl = 0.55 + 0.45 * np.sin(np.arctan2(yd, xd) * 3 + rd * 5)
    disc = np.exp(-((rd - 1.7) / 0.55) ** 2) * swirl * 0.9
    core = smoothstep(0.95, 0.7, r)
    disc = disc * np.where(yd < 0, 1 - core, 1.0)
    ring = np.exp(-((r - 1) / 0.06) ** 2) * 0.9
    halo = np.exp(-r * 1.6) * 0.25
    light = (ring + disc + halo)[..., None] * np.array(colour) / 255.0
    return light, (1 - core * 0.97)[..., None]


def gas_giant(w, h, cx, cy, radius, base, seed):
    rng = np.random.default_rng(seed)
    x, y = grid(w, h, cx, cy)
    r = np.sqrt(x * x + y * y) / radius
    inside = smoothstep(1.0, 0.995, r)
    bands = fractal_noise(rng, w, h, base=2, octaves=4)
    lat = y / radius
    stripes = 0.5 + 0.5 * np.sin(lat * 11 + bands * 9) * (0.5 + 0.5 * bands)
    nz = np.sqrt(np.clip(1 - r * r, 0, 1))
    light = np.clip((-x * 0.6 - y * 0.5) / radius * 0.8 + nz * 0.5, 0, 1) ** 1.3
    colour = np.array(base) / 255.0 * (0.55 + 0.45 * stripes)[..., None]
    body = colour * light[..., None] * inside[..., None]
    rim = np.exp(-((r - 1) / 0.03) ** 2) * np.clip(-x - y, 0, None) / radius
    return body + rim[..., None] * np.array(base) / 255.0 * 0.8, inside[..., None]


def space_scene(seed, base_top, base_bottom, stops, density, brightness, features):
    w = h = 1024
    rng = np.random.default_rng(seed)
    y = np.linspace(0, 1, h)[:, None, None].repeat(w, 1)
    sky = (np.array(base_top) * (1 - y) + np.array(base_bottom) * y) / 255.0
    cloud_rgb, cloud = nebula(rng, w, h, stops, density)
    dust = fractal_noise(rng, w, h, base=5, octaves=5)
    dark_lanes = 1 - smoothstep(0.55, 0.9, dust) * 0.55
    img = sky + cloud_rgb * dark_lanes[..., None]
    stars = star_field(rng, w, h, 2400, 22, [(150, 190, 255), (200, 160, 255), (255, 220, 190)])
    img = img + stars * (1 - 0.5 * cloud[..., None])
    for kind, args in features:
        if kind == "hole":
            light, dark = distant_hole(w, h, *args)
            img = img * dark + light
        elif kind == "giant":
            body, inside = gas_giant(w, h, *args)
            img = img * (1 - inside) + body
        elif kind == "galaxy":
            cx, cy, radius, colour = args
            x, yy = grid(w, h, cx, cy)
            xr, yr = x * 0.9 + yy * 0.44, (-x * 0.44 + yy * 0.9) * 2.6
            r = np.sqrt(xr * xr + yr * yr) / radius
            a = np.arctan2(yr, xr)
            arms = 0.5 + 0.5 * np.cos(2 * a - 9 * np.log(r + 0.05))
            lum = np.exp(-r * 3.2) * (0.35 + 0.65 * arms) + np.exp(-(r / 0.07) ** 2) * 0.9
            img = img + lum[..., None] * np.array(colour) / 255.0
    img = img * vignette(w, h, 0.35) * brightness
    return from_float(img)


MENU_STOPS = [(0, (40, 30, 140)), (0.4, (110, 50, 190)), (0.7, (40, 110, 210)),
              (1, (30, 170, 220))]


def menu_bg():
    return space_scene(101, (6, 8, 26), (10, 6, 30), MENU_STOPS, 0.85, 1.0,
                       [("hole", (850, 260, 55, (170, 90, 255))),
                        ("giant", (150, 830, 190, (80, 110, 210), 7))])


LEVELS = [
    (201, (4, 8, 24), (6, 12, 32), [(0, (20, 50, 150)), (0.6, (40, 110, 200)),
                                    (1, (60, 80, 190))], 0.6, 0.85, []),
    (202, (8, 4, 24), (12, 6, 30), [(0, (80, 30, 170)), (0.5, (140, 60, 200)),
                                    (1, (60, 40, 170))], 0.6, 0.8,
     [("giant", (880, 300, 120, (120, 80, 190), 11))]),
    (203, (2, 10, 20), (4, 16, 26), [(0, (10, 90, 120)), (0.5, (30, 150, 140)),
                                     (1, (40, 80, 160))], 0.55, 0.8, []),
    (204, (14, 4, 14), (20, 6, 22), [(0, (150, 30, 70)), (0.5, (180, 60, 60)),
                                     (1, (90, 30, 150))], 0.5, 0.75,
     [("hole", (160, 250, 45, (255, 110, 70)))]),
    (205, (2, 2, 10), (4, 4, 14), [(0, (40, 40, 110)), (1, (70, 50, 140))], 0.35, 0.9,
     [("galaxy", (640, 470, 230, (150, 150, 255)))]),
]


# ---------------------------------------------------------------------------------------------
# Actors


def mad_ship():
    w, h = 256, 128
    hull = [(242, 64), (196, 53), (150, 45), (104, 43), (62, 48), (46, 64), (62, 80), (104, 85),
            (150, 83), (196, 75)]
    wing_top = [(156, 50), (108, 16), (74, 6), (60, 8), (82, 46)]
    wing_bottom = [(x, 128 - y) for x, y in wing_top]
    base = layer(w, h)
    d = ImageDraw.Draw(base)
    for wing in (wing_top, wing_bottom):
        d.polygon(s(wing), fill=rgba((46, 32, 62)))
    d.polygon(s(hull), fill=rgba((62, 48, 84)))
    # Hull shading: lighter upper half, darker lower half.
    shade = layer(w, h)
    ds = ImageDraw.Draw(shade)
    ds.polygon(s([(242, 64), (196, 53), (150, 45), (104, 43), (62, 48), (46, 64)]),
               fill=(130, 110, 160, 70))
    ds.polygon(s([(242, 64), (196, 75), (150, 83), (104, 85), (62, 80), (46, 64)]),
               fill=(0, 0, 0, 80))
    shade = Image.composite(shade, layer(w, h), base.split()[3])
    lines = layer(w, h)
    dl = ImageDraw.Draw(lines)
    edge = wd(2.2)
    dl.line(s(hull + [hull[0]]), fill=rgba(ORANGE), width=edge, joint="curve")
    for wing in (wing_top, wing_bottom):
        dl.line(s(wing + [wing[0]]), fill=rgba(mix(ORANGE, RED, 0.5)), width=edge,
                joint="curve")
    for wing in (wing_top, wing_bottom):
        mid = [(wing[0][0] - 14, (wing[0][1] + 64) / 2 + (wing[0][1] - 64) * 0.35),
               (wing[3][0] + 10, wing[3][1] + (64 - wing[3][1]) * 0.3)]
        dl.line(s(mid), fill=rgba(RED, 200), width=wd(1.5))
    dl.line(s([(110, 64), (168, 64)]), fill=rgba(RED, 170), width=wd(1.5))
    cockpit = layer(w, h)
    dc = ImageDraw.Draw(cockpit)
    dc.polygon(s([(214, 64), (192, 57), (170, 58), (176, 64), (170, 70), (192, 71)]),
               fill=rgba((255, 90, 60)))
    dc.polygon(s([(208, 62), (192, 59), (182, 60), (192, 62)]), fill=(255, 220, 180, 220))
    engines = layer(w, h)
    de = ImageDraw.Draw(engines)
    for cy in (55, 73):
        de.rectangle(s((34, cy - 5, 50, cy + 5)), fill=rgba((40, 28, 50)),
                     outline=rgba(ORANGE), width=wd(1.5))
    flame = layer(w, h)
    df = ImageDraw.Draw(flame)
    for cy in (55, 73):
        df.ellipse(s((10, cy - 5, 40, cy + 5)), fill=(255, 120, 40, 200))
        df.ellipse(s((22, cy - 3, 38, cy + 3)), fill=(255, 235, 200, 255))
    flame = flame.filter(ImageFilter.GaussianBlur(1.5 * SS))
    neon = over(lines, cockpit)
    img = over(layer(w, h), glow(base, 6 * SS, 0.5, (255, 90, 40)),
               glow(flame, 5 * SS, 1.2, (255, 110, 40)), flame, base, shade, engines,
               glow(neon, 2.5 * SS, 1.3, ORANGE), neon)
    return finish_sprite(reduce(img, w, h))


def hole(bright):
    size = 256
    n = size * 2
    x, y = grid(n, n)
    r = np.sqrt(x * x + y * y) / (n / 2)
    a = np.arctan2(y, x)
    rng = np.random.default_rng(7 if bright else 5)
    noise = fractal_noise(rng, n, n, base=4, octaves=5)
    if not bright:
        swirl = 0.5 + 0.5 * np.sin(3 * a + 14 * np.log(r + 0.08) + noise * 2.5)
        ring = np.exp(-((r - 0.42) / 0.1) ** 2) * (0.45 + 0.55 * swirl)
        outer = np.exp(-((r - 0.42) / 0.32) ** 2) * 0.45 * (0.5 + 0.5 * swirl)
        core = smoothstep(0.3, 0.22, r)
        t = np.clip(ring * 1.1, 0, 1)
        colour = palette([(0, (60, 20, 140)), (0.5, (150, 70, 255)), (0.85, (220, 150, 255)),
                          (1, (255, 235, 255))], t)
        light = np.clip(ring + outer, 0, 1)
        alpha = np.clip(np.maximum(core, light * 1.15), 0, 1) * smoothstep(1.0, 0.8, r)
        rgb = colour * (light / np.maximum(alpha, 1e-4))[..., None] * (1 - core[..., None])
        rgb = rgb + core[..., None] * np.array([0.01, 0.0, 0.03])
        # The event horizon's thin bright edge.
        edge = np.exp(-((r - 0.255) / 0.012) ** 2) * 0.9
        rgb = rgb * (1 - edge[..., None]) + edge[..., None] * np.array([0.8, 0.6, 1.0])
    else:
        rays = np.abs(np.cos(a * 6 + noise * 0.6)) ** 18 * np.exp(-r * 2.6)
        rays2 = np.abs(np.cos(a * 6 + math.pi / 12)) ** 30 * np.exp(-r * 4.0) * 0.6
        swirl = 0.5 + 0.5 * np.sin(2 * a - 10 * np.log(r + 0.08) + noise * 2)
        ring = np.exp(-((r - 0.36) / 0.12) ** 2) * (0.3 + 0.7 * swirl) * 0.75
        core = np.exp(-(r / 0.16) ** 2)
        bloom = np.exp(-(r / 0.45) ** 2) * 0.55
        light = np.clip(core * 1.4 + rays + rays2 + ring + bloom, 0, 1.5)
        t = np.clip(core * 1.5 + rays * 0.4, 0, 1)
        rgb = palette([(0, (60, 170, 255)), (0.5, (150, 235, 255)), (1, (255, 255, 255))], t)
        alpha = np.clip(light, 0, 1) * smoothstep(1.0, 0.8, r)
    img = from_float(rgb, alpha)
    return finish_sprite(reduce(img, size, size))


def rock(size, seed):
    n = size * 2
    rng = np.random.default_rng(seed)
    x, y = grid(n, n)
    r = np.sqrt(x * x + y * y) / (n / 2)
    a = np.arctan2(y, x)
    outline = np.full_like(a, 0.74)
    for k in range(2, 8):
        outline += rng.uniform(0.01, 0.07) / (k ** 0.4) * np.cos(k * a + rng.uniform(0, 6.3))
    inside = smoothstep(outline + 0.006, outline - 0.006, r)
    bumps = fractal_noise(rng, n, n, base=3, octaves=6)
    height = bumps * 0.6 + np.sqrt(np.clip(1 - (r / outline) ** 2, 0, 1)) * 1.4
    for _ in range(7 if size > 128 else 4):
        cx, cy = rng.uniform(-0.4, 0.4) * n / 2, rng.uniform(-0.4, 0.4) * n / 2
        cr = rng.uniform(0.06, 0.16) * n / 2
        d = np.sqrt((x - cx) ** 2 + (y - cy) ** 2) / cr
        height -= 0.25 * np.exp(-d ** 4) - 0.12 * np.exp(-((d - 1.05) / 0.25) ** 2)
    gy, gx = np.gradient(height * n / 12)
    normal = np.stack([-gx, -gy, np.ones_like(gx)], axis=-1)
    normal /= np.linalg.norm(normal, axis=-1, keepdims=True)
    light = np.array([-0.55, -0.6, 0.58])
    light /= np.linalg.norm(light)
    lambert = np.clip((normal * light).sum(-1), 0, 1)
    tone = palette([(0, (45, 40, 60)), (0.5, (95, 88, 110)), (1, (150, 145, 165))], bumps)
    rgb = tone * (0.18 + 0.95 * lambert)[..., None]
    # A faint cool rim where the rock's edge faces away from the light.
    rim = smoothstep(outline - 0.08, outline, r) * np.clip((x + y) / (n / 2), 0, 1)
    rgb = rgb + rim[..., None] * np.array([0.25, 0.45, 0.8]) * 0.6
    img = from_float(rgb, inside)
    return finish_sprite(reduce(img, size, size))


PLANETS = {
    "red": (11, [(0, (90, 25, 20)), (0.45, (170, 60, 35)), (0.75, (215, 120, 70)),
                 (1, (240, 190, 140))], (255, 120, 80), "craters"),
    "blue": (12, [(0, (15, 40, 110)), (0.4, (30, 90, 180)), (0.7, (70, 150, 230)),
                  (1, (190, 230, 255))], (110, 180, 255), "bands"),
    "green": (13, [(0, (15, 60, 40)), (0.4, (40, 120, 60)), (0.7, (120, 180, 70)),
                   (1, (210, 240, 160))], (140, 255, 170), "swirls"),
}


def planet(name):
    seed, stops, atmosphere, kind = PLANETS[name]
    size = 256
    n = size * 2
    rng = np.random.default_rng(seed)
    x, y = grid(n, n)
    radius = 0.86 * n / 2
    r = np.sqrt(x * x + y * y) / radius
    inside = smoothstep(1.0 + 0.004, 1.0 - 0.004, r)
    nz = np.sqrt(np.clip(1 - r * r, 0, 1))
    nx, ny = x / radius, y / radius
    # Sphere mapping: surface coordinates squeezed towards the limb.
    u = np.arcsin(np.clip(nx / np.sqrt(np.clip(1 - ny * ny, 1e-6, 1)), -1, 1)) / math.pi + 0.5
    v = np.arcsin(np.clip(ny, -1, 1)) / math.pi + 0.5
    tex = fractal_noise(rng, n, n, base=4, octaves=6)
    iu = np.clip((u * (n - 1)).astype(int), 0, n - 1)
    iv = np.clip((v * (n - 1)).astype(int), 0, n - 1)
    surface = tex[iv, iu]
    if kind == "bands":
        t = 0.5 + 0.5 * np.sin(v * 26 + surface * 4)
        t = t * 0.7 + surface * 0.3
    elif kind == "swirls":
        t = 0.5 + 0.5 * np.sin(v * 14 + np.sin(u * 9) * 1.5 + surface * 6)
        t = t * 0.5 + surface * 0.5
    else:
        t = surface
        for _ in range(9):
            cu, cv, cr = rng.uniform(0.2, 0.8), rng.uniform(0.2, 0.8), rng.uniform(0.03, 0.08)
            d = np.sqrt((u - cu) ** 2 + (v - cv) ** 2) / cr
            t = t - 0.25 * np.exp(-d ** 4) + 0.15 * np.exp(-((d - 1.1) / 0.2) ** 2)
    rgb = palette(stops, t)
    light_dir = np.array([-0.6, -0.55, 0.58])
    light_dir /= np.linalg.norm(light_dir)
    lambert = nx * light_dir[0] + ny * light_dir[1] + nz * light_dir[2]
    lit = smoothstep(-0.15, 0.6, lambert) * 0.92 + 0.08
    rgb = rgb * lit[..., None]
    atm = np.array(atmosphere) / 255.0
    limb = (1 - nz) ** 3 * smoothstep(-0.3, 0.4, lambert)
    rgb = rgb + limb[..., None] * atm * 0.8
    halo = np.exp(-np.maximum(r - 1, 0) / 0.045) * (r >= 1)
    halo = halo * (0.35 + 0.65 * smoothstep(-0.6, 0.6, -(x + y) / (n / 2) * 0.7 + 0.3))
    alpha = np.maximum(inside, halo * 0.85 * smoothstep(1.16, 1.0, r))
    colour = rgb * inside[..., None] + atm * (1 - inside)[..., None]
    img = from_float(colour, alpha)
    return finish_sprite(reduce(img, size, size))


def target():
    w = h = 256
    c = w / 2
    base = layer(w, h)
    d = ImageDraw.Draw(base)
    # Shield ring (dashed) at 92% of the image radius.
    shield = layer(w, h)
    dsh = ImageDraw.Draw(shield)
    rs = 0.92 * c - 2
    for k in range(24):
        a0 = k * 15 + 2
        dsh.arc(s((c - rs, c - rs, c + rs, c + rs)), a0, a0 + 10, fill=rgba(CYAN, 150),
                width=wd(2))
    # Solar panels on four arms.
    gold = (210, 170, 70)
    for k in range(4):
        a = math.pi / 4 + k * math.pi / 2
        ca, sa = math.cos(a), math.sin(a)
        arm = [(c + ca * 30 - sa * 4, c + sa * 30 + ca * 4), (c + ca * 92 - sa * 4,
                                                              c + sa * 92 + ca * 4),
               (c + ca * 92 + sa * 4, c + sa * 92 - ca * 4), (c + ca * 30 + sa * 4,
                                                              c + sa * 30 - ca * 4)]
        d.polygon(s(arm), fill=rgba((170, 180, 200)))
        for dist in (52, 74):
            px, py = c + ca * dist, c + sa * dist
            panel = [(px - sa * 20 - ca * 9, py + ca * 20 - sa * 9),
                     (px - sa * 20 + ca * 9, py + ca * 20 + sa * 9),
                     (px + sa * 20 + ca * 9, py - ca * 20 + sa * 9),
                     (px + sa * 20 - ca * 9, py - ca * 20 - sa * 9)]
            d.polygon(s(panel), fill=rgba(gold), outline=rgba((255, 230, 150)), width=wd(1.5))
            d.line(s([panel[0], panel[3]]), fill=rgba((120, 90, 30)), width=wd(1))
            mid1 = ((panel[0][0] + panel[1][0]) / 2, (panel[0][1] + panel[1][1]) / 2)
            mid2 = ((panel[2][0] + panel[3][0]) / 2, (panel[2][1] + panel[3][1]) / 2)
            d.line(s([mid1, mid2]), fill=rgba((140, 105, 40)), width=wd(1))
    # Habitat ring and hub.
    for radius, width, colour in ((62, 12, (200, 210, 225)), (62, 4, (120, 130, 155))):
        d.ellipse(s((c - radius, c - radius, c + radius, c + radius)), outline=rgba(colour),
                  width=wd(width))
    d.ellipse(s((c - 30, c - 30, c + 30, c + 30)), fill=rgba((215, 222, 235)),
              outline=rgba((140, 150, 175)), width=wd(2))
    d.ellipse(s((c - 19, c - 19, c + 19, c + 19)), fill=rgba((40, 60, 90)))
    lights = layer(w, h)
    dl = ImageDraw.Draw(lights)
    for k in range(12):
        a = k * math.pi / 6
        px, py = c + math.cos(a) * 62, c + math.sin(a) * 62
        dl.ellipse(s((px - 2.5, py - 2.5, px + 2.5, py + 2.5)), fill=rgba(CYAN_LIGHT))
    dl.ellipse(s((c - 11, c - 11, c + 11, c + 11)), fill=rgba((120, 255, 170)))
    dl.ellipse(s((c - 5, c - 5, c + 5, c + 5)), fill=(240, 255, 245, 255))
    shade = layer(w, h)
    x, y = grid(w * SS, h * SS)
    shading = np.clip(0.5 + (x + y) / (w * SS) * 0.9, 0, 1) * 110
    shade_arr = np.zeros((h * SS, w * SS, 4), dtype=np.uint8)
    shade_arr[..., 3] = shading.astype(np.uint8)
    shade = Image.composite(Image.fromarray(shade_arr, "RGBA"), shade, base.split()[3])
    img = over(layer(w, h), glow(shield, 3 * SS, 1.0), shield, glow(base, 5 * SS, 0.45, CYAN),
               base, shade, glow(lights, 3 * SS, 1.6, (110, 255, 190)), lights)
    return finish_sprite(reduce(img, w, h))


def hole_icon(bright):
    return hole(bright).resize((64, 64), Image.LANCZOS)


def explosion_frame(noise, sparks, f):
    n = 256
    x, y = grid(n, n)
    x, y = x / (n / 2), y / (n / 2)
    r = np.sqrt(x * x + y * y)
    radius = 0.3 + 0.45 * (1 - (1 - f) ** 2)
    # The turbulence pattern grows with the fireball, so puffs spread instead of sliding.
    turb = sample(noise, x / radius * 0.3 + 0.5, y / radius * 0.3 + 0.5)
    turb = turb - turb[r < radius].mean()
    dens = 1 - (r / radius) ** 2 + turb * (0.7 + 0.5 * f)
    body = smoothstep(-0.05, 0.5, dens)
    heat = np.clip(smoothstep(-0.1, 1.1, dens + turb * 0.5) * 1.3 * (1 - f) ** 0.9, 0, 1)
    colour = palette([(0, (70, 24, 60)), (0.2, (160, 40, 40)), (0.45, (255, 110, 40)),
                      (0.7, (255, 200, 90)), (1, (255, 255, 240))], heat)
    alpha = body * (1 - f ** 1.6) * (0.6 + 0.4 * np.clip(heat * 2, 0, 1))
    ring_r = 0.25 + 0.7 * f ** 0.6
    ring = np.exp(-((r - ring_r) / (0.025 + 0.03 * f)) ** 2) * (1 - f) ** 4 * 0.8
    embers = np.zeros_like(r)
    for angle, speed, size in sparks:
        dist = 0.12 + speed * f ** 0.6
        ex, ey = math.cos(angle) * dist, math.sin(angle) * dist
        embers += np.exp(-((x - ex) ** 2 + (y - ey) ** 2) / (2 * size * size))
    embers = np.clip(embers, 0, 1) * (1 - f) ** 1.2 * (f > 0.05)
    rgb = colour * alpha[..., None] + ring[..., None] * np.array([0.85, 0.7, 1.0]) \
        + embers[..., None] * np.array([1.0, 0.85, 0.55])
    total = np.clip(alpha + ring + embers, 0, 1)
    img = from_float(rgb / np.maximum(total, 1e-4)[..., None], total)
    return finish_sprite(reduce(img, 128, 128))


def explosion():
    rng = np.random.default_rng(21)
    noise = fractal_noise(rng, 256, 256, base=7, octaves=4)
    sparks = [(rng.uniform(0, 2 * math.pi), rng.uniform(0.5, 0.8), rng.uniform(0.012, 0.02))
              for _ in range(18)]
    strip = Image.new("RGBA", (128 * 16, 128), (0, 0, 0, 0))
    for k in range(16):
        strip.paste(explosion_frame(noise, sparks, k / 15), (k * 128, 0))
    return strip


def hole_flash():
    n = 512
    x, y = grid(n, n)
    r = np.sqrt(x * x + y * y) / (n / 2)
    a = np.arctan2(y, x)
    core = np.exp(-(r / 0.16) ** 2)
    bloom = np.exp(-(r / 0.45) ** 2) * 0.55
    spikes = np.abs(np.cos(2 * a)) ** 60 * np.exp(-r * 3) * 0.9
    ring = np.exp(-((r - 0.55) / 0.05) ** 2) * 0.5
    light = np.clip(core + bloom + spikes + ring, 0, 1) * smoothstep(1.0, 0.85, r)
    t = np.clip(core * 1.2 + spikes * 0.5, 0, 1)
    rgb = palette([(0, (160, 90, 255)), (0.5, (200, 170, 255)), (1, (255, 255, 255))], t)
    return finish_sprite(reduce(from_float(rgb, light), 128, 128))


# ---------------------------------------------------------------------------------------------
# Files


IMAGES = {
    "data/gui/cursor_usual.png": lambda: cursor_strip(ARROW, False),
    "data/gui/cursor_point.png": lambda: cursor_strip(SLIM, True),
    "data/gui/loading_bg.png": loading_bg,
    "data/gui/loading.png": loading_fill,
    "data/gui/volslider_bg.png": volslider_bg,
    "data/gui/volslider.png": volslider_fill,
    "data/gui/white.png": lambda: Image.new("RGBA", (16, 16), (255, 255, 255, 255)),
    "data/gui/menu_bg.png": menu_bg,
    "data/gui/button_normal.png": lambda: button("normal"),
    "data/gui/button_hover.png": lambda: button("hover"),
    "data/gui/button_pressed.png": lambda: button("pressed"),
    "data/gui/button_disabled.png": lambda: button("disabled"),
    "data/gui/canvas_corner.png": canvas_corner,
    "data/gui/canvas_edge.png": canvas_edge,
    "data/gui/canvas_top.png": canvas_top,
    "data/gui/canvas_bg.png": canvas_bg,
    "data/gui/panel.png": panel,
    "data/gui/energy_gauge.png": energy_gauge,
    "data/gui/icon_black_hole.png": lambda: hole_icon(False),
    "data/gui/icon_white_hole.png": lambda: hole_icon(True),
    "data/effects/health_bar.png": health_bar,
    "data/effects/explosion.png": explosion,
    "data/effects/hole_flash.png": hole_flash,
    "data/actors/mad_ship.png": mad_ship,
    "data/actors/black_hole.png": lambda: hole(False),
    "data/actors/white_hole.png": lambda: hole(True),
    "data/actors/rock_small.png": lambda: rock(128, 31),
    "data/actors/rock_big.png": lambda: rock(256, 32),
    "data/actors/planet_red.png": lambda: planet("red"),
    "data/actors/planet_blue.png": lambda: planet("blue"),
    "data/actors/planet_green.png": lambda: planet("green"),
    "data/actors/target.png": target,
}
for number, level in enumerate(LEVELS, 1):
    IMAGES["data/gui/level_bg%d.png" % number] = (lambda args: lambda: space_scene(*args))(level)

DESCRIPTIONS = {
    "data/gui/loading_bg.spr": "-Texture:loading_bg.png\n-Size:w1.6 h0.1\n",
    "data/gui/loading.spr": "-Texture:loading.png\n-Size:w1.6 h0.1\n-Position:z-0.01\n",
    "data/gui/volslider_bg.spr": "-Texture:volslider_bg.png\n-Size:w1 h0.125\n",
    "data/gui/volslider.spr": "-Texture:volslider.png\n-Size:w1 h0.125\n-Position:z-0.01\n",
    "data/gui/curtain.spr": "-Texture:white.png\n-Size:w40 h30\n",
    "data/gui/button.spr": "-Texture:button_normal.png\n-Size:1\n"
                           "-Event.Mouse.Over.Image:\\gui\\button_hover.spr\n"
                           "-Event.Mouse.Click.Image:\\gui\\button_pressed.spr\n",
    # The hover and pressed images lie just in front of the button, so they cover it.
    "data/gui/button_hover.spr": "-Texture:button_hover.png\n-Size:1\n-Position:z-0.002\n",
    "data/gui/button_pressed.spr": "-Texture:button_pressed.png\n-Size:1\n-Position:z-0.004\n",
    "data/gui/canvas_corner.spr": "-Texture:canvas_corner.png\n",
    "data/gui/canvas_edge.spr": "-Texture:canvas_edge.png\n",
    "data/gui/canvas_top.spr": "-Texture:canvas_top.png\n",
    "data/gui/panel.spr": "-Texture:panel.png\n-Size:w20 h15\n",
    "data/gui/energy_gauge.spr": "-Texture:energy_gauge.png\n-Size:w6 h1.5\n"
                                 "-Atlas:x0 y0 w16 h1\n",
    "data/gui/icon_black_hole.spr": "-Texture:icon_black_hole.png\n-Size:1.2\n",
    "data/gui/icon_white_hole.spr": "-Texture:icon_white_hole.png\n-Size:1.2\n",
    "data/effects/health_bar.spr": "-Texture:health_bar.png\n-Size:w1.6 h0.4\n"
                                   "-Atlas:x0 y0 w16 h1\n-Position:x0 y1.5 z-0.05\n",
    "data/effects/explosion.spr": "-Texture:explosion.png\n-Size:4\n-Atlas:x0 y0 w16 h1\n"
                                  "-Animation.Texture:t800 m16x1\n"
                                  "-Selfdestruction:t780 f200\n",
    "data/effects/hole_flash.spr": "-Texture:hole_flash.png\n-Size:3\n"
                                   "-Animation.Size:s2.5 t300\n-Selfdestruction:t320 f300\n",
}


def main(only):
    """Writes every file, or only those whose path contains one of the words in only."""
    for relative, build in IMAGES.items():
        if only and not any(word in relative for word in only):
            continue
        path = os.path.join(ROOT, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # optimize keeps the files small; no metadata is written, so reruns give equal bytes.
        build().save(path, "PNG", optimize=True)
        print(relative)
    for relative, text in DESCRIPTIONS.items():
        if only and not any(word in relative for word in only):
            continue
        path = os.path.join(ROOT, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", newline="\n") as out:
            out.write(text)
        print(relative)


if __name__ == "__main__":
    main(sys.argv[1:])
