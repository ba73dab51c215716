#!/usr/bin/env python3
"""Builds "Qvprt Symbols", the TrueType font that draws the electrical symbols and the two script
marks at the private-use code points the GBK user-defined area maps to (AA A1 -> U+E000).

The grid, the symbol picker and the preview ask for this family first and the Song face after it,
so every other character still comes from the Song face. The vertical metrics are the Song face's
(AR PL UMing, 1024 units to the em), because the first family of a font list decides the line's
ascent, descent and average width: with equal metrics nothing measured before changes.

Letters, digits and signs come from DejaVu Sans outlines (its licence is DejaVu-LICENSE.txt beside
this script); octagons, the earth sign, the lamp cross, the marks and the composition are drawn
here.

Usage: make_symbol_font.py --dejavu DejaVuSans.ttf --output QvprtSymbols.ttf
"""

import argparse
import io
import math
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

FAMILY = "Qvprt Symbols"
STYLE = "Regular"
PS_NAME = "QvprtSymbols-Regular"
VERSION = "Version 1.000"

# The Song face's metrics, so that a font list starting with ours measures as the Song face does.
UPM = 1024
ASCENT, DESCENT, LINE_GAP = 917, -155, 6
TYPO_ASCENT, TYPO_DESCENT = 900, -124
AVG_WIDTH = 512
HEAD_FLAGS = 0b101011  # integer ppem among them: FreeType then rounds the line metrics as for it
# The Song face's bitmap sizes with their line ascender and descender (pixels). Qt takes the line
# metrics of a font that carries bitmaps from FreeType, which rounds them outwards or takes a
# bitmap size's own, and those of a font without bitmaps from its tables, rounded to nearest.
# Empty bitmap sizes with the same line metrics make ours the Song face's at every size; the glyphs
# themselves are always drawn from the outlines.
SONG_BITMAP_SIZES = [(11, 10, -1), (12, 11, -1), (13, 11, -2), (14, 12, -2), (15, 13, -2),
                     (16, 14, -2)]

FULL = 1024  # advance of a symbol: a double-byte character is full width
HALF = 512  # advance of a script mark
# The box a Song ideograph fills, and where its Latin letters stand.
BOX_LEFT, BOX_RIGHT, BOX_BOTTOM, BOX_TOP = 70, 954, -70, 814
BASELINE = 70
CAP_HEIGHT = 640  # letters of the unit symbols
STROKE = 72  # lines we draw: about one pixel at the grid's 12 px

FIRST_SYMBOL = 0xE000
SUPERSCRIPT_MARK = 0xE051
SUBSCRIPT_MARK = 0xE052

COPYRIGHT = (
    "Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. "
    "Copyright (c) 2006 by Tavmjong Bah. All Rights Reserved. DejaVu changes are in public domain. "
    "Octagons, earth sign, lamp cross, marks and composition drawn for qvprt."
)


class Outline:
    """The contours of one glyph in font units, built from our own polygons and DejaVu glyphs."""

    def __init__(self):
        self.pen = TTGlyphPen(None)
        self.empty = True

    def polygon(self, points):
        # Clockwise for an ink contour, anticlockwise for a hole.
        self.pen.moveTo(points[0])
        for p in points[1:]:
            self.pen.lineTo(p)
        self.pen.closePath()
        self.empty = False

    def rect(self, x0, y0, x1, y1):
        self.polygon([(x0, y0), (x0, y1), (x1, y1), (x1, y0)])

    def line(self, a, b, width=STROKE):
        """A straight stroke from a to b with square ends."""
        dx, dy = b[0] - a[0], b[1] - a[1]
        length = math.hypot(dx, dy)
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        pts = [(a[0] + nx, a[1] + ny), (b[0] + nx, b[1] + ny), (b[0] - nx, b[1] - ny),
               (a[0] - nx, a[1] - ny)]
        if _signed_area(pts) > 0:
            pts.reverse()
        self.polygon(pts)

    def recording(self, recording, transform):
        recording.replay(TransformPen(self.pen, transform))
        self.empty = False

    def glyph(self):
        return self.pen.glyph()


