#!/usr/bin/python3
"""Writes a random input recording (the InputReplay format of engine/input/input_record.h) for
the bundled game in its default 800 x 600 window, for long unattended runs (tools/soak.sh,
tools/tsan.sh):

    tools/random_input.py --seed N --frames F --output FILE [--game DIR]

The same seed, frame count and game data give the same file. Every few frames the player does
one thing: a left click on a button of some screen (main menu, options, high scores, pause,
level results, name prompt, the level's pause button), a left or right click or a drag on the
level's field, a move of the pointer, Escape, Space, Enter, Backspace, a few typed letters or a
turn of the wheel. The recording never knows which screen is up, so the buttons are those of
every dialog, read from the game's dialog files (DIR, by default this repository).

The run must last, so nothing is ever pressed or released over a button whose action ends the
program: one that calls core_CloseGame, directly or through script functions (the main menu's
Quit). Escape has no such action in the game (the main menu gives it none), and the window is
never closed, since a recording holds only mouse and keyboard events.
"""

import argparse
import glob
import os
import random
import re

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

WINDOW_WIDTH = 800
WINDOW_HEIGHT = 600
# The picture shows 40 x 30 scene units at z = 0 (filling the 4:3 window); the camera looks
# along +z from this far in front of that plane, so nearer nodes (negative z) look bigger.
UNITS_ACROSS = 40.0
CAMERA_DISTANCE = 20.65
PIXELS_PER_UNIT = WINDOW_WIDTH / UNITS_ACROSS

# The script call that ends the program.
EXIT_CALL = "core_CloseGame"
# Scripts move some buttons after a dialog opens (the main menu's column moves up by 1.25 units
# when Continue is hidden), so the area kept clear of a button that ends the program reaches
# this far (in scene units) beyond its description's place.
EXIT_MARGIN_X = 0.5
EXIT_MARGIN_Y = 1.5
# A clickable sprite this much larger than the picture is the level's field.
FIELD_SHARE = 0.5
# Clicks land in this middle share of a button's width and height.
BUTTON_AIM = 0.8

# What the player does, with its weight.
ACTIONS = [
    ("button", 34),
    ("field_left", 16),
    ("field_right", 12),
    ("field_drag", 3),
    ("move", 10),
    ("escape", 7),
    ("space", 3),
    ("enter", 3),
    ("backspace", 2),
    ("letters", 6),
    ("wheel", 4),
]
# Frames between two things the player does.
MIN_GAP = 2
MAX_GAP = 24
# Frames left free at the end of the run, so the last press is released before it ends.
TAIL_FRAMES = 12

KEY_BACKSPACE = 8
KEY_ENTER = 13
KEY_ESCAPE = 27
KEY_SPACE = 32
KEY_A = 65


class Rect:
    def __init__(self, left, top, right, bottom):
        self.left, self.top, self.right, self.bottom = left, top, right, bottom

    def contains(self, x, y):
        return self.left <= x <= self.right and self.top <= y <= self.bottom

    def area(self):
        return max(0.0, self.right - self.left) * max(0.0, self.bottom - self.top)

    def shrunk(self, share):
        dx = (self.right - self.left) * (1 - share) / 2
        dy = (self.bottom - self.top) * (1 - share) / 2
        return Rect(self.left + dx, self.top + dy, self.right - dx, self.bottom - dy)


PICTURE = Rect(0, 0, WINDOW_WIDTH - 1, WINDOW_HEIGHT - 1)


def tagged_number(text, tag, default=0.0):
    """The number after the letter `tag` in a description value such as "x0 y-5.5 z0"."""
    match = re.search(r"(?:^|\s)" + tag + r"(-?[0-9]*\.?[0-9]+)", text)
    return float(match.group(1)) if match else default


def description_size(value):
    """(w, h) of a "-Size:" value: "w9 h2", or one number for both."""
    if "w" in value or "h" in value:
        width = tagged_number(value, "w")
        height = tagged_number(value, "h")
        return (width or height, height or width)
    try:
        number = float(value)
    except ValueError:
        return (1.0, 1.0)
    return (number, number)


def description_keys(lines):
    keys = {}
    for line in lines:
        if line.startswith("-") and ":" in line:
            key, value = line.split(":", 1)
            keys.setdefault(key + ":", value.strip())
    return keys


def read_lines(path):
    with open(path, encoding="latin-1") as file:
        return [line.rstrip("\r\n") for line in file]


def texture_scale(data_folder, dialog_folder, texture):
    """The size a ".spr" texture gives its sprite, which the dialog's own size multiplies."""
    if not texture.lower().endswith(".spr"):
        return (1.0, 1.0)
    name = texture.replace("\\", "/")
    if name.startswith("/"):
        path = os.path.join(data_folder, name.lstrip("/"))
    else:
        path = os.path.join(dialog_folder, name)
    if not os.path.isfile(path):
        return (1.0, 1.0)
    keys = description_keys(read_lines(path))
    return description_size(keys["-Size:"]) if "-Size:" in keys else (1.0, 1.0)


