#!/usr/bin/python3
"""Writes the bundled game's five levels: data/levels/levelN/ with level.dlg, one wave file per
wave and strings.lng (the level's name, and for the first level its tutorial text).

Run from anywhere: `tools/make_levels.py`. The files are committed; the build never runs this.

Each level is laid out here in scene units (the screen shows about 40 x 30 units around the
origin, y up; the top 2.5 units hold the HUD). Wave files store editor units, scene units / 40.

- The station (actor "target") and the other objects are the first wave's actors; an actor's w
  and h of 0.025 (1 / 40) keep the size its description gives it.
- A wave's main path is a list of waypoints, cut into points about `spacing` units apart. The
  ship flies one segment per second, so spacing is its speed in units per second and a wave
  lasts as many seconds as its path has points, less one. Every path starts and ends outside the
  screen, and each wave starts where the one before ended, so the ship never jumps in sight.
  The last wave ends where the ship has just left the screen (its last leg is cut there), since
  the level is won when the ship reaches the end of that path.
- A fire spot starts on a waypoint (the ship passes it exactly) and ends at the station; its name
  picks the kind of shot (see data/scripts/rules.nut: slow, normal, fast, big, burst).

For each spot the tool prints what lies on the straight way of its shot and how many seconds are
left to the end of the level when the shot arrives undisturbed (on the last wave a negative
margin means the shot lands after the level is over).
"""

import math
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "levels")
EDITOR_UNIT = 40.0
# Off-screen x for the ends of the paths.
LEFT, RIGHT = -27, 27
# The ship is out of sight once its centre is this far from the middle of the screen (half the
# screen, 20 by 15 units, and half the ship's diagonal).
EXIT_X, EXIT_Y = 21.7, 16.7

# Shot speeds of rules.nut, and the share of real time the physics runs at (one step of 1/60 s
# every 25 ms of level time at most, and about every 36-40 ms at the game's frame rates).
SHOT_SPEED = {"slow": 9, "normal": 12, "fast": 20, "big": 10, "burst": 12}
SIMULATION_SHARE = 0.42
RADIUS = {"rock_small": 0.6, "rock_big": 1.25, "planet_red": 1.5, "planet_blue": 2,
          "planet_green": 1.75}

# The level dialog's sprites: a click area over the whole screen (left button: white hole,
# right button: black hole), the ship, the aimer that carries the next hole, and the HUD.
SPRITES = r"""[Sprite]
-Texture:\gui\empty.png
-Name:level_field
-Size:w52 h40
-Position:x0 y0 z1
-Event.Mouse.Click.Action:game_AddHoleMark(1);
-Event.Mouse.RClick.Action:game_AddHoleMark(2);
[Sprite]
-Texture:\actors\mad_ship.spr
-Name:mad_ship
-Position:x-30 y0 z0
[Sprite]
-Texture:\gui\icon_white_hole.png
-Name:HoleMakerAimer
-Size:1.6
-Alpha:0.7
-Position:x0 y0 z0
-GameLogic-FollowCursor:s4
[Sprite]
-Texture:\gui\empty.png
-Name:level_name
-Size:w12 h1.5
-Position:x-12 y13.6 z-1
-Label:?
[Sprite]
-Texture:\gui\icon_white_hole.spr
-Position:x9 y13.6 z-1
[Sprite]
-Texture:\gui\energy_gauge.spr
-Name:generator_energy
-Position:x13.2 y13.6 z-1
[Sprite]
-Texture:\gui\icon_black_hole.spr
-Position:x17.4 y13.6 z-1
"""


def resample(waypoints, spacing):
    """The points of a path through the waypoints, about `spacing` apart, and the index of each
    waypoint among them."""
    points = [waypoints[0]]
    indices = [0]
    for (x0, y0), (x1, y1) in zip(waypoints, waypoints[1:]):
        count = max(1, round(math.hypot(x1 - x0, y1 - y0) / spacing))
        for k in range(1, count + 1):
            points.append((x0 + (x1 - x0) * k / count, y0 + (y1 - y0) * k / count))
        indices.append(len(points) - 1)
    return points, indices


