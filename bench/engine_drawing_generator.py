#!/usr/bin/env python3
"""Writes large AutoCAD 2000 text drawings (AC1015, CR LF, Shift-JIS) for the engine benchmarks.

Kinds of drawing:

  mixed      a nesting sheet of many parts with every entity type a design drawing holds:
             LINE, ARC, CIRCLE, TEXT (some in Japanese, some aligned so that a " 73" group
             closes them), MTEXT (long notes continued in "  3" groups), DIMENSION with its
             block, XLINE, POINT, and types that have no clean-up rule (LWPOLYLINE, INSERT
             with attributes, HATCH, ELLIPSE), on many layers and linetypes, some carrying
             extended data; grown until the file reaches --size-mb.
  lines      a realistic drawing of exactly --lines LINE records: part outlines whose edges
             arrive in pieces (touching, with small gaps, overlapping), duplicated and
             near-duplicated edges, pieces lying on edges, zero-length lines, nearly
             horizontal and vertical lines, slanted chamfers and engraving, with circles,
             arcs, text, points and dimensions around them.
  one-line   --lines pieces of one horizontal line, end to end, in shuffled order.
  grid       a --grid x --grid grid: --grid horizontal and --grid vertical lines, each cut
             at every second crossing, so every piece shares its coordinates with many
             others (--grid 1000 gives 1,000,000 LINE records), in shuffled order.
  identical  --lines copies of one line (--direction horizontal, vertical or slanted).
  slanted    --lines collinear slanted pieces (default 200,000), end to end, shuffled.

The same arguments always give the same bytes.

    python3 bench/engine_drawing_generator.py --kind mixed --size-mb 120 big.dxf
    python3 bench/engine_drawing_generator.py --kind grid --grid 1000 grid.dxf

Only the Python standard library is used.
"""

import argparse
import math
import os
import random
import shutil
import sys

CRLF = "\r\n"
MODEL_SPACE = "1F"   # handle of the *Model_Space block record, owner of every entity
PAPER_SPACE = "1B"
FIRST_HANDLE = 0x100        # tables and blocks count up from here
ENTITY_HANDLE = 0x1000000   # entities count up from here, far above the head
HANDSEED = "FFFFFFF"  # above every handle the generator hands out

LINETYPES = [
    ("ByBlock", "", []),
    ("ByLayer", "", []),
    ("Continuous", "Solid line", []),
    ("CENTER", "Center ____ _ ____ _ ____ _ ____", [1.25, -0.25, 0.25, -0.25]),
    ("DASHED", "Dashed __ __ __ __ __ __ __ __", [0.5, -0.25]),
    ("HIDDEN", "Hidden __ __ __ __ __ __ __ __", [0.25, -0.125]),
    ("PHANTOM", "Phantom ______  __  __  ______", [1.25, -0.25, 0.25, -0.25, 0.25, -0.25]),
    ("DOT", "Dot . . . . . . . . . . . . . .", [0.0, -0.25]),
]

# Layer name, colour, linetype. Japanese names are written in Shift-JIS.
LAYERS = [
    ("0", 7, "Continuous"), ("外形", 7, "Continuous"), ("穴", 4, "Continuous"),
    ("中心線", 1, "CENTER"), ("かくれ線", 3, "HIDDEN"), ("寸法", 2, "Continuous"),
    ("文字", 7, "Continuous"), ("補助線", 8, "Continuous"), ("刻印", 6, "Continuous"),
    ("曲げ線", 5, "PHANTOM"), ("ハッチ", 9, "Continuous"), ("DEFPOINTS", 7, "Continuous"),
    ("CUT_OUTER", 1, "Continuous"), ("CUT_INNER", 3, "Continuous"), ("MARKING", 30, "DASHED"),
]

JAPANESE_LABELS = ["あ", "部品", "ブラケット", "取付板", "カバー", "あいう", "補強板", "ステー"]
NOTE_LINES = ["指示なき角部はR0.5", "バリ取りのこと", "材質 SS400 t=3.2", "表面処理: なし",
              "General tolerance ISO 2768-m", "Break all sharp edges", "曲げ内R=t",
              "数量 2 (左右対称)"]


def num(value):
    """A coordinate as CAD programs write it: the shortest round-trip form, never an exponent."""
    text = repr(float(value))
    if "e" in text or "E" in text:
        text = f"{value:.10f}".rstrip("0")
        if text.endswith("."):
            text += "0"
    return text


def g(code, value):
    """One group: the code right-aligned in three columns, then the value."""
    return f"{code:>3}{CRLF}{value}{CRLF}"


def gi(code, value):
    """An integer group, the value right-aligned in six columns as AutoCAD writes it."""
    return f"{code:>3}{CRLF}{value:>6}{CRLF}"


class Handles:
    def __init__(self, first):
        self.next = first

    def __call__(self):
        h = self.next
        self.next += 1
        return f"{h:X}"


class Writer:
    """Encodes text to Shift-JIS and writes it in large blocks."""

    def __init__(self, stream):
        self.stream = stream
        self.parts = []
        self.pending = 0
        self.written = 0

    def add(self, text):
        self.parts.append(text)
        self.pending += len(text)
        if self.pending > 1 << 22:
            self.flush()

    def flush(self):
        if self.parts:
            data = "".join(self.parts).encode("cp932")
            self.stream.write(data)
            self.written += len(data)
            self.parts = []
            self.pending = 0


# --- entities ---------------------------------------------------------------------------------

