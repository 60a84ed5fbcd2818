#!/usr/bin/env python3
"""Draws every image of the installer's skin into skin/res with ImageMagick.

Deterministic: the same script gives the same PNG files, so the skin can be
rebuilt after a colour change here. Run: python3 scripts/make-skin-art.py
"""
import math
import os
import subprocess
import sys

CONVERT = "/usr/bin/convert"  # /usr/local/bin/convert may be a stand-in
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skin", "res")
WORDMARK_FONT = "DejaVu-Sans-Bold"

# The palette: change a colour here and run the script again.
BRAND_FROM = "#2F5BEA"
BRAND_TO = "#6A46E5"
ACCENT = "#FF4D4F"       # the recording dot
WHITE = "#FFFFFF"
INK = "#333333"          # text and glyphs on white cards
MUTED = "#8A94A6"
CARD_LINE = "#D9DEE8"

FIXED = ["-define", "png:exclude-chunks=date,time", "+set", "date:create", "+set", "date:modify"]


def draw(path, width, height, *operations, background="none"):
    out = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(out), exist_ok=True)
    args = [CONVERT, "-size", f"{width}x{height}", f"xc:{background}", *operations, *FIXED,
            f"PNG32:{out}"]
    subprocess.run(args, check=True)


def gradient_background(path, panel=False):
    ops = ["(", "-size", "600x400", "-define", "gradient:angle=135",
           f"gradient:{BRAND_FROM}-{BRAND_TO}", ")", "-composite",
           "-fill", "rgba(255,255,255,0.05)", "-draw", "circle 520,60 520,230",
           "-fill", "rgba(255,255,255,0.04)", "-draw", "circle 40,380 40,520"]
    if panel:
        ops += ["-fill", "rgba(255,255,255,0.12)", "-draw", "roundrectangle 40,55 560,375 8,8"]
    draw(path, 600, 400, *ops)


def rounded(path, width, height, fill, stroke=None, radius=5):
    ops = ["-fill", fill]
    ops += ["-stroke", stroke, "-strokewidth", "1"] if stroke else ["-stroke", "none"]
    ops += ["-draw", f"roundrectangle 0.5,0.5 {width - 1.5},{height - 1.5} {radius},{radius}"]
    draw(path, width, height, *ops)


def button_states(folder, name, width, height, fills, stroke=None, states=4):
    """fills: normal, hot, pushed, disabled (the same size, visibly different)."""
    for state in range(1, states + 1):
        rounded(f"{folder}/{name}{state}.png", width, height, fills[state - 1], stroke)


def glyph(path, kind, colour, hot_fill=None):
    ops = []
    if hot_fill:
        ops += ["-fill", hot_fill, "-draw", "circle 15,15 15,3"]
    ops += ["-stroke", colour, "-strokewidth", "1.6", "-fill", "none"]
    if kind == "close":
        ops += ["-draw", "line 10,10 20,20", "-draw", "line 20,10 10,20"]
    elif kind == "min":
        ops += ["-draw", "line 9,15.5 21,15.5"]
    else:  # back
        ops += ["-draw", "polyline 18,8 11,15 18,22"]
    draw(path, 30, 30, *ops)


def window_buttons():
    hot, pushed = "rgba(255,255,255,0.18)", "rgba(255,255,255,0.30)"
    for kind, name in (("min", "minbtn"), ("close", "closebtn")):
        glyph(f"common/{name}1.png", kind, WHITE)
        glyph(f"common/{name}2.png", kind, WHITE, hot)
        glyph(f"common/{name}3.png", kind, WHITE, pushed)
        glyph(f"common/{name}4.png", kind, "rgba(255,255,255,0.4)")
    glyph("common/closebtnM_1.png", "close", INK)
    glyph("common/closebtnM_2.png", "close", INK, "rgba(0,0,0,0.06)")
    glyph("common/closebtnM_3.png", "close", INK, "rgba(0,0,0,0.12)")
    glyph("mainWnd/backBtn1.png", "back", WHITE)
    glyph("mainWnd/backBtn2.png", "back", WHITE, hot)
    glyph("mainWnd/backBtn3.png", "back", WHITE, pushed)
    glyph("mainWnd/backBtn4.png", "back", "rgba(255,255,255,0.4)")


def logo_mark(size):
    """The product mark: a white lens ring around the red recording dot."""
    c = size / 2
    return ["-fill", "rgba(255,255,255,0.16)", "-draw", f"circle {c},{c} {c},{size * 0.04}",
            "-fill", "none", "-stroke", WHITE, "-strokewidth", f"{size * 0.07:.1f}",
            "-draw", f"circle {c},{c} {c},{size * 0.2}",
            "-stroke", "none", "-fill", ACCENT, "-draw", f"circle {c},{c} {c},{size * 0.36}"]


def logos():
    draw("mainWnd/logo.png", 96, 96, *logo_mark(96))
    draw("mainWnd/ilogo.png", 24, 24, *logo_mark(24))
    for name, mark, text_size, width in (("logoWithTitle", 88, 46, 320), ("logoWithTitle1", 56, 30, 220)):
        ops = ["(", "-size", f"{mark}x{mark}", "xc:none", *logo_mark(mark), ")", "-gravity", "west",
               "-composite", "-gravity", "west", "-font", WORDMARK_FONT, "-pointsize", str(text_size),
               "-fill", WHITE, "-annotate", f"+{mark + 14}+0", "Vellisto"]
        draw(f"mainWnd/{name}.png", width, mark, *ops)
    draw("mainWnd/finished.png", 120, 120,
         "-fill", "rgba(255,255,255,0.16)", "-draw", "circle 60,60 60,2",
         "-fill", WHITE, "-draw", "circle 60,60 60,14",
         "-fill", "none", "-stroke", BRAND_FROM, "-strokewidth", "8",
         "-draw", "polyline 38,62 53,77 83,45")
    draw("mainWnd/tipLbl.png", 16, 16, "-fill", "rgba(255,255,255,0.85)", "-draw", "circle 8,8 8,1",
         "-fill", BRAND_FROM, "-draw", "rectangle 7,7 9,12", "-draw", "rectangle 7,4 9,5")