def cut_at_exit(waypoints):
    """The waypoints up to where the path leaves the screen for the last time, ending there."""
    inside = [abs(x) < EXIT_X and abs(y) < EXIT_Y for x, y in waypoints]
    last = max(i for i, shown in enumerate(inside) if shown)
    if last == len(waypoints) - 1:
        return waypoints
    (x0, y0), (x1, y1) = waypoints[last], waypoints[last + 1]
    # The share of the leg at which it crosses the nearer of the exit lines.
    share = min(((EXIT_X if x1 > x0 else -EXIT_X) - x0) / (x1 - x0) if x1 != x0 else 1.0,
                ((EXIT_Y if y1 > y0 else -EXIT_Y) - y0) / (y1 - y0) if y1 != y0 else 1.0)
    share = max(0.0, min(1.0, share))
    exit_point = (round(x0 + (x1 - x0) * share, 2), round(y0 + (y1 - y0) * share, 2))
    return waypoints[:last + 1] + [exit_point]


def editor(value):
    return ("%.4f" % (value / EDITOR_UNIT)).rstrip("0").rstrip(".")


def distance_to_way(point, start, end):
    (px, py), (ax, ay), (bx, by) = point, start, end
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(ax + dx * t - px, ay + dy * t - py)


def write_level(number, title, background, next_level, target, actors, waves, spacing,
                tutorial=None):
    folder = os.path.join(ROOT, "level%d" % number)
    os.makedirs(folder, exist_ok=True)
    header = ["-DialogName:level%d" % number, "-Game-", "-Game-IsLevel:1",
              "-Game-NextLevel:%s" % next_level]
    if tutorial:
        header.append("-Game-ShowTutorialOn1stFire:1")
    header += ["-Wave%d:wave%d.txt" % (k + 1, k + 1) for k in range(len(waves))]
    header.append("-BackgroundImage:\\gui\\level_bg%d.png" % background)
    with open(os.path.join(folder, "level.dlg"), "w", newline="\n") as out:
        out.write("\n".join(header) + "\n" + SPRITES)
    with open(os.path.join(folder, "strings.lng"), "w", newline="\n") as out:
        out.write("LEVELNAME=%s\n" % title)
        if tutorial:
            out.write("TUTORIAL=%s\n" % tutorial)

    print("level%d, %s" % (number, title))
    waves = waves[:-1] + [(cut_at_exit(waves[-1][0]), waves[-1][1])]
    elapsed = 0
    level_length = sum(len(resample(path, spacing)[0]) - 1 for path, _ in waves)
    for k, (waypoints, spots) in enumerate(waves):
        points, indices = resample(waypoints, spacing)
        lines = []
        if k == 0:
            lines.append("Actor:target:x%s y%s w0.025 h0.025" % (editor(target[0]),
                                                                editor(target[1])))
            for name, x, y, *scale in actors:
                size = (scale[0] if scale else 1.0) / EDITOR_UNIT
                lines.append("Actor:%s:x%s y%s w%g h%g" % (name, editor(x), editor(y), size, size))
        lines.append("<Points>\n-Name:MainPath")
        lines += ["Point[%d]:x%s y%s" % (i, editor(x), editor(y)) for i, (x, y) in enumerate(points)]
        lines.append("</Points>")
        for waypoint, kind in spots:
            start = waypoints[waypoint]
            lines.append("<Points>\n-Name:firespot-%s\nPoint[0]:x%s y%s\nPoint[1]:x%s y%s\n"
                         "</Points>" % (kind, editor(start[0]), editor(start[1]),
                                        editor(target[0]), editor(target[1])))
            in_way = [name for name, x, y, *_ in actors
                      if distance_to_way((x, y), start, target) < RADIUS[name] + 0.6]
            flight = math.dist(start, target) / (SHOT_SPEED[kind] * SIMULATION_SHARE)
            margin = level_length - (elapsed + indices[waypoint] + flight)
            print("  wave %d, %-6s from %-9s at %2d s: %4.1f s to spare, in its way: %s"
                  % (k + 1, kind, start, elapsed + indices[waypoint], margin,
                     ", ".join(in_way) or "nothing"))
        elapsed += len(points) - 1
        with open(os.path.join(folder, "wave%d.txt" % (k + 1)), "w", newline="\n") as out:
            out.write("\n".join(lines) + "\n")
    print("  %d waves, %d s" % (len(waves), elapsed))


L, R = LEFT, RIGHT

# Level 1: three slow shots from the top with nothing in their way; the tutorial explains holes.
write_level(
    1, "Station Dawn", 1, "level2", (13, -7),
    [("planet_blue", -9, -7), ("rock_small", -15, 3), ("rock_small", 0, -11),
     ("rock_big", 17, 3)],
    [([(L, 9), (-16, 10), (-8, 9), (-3, 8), (4, 10), (12, 11), (R, 9)], [(3, "slow")]),
     ([(R, 9), (14, 10), (3, 8), (-6, 10), (-14, 11), (-22, 8), (-16, 4), (-24, 0), (L, -2)],
      [(2, "slow"), (3, "slow")])],
    spacing=3.2,
    tutorial="The mad ship fires at your station!<br>Left click: a white hole pushes shots away."
             "<br>Right click: a black hole pulls them in<br>and swallows them.")