def head(kind, h, layer, linetype=None, owner=MODEL_SPACE, colour=None, lineweight=None):
    text = f"  0{CRLF}{kind}{CRLF}  5{CRLF}{h}{CRLF}330{CRLF}{owner}{CRLF}100{CRLF}AcDbEntity{CRLF}"
    text += f"  8{CRLF}{layer}{CRLF}"
    if linetype is not None:
        text += f"  6{CRLF}{linetype}{CRLF}"
    if colour is not None:
        text += gi(62, colour)
    if lineweight is not None:
        text += gi(370, lineweight)
    return text


def line(h, layer, x1, y1, x2, y2, linetype=None, xdata="", owner=MODEL_SPACE, colour=None):
    return (head("LINE", h, layer, linetype, owner, colour) +
            f"100{CRLF}AcDbLine{CRLF} 10{CRLF}{num(x1)}{CRLF} 20{CRLF}{num(y1)}{CRLF} 30{CRLF}0.0{CRLF}"
            f" 11{CRLF}{num(x2)}{CRLF} 21{CRLF}{num(y2)}{CRLF} 31{CRLF}0.0{CRLF}" + xdata)


def circle(h, layer, x, y, r, linetype=None, xdata=""):
    return (head("CIRCLE", h, layer, linetype) +
            f"100{CRLF}AcDbCircle{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}"
            f" 40{CRLF}{num(r)}{CRLF}" + xdata)


def arc(h, layer, x, y, r, start, end, linetype=None):
    return (head("ARC", h, layer, linetype) +
            f"100{CRLF}AcDbCircle{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}"
            f" 40{CRLF}{num(r)}{CRLF}100{CRLF}AcDbArc{CRLF} 50{CRLF}{num(start)}{CRLF}"
            f" 51{CRLF}{num(end)}{CRLF}")


def point(h, layer, x, y, linetype=None, owner=MODEL_SPACE):
    return (head("POINT", h, layer, linetype, owner) +
            f"100{CRLF}AcDbPoint{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}")


def text_entity(h, layer, x, y, height, value, aligned=False):
    """A TEXT; an aligned one carries its alignment point and closes with a " 73" group."""
    body = (head("TEXT", h, layer) +
            f"100{CRLF}AcDbText{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}"
            f" 40{CRLF}{num(height)}{CRLF}  1{CRLF}{value}{CRLF}  7{CRLF}Standard{CRLF}")
    if aligned:
        body += gi(72, 1) + (f" 11{CRLF}{num(x)}{CRLF} 21{CRLF}{num(y)}{CRLF} 31{CRLF}0.0{CRLF}"
                             f"100{CRLF}AcDbText{CRLF}") + gi(73, 2)
    else:
        body += f"100{CRLF}AcDbText{CRLF}"
    return body


def mtext(h, layer, x, y, height, width, value, owner=MODEL_SPACE, attach=1):
    """An MTEXT; text longer than 250 characters continues in "  3" groups before the "  1"."""
    body = (head("MTEXT", h, layer, None, owner) +
            f"100{CRLF}AcDbMText{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}"
            f" 40{CRLF}{num(height)}{CRLF} 41{CRLF}{num(width)}{CRLF}" + gi(71, attach) + gi(72, 5))
    while len(value) > 250:
        body += g(3, value[:250])
        value = value[250:]
    body += g(1, value) + g(7, "Standard") + gi(73, 1) + g(44, "1.0")
    return body


def xline(h, layer, x, y, dx, dy):
    return (head("XLINE", h, layer) +
            f"100{CRLF}AcDbXline{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}"
            f" 11{CRLF}{num(dx)}{CRLF} 21{CRLF}{num(dy)}{CRLF} 31{CRLF}0.0{CRLF}")


def lwpolyline(h, layer, points, closed=True):
    body = head("LWPOLYLINE", h, layer) + f"100{CRLF}AcDbPolyline{CRLF}"
    body += gi(90, len(points)) + gi(70, 1 if closed else 0) + g(43, "0.0")
    for x, y in points:
        body += f" 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF}"
    return body


def insert(handles, layer, name, x, y, attributes=()):
    body = head("INSERT", handles(), layer)
    if attributes:
        body += gi(66, 1)
    body += (f"100{CRLF}AcDbBlockReference{CRLF}  2{CRLF}{name}{CRLF} 10{CRLF}{num(x)}{CRLF}"
             f" 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}")
    for tag, value in attributes:
        body += (head("ATTRIB", handles(), layer) +
                 f"100{CRLF}AcDbText{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y - 4)}{CRLF}"
                 f" 30{CRLF}0.0{CRLF} 40{CRLF}2.5{CRLF}  1{CRLF}{value}{CRLF}"
                 f"100{CRLF}AcDbAttribute{CRLF}  2{CRLF}{tag}{CRLF}" + gi(70, 0))
    if attributes:
        body += head("SEQEND", handles(), layer)
    return body


def hatch(h, layer, x0, y0, x1, y1):
    body = (head("HATCH", h, layer) +
            f"100{CRLF}AcDbHatch{CRLF} 10{CRLF}0.0{CRLF} 20{CRLF}0.0{CRLF} 30{CRLF}0.0{CRLF}"
            f"210{CRLF}0.0{CRLF}220{CRLF}0.0{CRLF}230{CRLF}1.0{CRLF}  2{CRLF}ANSI31{CRLF}" +
            gi(70, 0) + gi(71, 0) + gi(91, 1) + gi(92, 3) + gi(72, 0) + gi(73, 1) + gi(93, 4))
    for x, y in ((x0, y0), (x1, y0), (x1, y1), (x0, y1)):
        body += f" 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF}"
    body += gi(97, 0) + gi(75, 1) + gi(76, 1) + g(52, "45.0") + g(41, "1.0") + gi(77, 0)
    body += gi(78, 1) + g(53, "45.0") + g(43, "0.0") + g(44, "0.0") + g(45, "-2.2450640303")
    body += g(46, "2.2450640303") + gi(79, 0) + gi(98, 1)
    body += f" 10{CRLF}{num((x0 + x1) / 2)}{CRLF} 20{CRLF}{num((y0 + y1) / 2)}{CRLF}"
    return body


