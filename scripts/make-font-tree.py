#!/usr/bin/python3
"""Writes COUNT small, valid TrueType families into FOLDER for benchmarks and scale
tests. Family "<prefix> NNNNN" has a Regular face, or Regular, Bold, Italic and Bold
Italic with --styles 4. Each face maps space, digits and Latin letters to plain box
glyphs and declares the Latin-1 and Latin-2 code pages. Needs Debian's python3-fonttools.

    scripts/make-font-tree.py COUNT FOLDER [--styles 1|4] [--prefix Synth]
"""
import argparse
import os

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FACES = [("Regular", 400, False), ("Bold", 700, False), ("Italic", 400, True), ("Bold Italic", 700, True)]
CHARACTERS = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"


def outline(width, margin, heavy):
    pen = TTGlyphPen(None)
    pen.moveTo((margin, 0))
    pen.lineTo((margin, 700))
    pen.lineTo((width - margin, 700))
    pen.lineTo((width - margin, 0))
    pen.closePath()
    if not heavy:
        inner = 90
        pen.moveTo((margin + inner, inner))
        pen.lineTo((width - margin - inner, inner))
        pen.lineTo((width - margin - inner, 700 - inner))
        pen.lineTo((margin + inner, 700 - inner))
        pen.closePath()
    return pen.glyph()


# Families named in other scripts, as fonts of those scripts are.
SCRIPT_FAMILIES = [("Japanese", "\u660e\u671d\u4f53\u30b5\u30f3\u30d7\u30eb"),
                   ("Greek", "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"),
                   ("Arabic", "\u062e\u0637 \u0639\u0631\u0628\u064a")]


def write_face(path, family, style, weight, italic, number):
    characters = "".join(sorted(set(CHARACTERS + family)))
    glyph_names = [".notdef"] + ["c%04x" % ord(c) for c in characters]
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder(glyph_names)
    builder.setupCharacterMap({ord(c): "c%04x" % ord(c) for c in characters})
    margin = 30 + (number % 9) * 8
    glyphs = {name: outline(620, margin, weight >= 700) for name in glyph_names}
    glyphs["c0020"] = TTGlyphPen(None).glyph()
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics({name: (620, margin) for name in glyph_names})
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    full_name = family if style == "Regular" else "%s %s" % (family, style)
    builder.setupNameTable({
        "familyName": family, "styleName": style, "fullName": full_name,
        "uniqueFontIdentifier": "%s;%d" % (full_name, number),
        "psName": full_name.replace(" ", "-") if full_name.isascii() else "Named-%d" % number,
        "version": "Version 1.000",
    })
    selection = (0x01 if italic else 0) | (0x20 if weight >= 700 else 0)
    if selection == 0:
        selection = 0x40
    builder.setupOS2(usWeightClass=weight, fsSelection=selection, ulCodePageRange1=0b11,
                     sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
    builder.setupPost()
    builder.setupHead(unitsPerEm=1000, macStyle=(0x02 if italic else 0) | (0x01 if weight >= 700 else 0))
    builder.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("count", type=int)
    parser.add_argument("folder")
    parser.add_argument("--styles", type=int, choices=(1, 4), default=1)
    parser.add_argument("--prefix", default="Synth")
    parser.add_argument("--scripts", action="store_true", help="add the families named in other scripts")
    options = parser.parse_args()
    os.makedirs(options.folder, exist_ok=True)
    for number in range(options.count):
        family = "%s %05d" % (options.prefix, number)
        for style, weight, italic in FACES[:options.styles]:
            name = "%s%05d-%s.ttf" % (options.prefix, number, style.replace(" ", ""))
            write_face(os.path.join(options.folder, name), family, style, weight, italic, number)
    if options.scripts:
        for number, (script, family) in enumerate(SCRIPT_FAMILIES):
            write_face(os.path.join(options.folder, "Named%s.ttf" % script), family, "Regular", 400, False, number)


if __name__ == "__main__":
    main()