# Level 2: a belt of rocks between the ship and the station; five slow and normal shots.
write_level(
    2, "Pebble Belt", 2, "level3", (-13, -8),
    [("rock_small", 8, -4), ("rock_small", 13, 4), ("rock_big", 4, -10), ("rock_small", -4, 3),
     ("rock_small", 1, -6), ("rock_big", -8, 7), ("planet_red", -16, 3)],
    [([(R, 10), (15, 11), (6, 9), (-2, 11), (-10, 10), (-18, 11), (L, 10)],
      [(2, "normal"), (4, "slow")]),
     ([(L, 11), (-14, 12), (-2, 10), (8, 6), (14, 0), (12, -7), (16, -12), (22, -10), (R, -13)],
      [(2, "slow"), (3, "normal"), (4, "normal")])],
    spacing=3.2)

# Level 3: the station between two planets; fast shots join in over three waves.
write_level(
    3, "Tidewater Nebula", 3, "level4", (0, -9),
    [("planet_green", -10, -6), ("planet_red", 10, -5), ("rock_small", -4, 1),
     ("rock_small", 5, 3), ("rock_big", -15, 4), ("rock_small", 15, 6),
     ("rock_small", 2, -2, 0.8)],
    [([(L, 8), (-16, 10), (-9, 8), (-2, 11), (6, 9), (13, 11), (R, 9)],
      [(2, "normal"), (4, "normal")]),
     ([(R, 9), (16, 6), (9, 10), (0, 8), (-8, 11), (-15, 8), (L, 10)],
      [(1, "fast"), (3, "normal"), (4, "slow")]),
     ([(L, 10), (-17, 7), (-10, 11), (-3, 9), (4, 11), (11, 8), (17, 11), (R, 10)],
      [(2, "fast"), (4, "fast")])],
    spacing=3.6)

# Level 4: the station at the right edge; fans and heavy rocks come from the left.
write_level(
    4, "Crimson Reach", 4, "level5", (15, -1),
    [("planet_blue", 5, 10), ("planet_red", 4, -11), ("rock_small", 8, 1), ("rock_small", 9, -4),
     ("rock_big", 0, -5), ("rock_small", 10, 12), ("rock_small", -4, -12)],
    [([(-14, 16), (-12, 11), (-14, 5), (-12, -1), (-14, -7), (-11, -12), (-14, -17)],
      [(1, "normal"), (3, "burst"), (5, "normal")]),
     ([(-8, -17), (-7, -11), (-12, -5), (-8, 1), (-12, 7), (-7, 11), (-8, 17)],
      [(1, "big"), (3, "fast"), (5, "fast")]),
     ([(L, 12), (-16, 8), (-10, 3), (-15, -3), (-9, -8), (-16, -12), (L, -14)],
      [(1, "burst"), (2, "big"), (3, "fast")])],
    spacing=3.6)

# Level 5: the station in the middle; the ship circles it and fires every kind from every side.
write_level(
    5, "Last Horizon", 5, "end", (0, -1),
    [("planet_green", -9, 5), ("planet_red", 10, -7), ("rock_small", 5, 5),
     ("rock_small", -6, -6), ("rock_big", 13, 5), ("rock_big", -13, -6), ("rock_small", 2, -8),
     ("rock_small", -3, 7, 0.8)],
    [([(L, 10), (-14, 11), (-4, 10), (8, 11), (16, 7), (17, -2), (15, -11), (R, -13)],
      [(2, "normal"), (4, "fast"), (5, "burst")]),
     ([(R, -13), (12, -13), (2, -12), (-8, -13), (-16, -8), (-17, 2), (-13, 11), (L, 13)],
      [(2, "big"), (4, "fast"), (5, "normal")]),
     ([(L, 0), (-16, -2), (-10, 11), (0, 12), (10, 11), (17, 3), (R, 1)],
      [(2, "burst"), (3, "fast"), (5, "fast")]),
     ([(R, 1), (17, -4), (10, -12), (0, -13), (-10, -12), (-17, -5), (-16, 6), (-20, 10),
       (L, 12)],
      [(2, "big"), (3, "burst"), (4, "fast"), (5, "normal")])],
    spacing=4.0)