def ellipse(h, layer, x, y, major, ratio):
    return (head("ELLIPSE", h, layer) +
            f"100{CRLF}AcDbEllipse{CRLF} 10{CRLF}{num(x)}{CRLF} 20{CRLF}{num(y)}{CRLF} 30{CRLF}0.0{CRLF}"
            f" 11{CRLF}{num(major)}{CRLF} 21{CRLF}0.0{CRLF} 31{CRLF}0.0{CRLF}"
            f"210{CRLF}0.0{CRLF}220{CRLF}0.0{CRLF}230{CRLF}1.0{CRLF} 40{CRLF}{num(ratio)}{CRLF}"
            f" 41{CRLF}0.0{CRLF} 42{CRLF}6.283185307179586{CRLF}")


def cam_xdata(rng):
    """Extended data of the kind a CAM add-on leaves on an entity."""
    return (g(1001, "CAMINFO") + g(1002, "{") + g(1000, rng.choice(["cut", "mark", "skip"])) +
            g(1040, num(round(rng.uniform(0.5, 3.0), 2))) + gi(1070, rng.randint(1, 9)) +
            g(1002, "}"))


class Dimensions:
    """The linear dimensions of a drawing; each is drawn by an anonymous block *Dn, written into
    the BLOCKS section once every entity is known."""

    def __init__(self):
        self.items = []  # (name, p1, p2, line_at, vertical)

    def add(self, handles, layer, p1, p2, line_at, vertical):
        name = f"*D{len(self.items) + 1}"
        self.items.append((name, p1, p2, line_at, vertical))
        if vertical:
            d2 = (line_at, p2[1])
            text_at = (line_at - 1.25, (p1[1] + p2[1]) / 2)
            measurement, rotation = abs(p2[1] - p1[1]), "90.0"
        else:
            d2 = (p2[0], line_at)
            text_at = ((p1[0] + p2[0]) / 2, line_at + 1.25)
            measurement, rotation = abs(p2[0] - p1[0]), "0.0"
        return (head("DIMENSION", handles(), layer) +
                f"100{CRLF}AcDbDimension{CRLF}  2{CRLF}{name}{CRLF}"
                f" 10{CRLF}{num(d2[0])}{CRLF} 20{CRLF}{num(d2[1])}{CRLF} 30{CRLF}0.0{CRLF}"
                f" 11{CRLF}{num(text_at[0])}{CRLF} 21{CRLF}{num(text_at[1])}{CRLF} 31{CRLF}0.0{CRLF}" +
                gi(70, 32) + gi(71, 5) + g(42, num(measurement)) + g(3, "Standard") +
                f"100{CRLF}AcDbAlignedDimension{CRLF}"
                f" 13{CRLF}{num(p1[0])}{CRLF} 23{CRLF}{num(p1[1])}{CRLF} 33{CRLF}0.0{CRLF}"
                f" 14{CRLF}{num(p2[0])}{CRLF} 24{CRLF}{num(p2[1])}{CRLF} 34{CRLF}0.0{CRLF}"
                f" 50{CRLF}{rotation}{CRLF}100{CRLF}AcDbRotatedDimension{CRLF}")

    @staticmethod
    def block_body(handles, record, item):
        name, p1, p2, line_at, vertical = item
        layer = "寸法"
        if vertical:
            d1, d2 = (line_at, p1[1]), (line_at, p2[1])
            measurement = abs(p2[1] - p1[1])
            text_at = (line_at - 1.25, (p1[1] + p2[1]) / 2)
        else:
            d1, d2 = (p1[0], line_at), (p2[0], line_at)
            measurement = abs(p2[0] - p1[0])
            text_at = ((p1[0] + p2[0]) / 2, line_at + 1.25)
        body = ""
        for origin, foot in ((p1, d1), (p2, d2)):
            ux, uy = foot[0] - origin[0], foot[1] - origin[1]
            length = math.hypot(ux, uy) or 1.0
            ux, uy = ux / length, uy / length
            body += line(handles(), layer, round(origin[0] + ux * 0.625, 4),
                         round(origin[1] + uy * 0.625, 4), round(foot[0] + ux * 1.25, 4),
                         round(foot[1] + uy * 1.25, 4), owner=record)
        body += line(handles(), layer, d1[0], d1[1], d2[0], d2[1], owner=record)
        label = f"{measurement:g}"
        body += mtext(handles(), layer, text_at[0], text_at[1], 2.5, 0.0,
                      ("\\A1;" if vertical else "") + label, owner=record, attach=8)
        for p in (p1, p2, d2):
            body += point(handles(), "DEFPOINTS", p[0], p[1], owner=record)
        return body


# --- the file around the entities -------------------------------------------------------------

def table(handles, name, entries, extra=""):
    h = handles()
    body = g(0, "TABLE") + g(2, name) + g(5, h) + g(330, "0") + g(100, "AcDbSymbolTable")
    body += gi(70, len(entries)) + extra
    for kind, subclass, fields in entries:
        body += g(0, kind) + g(105 if kind == "DIMSTYLE" else 5, handles()) + g(330, h)
        body += g(100, "AcDbSymbolTableRecord") + g(100, subclass) + fields
    return body + g(0, "ENDTAB")