def _signed_area(points):
    return sum(points[i][0] * points[(i + 1) % len(points)][1] -
               points[(i + 1) % len(points)][0] * points[i][1] for i in range(len(points))) / 2


def octagon_points(cx, cy, apothem):
    """A regular octagon with flat top, bottom and sides, clockwise from the top left."""
    c = apothem * math.tan(math.pi / 8)  # half a side
    a = apothem
    return [(cx - c, cy + a), (cx + c, cy + a), (cx + a, cy + c), (cx + a, cy - c),
            (cx + c, cy - a), (cx - c, cy - a), (cx - a, cy - c), (cx - a, cy + c)]


CENTRE_X = (BOX_LEFT + BOX_RIGHT) / 2
CENTRE_Y = (BOX_BOTTOM + BOX_TOP) / 2
OCTAGON_APOTHEM = (BOX_TOP - BOX_BOTTOM) / 2


def draw_octagon(out):
    out.polygon(octagon_points(CENTRE_X, CENTRE_Y, OCTAGON_APOTHEM))
    inner = octagon_points(CENTRE_X, CENTRE_Y, OCTAGON_APOTHEM - STROKE)
    inner.reverse()
    out.polygon(inner)


def draw_earth(out, cx, top, bottom, width, stroke=STROKE):
    """The earth sign: a stem over three bars of falling width, the last one at `bottom`."""
    gap = (top - bottom) * 0.2
    bars = [bottom + 2 * gap, bottom + gap, bottom]
    out.rect(cx - stroke / 2, bars[0] + stroke / 2, cx + stroke / 2, top)
    for i, y in enumerate(bars):
        half = width / 2 * (1 - i * 0.33)
        out.rect(cx - half, y - stroke / 2, cx + half, y + stroke / 2)


class DejaVu:
    def __init__(self, path):
        self.font = TTFont(path)
        self.glyphs = self.font.getGlyphSet()
        self.cmap = self.font.getBestCmap()
        self.hmtx = self.font["hmtx"]
        self.cap = self.font["OS/2"].sCapHeight if hasattr(self.font["OS/2"], "sCapHeight") else 0
        if not self.cap:
            self.cap = self._top("H")

    def _top(self, ch):
        from fontTools.pens.boundsPen import BoundsPen
        pen = BoundsPen(self.glyphs)
        self.glyphs[self.cmap[ord(ch)]].draw(pen)
        return pen.bounds[3]

    def run(self, text):
        """The outlines of `text` set on one line from x = 0, and the line's advance."""
        recording = DecomposingRecordingPen(self.glyphs)
        x = 0
        for ch in text:
            if ord(ch) not in self.cmap:
                sys.exit("DejaVu Sans has no glyph for U+%04X" % ord(ch))
            name = self.cmap[ord(ch)]
            self.glyphs[name].draw(TransformPen(recording, (1, 0, 0, 1, x, 0)))
            x += self.hmtx[name][0]
        return recording, x

    def bounds(self, recording):
        from fontTools.pens.boundsPen import BoundsPen
        pen = BoundsPen(None)
        recording.replay(pen)
        return pen.bounds


def draw_text(out, dejavu, text, cap_height, centre_x, baseline, max_width):
    """`text` with its capitals `cap_height` high, centred on `centre_x`, narrowed to fit."""
    recording, _ = dejavu.run(text)
    x0, _, x1, _ = dejavu.bounds(recording)
    scale = cap_height / dejavu.cap
    sx = scale
    if (x1 - x0) * sx > max_width:
        sx = max_width / (x1 - x0)
    dx = centre_x - (x0 + x1) / 2 * sx
    out.recording(recording, (sx, 0, 0, scale, dx, baseline))


def letter_in_octagon(dejavu, letter):
    def draw(out):
        draw_octagon(out)
        inner = 2 * (OCTAGON_APOTHEM - STROKE)
        cap = inner * 0.62
        draw_text(out, dejavu, letter, cap, CENTRE_X, CENTRE_Y - cap / 2, inner * 0.7)
    return draw


def unit(dejavu, text):
    def draw(out):
        draw_text(out, dejavu, text, CAP_HEIGHT, FULL / 2, BASELINE, BOX_RIGHT - BOX_LEFT)
    return draw


