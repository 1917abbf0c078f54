#!/usr/bin/env python3
"""Writes a large BDCFF game for the benchmark.

The caves cycle through four kinds: map caves, objects caves with many
objects, random-fill caves and intermissions, so that every path of the
reader and the cave builder is timed. The same arguments always give the
same file.

usage: generate_game.py CAVES OUTPUT
"""
import random
import sys

ITEMS = ["DIRT", "BOULDER", "DIAMOND", "WALL", "MAGICWALL", "SPACE", "FIREFLYl",
         "BUTTERFLYd", "AMOEBA", "SLIME", "STEELWALL", "HEXPANDINGWALL"]
MAP_CHARS = "P.rdwMxQcas W"
PALETTES = ["Black Black Orange Gray1 White", "Black Black LightRed Purple White",
            "Black Black Blue Gray3 White", "Black Black Green Brown Yellow"]


def map_body(rng):
    rows = ["W" * 40]
    for _ in range(20):
        rows.append("W" + "".join(rng.choice(MAP_CHARS) for _ in range(38)) + "W")
    rows.append("W" * 40)
    return ["[map]"] + rows + ["[/map]"]


def objects_body(rng, count):
    lines = ["[objects]"]
    for _ in range(count):
        item = rng.choice(ITEMS)
        x1, y1 = rng.randint(1, 30), rng.randint(1, 15)
        x2, y2 = x1 + rng.randint(0, 8), y1 + rng.randint(0, 5)
        kind = rng.randrange(5)
        if kind == 0:
            lines.append(f"Point={x1} {y1} {item}")
        elif kind == 1:
            lines.append(f"Line={x1} {y1} {x2} {y1} {item}")
        elif kind == 2:
            lines.append(f"Rectangle={x1} {y1} {x2} {y2} {item}")
        elif kind == 3:
            lines.append(f"FillRect={x1} {y1} {x2} {y2} {item} {rng.choice(ITEMS)}")
        else:
            lines.append(f"Raster={x1} {y1} 4 3 2 2 {item}")
    lines.append("Add=1 0 BOULDER DIAMOND")
    lines.append("[/objects]")
    return lines


def cave(rng, number):
    kind = number % 4
    lines = ["[cave]", f"Name=Bench cave {number}", f"Colors={PALETTES[number % len(PALETTES)]}",
             "CaveTime=150 140 130 120 110", "DiamondsRequired=12 13 14 15 16",
             "DiamondValue=10 15", "CaveDelay=10 9 8 7 6", "Remark=Generated for timing."]
    if kind == 0:
        lines += map_body(rng)
    elif kind == 1:
        lines += objects_body(rng, 200)
    elif kind == 2:
        lines += [f"RandSeed={rng.randint(0, 255)} 1 2 3 4",
                  "RandomFill=BOULDER 60 DIAMOND 9 SPACE 40 FIREFLYl 2"]
        lines += objects_body(rng, 20)
    else:
        lines += ["Intermission=true", "InitialFill=SPACE"]
        lines += objects_body(rng, 20)
    return lines + ["[/cave]", ""]


def main():
    caves, output = int(sys.argv[1]), sys.argv[2]
    rng = random.Random(caves)
    lines = ["[BDCFF]", "[game]", f"Name=Bench{caves}", "Author=Grottoprint bench",
             "Levels=5", f"Caves={caves}", ""]
    for number in range(1, caves + 1):
        lines += cave(rng, number)
    lines += ["[/game]", "[/BDCFF]"]
    with open(output, "w", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