# Named blocks that INSERTs refer to: a part mark and a title block with attributes.
NAMED_BLOCKS = {
    "MARK": [("line", -2, 0, 2, 0), ("line", 0, -2, 0, 2), ("circle", 0, 0, 1.5)],
    "TITLE": [("line", 0, 0, 60, 0), ("line", 60, 0, 60, 20), ("line", 60, 20, 0, 20),
              ("line", 0, 20, 0, 0), ("line", 0, 10, 60, 10)],
}


def write_head(w, handles, dims, extent):
    x0, y0, x1, y1 = extent
    out = [g(0, "SECTION"), g(2, "HEADER"), g(9, "$ACADVER"), g(1, "AC1015"),
           g(9, "$ACADMAINTVER"), gi(70, 6), g(9, "$DWGCODEPAGE"), g(3, "ANSI_932"),
           g(9, "$INSBASE"), g(10, "0.0"), g(20, "0.0"), g(30, "0.0"),
           g(9, "$EXTMIN"), g(10, num(x0)), g(20, num(y0)), g(30, "0.0"),
           g(9, "$EXTMAX"), g(10, num(x1)), g(20, num(y1)), g(30, "0.0"),
           g(9, "$LIMMIN"), g(10, "0.0"), g(20, "0.0"),
           g(9, "$LIMMAX"), g(10, num(x1)), g(20, num(y1)),
           g(9, "$LTSCALE"), g(40, "1.0"), g(9, "$INSUNITS"), gi(70, 4),
           g(9, "$MEASUREMENT"), gi(70, 1), g(9, "$HANDSEED"), g(5, HANDSEED),
           g(0, "ENDSEC"), g(0, "SECTION"), g(2, "CLASSES"), g(0, "ENDSEC"),
           g(0, "SECTION"), g(2, "TABLES")]
    width, height = max(x1 - x0, 1.0), max(y1 - y0, 1.0)
    out.append(table(handles, "VPORT", [("VPORT", "AcDbViewportTableRecord",
        g(2, "*Active") + gi(70, 0) + g(10, "0.0") + g(20, "0.0") + g(11, "1.0") + g(21, "1.0") +
        g(12, num((x0 + x1) / 2)) + g(22, num((y0 + y1) / 2)) + g(40, num(round(height * 1.1, 1))) +
        g(41, num(round(width / height, 4))) + g(42, "50.0"))]))
    ltypes = []
    for name, description, pattern in LINETYPES:
        fields = g(2, name) + gi(70, 0) + g(3, description) + gi(72, 65) + gi(73, len(pattern))
        fields += g(40, num(sum(abs(d) for d in pattern)))
        for dash in pattern:
            fields += g(49, num(dash)) + gi(74, 0)
        ltypes.append(("LTYPE", "AcDbLinetypeTableRecord", fields))
    out.append(table(handles, "LTYPE", ltypes))
    out.append(table(handles, "LAYER", [
        ("LAYER", "AcDbLayerTableRecord", g(2, name) + gi(70, 0) + gi(62, colour) + g(6, ltype) +
         gi(290, 0 if name == "DEFPOINTS" else 1) + gi(370, -3))
        for name, colour, ltype in LAYERS]))
    out.append(table(handles, "STYLE", [("STYLE", "AcDbTextStyleTableRecord",
        g(2, "Standard") + gi(70, 0) + g(40, "0.0") + g(41, "1.0") + g(50, "0.0") + gi(71, 0) +
        g(42, "2.5") + g(3, "txt") + g(4, "bigfont.shx"))]))
    out.append(table(handles, "VIEW", []))
    out.append(table(handles, "UCS", []))
    out.append(table(handles, "APPID", [("APPID", "AcDbRegAppTableRecord", g(2, n) + gi(70, 0))
                                        for n in ("ACAD", "CAMINFO")]))
    out.append(table(handles, "DIMSTYLE", [("DIMSTYLE", "AcDbDimStyleTableRecord",
        g(2, "Standard") + gi(70, 0) + g(41, "2.5") + g(42, "0.625") + g(43, "3.75") +
        g(44, "1.25") + g(140, "2.5"))], extra=g(100, "AcDbDimStyleTable")))
    for text in out:
        w.add(text)

    # Block records: model and paper space, the named blocks, one per dimension.
    records = [("*Model_Space", MODEL_SPACE), ("*Paper_Space", PAPER_SPACE)]
    records += [(name, handles()) for name in NAMED_BLOCKS]
    records += [(item[0], handles()) for item in dims.items]
    table_handle = handles()
    w.add(g(0, "TABLE") + g(2, "BLOCK_RECORD") + g(5, table_handle) + g(330, "0") +
          g(100, "AcDbSymbolTable") + gi(70, len(records)))
    for name, record in records:
        w.add(g(0, "BLOCK_RECORD") + g(5, record) + g(330, table_handle) +
              g(100, "AcDbSymbolTableRecord") + g(100, "AcDbBlockTableRecord") + g(2, name))
    w.add(g(0, "ENDTAB") + g(0, "ENDSEC") + g(0, "SECTION") + g(2, "BLOCKS"))

    by_name = dict(records)
    item_by_name = {item[0]: item for item in dims.items}
    for name, record in records:
        paper = gi(67, 1) if name == "*Paper_Space" else ""
        anonymous = name.startswith("*D")
        body = ""
        if name in NAMED_BLOCKS:
            for shape in NAMED_BLOCKS[name]:
                if shape[0] == "line":
                    body += line(handles(), "0", *shape[1:], owner=by_name[name])
                else:
                    body += head("CIRCLE", handles(), "0", owner=by_name[name])
                    body += (f"100{CRLF}AcDbCircle{CRLF} 10{CRLF}{num(shape[1])}{CRLF}"
                             f" 20{CRLF}{num(shape[2])}{CRLF} 30{CRLF}0.0{CRLF}"
                             f" 40{CRLF}{num(shape[3])}{CRLF}")
            if name == "TITLE":
                for tag, y in (("PARTNO", 14), ("MATERIAL", 4)):
                    body += (head("ATTDEF", handles(), "0", owner=record) +
                             f"100{CRLF}AcDbText{CRLF} 10{CRLF}2.0{CRLF} 20{CRLF}{num(y)}{CRLF}"
                             f" 30{CRLF}0.0{CRLF} 40{CRLF}2.5{CRLF}  1{CRLF}{CRLF}"
                             f"100{CRLF}AcDbAttributeDefinition{CRLF}  3{CRLF}{tag}?{CRLF}"
                             f"  2{CRLF}{tag}{CRLF}" + gi(70, 0))
        elif anonymous:
            body = Dimensions.block_body(handles, record, item_by_name[name])
        w.add(g(0, "BLOCK") + g(5, handles()) + g(330, record) + g(100, "AcDbEntity") + paper +
              g(8, "0") + g(100, "AcDbBlockBegin") + g(2, name) + gi(70, 1 if anonymous else 0) +
              g(10, "0.0") + g(20, "0.0") + g(30, "0.0") + g(3, name) + g(1, "") + body +
              g(0, "ENDBLK") + g(5, handles()) + g(330, record) + g(100, "AcDbEntity") + paper +
              g(8, "0") + g(100, "AcDbBlockEnd"))
    w.add(g(0, "ENDSEC") + g(0, "SECTION") + g(2, "ENTITIES"))