def earth(out):
    draw_earth(out, CENTRE_X, BOX_TOP, BOX_BOTTOM + STROKE / 2, BOX_RIGHT - BOX_LEFT)


def earth_in_octagon(out):
    draw_octagon(out)
    inner = OCTAGON_APOTHEM - STROKE
    draw_earth(out, CENTRE_X, CENTRE_Y + inner * 0.72, CENTRE_Y - inner * 0.55, inner * 1.15,
               stroke=STROKE * 0.85)


def lamp(out):
    draw_octagon(out)
    # The cross's arms end in the octagon's slanted sides.
    reach = (OCTAGON_APOTHEM - STROKE / 2) / math.sqrt(2)
    out.line((CENTRE_X - reach, CENTRE_Y - reach), (CENTRE_X + reach, CENTRE_Y + reach))
    out.line((CENTRE_X - reach, CENTRE_Y + reach), (CENTRE_X + reach, CENTRE_Y - reach))


def arrow(out, cx, tail, head, stroke):
    """An arrow from `tail` to `head` (y only) ending in a bar: "the next character goes there"."""
    direction = 1 if head > tail else -1
    head_length = 200
    half = 170
    bar = head
    tip = bar - direction * stroke
    base = tip - direction * head_length
    out.rect(cx - stroke / 2, min(tail, base), cx + stroke / 2, max(tail, base) + direction * 2)
    pts = [(cx - half, base), (cx, tip), (cx + half, base)]
    if _signed_area(pts) > 0:
        pts.reverse()
    out.polygon(pts)
    out.rect(cx - half, min(bar, bar - direction * stroke * 0.8), cx + half,
             max(bar, bar - direction * stroke * 0.8))


MARK_STROKE = 96


def superscript_mark(out):
    # From the letters' middle up to above the capitals.
    arrow(out, HALF / 2, BASELINE + CAP_HEIGHT * 0.35, BOX_TOP + 40, MARK_STROKE)


def subscript_mark(out):
    arrow(out, HALF / 2, BASELINE + CAP_HEIGHT * 0.65, BOX_BOTTOM - 40, MARK_STROKE)


def symbols(dejavu):
    """The 77 symbols in table order: row i / 16, column i mod 16 of the picker."""
    table = [earth, earth_in_octagon]
    table += [letter_in_octagon(dejavu, chr(c)) for c in range(ord("A"), ord("Z") + 1)]
    table += [unit(dejavu, t) for t in [
        "mm", "cm", "km", "mm\u00b2", "cm\u00b2", "m\u00b2", "km\u00b2", "mm\u00b3", "cm\u00b3",
        "m\u00b3", "cc", "ml", "dl", "l", "mg", "kg", "\u00c5", "\u2103", "\u00b0K", "mA",
        "k\u03a9", "kW", "Hz", "%", "\u2030", "cal", "\u00a5", "$", "\u2205", "\u00a3", "TEL",
        "FAX", "KK", "No.", "am", "pm"]]
    table.append(lamp)
    table += [unit(dejavu, chr(c)) for c in range(0x2160, 0x216A)]  # Roman numerals one to ten
    table += [unit(dejavu, "\u03a6"), unit(dejavu, "\u03a9")]
    assert len(table) == 77, len(table)
    return table


def _line_metrics_xml(direction, ascender, descender, width):
    values = [("ascender", ascender), ("descender", descender), ("widthMax", width),
              ("caretSlopeNumerator", 1 if direction == "hori" else 0),
              ("caretSlopeDenominator", 0 if direction == "hori" else 1), ("caretOffset", 0),
              ("minOriginSB", 0), ("minAdvanceSB", 0), ("maxBeforeBL", ascender),
              ("minAfterBL", descender), ("pad1", 0), ("pad2", 0)]
    fields = "".join('<%s value="%d"/>' % v for v in values)
    return '<sbitLineMetrics direction="%s">%s</sbitLineMetrics>' % (direction, fields)


