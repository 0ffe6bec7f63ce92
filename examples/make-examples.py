#!/usr/bin/env python3
"""Writes the small example drawings of this folder.

Each drawing is an AutoCAD 2000 text DXF ($ACADVER AC1015) with CR LF line ends and
Shift-JIS text ($DWGCODEPAGE ANSI_932): a header, the tables it needs (viewport, linetypes,
layers, text style, application ids, dimension style, block records), the blocks, the
entities and a root dictionary. The output is the same on every run, so the files can be
regenerated and compared.

    python3 examples/make-examples.py            # writes beside this script
    python3 examples/make-examples.py OUT_DIR    # writes into OUT_DIR

Only the Python standard library is used.
"""

import math
import pathlib
import sys

# Linetypes every drawing carries: name, description, pattern (dash lengths; negative = gap).
LINETYPES = [
    ("ByBlock", "", []),
    ("ByLayer", "", []),
    ("Continuous", "Solid line", []),
    ("CENTER", "Center ____ _ ____ _ ____ _ ____", [1.25, -0.25, 0.25, -0.25]),
    ("DASHED", "Dashed __ __ __ __ __ __ __ __", [0.5, -0.25]),
    ("HIDDEN", "Hidden __ __ __ __ __ __ __ __", [0.25, -0.125]),
]


def num(value):
    """A coordinate as CAD programs write it: shortest fixed form, always with a decimal point."""
    value = float(value)
    if value == int(value):
        return f"{value:.1f}"
    return f"{value:.6f}".rstrip("0")


def code(group):
    """A group code right-aligned in three columns, as AutoCAD writes it."""
    return f"{group:>3}"


def integer(value):
    """An integer value right-aligned in six columns, as AutoCAD writes it."""
    return f"{value:>6}"