def write_tail(w, handles):
    root, groups = handles(), handles()
    w.add(g(0, "ENDSEC") + g(0, "SECTION") + g(2, "OBJECTS") +
          g(0, "DICTIONARY") + g(5, root) + g(330, "0") + g(100, "AcDbDictionary") + gi(281, 1) +
          g(3, "ACAD_GROUP") + g(350, groups) +
          g(0, "DICTIONARY") + g(5, groups) + g(330, root) + g(100, "AcDbDictionary") + gi(281, 1) +
          g(0, "ENDSEC") + g(0, "EOF"))


# --- the kinds of drawing ---------------------------------------------------------------------

class Sheet:
    """Places parts side by side in rows on a nesting sheet."""

    def __init__(self, width=3000.0):
        self.width, self.x, self.y, self.row_height = width, 0.0, 0.0, 0.0
        self.extent = [0.0, 0.0, 0.0, 0.0]

    def place(self, w, h):
        if self.x + w > self.width:
            self.x, self.y = 0.0, self.y + self.row_height + 40.0
            self.row_height = 0.0
        origin = (self.x, self.y)
        self.x += w + 40.0
        self.row_height = max(self.row_height, h)
        self.extent = [min(self.extent[0], origin[0]), min(self.extent[1], origin[1] - 40),
                       max(self.extent[2], origin[0] + w + 40), max(self.extent[3], origin[1] + h + 40)]
        return origin


def edge_pieces(rng, a, b):
    """Cuts the stretch a..b of an edge into pieces that touch, leave a small gap or overlap."""
    count = rng.choice((1, 1, 1, 2, 2, 3, 4))
    cuts = sorted(round(rng.uniform(a, b), 2) for _ in range(count - 1))
    pieces, start = [], a
    for cut in cuts:
        if cut - start < 1.0 or b - cut < 1.0:
            continue
        joint = rng.random()
        if joint < 0.6:
            pieces.append((start, cut))
            start = cut
        elif joint < 0.8:
            gap = rng.choice((0.001, 0.01, 0.05, 0.1, 0.2))
            pieces.append((start, cut))
            start = round(cut + gap, 4)
        else:
            overlap = rng.choice((0.1, 0.5, 1.0, 5.0))
            pieces.append((start, cut))
            start = round(max(a, cut - overlap), 4)
    pieces.append((start, b))
    return pieces