def dialog_sprites(path):
    """The header's keys and each "[Sprite]" part's keys of a dialog file."""
    parts = [[]]
    for line in read_lines(path):
        if line.strip().lower() == "[sprite]":
            parts.append([])
        else:
            parts[-1].append(line)
    return description_keys(parts[0]), [description_keys(part) for part in parts[1:]]


def screen_rect(x, y, z, width, height):
    """Where a sprite centred at (x, y, z) scene units of the given size shows in the window."""
    scale = CAMERA_DISTANCE / (CAMERA_DISTANCE + z) * PIXELS_PER_UNIT
    cx = WINDOW_WIDTH / 2 + x * scale
    cy = WINDOW_HEIGHT / 2 - y * scale
    return Rect(cx - width / 2 * scale, cy - height / 2 * scale, cx + width / 2 * scale,
                cy + height / 2 * scale)


def exit_functions(script_folder):
    """The names of the script functions that end the program, directly or through others."""
    bodies = {}
    for path in sorted(glob.glob(os.path.join(script_folder, "*.nut"))):
        text = "\n".join(read_lines(path))
        pieces = re.split(r"\bfunction\s+([A-Za-z_][A-Za-z0-9_]*)\s*\(", text)
        for name, body in zip(pieces[1::2], pieces[2::2]):
            bodies[name] = body
    ending = set()
    changed = True
    while changed:
        changed = False
        for name, body in bodies.items():
            if name not in ending and calls_any(body, ending | {EXIT_CALL}):
                ending.add(name)
                changed = True
    return ending


def calls_any(code, names):
    return any(re.search(r"\b" + re.escape(name) + r"\s*\(", code) for name in names)


class Targets:
    """The buttons to aim at and the areas never to press in, read from the game's dialogs."""

    def __init__(self, game_folder):
        data_folder = os.path.join(game_folder, "data")
        ending = exit_functions(os.path.join(data_folder, "scripts")) | {EXIT_CALL}
        self.buttons = []
        self.forbidden = []
        self.has_field = False
        dialogs = glob.glob(os.path.join(data_folder, "**", "*.dlg"), recursive=True)
        if not dialogs:
            raise SystemExit("random_input.py: no dialog files in " + data_folder)
        for path in sorted(dialogs):
            self.add_dialog(data_folder, path, ending)

    def add_dialog(self, data_folder, path, ending):
        header, sprites = dialog_sprites(path)
        base_position = header.get("-Position:", "")
        base = [tagged_number(base_position, axis) for axis in "xyz"]
        by_name = {sprite.get("-Name:", ""): sprite for sprite in sprites}
        for sprite in sprites:
            actions = [sprite[key] for key in
                       ("-Event.Mouse.Click.Action:", "-Event.Mouse.RClick.Action:") if key in sprite]
            if not actions or "-Size:" not in sprite:
                continue
            position = [b + tagged_number(sprite.get("-Position:", ""), axis)
                        for b, axis in zip(base, "xyz")]
            parent = by_name.get(sprite.get("-Parent:", ""))
            if parent is not None:
                position = [p + tagged_number(parent.get("-Position:", ""), axis)
                            for p, axis in zip(position, "xyz")]
            width, height = description_size(sprite["-Size:"])
            scale_w, scale_h = texture_scale(data_folder, os.path.dirname(path),
                                             sprite.get("-Texture:", ""))
            width, height = width * scale_w, height * scale_h
            if any(calls_any(action, ending) for action in actions):
                self.forbidden.append(
                    screen_rect(*position, width + 2 * EXIT_MARGIN_X, height + 2 * EXIT_MARGIN_Y))
                continue
            rect = screen_rect(*position, width, height)
            if rect.area() > FIELD_SHARE * PICTURE.area():
                self.has_field = True
            else:
                self.buttons.append(rect)

    def allowed(self, x, y):
        return PICTURE.contains(x, y) and not any(r.contains(x, y) for r in self.forbidden)


