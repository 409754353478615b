#!/usr/bin/python3
"""Writes a small variable TrueType font to FILE: family FAMILY with a weight axis
(300 to 900) and a width axis (75 to 100), built with fontTools' varLib from four
masters. Its fvar table names eight instances: Light, Regular, Medium, SemiBold,
Bold, ExtraBold and Black at normal width, and Condensed and Condensed Bold at 75.
Every glyph is a box whose advance grows with weight and shrinks with width, so
each instance has advance widths of its own. Needs Debian's python3-fonttools.

    scripts/make-variable-font.py FILE [--family "Glyphwell Var"]
"""
import argparse
import os
import tempfile

from fontTools.designspaceLib import AxisDescriptor, DesignSpaceDocument, InstanceDescriptor, SourceDescriptor
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools import varLib

CHARACTERS = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
INSTANCES = [("Light", 300, 100), ("Regular", 400, 100), ("Medium", 500, 100), ("SemiBold", 600, 100),
             ("Bold", 700, 100), ("ExtraBold", 800, 100), ("Black", 900, 100),
             ("Condensed", 400, 75), ("Condensed Bold", 700, 75)]


def advance(weight, width):
    # Linear in both axes, so every interpolated instance differs.
    return int((400 + (weight - 300) * 0.5) * width / 100)


def master(family, weight, width, path):
    names = [".notdef"] + ["g%02x" % ord(c) for c in CHARACTERS]
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap({ord(c): "g%02x" % ord(c) for c in CHARACTERS})
    glyphs, metrics = {}, {}
    full = advance(weight, width)
    stem = int(40 + (weight - 300) * 0.2)
    for name in names:
        pen = TTGlyphPen(None)
        if name != "g20":
            # Same points in every master: an outer box and a stem box.
            pen.moveTo((20, 0))
            pen.lineTo((20, 700))
            pen.lineTo((full - 20, 700))
            pen.lineTo((full - 20, 0))
            pen.closePath()
            pen.moveTo((40, 20))
            pen.lineTo((40 + stem, 20))
            pen.lineTo((40 + stem, 680))
            pen.lineTo((40, 680))
            pen.closePath()
        else:
            pen.moveTo((0, 0))
            pen.lineTo((0, 1))
            pen.lineTo((1, 1))
            pen.closePath()
        glyphs[name] = pen.glyph()
        metrics[name] = (full, 20 if name != "g20" else 0)
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics(metrics)
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupNameTable({"familyName": family, "styleName": "Regular"})
    builder.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200,
                     usWeightClass=weight, ulCodePageRange1=1)
    builder.setupPost()
    builder.save(path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--family", default="Glyphwell Var")
    options = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        document = DesignSpaceDocument()
        for tag, name, low, default, high in (("wght", "Weight", 300, 400, 900), ("wdth", "Width", 75, 100, 100)):
            axis = AxisDescriptor()
            axis.tag, axis.name, axis.minimum, axis.default, axis.maximum = tag, name, low, default, high
            document.addAxis(axis)
        for weight, width in ((400, 100), (300, 100), (900, 100), (400, 75)):
            path = os.path.join(folder, "master-%d-%d.ttf" % (weight, width))
            master(options.family, weight, width, path)
            source = SourceDescriptor()
            source.path = path
            source.location = {"Weight": weight, "Width": width}
            document.addSource(source)
        for style, weight, width in INSTANCES:
            instance = InstanceDescriptor()
            instance.familyName = options.family
            instance.styleName = style
            instance.location = {"Weight": weight, "Width": width}
            document.addInstance(instance)
        font, _, _ = varLib.build(document)
        font.save(options.file)


if __name__ == "__main__":
    main()