def mixed_part(rng, handles, dims, sheet, index):
    """One part of the mixed drawing, about 5 KB of records."""
    w, h = round(rng.uniform(60, 300), 1), round(rng.uniform(40, 200), 1)
    ox, oy = sheet.place(w, h)
    r = round(min(w, h) * rng.uniform(0.03, 0.1), 2)
    out = []
    outline = rng.choice(("外形", "CUT_OUTER"))
    inner = rng.choice(("穴", "CUT_INNER"))
    # The outline: four edges between four corner fillets; the edges sometimes in pieces.
    corners = [(ox + w - r, oy + r, 270.0), (ox + w - r, oy + h - r, 0.0),
               (ox + r, oy + h - r, 90.0), (ox + r, oy + r, 180.0)]
    edges = [((ox + r, oy), (ox + w - r, oy)), ((ox + w, oy + r), (ox + w, oy + h - r)),
             ((ox + w - r, oy + h), (ox + r, oy + h)), ((ox, oy + h - r), (ox, oy + r))]
    for (x1, y1), (x2, y2) in edges:
        horizontal = y1 == y2
        a, b = (min(x1, x2), max(x1, x2)) if horizontal else (min(y1, y2), max(y1, y2))
        for p, q in edge_pieces(rng, a, b):
            xd = cam_xdata(rng) if rng.random() < 0.15 else ""
            lt = rng.choice((None, None, None, None, "Continuous", "ByBlock", "ByLayer"))
            if horizontal:
                out.append(line(handles(), outline, round(p, 4), y1, round(q, 4), y1, lt, xd))
            else:
                out.append(line(handles(), outline, x1, round(p, 4), x1, round(q, 4), lt, xd))
    for cx, cy, start in corners:
        out.append(arc(handles(), outline, round(cx, 4), round(cy, 4), r, start, (start + 90) % 360))
    # Holes with their centre lines, some drawn in explicit linetypes.
    for _ in range(rng.randint(1, 4)):
        hr = round(rng.uniform(2, min(w, h) / 8), 2)
        hx, hy = round(ox + rng.uniform(hr + r, w - hr - r), 3), round(oy + rng.uniform(hr + r, h - hr - r), 3)
        xd = cam_xdata(rng) if rng.random() < 0.2 else ""
        out.append(circle(handles(), inner, hx, hy, hr, None, xd))
        lt = rng.choice(("CENTER", "CENTER", None))
        out.append(line(handles(), "中心線", round(hx - hr * 1.3, 4), hy, round(hx + hr * 1.3, 4), hy, lt))
        out.append(line(handles(), "中心線", hx, round(hy - hr * 1.3, 4), hx, round(hy + hr * 1.3, 4), lt))
        if rng.random() < 0.3:
            out.append(circle(handles(), "かくれ線", hx, hy, round(hr * 1.4, 2), "HIDDEN"))
        if rng.random() < 0.5:
            out.append(point(handles(), inner, hx, hy, rng.choice((None, None, "DASHED"))))
    # A slot: two lines and two half circles.
    sx, sy, sl, sr = ox + w * 0.3, oy + h * 0.7, w * 0.3, min(w, h) * 0.05
    out.append(line(handles(), inner, round(sx, 4), round(sy - sr, 4), round(sx + sl, 4), round(sy - sr, 4)))
    out.append(line(handles(), inner, round(sx + sl, 4), round(sy + sr, 4), round(sx, 4), round(sy + sr, 4)))
    out.append(arc(handles(), inner, round(sx + sl, 4), round(sy, 4), round(sr, 4), 270.0, 90.0))
    out.append(arc(handles(), inner, round(sx, 4), round(sy, 4), round(sr, 4), 90.0, 270.0,
                   rng.choice((None, None, "DASHED"))))
    # A chamfer-like slanted engraving line, a bend line and now and then a tiny leftover.
    out.append(line(handles(), "刻印", round(ox + w * 0.1, 4), round(oy + h * 0.1, 4),
                    round(ox + w * 0.25, 4), round(oy + h * 0.3, 4)))
    if rng.random() < 0.4:
        out.append(line(handles(), "曲げ線", ox, round(oy + h * 0.5, 4), ox + w, round(oy + h * 0.5, 4),
                        rng.choice(("PHANTOM", "BYLAYER", None)), colour=5))
    if rng.random() < 0.3:
        out.append(line(handles(), outline, round(ox + 1, 4), round(oy + 1, 4), round(ox + 1.3, 4), round(oy + 1, 4)))
    if rng.random() < 0.2:
        out.append(circle(handles(), inner, round(ox + 2, 4), round(oy + 2, 4), 0.3))
    # Annotation: label, aligned material text, notes, dimensions, construction lines.
    if rng.random() < 0.4:
        label = f"{rng.choice(JAPANESE_LABELS)} {index:05d}"
    else:
        label = f"P-{index:05d}"
    out.append(text_entity(handles(), "文字", round(ox + 5, 4), round(oy + h + 5, 4), 3.5, label))
    if rng.random() < 0.5:
        out.append(text_entity(handles(), "文字", round(ox + w / 2, 4), round(oy + h / 2, 4), 2.5,
                               rng.choice(("t=3.2 SS400", "t=1.6 SUS304", "t=2.3 SPCC", "あ")),
                               aligned=True))
    if rng.random() < 0.1:
        out.append(text_entity(handles(), "文字", round(ox + 5, 4), round(oy + 5, 4), 2.5, "   "))
    if index % 4 == 0:
        lines = rng.sample(NOTE_LINES, 3)
        note = "\\P".join(f"{i + 1}. {t}" for i, t in enumerate(lines))
        if index % 16 == 0:
            note = "{\\fＭＳ ゴシック|b0|i0|c128|p49;" + (note + "\\P") * 8 + "}"
        out.append(mtext(handles(), "文字", round(ox, 4), round(oy - 8, 4), 2.5, round(w, 1), note))
    vertical = index % 2 == 1
    if vertical:
        out.append(dims.add(handles, "寸法", (ox + w, oy + r), (ox + w, oy + h - r), round(ox + w + 12, 4), True))
    else:
        out.append(dims.add(handles, "寸法", (ox + r, oy), (ox + w - r, oy), round(oy - 12, 4), False))
    if index % 10 == 0:
        out.append(xline(handles(), "補助線", round(ox, 4), round(oy + h / 2, 4), 1.0, 0.0))
        out.append(xline(handles(), "補助線", round(ox + w / 2, 4), round(oy, 4), 0.0, 1.0))
    # Entities no clean-up rule touches.
    out.append(lwpolyline(handles(), "刻印", [(round(ox + w * 0.6, 4), round(oy + h * 0.1, 4)),
                                             (round(ox + w * 0.9, 4), round(oy + h * 0.1, 4)),
                                             (round(ox + w * 0.9, 4), round(oy + h * 0.25, 4)),
                                             (round(ox + w * 0.6, 4), round(oy + h * 0.25, 4))]))
    out.append(insert(handles, "MARKING", "MARK", round(ox + w * 0.75, 4), round(oy + h * 0.5, 4)))
    if index % 8 == 0:
        out.append(insert(handles, "文字", "TITLE", round(ox, 4), round(oy - 40, 4),
                          [("PARTNO", label), ("MATERIAL", "SS400")]))
    if index % 3 == 0:
        out.append(hatch(handles(), "ハッチ", round(ox + w * 0.6, 4), round(oy + h * 0.1, 4),
                         round(ox + w * 0.9, 4), round(oy + h * 0.25, 4)))
    if index % 20 == 0:
        out.append(ellipse(handles(), "刻印", round(ox + w / 2, 4), round(oy + h / 2, 4), round(w / 8, 3), 0.5))
    return "".join(out)