class Recording:
    def __init__(self, rng, targets, frames):
        self.rng = rng
        self.targets = targets
        self.frames = frames
        self.lines = []
        self.x = WINDOW_WIDTH // 2
        self.y = WINDOW_HEIGHT // 2

    def mouse(self, frame, event, x, y, extra=""):
        self.lines.append(f"{frame} mouse {event} {x} {y}{extra}")

    def key(self, frame, down, code, character, shift=0):
        self.lines.append(f"{frame} key {'down' if down else 'up'} {code} {character} {shift} 0")

    def point_in(self, rect, tries=50):
        """A random allowed point inside the rectangle, or None when none was found."""
        for _ in range(tries):
            x = int(self.rng.uniform(rect.left, rect.right))
            y = int(self.rng.uniform(rect.top, rect.bottom))
            if self.targets.allowed(x, y):
                return x, y
        return None

    def field_point(self):
        return self.point_in(PICTURE, tries=1000)

    def button_point(self):
        for _ in range(20):
            point = self.point_in(self.rng.choice(self.targets.buttons).shrunk(BUTTON_AIM))
            if point is not None:
                return point
        return self.field_point()

    def move_to(self, frame, x, y, buttons=""):
        """Moves the pointer to (x, y) in a few steps over as many frames; the next free frame."""
        steps = self.rng.randint(1, 4)
        start_x, start_y = self.x, self.y
        for step in range(1, steps + 1):
            px = start_x + (x - start_x) * step // steps
            py = start_y + (y - start_y) * step // steps
            self.mouse(frame, "move", px, py, buttons)
            frame += 1
        self.x, self.y = x, y
        return frame

    def click(self, frame, side, x, y):
        frame = self.move_to(frame, x, y)
        mask = " buttons=1" if side == "left" else " buttons=2"
        self.mouse(frame, side + "-down", x, y, mask)
        frame += self.rng.randint(1, 4)
        self.mouse(frame, side + "-up", x, y)
        if self.rng.random() < 0.1:
            frame += 1
            self.mouse(frame, side + "-down", x, y, mask)
            self.mouse(frame, side + "-double", x, y, mask)
            frame += 1
            self.mouse(frame, side + "-up", x, y)
        return frame + 1

    def drag(self, frame):
        start = self.field_point()
        end = self.field_point()
        frame = self.move_to(frame, *start)
        self.mouse(frame, "left-down", *start, " buttons=1")
        frame = self.move_to(frame + 1, *end, " buttons=1")
        self.mouse(frame, "left-up", *end)
        return frame + 1

    def press(self, frame, code, character, shift=0):
        self.key(frame, True, code, character, shift)
        frame += self.rng.randint(1, 3)
        self.key(frame, False, code, character, shift)
        return frame + 1

    def letters(self, frame):
        for _ in range(self.rng.randint(1, 6)):
            letter = self.rng.randrange(26)
            shift = 1 if self.rng.random() < 0.2 else 0
            character = (ord("A") if shift else ord("a")) + letter
            frame = self.press(frame, KEY_A + letter, character, shift) + 1
        return frame

    def wheel(self, frame):
        delta = self.rng.choice((-1, 1))
        for _ in range(self.rng.randint(1, 5)):
            self.mouse(frame, "wheel", self.x, self.y, f" {delta}")
            frame += 1
        return frame

    def act(self, frame, action):
        if action == "button":
            return self.click(frame, "left", *self.button_point())
        if action == "field_left":
            return self.click(frame, "left", *self.field_point())
        if action == "field_right":
            return self.click(frame, "right", *self.field_point())
        if action == "field_drag":
            return self.drag(frame)
        if action == "move":
            return self.move_to(frame, *self.field_point())
        if action == "escape":
            return self.press(frame, KEY_ESCAPE, KEY_ESCAPE)
        if action == "space":
            return self.press(frame, KEY_SPACE, KEY_SPACE)
        if action == "enter":
            return self.press(frame, KEY_ENTER, KEY_ENTER)
        if action == "backspace":
            return self.press(frame, KEY_BACKSPACE, KEY_BACKSPACE)
        if action == "letters":
            return self.letters(frame)
        return self.wheel(frame)

    def generate(self):
        names = [name for name, _ in ACTIONS]
        weights = [weight for _, weight in ACTIONS]
        frame = 1
        while True:
            frame += self.rng.randint(MIN_GAP, MAX_GAP)
            # No action takes more than this many frames (moves, a double click, six letters).
            if frame + 40 > self.frames - TAIL_FRAMES:
                break
            frame = self.act(frame, self.rng.choices(names, weights)[0])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--frames", type=int, required=True, help="the length of the run")
    parser.add_argument("--output", required=True, help="the recording to write")
    parser.add_argument("--game", default=ROOT, help="the game folder (default: this repository)")
    args = parser.parse_args()
    if args.frames < 1:
        parser.error("--frames must be at least 1")
    targets = Targets(args.game)
    if not targets.buttons or not targets.forbidden:
        raise SystemExit("random_input.py: found no buttons or no Quit button in " + args.game)
    recording = Recording(random.Random(args.seed), targets, args.frames)
    recording.generate()
    with open(args.output, "w", encoding="ascii") as file:
        file.write(f"# random input for the game in {WINDOW_WIDTH}x{WINDOW_HEIGHT}: "
                   f"seed {args.seed}, {args.frames} frames\n")
        file.write("\n".join(recording.lines) + "\n")


if __name__ == "__main__":
    main()