class Drawing:
    """Collects the records of one drawing and writes them as an AC1015 text DXF."""

    def __init__(self, layers):
        # layers: (name, colour, linetype) besides layer "0".
        self._next_handle = 0x20
        self.layers = [("0", 7, "Continuous")] + list(layers)
        self.entities = []   # lists of (code, value) pairs
        self.blocks = []     # (name, entities) of anonymous dimension blocks
        self.appids = ["ACAD"]
        self.extent = [0.0, 0.0, 0.0, 0.0]
        self.model_space_record = self.handle()
        self.paper_space_record = self.handle()

    def handle(self):
        h = f"{self._next_handle:X}"
        self._next_handle += 1
        return h

    # --- entities -------------------------------------------------------------------------

    def _head(self, kind, layer, linetype=None, owner=None):
        pairs = [(0, kind), (5, self.handle()), (330, owner or self.model_space_record),
                 (100, "AcDbEntity"), (8, layer)]
        if linetype is not None:
            pairs.append((6, linetype))
        return pairs

    def _add(self, pairs, into):
        (self.entities if into is None else into).append(pairs)

    def _grow(self, *points):
        for x, y in points:
            self.extent = [min(self.extent[0], x), min(self.extent[1], y),
                           max(self.extent[2], x), max(self.extent[3], y)]

    def line(self, p1, p2, layer="0", linetype=None, xdata=None, into=None, owner=None):
        pairs = self._head("LINE", layer, linetype, owner)
        pairs += [(100, "AcDbLine"), (10, num(p1[0])), (20, num(p1[1])), (30, "0.0"),
                  (11, num(p2[0])), (21, num(p2[1])), (31, "0.0")]
        pairs += xdata or []
        self._add(pairs, into)
        self._grow(p1, p2)

    def circle(self, centre, radius, layer="0", linetype=None):
        pairs = self._head("CIRCLE", layer, linetype)
        pairs += [(100, "AcDbCircle"), (10, num(centre[0])), (20, num(centre[1])), (30, "0.0"),
                  (40, num(radius))]
        self._add(pairs, None)
        self._grow((centre[0] - radius, centre[1] - radius), (centre[0] + radius, centre[1] + radius))

    def arc(self, centre, radius, start, end, layer="0", linetype=None):
        pairs = self._head("ARC", layer, linetype)
        pairs += [(100, "AcDbCircle"), (10, num(centre[0])), (20, num(centre[1])), (30, "0.0"),
                  (40, num(radius)), (100, "AcDbArc"), (50, num(start)), (51, num(end))]
        self._add(pairs, None)
        self._grow((centre[0] - radius, centre[1] - radius), (centre[0] + radius, centre[1] + radius))

    def point(self, at, layer="0", linetype=None, into=None, owner=None):
        pairs = self._head("POINT", layer, linetype, owner)
        pairs += [(100, "AcDbPoint"), (10, num(at[0])), (20, num(at[1])), (30, "0.0")]
        self._add(pairs, into)

    def solid(self, corners, layer, into, owner):
        pairs = self._head("SOLID", layer, None, owner) + [(100, "AcDbTrace")]
        for i, (x, y) in enumerate(corners):
            pairs += [(10 + i, num(x)), (20 + i, num(y)), (30 + i, "0.0")]
        self._add(pairs, into)

    def text(self, at, height, value, layer="0", align=None):
        """A single-line TEXT; align = (horizontal 72, vertical 73, alignment point)."""
        pairs = self._head("TEXT", layer)
        pairs += [(100, "AcDbText"), (10, num(at[0])), (20, num(at[1])), (30, "0.0"),
                  (40, num(height)), (1, value), (7, "Standard")]
        if align:
            horizontal, vertical, point = align
            pairs += [(72, integer(horizontal)), (11, num(point[0])), (21, num(point[1])),
                      (31, "0.0"), (100, "AcDbText"), (73, integer(vertical))]
        else:
            pairs += [(100, "AcDbText")]
        self._add(pairs, None)

    def mtext(self, at, height, width, value, layer="0", attach=1, into=None, owner=None):
        pairs = self._head("MTEXT", layer, None, owner)
        pairs += [(100, "AcDbMText"), (10, num(at[0])), (20, num(at[1])), (30, "0.0"),
                  (40, num(height)), (41, num(width)), (71, integer(attach)), (72, integer(5)),
                  (1, value), (7, "Standard"), (73, integer(1)), (44, "1.0")]
        self._add(pairs, into)

    def xline(self, through, direction, layer="0"):
        pairs = self._head("XLINE", layer)
        pairs += [(100, "AcDbXline"), (10, num(through[0])), (20, num(through[1])), (30, "0.0"),
                  (11, num(direction[0])), (21, num(direction[1])), (31, "0.0")]
        self._add(pairs, None)

    def linear_dimension(self, p1, p2, line_at, vertical, layer):
        """A rotated (linear) dimension between p1 and p2, with the block that draws it."""
        name = f"*D{len(self.blocks) + 1}"
        record = self.handle()
        block = []
        arrow, gap, beyond = 2.5, 0.625, 1.25
        if vertical:
            measurement = abs(p2[1] - p1[1])
            d1, d2 = (line_at, p1[1]), (line_at, p2[1])
            ext = [(p1, d1), (p2, d2)]
            text_at = (line_at - 1.25, (p1[1] + p2[1]) / 2)
            rotation = 90.0
        else:
            measurement = abs(p2[0] - p1[0])
            d1, d2 = (p1[0], line_at), (p2[0], line_at)
            ext = [(p1, d1), (p2, d2)]
            text_at = ((p1[0] + p2[0]) / 2, line_at + 1.25)
            rotation = 0.0
        for origin, foot in ext:
            ux, uy = foot[0] - origin[0], foot[1] - origin[1]
            length = math.hypot(ux, uy)
            ux, uy = ux / length, uy / length
            self.line((origin[0] + ux * gap, origin[1] + uy * gap),
                      (foot[0] + ux * beyond, foot[1] + uy * beyond), layer, into=block, owner=record)
        self.line(d1, d2, layer, into=block, owner=record)
        dx, dy = d2[0] - d1[0], d2[1] - d1[1]
        length = math.hypot(dx, dy)
        ux, uy = dx / length, dy / length
        nx, ny = -uy * arrow / 6, ux * arrow / 6
        for tip, sign in ((d1, 1), (d2, -1)):
            base = (tip[0] + sign * ux * arrow, tip[1] + sign * uy * arrow)
            self.solid([tip, (base[0] + nx, base[1] + ny), (base[0] - nx, base[1] - ny),
                        (base[0] - nx, base[1] - ny)], layer, block, record)
        label = f"{measurement:g}"
        if vertical:
            label = "\\A1;" + label
        self.mtext(text_at, 2.5, 0.0, label, layer, attach=8, into=block, owner=record)
        for p in (p1, p2, d2):
            self.point(p, "DEFPOINTS", into=block, owner=record)
        self.blocks.append((name, record, block))

        pairs = self._head("DIMENSION", layer)
        pairs += [(100, "AcDbDimension"), (2, name), (10, num(d2[0])), (20, num(d2[1])), (30, "0.0"),
                  (11, num(text_at[0])), (21, num(text_at[1])), (31, "0.0"), (70, integer(32)),
                  (71, integer(5)), (42, num(measurement)), (3, "Standard"),
                  (100, "AcDbAlignedDimension"), (13, num(p1[0])), (23, num(p1[1])), (33, "0.0"),
                  (14, num(p2[0])), (24, num(p2[1])), (34, "0.0"), (50, num(rotation)),
                  (100, "AcDbRotatedDimension")]
        self._add(pairs, None)
        self._grow(p1, p2, d1, d2)

    # --- writing --------------------------------------------------------------------------

    def _table(self, out, name, entries, extra=()):
        table = self.handle()
        out += [(0, "TABLE"), (2, name), (5, table), (330, "0"), (100, "AcDbSymbolTable"),
                (70, integer(len(entries)))]
        out += list(extra)
        for entry in entries:
            kind, subclass, body = entry
            handle_code = 105 if kind == "DIMSTYLE" else 5
            out += [(0, kind), (handle_code, self.handle()), (330, table),
                    (100, "AcDbSymbolTableRecord"), (100, subclass)] + body
        out.append((0, "ENDTAB"))

    def _tables(self, out):
        x0, y0, x1, y1 = self.extent
        width, height = (x1 - x0) * 1.2 + 10, (y1 - y0) * 1.2 + 10
        out += [(0, "SECTION"), (2, "TABLES")]
        self._table(out, "VPORT", [("VPORT", "AcDbViewportTableRecord", [
            (2, "*Active"), (70, integer(0)), (10, "0.0"), (20, "0.0"), (11, "1.0"), (21, "1.0"),
            (12, num((x0 + x1) / 2)), (22, num((y0 + y1) / 2)), (13, "0.0"), (23, "0.0"),
            (14, "10.0"), (24, "10.0"), (15, "10.0"), (25, "10.0"), (16, "0.0"), (26, "0.0"),
            (36, "1.0"), (17, "0.0"), (27, "0.0"), (37, "0.0"), (40, num(round(height, 1))),
            (41, num(round(width / height, 4))), (42, "50.0"), (43, "0.0"), (44, "0.0"),
            (50, "0.0"), (51, "0.0"), (71, integer(0)), (72, integer(1000)), (73, integer(1)),
            (74, integer(3)), (75, integer(0)), (76, integer(0)), (77, integer(0)),
            (78, integer(0))])])
        ltypes = []
        for name, description, pattern in LINETYPES:
            body = [(2, name), (70, integer(0)), (3, description), (72, integer(65)),
                    (73, integer(len(pattern))), (40, num(sum(abs(d) for d in pattern)))]
            for dash in pattern:
                body += [(49, num(dash)), (74, integer(0))]
            ltypes.append(("LTYPE", "AcDbLinetypeTableRecord", body))
        self._table(out, "LTYPE", ltypes)
        self._table(out, "LAYER", [
            ("LAYER", "AcDbLayerTableRecord",
             [(2, name), (70, integer(0)), (62, integer(colour)), (6, linetype),
              (290, integer(0) if name == "DEFPOINTS" else integer(1)), (370, integer(-3))])
            for name, colour, linetype in self.layers])
        self._table(out, "STYLE", [("STYLE", "AcDbTextStyleTableRecord", [
            (2, "Standard"), (70, integer(0)), (40, "0.0"), (41, "1.0"), (50, "0.0"),
            (71, integer(0)), (42, "2.5"), (3, "txt"), (4, "bigfont.shx")])])
        self._table(out, "VIEW", [])
        self._table(out, "UCS", [])
        self._table(out, "APPID", [("APPID", "AcDbRegAppTableRecord", [(2, name), (70, integer(0))])
                                   for name in self.appids])
        self._table(out, "DIMSTYLE", [("DIMSTYLE", "AcDbDimStyleTableRecord", [
            (2, "Standard"), (70, integer(0)), (41, "2.5"), (42, "0.625"), (43, "3.75"),
            (44, "1.25"), (140, "2.5"), (141, "2.5"), (147, "0.625"), (77, integer(1)),
            (271, integer(0))])], extra=[(100, "AcDbDimStyleTable")])
        records = [("*Model_Space", self.model_space_record), ("*Paper_Space", self.paper_space_record)]
        records += [(name, record) for name, record, _ in self.blocks]
        table = self.handle()
        out += [(0, "TABLE"), (2, "BLOCK_RECORD"), (5, table), (330, "0"),
                (100, "AcDbSymbolTable"), (70, integer(len(records)))]
        for name, record in records:
            out += [(0, "BLOCK_RECORD"), (5, record), (330, table), (100, "AcDbSymbolTableRecord"),
                    (100, "AcDbBlockTableRecord"), (2, name)]
        out += [(0, "ENDTAB"), (0, "ENDSEC")]

    def _blocks(self, out):
        out += [(0, "SECTION"), (2, "BLOCKS")]
        spaces = [("*Model_Space", self.model_space_record, 0, []),
                  ("*Paper_Space", self.paper_space_record, 0, [])]
        spaces += [(name, record, 1, body) for name, record, body in self.blocks]
        for name, record, flags, body in spaces:
            paper = [(67, integer(1))] if name == "*Paper_Space" else []
            out += [(0, "BLOCK"), (5, self.handle()), (330, record), (100, "AcDbEntity")] + paper
            out += [(8, "0"), (100, "AcDbBlockBegin"), (2, name), (70, integer(flags)),
                    (10, "0.0"), (20, "0.0"), (30, "0.0"), (3, name), (1, "")]
            for pairs in body:
                out += pairs
            out += [(0, "ENDBLK"), (5, self.handle()), (330, record), (100, "AcDbEntity")] + paper
            out += [(8, "0"), (100, "AcDbBlockEnd")]
        out.append((0, "ENDSEC"))

    def dxf_bytes(self):
        body = []
        self._blocks(body)  # handles of blocks and tables are taken before $HANDSEED is written
        tables = []
        self._tables(tables)
        entities = [(0, "SECTION"), (2, "ENTITIES")]
        for pairs in self.entities:
            entities += pairs
        entities.append((0, "ENDSEC"))
        root, groups = self.handle(), self.handle()
        objects = [(0, "SECTION"), (2, "OBJECTS"),
                   (0, "DICTIONARY"), (5, root), (330, "0"), (100, "AcDbDictionary"),
                   (281, integer(1)), (3, "ACAD_GROUP"), (350, groups),
                   (0, "DICTIONARY"), (5, groups), (330, root), (100, "AcDbDictionary"),
                   (281, integer(1)), (0, "ENDSEC"), (0, "EOF")]
        x0, y0, x1, y1 = self.extent
        header = [(0, "SECTION"), (2, "HEADER"),
                  (9, "$ACADVER"), (1, "AC1015"),
                  (9, "$ACADMAINTVER"), (70, integer(6)),
                  (9, "$DWGCODEPAGE"), (3, "ANSI_932"),
                  (9, "$INSBASE"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                  (9, "$EXTMIN"), (10, num(x0)), (20, num(y0)), (30, "0.0"),
                  (9, "$EXTMAX"), (10, num(x1)), (20, num(y1)), (30, "0.0"),
                  (9, "$LIMMIN"), (10, "0.0"), (20, "0.0"),
                  (9, "$LIMMAX"), (10, "420.0"), (20, "297.0"),
                  (9, "$LTSCALE"), (40, "1.0"),
                  (9, "$INSUNITS"), (70, integer(4)),
                  (9, "$MEASUREMENT"), (70, integer(1)),
                  (9, "$HANDSEED"), (5, f"{self._next_handle:X}"),
                  (0, "ENDSEC"),
                  (0, "SECTION"), (2, "CLASSES"), (0, "ENDSEC")]
        lines = []
        for group, value in header + tables + body + entities + objects:
            lines.append(code(group))
            lines.append(value)
        return ("\r\n".join(lines) + "\r\n").encode("cp932")


def cam_xdata(operation):
    """Extended data of the kind a CAM add-on leaves on an entity."""
    return [(1001, "CAMINFO"), (1000, operation), (1070, integer(1))]


def duplicates():
    """A 200 x 100 plate with a slot, drawn twice over in places, as merged drawings often are."""
    d = Drawing([("外形", 7, "Continuous")])
    outline = "外形"
    d.line((0, 0), (200, 0), outline)          # 1 bottom edge
    d.line((200, 0), (200, 100), outline)      # 2 right edge
    d.line((200, 100), (0, 100), outline)      # 3 top edge
    d.line((0, 100), (0, 0), outline)          # 4 left edge: the later copy (6) survives
    d.line((200, 0), (0, 0), outline)          # 5 bottom edge again, reversed: deleted
    d.line((0, 0), (0, 100), outline)          # 6 left edge again
    d.line((60, 100), (90, 100), outline)      # 7 a piece lying on the top edge: deleted
    d.line((40, 40), (110, 40), outline)       # 8 slot bottom, first piece
    d.line((160, 60), (40, 60), outline)       # 9 slot top
    d.line((40, 40), (40, 60), outline)        # 10 slot left
    d.line((160, 60), (160, 40), outline)      # 11 slot right
    d.line((100, 40), (160, 40), outline)      # 12 slot bottom, overlapping piece: joined into 8
    d.line((40, 60.05), (160, 60.05), outline)  # 13 slot top 0.05 higher: kept unless Text5 >= 0.05
    d.line((170, 10), (190, 30), outline)      # 14 slanted mark: the later copy (15) survives
    d.line((190, 30), (170, 10), outline)      # 15 the same mark, reversed
    d.line((175, 15), (185, 25), outline)      # 16 a piece of the mark: deleted
    d.line((100, 0), (100, 0), outline)        # 17 a zero-length line on the bottom edge: deleted
    d.line((0, 100), (200, 100), "0")          # 18 top edge again on layer 0: kept (同一画素のみ)
    d.circle((20, 50), 6, outline)
    d.circle((180, 80), 6, outline)
    return d


def broken_lines():
    """A 300 x 150 plate whose straight edges arrive in pieces, as from a DXF export of arcs and
    polylines cut at every vertex."""
    d = Drawing([("外形", 7, "Continuous"), ("罫書き", 3, "Continuous")])
    outline = "外形"
    d.line((0, 0), (100, 0), outline)               # bottom edge in three pieces, end to end
    d.line((100, 0), (200, 0), outline)
    d.line((300, 0), (200, 0), outline)
    d.line((0, 0), (0, 80), outline)                # left edge in two overlapping pieces
    d.line((0, 70), (0, 150), outline)
    d.line((0, 150), (120, 150), outline)           # top edge with a gap of 0.3
    d.line((120.3, 150), (300, 150), outline)
    d.line((300, 0), (300, 75), outline)            # right edge, second piece 0.02 to the side
    d.line((300.02, 75), (300.02, 150), outline)
    d.line((120, 75), (180, 75), outline)           # a rib in three pieces; the middle one is listed
    d.line((40, 75), (120, 75), outline)            # first, and the last is longer than the piece
    d.line((180, 75), (280, 75), outline)           # that ends up absorbing it
    d.line((100, 110), (150, 110), "罫書き")         # a scribe line whose second piece rises 0.003
    d.line((200, 110.003), (150, 110), "罫書き")
    d.line((20, 20), (60, 50), outline)             # a slanted brace in two pieces: never joined
    d.line((60, 50), (100, 80), outline)
    d.circle((30, 120), 8, outline)
    d.circle((270, 120), 8, outline)
    return d


def annotations():
    """A bracket with everything a design drawing carries that a cutter must not see."""
    d = Drawing([("外形", 7, "Continuous"), ("中心線", 1, "CENTER"), ("かくれ線", 3, "HIDDEN"),
                 ("寸法", 2, "Continuous"), ("文字", 7, "Continuous"), ("補助線", 8, "Continuous"),
                 ("DEFPOINTS", 7, "Continuous")])
    d.appids.append("CAMINFO")
    outline = "外形"
    # The outline: kept. Explicit Continuous and ByBlock linetypes are kept too.
    d.line((0, 0), (160, 0), outline, "Continuous", xdata=cam_xdata("cut"))
    d.line((160, 0), (160, 80), outline)
    d.arc((150, 80), 10, 0, 90, outline)
    d.line((150, 90), (0, 90), outline)
    d.line((0, 90), (0, 0), outline, "ByBlock")
    d.circle((40, 45), 10, outline)
    d.circle((120, 45), 10, outline)
    # A hidden line that follows its layer's HIDDEN linetype (no group 6): kept.
    d.line((60, 10), (100, 10), "かくれ線")
    # Entities that name a linetype other than ByBlock and Continuous: deleted by the linetype rules.
    d.line((25, 45), (135, 45), "中心線", "CENTER", xdata=cam_xdata("skip"))
    d.line((40, 30), (40, 60), "中心線", "CENTER")
    d.line((120, 30), (120, 60), "中心線", "CENTER")
    d.line((0, 20), (160, 20), outline, "BYLAYER")          # an explicit BYLAYER is deleted too
    d.circle((80, 45), 40, "中心線", "CENTER")
    d.arc((40, 45), 14, 0, 180, "かくれ線", "HIDDEN")
    # Text of every kind.
    d.text((0, -30), 5, "ブラケット A-102", "文字")
    d.text((80, -38), 3.5, "t=3.2 SS400", "文字", align=(1, 2, (80, -38)))
    d.text((100, 70), 2.5, "   ", "文字")                   # a text of blanks left behind
    d.text((100, 60), 2.5, "　", "文字")                    # a text of one full-width blank
    d.mtext((0, 120), 3.5, 80, "注記:\\P1. 指示なき角部はR0.5\\P2. バリ取りのこと", "文字")
    d.mtext((100, 120), 3.5, 40, " ", "文字")               # an empty note
    # Dimensions and construction lines.
    d.linear_dimension((0, 0), (160, 0), -12, False, "寸法")
    d.linear_dimension((160, 0), (150, 90), 175, True, "寸法")
    d.xline((0, 45), (1, 0), "補助線")
    d.xline((80, 0), (0, 1), "補助線")
    # Points: two plain drilling marks and one in a dashed linetype.
    d.point((40, 45), outline)
    d.point((120, 45), outline)
    d.point((80, 80), "補助線", "DASHED")
    # Tiny leftovers.
    d.line((70, 70), (70, 70), outline)                     # zero length
    d.line((150, 5), (150.5, 5), outline)                   # horizontal, 0.5 long
    d.line((10, 80), (10.3, 80.4), outline)                 # oblique, 0.5 long
    d.arc((20, 10), 0.5, 0, 90, outline)                    # arc length 0.785
    d.circle((140, 10), 0.4, outline)                       # diameter 0.8
    return d


def main():
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).parent
    target.mkdir(parents=True, exist_ok=True)
    for name, build in (("duplicates.dxf", duplicates), ("broken-lines.dxf", broken_lines),
                        ("annotations.dxf", annotations)):
        data = build().dxf_bytes()
        (target / name).write_bytes(data)
        print(f"{target / name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
