#!/usr/bin/env python3
# Designs the Zorvex answer sheet and writes, from this one design, both
#   data/questions/ScanItem.tsv    the layout the reader places its bubbles by
#   data/questions/SheetPrint.tsv  everything else the printed sheet shows
# Both become tables of ZV.db. zvsheet draws the bubbles from ScanItem and the
# rest from SheetPrint, so the paper and the reader cannot disagree.
#
# Units are pixels of a page read at 100 px/in (1/100 in), origin at the top
# left corner of the letter page (850 x 1100). A bubble's point is the top
# left pixel of its 15 x 15 reading window; the printed circle sits centred
# in that window. Positions in ScanItem are polar, relative to the top left
# corner of the anchor box, and are checked to come back to the designed pixel
# exactly as the reader rounds them.
#
# The answer counts of items 140 to 162 come from the English question table.
# Run from anywhere: python3 data/authoring/zvsheet.py
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)

PAGE_W, PAGE_H = 850, 1100
WINDOW = 15                      # reading window side
ANCHOR = (25, 50)                # top left corner of the anchor box
BOX = 24                         # side of the two solid boxes
REFERENCE = (ANCHOR[0] + 780, ANCHOR[1])
ANCHOR_AREA = (5, 0, 45 + 8, 125 + 8)          # where the anchor search reads
REFERENCE_AREA = (ANCHOR[0] + 772, 0, ANCHOR[0] + 802 + 8, ANCHOR[1] + 100 + 8)

# Pitches. A sheet read 2 degrees askew finds the far end of a long field up
# to (bubbles - 1) x pitch x sin 2 degrees off its line, since a column keeps
# its first bubble's x and a row its y. The gap to the next field across
# leaves room for that drift, so a mark never reaches a neighbour's window.
COL = 22                         # between digit columns
COL_DY = 17                      # down a digit column
ITEM_DY = 18                     # between item rows
DX = 20                          # along an item row
COUNT_DX = 18                    # along a court-history count row (11 bubbles)
COUNT_DY = 23                    # between count rows
CHOICE_DX = 46                   # choice rows leave room for their words
GROUP_GAP = 22                   # between groups of digit columns

COURT_ROWS = [
    ("FelonyArrests", "Felony arrests"),
    ("TimesProbation", "Times on probation"),
    ("ProbationRevocation", "Probation revocations"),
    ("TimesParole", "Times on parole"),
    ("ParoleRevocation", "Parole revocations"),
    ("TimeArrest", "Times arrested in all"),
    ("TimesJail", "Times sentenced to jail"),
    ("TimesPrison", "Times sentenced to prison"),
    ("AlcoholArrests", "Alcohol-related arrests"),
    ("DrugArrests", "Drug-related arrests"),
    ("DUIArrests", "DUI or DWI arrests"),
]


def f32(v):
    return struct.unpack("f", struct.pack("f", v))[0]


def to_polar(x, y):
    r = f32(math.sqrt(x * x + y * y))
    theta = 90.0 if x == 0 else math.atan(y / x) * 180 / math.pi
    return r, f32(theta)


def to_rectangular(r, theta):
    t = f32(f32(theta) * (math.pi / 180))
    return round(f32(r) * math.cos(t)), round(f32(r) * math.sin(t))


def answer_counts():
    counts = {}
    with open(os.path.join(DATA, "questions", "English.tsv"), encoding="utf-8") as f:
        lines = [l.rstrip("\n").split("\t") for l in f if l.strip() and not l.startswith("#")]
    head = lines[0]
    for cells in lines[1:]:
        row = dict(zip(head, cells))
        counts[int(row["ID"])] = sum(1 for k in range(1, 6) if row.get("ANSWER%d" % k, "").strip())
    return counts


