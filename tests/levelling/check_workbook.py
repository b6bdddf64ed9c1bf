"""Checks a record book written by tarvosen with programs of its own.

recalc BOOK WORKDIR
    Opens BOOK in LibreOffice headless with every formula recalculated on
    load, saves LibreOffice's copy, and compares each formula's value there
    with the value cached in BOOK. A copy of BOOK whose first cached value is
    falsified goes through the same way first, proving the values compared
    are LibreOffice's own. Prints "formulas N" and one "MISMATCH ..." line per
    difference.

describe BOOK CELL...
    Prints the structure openpyxl reads: "sheets A|B", "merged SHEET RANGE"
    for every merge, and for each CELL given as SHEET!A1 one line
    "cell SHEET!A1|value|font|size|rgb|underline|bold|numfmt|left,right,top,bottom|h,v|wrap".
"""
import os
import re
import shutil
import subprocess
import sys
import zipfile

import openpyxl

RECALC_SETTINGS = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry"
 xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="ODFRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
"""
FALSIFIED = "987654321"


def libreoffice_copy(book, workdir):
    profile = os.path.join(workdir, "profile")
    os.makedirs(os.path.join(profile, "user"), exist_ok=True)
    with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as f:
        f.write(RECALC_SETTINGS)
    out = os.path.join(workdir, "lo")
    os.makedirs(out, exist_ok=True)
    subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless",
                    "--norestore", "--convert-to", "xlsx", "--outdir", out, book],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=240)
    return os.path.join(out, os.path.basename(book))


def falsify_first_value(book, target):
    """Copies book with the first cached formula value of its first sheet replaced."""
    with zipfile.ZipFile(book) as src, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as dst:
        done = False
        for item in src.infolist():
            data = src.read(item.filename)
            if not done and item.filename.startswith("xl/worksheets/sheet"):
                text = data.decode("utf-8")
                text, n = re.subn(r"(<f>[^<]*</f><v>)[^<]*(</v>)", r"\g<1>" + FALSIFIED + r"\2",
                                  text, count=1)
                done = n == 1
                data = text.encode("utf-8")
            dst.writestr(item, data)
    return done


def same(a, b):
    if isinstance(a, (int, float)) and isinstance(b, (int, float)):
        return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))
    return (a if a is not None else "") == (b if b is not None else "")


def recalc(book, workdir):
    falsified = os.path.join(workdir, "falsified", os.path.basename(book))
    os.makedirs(os.path.dirname(falsified), exist_ok=True)
    if not falsify_first_value(book, falsified):
        print("ERROR no cached formula value to falsify")
        return
    lo = openpyxl.load_workbook(libreoffice_copy(falsified, os.path.join(workdir, "f")),
                                data_only=True)
    for row in lo.worksheets[0].iter_rows():
        for c in row:
            if c.value == int(FALSIFIED):
                print("ERROR LibreOffice kept a cached value instead of recalculating")
                return
    formulas = openpyxl.load_workbook(book)
    ours = openpyxl.load_workbook(book, data_only=True)
    theirs = openpyxl.load_workbook(libreoffice_copy(book, workdir), data_only=True)
    count = 0
    for ws in formulas.worksheets:
        for row in ws.iter_rows():
            for c in row:
                if isinstance(c.value, str) and c.value.startswith("="):
                    count += 1
                    mine = ours[ws.title][c.coordinate].value
                    lo_value = theirs[ws.title][c.coordinate].value
                    if not same(mine, lo_value):
                        print("MISMATCH %s!%s %s ours=%r libreoffice=%r"
                              % (ws.title, c.coordinate, c.value, mine, lo_value))
    print("formulas %d" % count)


def describe(book, cells):
    wb = openpyxl.load_workbook(book)
    print("sheets " + "|".join(wb.sheetnames))
    for ws in wb.worksheets:
        for m in sorted(str(r) for r in ws.merged_cells.ranges):
            print("merged %s %s" % (ws.title, m))
    for ref in cells:
        sheet, addr = ref.split("!")
        c = wb[sheet][addr]
        f = c.font
        rgb = f.color.rgb if f.color is not None and isinstance(f.color.rgb, str) else ""
        b = c.border
        sides = ",".join((s.style or "") for s in (b.left, b.right, b.top, b.bottom))
        al = c.alignment
        print("cell %s|%s|%s|%s|%s|%s|%s|%s|%s|%s,%s|%s" % (
            ref, "" if c.value is None else c.value, f.name, f.sz, rgb, f.u or "", bool(f.b),
            c.number_format, sides, al.horizontal or "", al.vertical or "", bool(al.wrap_text)))
    for ws in wb.worksheets:
        widths = ",".join("%s=%g" % (k, v.width) for k, v in sorted(ws.column_dimensions.items())
                          if v.width)
        heights = ",".join("%d=%g" % (k, v.height) for k, v in sorted(ws.row_dimensions.items())
                           if v.height)
        print("layout %s|%s|%s|%s|%s" % (ws.title, widths, heights, ws.print_title_rows or "",
                                          ws.sheet_view.showGridLines))
        fit = ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage
        # An absent fitToWidth or fitToHeight is 1 page.
        pages = ["1" if n is None else str(n)
                 for n in (ws.page_setup.fitToWidth, ws.page_setup.fitToHeight)]
        print("print %s|%s|%s" % (ws.title, "fit %sx%s" % tuple(pages) if fit else "",
                                  ws.page_setup.orientation or "portrait"))


if __name__ == "__main__":
    if sys.argv[1] == "recalc":
        recalc(sys.argv[2], sys.argv[3])
    else:
        describe(sys.argv[2], sys.argv[3:])