def generate_mixed(args, w):
    rng = random.Random(args.seed)
    handles, dims, sheet = Handles(ENTITY_HANDLE), Dimensions(), Sheet()
    target = args.size_mb * 1_000_000
    # The dimension blocks go into the head, so count what they will weigh as the parts come.
    block_bytes, block_handles, index = 0, Handles(FIRST_HANDLE), 0
    while w.written + w.pending + block_bytes < target:
        index += 1
        w.add(mixed_part(rng, handles, dims, sheet, index))
        block_bytes += len(Dimensions.block_body(block_handles, "0", dims.items[-1]).encode("cp932")) + 250
    return handles, dims, sheet.extent


def lines_part(rng, handles, sheet, index, emit):
    """One part of the realistic line drawing; emit(text, is_line) receives every record."""
    w, h = round(rng.uniform(40, 400), 1), round(rng.uniform(30, 300), 1)
    ox, oy = sheet.place(w, h)
    layer = rng.choice(("外形", "外形", "CUT_OUTER"))
    c = round(min(w, h) * rng.uniform(0.05, 0.15), 2)   # chamfer at the upper right corner
    segments = []   # (x1, y1, x2, y2, layer, linetype)

    def straight(x1, y1, x2, y2, lay=layer, lt=None):
        horizontal = y1 == y2
        a, b = (x1, x2) if horizontal else (y1, y2)
        for p, q in edge_pieces(rng, min(a, b), max(a, b)):
            if rng.random() < 0.5:
                p, q = q, p
            if horizontal:
                segments.append((p, y1, q, y1, lay, lt))
            else:
                segments.append((x1, p, x1, q, lay, lt))

    straight(ox, oy, ox + w, oy)
    straight(ox + w, oy, ox + w, oy + h - c)
    straight(ox + w - c, oy + h, ox, oy + h)
    straight(ox, oy + h, ox, oy)
    segments.append((ox + w, oy + h - c, ox + w - c, oy + h, layer, None))
    # Rectangular cut-outs.
    for _ in range(rng.randint(0, 3)):
        cw, ch = round(rng.uniform(4, w / 4), 2), round(rng.uniform(4, h / 4), 2)
        cx, cy = round(ox + rng.uniform(5, w - cw - 5), 3), round(oy + rng.uniform(5, h - ch - 5), 3)
        straight(cx, cy, cx + cw, cy, "CUT_INNER")
        straight(cx + cw, cy, cx + cw, cy + ch, "CUT_INNER")
        straight(cx + cw, cy + ch, cx, cy + ch, "CUT_INNER")
        straight(cx, cy + ch, cx, cy, "CUT_INNER")
    # Slanted engraving: parallel hatch strokes, some in two collinear pieces.
    for k in range(rng.randint(2, 6)):
        x1, y1 = round(ox + w * 0.1 + k * 2.0, 3), round(oy + h * 0.1, 3)
        x2, y2 = round(x1 + 10.0, 3), round(y1 + 7.5, 3)
        if rng.random() < 0.3:
            segments.append((x1, y1, round(x1 + 4.0, 3), round(y1 + 3.0, 3), "刻印", None))
            segments.append((round(x1 + 4.0, 3), round(y1 + 3.0, 3), x2, y2, "刻印", None))
        else:
            segments.append((x1, y1, x2, y2, "刻印", None))
    # Centre lines of holes (explicit linetype) and nearly straight lines from sloppy exports.
    for _ in range(rng.randint(0, 3)):
        hx, hy = round(ox + rng.uniform(10, w - 10), 3), round(oy + rng.uniform(10, h - 10), 3)
        segments.append((hx - 4, hy, hx + 4, hy, "中心線", "CENTER"))
        segments.append((hx, hy - 4, hx, hy + 4, "中心線", "CENTER"))
    if rng.random() < 0.3:
        y = round(oy + h * 0.5, 3)
        segments.append((ox + w * 0.2, y, ox + w * 0.5, round(y + rng.choice((0.0004, 0.001, 0.003)), 4),
                         "曲げ線", None))
        segments.append((ox + w * 0.5, y, ox + w * 0.8, y, "曲げ線", None))

    # Duplicates as merged drawings have them.
    extra = []
    for s in segments:
        roll = rng.random()
        if roll < 0.10:
            extra.append(s if rng.random() < 0.5 else (s[2], s[3], s[0], s[1], s[4], s[5]))
        elif roll < 0.13:
            d = rng.choice((0.001, 0.005, 0.01, 0.05))
            if s[1] == s[3]:
                extra.append((s[0], round(s[1] + d, 4), s[2], round(s[3] + d, 4), s[4], s[5]))
            else:
                extra.append((round(s[0] + d, 4), s[1], round(s[2] + d, 4), s[3], s[4], s[5]))
        elif roll < 0.15:
            extra.append((s[0], s[1], s[2], s[3], "0", s[5]))
        elif roll < 0.17:
            t1, t2 = sorted((rng.uniform(0.1, 0.9), rng.uniform(0.1, 0.9)))
            extra.append((round(s[0] + (s[2] - s[0]) * t1, 4), round(s[1] + (s[3] - s[1]) * t1, 4),
                          round(s[0] + (s[2] - s[0]) * t2, 4), round(s[1] + (s[3] - s[1]) * t2, 4),
                          s[4], s[5]))
        elif roll < 0.18:
            extra.append((s[0], s[1], s[0], s[1], s[4], s[5]))
    segments += extra
    if rng.random() < 0.7:
        rng.shuffle(segments)
    for x1, y1, x2, y2, lay, lt in segments:
        if not emit(line(handles(), lay, round(x1, 4), round(y1, 4), round(x2, 4), round(y2, 4), lt), True):
            return
    # Other entities around the lines.
    for _ in range(rng.randint(1, 3)):
        emit(circle(handles(), "穴", round(ox + rng.uniform(8, w - 8), 3), round(oy + rng.uniform(8, h - 8), 3),
                    round(rng.uniform(1, 6), 2)), False)
    emit(arc(handles(), layer, round(ox + w / 2, 3), round(oy + h / 2, 3), round(min(w, h) / 5, 2), 0.0,
             rng.choice((45.0, 90.0, 180.0))), False)
    label = f"{rng.choice(JAPANESE_LABELS)} {index:05d}" if rng.random() < 0.4 else f"P-{index:05d}"
    emit(text_entity(handles(), "文字", round(ox + 2, 3), round(oy + h + 4, 3), 3.0, label,
                     aligned=rng.random() < 0.3), False)
    if index % 5 == 0:
        emit(point(handles(), "穴", round(ox + w / 3, 3), round(oy + h / 3, 3)), False)
    if index % 10 == 0:
        emit(mtext(handles(), "文字", round(ox, 3), round(oy - 6, 3), 2.5, round(w, 1),
                   "\\P".join(rng.sample(NOTE_LINES, 2))), False)