def main_window_parts():
    for n, panel in ((1, False), (2, True), (3, False), (4, False)):
        gradient_background(f"mainWnd/bg{n}.png", panel)
    rounded("mainWnd/installDirEdit.png", 340, 32, WHITE, CARD_LINE, 4)
    rounded("mainWnd/installPrg1.png", 400, 6, "rgba(255,255,255,0.25)", radius=3)
    draw("mainWnd/installPrg2.png", 400, 6,
         "(", "-size", "400x6", "gradient:#FFFFFF-#FFC2C3", "-rotate", "-90", "-resize", "400x6!", ")",
         "-composite",
         "(", "-size", "400x6", "xc:none", "-fill", WHITE, "-draw", "roundrectangle 0,0 399,5 3,3", ")",
         "-compose", "DstIn", "-composite")
    # Check boxes: an outlined square, and the square filled with a check.
    draw("mainWnd/Cb1.png", 16, 16, "-fill", "none", "-stroke", WHITE, "-strokewidth", "1.2",
         "-draw", "roundrectangle 1,1 14,14 3,3")
    draw("mainWnd/Cb2.png", 16, 16, "-fill", WHITE, "-stroke", WHITE, "-draw", "roundrectangle 1,1 14,14 3,3",
         "-fill", "none", "-stroke", BRAND_FROM, "-strokewidth", "2", "-draw", "polyline 4,8 7,11 12,5")
    primary = [WHITE, "#F1F4FF", "#DCE3FB", "#B9C1D9"]
    quiet = ["rgba(255,255,255,0.0)", "rgba(255,255,255,0.12)", "rgba(255,255,255,0.22)",
             "rgba(255,255,255,0.0)"]
    outline = ["rgba(255,255,255,0.10)", "rgba(255,255,255,0.22)", "rgba(255,255,255,0.32)"]
    button_states("mainWnd", "installBtn", 220, 48, primary, states=3)
    button_states("mainWnd", "customeBtn", 110, 30, quiet, states=3)
    button_states("mainWnd", "chDirBtn", 72, 32, outline, WHITE, states=3)
    button_states("mainWnd", "editBtn", 72, 32, outline, WHITE, states=3)
    button_states("mainWnd", "experienceBtn", 200, 44, primary, states=3)
    button_states("mainWnd", "openProduceBtn", 200, 44, primary, states=3)


def arc_path(c, r, start, end):
    """An open arc as a polyline (this ImageMagick closes stroked arcs with a
    chord), angles in degrees clockwise from east."""
    points = []
    for k in range(25):
        a = math.radians(start + (end - start) * k / 24)
        points.append(f"{c + r * math.cos(a):.2f},{c + r * math.sin(a):.2f}")
    return "stroke-linecap round stroke-linejoin round polyline " + " ".join(points)


def animation():
    """A ring that sweeps around a pulsing red dot, 64 frames, seamless loop."""
    size, c, r = 160, 80, 54
    for i in range(64):
        start = i * 360 / 64 - 90
        pulse = 18 + 5 * math.sin(2 * math.pi * i / 64)
        glow = 0.18 + 0.12 * math.sin(2 * math.pi * i / 64)
        ops = ["-fill", "none", "-stroke", "rgba(255,255,255,0.18)", "-strokewidth", "8",
               "-draw", f"circle {c},{c} {c},{c - r}",
               "-stroke", WHITE, "-strokewidth", "8",
               "-draw", arc_path(c, r, start, start + 100),
               "-stroke", "none", "-fill", f"rgba(255,77,79,{glow:.3f})",
               "-draw", f"circle {c},{c} {c},{c - pulse - 9:.2f}",
               "-fill", ACCENT, "-draw", f"circle {c},{c} {c},{c - pulse:.2f}"]
        draw(f"mainWnd/installBtnAnimate/{i:03d}.png", size, size, *ops)


def card_buttons():
    brand = [BRAND_FROM, "#4A72F0", "#2449C8", "#B7C3E6"]
    plain = [WHITE, "#F5F7FB", "#E8ECF3", "#F5F5F5"]
    button_states("MessageBoxWnd", "againBtn", 100, 34, brand)
    button_states("MessageBoxWnd", "cancelBtn", 100, 34, plain, CARD_LINE)
    button_states("MessageBoxWnd", "coverBtn", 100, 34, brand, states=3)
    button_states("MessageBoxWnd", "openBtn", 100, 34, plain, CARD_LINE, states=3)
    button_states("TipWnd", "okBtn", 100, 34, brand)
    button_states("TipWnd", "cancelBtn", 100, 34, plain, CARD_LINE)


def main():
    window_buttons()
    logos()
    main_window_parts()
    animation()
    card_buttons()
    count = sum(len(files) for _, _, files in os.walk(ROOT))
    print(f"{count} images in {os.path.normpath(ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