class Sheet:
    def __init__(self):
        self.fields = []   # (name, x, y, DimY, dy, dimx, dx, labels)
        self.prints = []   # (kind, x, y, w, h, pt, style, text, field)

    # Reading fields, in reading order.
    def column(self, name, x, y, count, labels=None):
        self.fields.append((name, x, y, count, COL_DY, 0, 0, labels or [str(i) for i in range(count)]))

    def row(self, name, x, y, count, dx, labels):
        self.fields.append((name, x, y, 0, 0, count, dx, labels))

    # Printed black marks.
    def text(self, x, y, w, h, pt, text, style="l"):
        self.prints.append(("text", x, y, w, h, pt, style, text, 0))

    def frame(self, x, y, w, h):
        self.prints.append(("frame", x, y, w, h, 0, "", "", 0))

    def line(self, x, y, w, h):
        self.prints.append(("line", x, y, w, h, 0, "", "", 0))

    def box(self, x, y):
        self.prints.append(("box", x, y, BOX, BOX, 0, "", "", 0))


def digit_group(s, x, top, title, names, counts, gap_after=()):
    """Columns of digit bubbles under write-in boxes, with a title above."""
    xs = []
    for i in range(len(counts)):
        xs.append(x)
        x += COL + (6 if i in gap_after else 0)
    width = xs[-1] + WINDOW - xs[0]
    s.text(xs[0] - GROUP_GAP // 2 + 1, top, width + GROUP_GAP - 2, 24, 6.5, title, "bcb")
    for cx, name, count in zip(xs, names, counts):
        s.frame(cx - 1, top + 26, 17, 18)
        s.column(name, cx, top + 48, count)
    return x


def header(s):
    s.box(*ANCHOR)
    s.box(*REFERENCE)
    top = ANCHOR[1] - 7
    s.text(70, top, 710, 30, 17, "ZORVEX ANSWER SHEET", "bc")
    s.text(70, top + 30, 710, 13, 8, "Court defendant screening questionnaire  \u2022  162 items", "c")
    s.text(70, top + 45, 46, 16, 10, "Name", "b")
    s.line(116, top + 60, 420, 1)
    s.text(580, top + 45, 40, 16, 10, "Date", "b")
    s.line(620, top + 60, 160, 1)
    s.frame(60, top + 67, 720, 29)
    for i, line in enumerate([
            "Use a soft (No. 2) pencil.  Fill the bubble of your answer completely and darkly.  "
            "Mark one bubble in each row or column.",
            "To change an answer, erase the first mark completely.  Make no other marks on this sheet, "
            "and none near the black squares."]):
        s.text(68, top + 69 + 13 * i, 704, 13, 7.5, line, "l")
    return top + 104


def build():
    counts = answer_counts()
    s = Sheet()
    top = header(s)

    # One band of digit columns: identification, then the court-history ages and months.
    x = digit_group(s, 42, top, "ID NUMBER", ["ID Number digit %d" % i for i in range(1, 10)], [10] * 9)
    ident = s.fields
    s.fields = []
    x = digit_group(s, x - COL + WINDOW + GROUP_GAP, top, "DATE OF BIRTH\nmonth     day     year",
                    ["Date of Birth %s %d" % (p, d) for p in ("month", "day", "year") for d in (1, 2)],
                    [2, 10, 4, 10, 10, 10], gap_after=(1, 3))
    # A two-column field is found on paper by its name alone, and both its columns
    # marked twice make one line of the multiple-mark warning.
    groups = [("AGE\n(years)", "Age"), ("YEARS OF\nSCHOOL", "Years of school"),
              ("AGE AT FIRST\nARREST", "Age at first arrest"),
              ("AGE AT FIRST\nCONVICTION", "Age at first conviction")]
    for title, name in groups:
        x = digit_group(s, x - COL + WINDOW + GROUP_GAP, top, title, [name, name], [10, 10])
    dates = s.fields
    s.fields = []
    x = digit_group(s, x - COL + WINDOW + GROUP_GAP, top, "MONTHS\nEMPLOYED\n(last 12)",
                    ["Months employed"] * 2, [2, 10])
    employed = s.fields
    s.fields = []
    bottom = top + 48 + 9 * COL_DY + WINDOW
    how = x - COL + WINDOW + GROUP_GAP
    s.frame(how, top, 795 - how, bottom - top)
    s.text(how + 4, top + 4, 795 - how - 8, 12, 7, "HOW TO MARK", "bc")
    s.text(how + 4, top + 24, 795 - how - 8, 11, 6.5, "Right", "c")
    s.text(how + 4, top + 36, 795 - how - 8, 18, 13, "\u25cf", "c")
    s.text(how + 4, top + 64, 795 - how - 8, 11, 6.5, "Wrong", "c")
    s.text(how + 4, top + 76, 795 - how - 8, 18, 11, "\u2713 \u2717 \u2022 \u2298", "c")
    s.text(how + 4, top + 104, 795 - how - 8, 100, 6.5,
           "Fill the whole bubble.\nErase changes\ncleanly.\n\nWrite each digit in\nits box, then fill\nthe bubble below.", "ct")

    # The three choices in one strip, each word under its bubble.
    band = bottom + 8
    s.line(40, band, 780, 1)
    choices = [
        ("GENDER", "Gender", ["Male", "Female"], 60),
        ("RACE", "Race", ["Caucasian", "Black", "Hispanic", "Asian", "Native Am.", "Other"], 206),
        ("MARITAL STATUS", "Marital status", ["Single", "Married", "Divorced", "Separated", "Widowed"], 540),
    ]
    # A long row drifts up to 8 px off its line on a turned page: its words
    # and title keep that far from the windows.
    cy = band + 28
    for title, name, words, bx in choices:
        s.text(bx - 17, band + 5, len(words) * CHOICE_DX, 11, 7.5, title, "b")
        s.row(name, bx, cy, len(words), CHOICE_DX, [""] * len(words))
        for i, w in enumerate(words):
            s.text(bx + i * CHOICE_DX - 15, cy + WINDOW + 10, WINDOW + 30, 11, 6.5, w, "ct")
    choice = s.fields
    s.fields = []

    # Court-history counts in two blocks side by side.
    band = cy + WINDOW + 25
    s.line(40, band, 780, 1)
    s.text(40, band + 4, 780, 13, 8, "COURT HISTORY  \u2013  how many times has each happened to you?  "
           "Fill one bubble in each row.", "b")
    rows_top = band + 26
    for k, (_, label) in enumerate(COURT_ROWS):
        block, r = divmod(k, 6)
        y = rows_top + r * COUNT_DY
        lx = 40 + block * 395
        s.text(lx, y + 1, 130, 13, 7, label, "r")
        s.row(label, lx + 136, y, 11, COUNT_DX, [str(i) for i in range(10)] + ["10+"])
    court = s.fields
    s.fields = []

    # The items: three parts side by side.
    top = rows_top + 5 * COUNT_DY + WINDOW + 6
    s.line(40, top, 780, 1)
    top += 5
    parts = [
        (1, 105, 5, 2, ["T", "F"], "PART 1", "T true\nF false"),
        (106, 139, 2, 4, ["1", "2", "3", "4"], "PART 2", "1 rare or never    2 sometimes\n3 often    4 very often"),
        (140, 162, 1, None, None, "PART 3", "the letter of\nyour answer"),
    ]
    x = 40
    for first, last, columns, n, labels, title, hint in parts:
        per = -(-(last - first + 1) // columns)
        width = 24 + ((2 if n == 2 else 4) - 1) * DX + WINDOW
        pitch = width + (22 if n == 2 else 14)
        part_w = columns * pitch - (pitch - width)
        s.text(x, top, 44, 11, 8, title, "b")
        s.text(x + 46, top, part_w - 46, 22, 6.5, hint, "l")
        for item in range(first, last + 1):
            c, r = divmod(item - first, per)
            ix = x + c * pitch
            iy = top + 28 + r * ITEM_DY
            k = n or counts[item]
            s.text(ix, iy + 1, 20, 13, 7.5, str(item), "br")
            s.row("Item %d" % item, ix + 24, iy, k, DX, labels or [chr(ord("a") + j) for j in range(k)])
        x += part_w + 26
    items = s.fields
    s.text(40, PAGE_H - 38, 780, 11, 6.5, "Zorvex answer sheet for letter paper.  Print at actual size (100 %), "
           "never \u201cfit to page\u201d.", "c")
    s.fields = ident + choice + dates + court + employed + items
    return s, s.fields


def window_rects(order):
    for name, x, y, dimy, dy, dimx, dx, _ in order:
        if dimy:
            for i in range(dimy):
                yield name, (x, y + round(dy * i), WINDOW, WINDOW)
        else:
            for i in range(dimx):
                yield name, (x + round(dx * i), y, WINDOW, WINDOW)


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def check(s, order):
    assert len(order) == 201, len(order)
    wins = list(window_rects(order))
    for i, (n1, a) in enumerate(wins):
        assert 0 <= a[0] and a[0] + a[2] <= PAGE_W and 0 <= a[1] and a[1] + a[3] <= PAGE_H, (n1, a)
        for n2, b in wins[i + 1:]:
            assert not overlaps(a, b), (n1, n2)
    for kind, x, y, w, h, *_ in s.prints:
        rect = (x, y, w, h)
        for n, win in wins:
            assert not overlaps(rect, win), (kind, rect, n)
        if (x, y) not in (ANCHOR, REFERENCE):
            assert not overlaps(rect, ANCHOR_AREA[:2] + (ANCHOR_AREA[2] - ANCHOR_AREA[0], ANCHOR_AREA[3])), rect
            assert not overlaps(rect, (REFERENCE_AREA[0], 0, REFERENCE_AREA[2] - REFERENCE_AREA[0],
                                       REFERENCE_AREA[3])), rect
    for name, x, y, *_ in order:
        assert len(name) <= 30, name
        dx, dy = x - ANCHOR[0], y - ANCHOR[1]
        assert dx > 0 and dy > 0, name
        assert to_rectangular(*to_polar(dx, dy)) == (dx, dy), name


def fmt(v):
    return ("%.9g" % v) if isinstance(v, float) else str(v)


def write(s, order):
    out = os.path.join(DATA, "questions")
    with open(os.path.join(out, "ScanItem.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("# Answer-sheet layout, one row per sheet field in reading order. Generated by\n"
                "# data/authoring/zvsheet.py; edit there. r and theta: the field's first bubble\n"
                "# from the anchor box corner; x and y: where the last scan found it.\n")
        f.write("#integer: x y DimY dimx\n#real: r theta dy dx\n")
        f.write("ID\tLocationName\tr\ttheta\tx\ty\tDimY\tdy\tdimx\tdx\n")
        for i, (name, x, y, dimy, dy, dimx, dx, _) in enumerate(order, 1):
            rx, ry = x - ANCHOR[0], y - ANCHOR[1]
            r, theta = to_polar(rx, ry)
            f.write("\t".join(fmt(v) for v in (i, name, r, theta, rx, ry, dimy, float(dy), dimx, float(dx))) + "\n")
    with open(os.path.join(out, "SheetPrint.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("# What the printed answer sheet shows besides its bubbles. Generated by\n"
                "# data/authoring/zvsheet.py; edit there. Kinds: box (solid black), frame, line,\n"
                "# text (black, fitted into its box; style b bold, l/c/r alignment, t top),\n"
                "# labels (the light letters inside the bubbles of ScanItem row Field).\n"
                "# Pixels of 1/100 in from the paper's top left corner; Pt in points.\n")
        f.write("#integer: x y w h Field\n#real: Pt\n")
        f.write("ID\tKind\tx\ty\tw\th\tPt\tStyle\tText\tField\n")
        rows = list(s.prints)
        for i, field in enumerate(order, 1):
            rows.append(("labels", 0, 0, 0, 0, 0, "", " ".join(l if l else "-" for l in field[7]), i))
        for i, (kind, x, y, w, h, pt, style, text, field) in enumerate(rows, 1):
            text = text.replace("\n", "\\n")
            f.write("\t".join(str(v) for v in (i, kind, x, y, w, h, fmt(float(pt)), style, text, field)) + "\n")


def main():
    s, order = build()
    check(s, order)
    write(s, order)


if __name__ == "__main__":
    main()