def add_song_bitmap_sizes(font):
    """One bitmap size per Song bitmap size, holding only an empty .notdef."""
    eblc, ebdt = [], []
    for i, (ppem, ascender, descender) in enumerate(SONG_BITMAP_SIZES):
        eblc.append(
            '<strike index="%d"><bitmapSizeTable>%s%s<colorRef value="0"/>'
            '<startGlyphIndex value="0"/><endGlyphIndex value="0"/><ppemX value="%d"/>'
            '<ppemY value="%d"/><bitDepth value="1"/><flags value="1"/></bitmapSizeTable>'
            '<eblc_index_sub_table_1 imageFormat="1" firstGlyphIndex="0" lastGlyphIndex="0">'
            '<glyphLoc id="0" name=".notdef"/></eblc_index_sub_table_1></strike>' %
            (i, _line_metrics_xml("hori", ascender, descender, ppem),
             _line_metrics_xml("vert", ppem // 2, -(ppem // 2), ppem), ppem, ppem))
        ebdt.append(
            '<strikedata index="%d"><ebdt_bitmap_format_1 name=".notdef"><SmallGlyphMetrics>'
            '<height value="1"/><width value="1"/><BearingX value="0"/><BearingY value="1"/>'
            '<Advance value="%d"/></SmallGlyphMetrics><rawimagedata>00</rawimagedata>'
            '</ebdt_bitmap_format_1></strikedata>' % (i, ppem))
    xml = ('<?xml version="1.0" encoding="UTF-8"?><ttFont><EBLC><header version="2.0"/>%s</EBLC>'
           '<EBDT><header version="2.0"/>%s</EBDT></ttFont>' % ("".join(eblc), "".join(ebdt)))
    font.bitmapGlyphDataFormat = "raw"
    font.importXML(io.StringIO(xml))


def build(dejavu_path, output):
    dejavu = DejaVu(dejavu_path)
    glyph_order = [".notdef"]
    glyphs = {}
    metrics = {}
    cmap = {}

    notdef = Outline()
    notdef.rect(100, 0, 924, 800)
    hole = [(170, 70), (854, 70), (854, 730), (170, 730)]
    notdef.polygon(hole)
    glyphs[".notdef"] = notdef.glyph()
    metrics[".notdef"] = FULL

    def add(code, draw, advance):
        name = "uni%04X" % code
        out = Outline()
        draw(out)
        glyph_order.append(name)
        glyphs[name] = out.glyph()
        metrics[name] = advance
        cmap[code] = name

    for i, draw in enumerate(symbols(dejavu)):
        add(FIRST_SYMBOL + i, draw, FULL)
    add(SUPERSCRIPT_MARK, superscript_mark, HALF)
    add(SUBSCRIPT_MARK, subscript_mark, HALF)

    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(glyph_order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    glyf = fb.font["glyf"]
    fb.setupHorizontalMetrics({n: (metrics[n], getattr(glyf[n], "xMin", 0)) for n in glyph_order})
    fb.setupHorizontalHeader(ascent=ASCENT, descent=DESCENT, lineGap=LINE_GAP)
    licence = open(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "DejaVu-LICENSE.txt"), encoding="utf-8").read()
    fb.setupNameTable({
        "copyright": COPYRIGHT,
        "familyName": FAMILY,
        "styleName": STYLE,
        "uniqueFontIdentifier": "qvprt: " + PS_NAME,
        "fullName": FAMILY,
        "version": VERSION,
        "psName": PS_NAME,
        "licenseDescription": licence.strip(),
    }, mac=False)
    fb.setupOS2(sTypoAscender=TYPO_ASCENT, sTypoDescender=TYPO_DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=-DESCENT, xAvgCharWidth=AVG_WIDTH,
                achVendID="QVPR", fsType=0, usWeightClass=400)
    fb.setupPost()
    fb.font["head"].flags = HEAD_FLAGS
    add_song_bitmap_sizes(fb.font)
    # A fixed date keeps the build reproducible.
    stamp = int(os.environ.get("SOURCE_DATE_EPOCH", "1577836800")) + 2082844800
    fb.font["head"].created = stamp
    fb.font["head"].modified = stamp
    fb.save(output)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dejavu", required=True, help="DejaVuSans.ttf")
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    build(args.dejavu, args.output)


if __name__ == "__main__":
    main()