def generate_lines(args, w):
    rng = random.Random(args.seed)
    handles, sheet = Handles(ENTITY_HANDLE), Sheet(width=20000.0)
    dims = Dimensions()
    count, index = 0, 0

    def emit(text, is_line):
        nonlocal count
        if is_line:
            if count >= args.lines:
                return False
            count += 1
        w.add(text)
        return True

    while count < args.lines:
        index += 1
        lines_part(rng, handles, sheet, index, emit)
        if index % 25 == 0 and count < args.lines:
            x0, y0 = sheet.x - 40.0, sheet.y
            w.add(dims.add(handles, "寸法", (round(x0 - 60, 3), y0), (round(x0, 3), y0), round(y0 - 10, 3), False))
    return handles, dims, sheet.extent


def generate_pieces(w, pieces, extent):
    """Writes the given (x1, y1, x2, y2) pieces as LINE records in the order given."""
    handles = Handles(ENTITY_HANDLE)
    for x1, y1, x2, y2 in pieces:
        w.add(line(handles(), "外形", x1, y1, x2, y2))
    return handles, Dimensions(), extent


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("output", help="the drawing to write")
    parser.add_argument("--kind", choices=("mixed", "lines", "one-line", "grid", "identical", "slanted"),
                        default="mixed")
    parser.add_argument("--size-mb", type=float, default=120.0, help="mixed: size to reach (MB)")
    parser.add_argument("--lines", type=int, help="LINE records (default 1,000,000; slanted 200,000)")
    parser.add_argument("--grid", type=int, default=1000, help="grid: lines in each direction")
    parser.add_argument("--direction", choices=("horizontal", "vertical", "slanted"), default="horizontal",
                        help="identical: the direction of the line")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    if args.lines is None:
        args.lines = 200_000 if args.kind == "slanted" else 1_000_000

    rng = random.Random(args.seed)
    if args.kind == "one-line":
        pieces = [(float(k), 0.0, float(k + 1), 0.0) for k in range(args.lines)]
        rng.shuffle(pieces)
        generator = lambda w: generate_pieces(w, pieces, [0.0, -1.0, float(args.lines), 1.0])
    elif args.kind == "grid":
        step, n = 10.0, args.grid
        pieces = [(float(2 * k * step), j * step, float((2 * k + 2) * step), j * step)
                  for j in range(n) for k in range(n // 2)]
        pieces += [(i * step, float(2 * k * step), i * step, float((2 * k + 2) * step))
                   for i in range(n) for k in range(n // 2)]
        rng.shuffle(pieces)
        generator = lambda w: generate_pieces(w, pieces, [0.0, 0.0, n * step, n * step])
    elif args.kind == "identical":
        one = {"horizontal": (0.0, 50.0, 100.0, 50.0), "vertical": (50.0, 0.0, 50.0, 100.0),
               "slanted": (0.0, 0.0, 80.0, 60.0)}[args.direction]
        generator = lambda w: generate_pieces(w, [one] * args.lines, [0.0, 0.0, 100.0, 100.0])
    elif args.kind == "slanted":
        pieces = [(float(k + 1), 0.75 * (k + 1) + 3.0, float(k), 0.75 * k + 3.0) for k in range(args.lines)]
        rng.shuffle(pieces)
        generator = lambda w: generate_pieces(w, pieces, [0.0, 0.0, float(args.lines),
                                                          0.75 * args.lines + 3.0])
    elif args.kind == "lines":
        generator = lambda w: generate_lines(args, w)
    else:
        generator = lambda w: generate_mixed(args, w)

    # The entities are written first to a side file, because the head lists the blocks of the
    # dimensions they hold; the drawing is then put together in the target file.
    entities_path = args.output + ".entities"
    try:
        with open(entities_path, "wb") as side:
            ew = Writer(side)
            handles, dims, extent = generator(ew)
            ew.flush()
        with open(args.output, "wb") as target:
            tw = Writer(target)
            head_handles = Handles(FIRST_HANDLE)
            write_head(tw, head_handles, dims, extent)
            tw.flush()
            with open(entities_path, "rb") as side:
                shutil.copyfileobj(side, target, 1 << 22)
            write_tail(tw, handles)
            tw.flush()
    finally:
        if os.path.exists(entities_path):
            os.remove(entities_path)
    print(f"{args.output}: {os.path.getsize(args.output)} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
