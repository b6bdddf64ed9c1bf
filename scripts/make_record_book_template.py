#!/usr/bin/python3
"""Builds data/RIZUV.xlsx, the traverse record book template.

Run with Debian's Python (it has openpyxl):  /usr/bin/python3 scripts/make_record_book_template.py
The file is the same byte for byte on every run, so a change shows in review.

What the program relies on: the header cells J1 (line name), J2 (date) and
E3 (instrument model), and the six-row station block in rows 9 to 14,
columns A to T, which the program copies below itself for every further
station. In the block the program writes columns A-H, J-Q, S and T; columns
I (2C) and R (mean slope distance) hold formulas of the template and are
never written, so every copy keeps them.
"""

import datetime
import io
import os
import sys
import zipfile

from openpyxl import Workbook
from openpyxl.styles import Alignment, Border, Font, Side
from openpyxl.worksheet.properties import PageSetupProperties

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "..", "data", "RIZUV.xlsx")
FIXED_TIME = datetime.datetime(2020, 1, 1, 0, 0, 0)

BODY = Font(name="宋体", size=10)
CAPTION = Font(name="宋体", size=10, bold=True)
TITLE = Font(name="黑体", size=18)
THIN = Side(style="thin")
MEDIUM = Side(style="medium")
CENTRE = Alignment(horizontal="center", vertical="center", wrap_text=True)
LEFT = Alignment(horizontal="left", vertical="center")
RIGHT = Alignment(horizontal="right", vertical="center")

# Column widths in characters, A to T.
WIDTHS = [16, 16, 5, 5, 4, 5, 7, 6, 6, 5, 4, 5, 5, 4, 5, 7, 7, 10, 6, 5]


def box(ws, first_row, last_row, first_col, last_col, outline=MEDIUM):
    """Thin lines inside, `outline` around the rectangle."""
    for r in range(first_row, last_row + 1):
        for c in range(first_col, last_col + 1):
            ws.cell(r, c).border = Border(
                left=outline if c == first_col else THIN,
                right=outline if c == last_col else THIN,
                top=outline if r == first_row else THIN,
                bottom=outline if r == last_row else THIN)


def caption(ws, area, text, font=CAPTION, alignment=CENTRE):
    first = area.split(":")[0]
    if ":" in area:
        ws.merge_cells(area)
    ws[first] = text
    ws[first].font = font
    ws[first].alignment = alignment


def build():
    wb = Workbook()
    ws = wb.active
    ws.title = "导线观测手簿"
    ws.sheet_view.showGridLines = False

    for i, width in enumerate(WIDTHS):
        ws.column_dimensions[chr(ord("A") + i)].width = width

    # Header: title, line name, date, instrument, observer and conditions
    # (the last are filled in by hand).
    caption(ws, "A1:H1", "图根导线观测手簿", TITLE)
    ws.row_dimensions[1].height = 30
    caption(ws, "I1", "线名：", BODY, RIGHT)
    caption(ws, "J1:L1", None, BODY, LEFT)
    caption(ws, "I2", "日期：", BODY, RIGHT)
    caption(ws, "J2:L2", None, BODY, LEFT)
    caption(ws, "C3:D3", "仪器型号：", BODY, RIGHT)
    caption(ws, "E3:H3", None, BODY, LEFT)
    caption(ws, "I3", "观测者：", BODY, RIGHT)
    caption(ws, "J3:L3", None, BODY, LEFT)
    caption(ws, "M3", "记录者：", BODY, RIGHT)
    caption(ws, "N3:P3", None, BODY, LEFT)
    caption(ws, "Q3", "天气：", BODY, RIGHT)
    caption(ws, "R3:T3", None, BODY, LEFT)
    for c in "EJNR":
        ws[c + "3"].border = Border(bottom=THIN)
    ws["J1"].border = Border(bottom=THIN)
    ws["J2"].border = Border(bottom=THIN)

    # Column captions, rows 5 to 8.
    caption(ws, "A5:A8", "测站\n仪器高(m)")
    caption(ws, "B5:B8", "照准点\n觇标高(m)")
    caption(ws, "C5:C8", "盘位")
    caption(ws, "D5:F6", "水平度盘读数")
    caption(ws, "G5:G8", "秒值和\n(″)")
    caption(ws, "H5:H8", "平均方向\n(′ ″)")
    caption(ws, "I5:I8", "2C\n(″)")
    caption(ws, "J5:L6", "水平角")
    caption(ws, "M5:O6", "竖盘读数")
    caption(ws, "P5:P8", "指标差\n(″)")
    caption(ws, "Q5:Q8", "天顶距\n(′ ″)")
    caption(ws, "R5:R8", "斜距中数\n(m)")
    caption(ws, "S5:T6", "斜距")
    for first in "DJM":
        for k, unit in enumerate(("°", "′", "″")):
            letter = chr(ord(first) + k)
            caption(ws, f"{letter}7:{letter}8", unit)
    caption(ws, "S7:S8", "m")
    caption(ws, "T7:T8", "mm")
    box(ws, 5, 8, 1, 20)
    for r in range(5, 9):
        ws.row_dimensions[r].height = 15

    # The station block: backsight (rows 9, 10), foresight (11, 12), spare
    # pair (13, 14); face I in the first row of each pair, face II in the
    # second.
    for r in range(9, 15):
        ws.row_dimensions[r].height = 16
        for c in range(1, 21):
            cell = ws.cell(r, c)
            cell.font = BODY
            cell.alignment = CENTRE
    box(ws, 9, 14, 1, 20)
    for r in range(9, 15):
        ws.cell(r, 1).number_format = "0.000"   # instrument height in the second row
        ws.cell(r, 2).number_format = "0.000"   # target height in the second row
        for c in (5, 11, 14):                     # minutes
            ws.cell(r, c).number_format = "00"
        ws.cell(r, 18).number_format = "0.000"
        ws.cell(r, 20).number_format = "000"
    for r1 in (9, 11, 13):
        r2 = r1 + 1
        # 2C: face I minus face II, less or more 180°, in seconds.
        ws.cell(r1, 9).value = (
            f'=IF(COUNT(D{r1}:D{r2})<2,"",MOD((D{r1}-D{r2})*3600+(E{r1}-E{r2})*60'
            f'+(F{r1}-F{r2}),1296000)-648000)')
        # Mean of the slope distances measured in the two faces.
        ws.cell(r1, 18).value = (
            f'=IF(COUNT(S{r1}:S{r2})=0,"",ROUND((SUM(S{r1}:S{r2})*1000+SUM(T{r1}:T{r2}))'
            f'/COUNT(S{r1}:S{r2})/1000,3))')
        # The pair's two rows read as one target.
        for c in range(1, 21):
            ws.cell(r1, c).border = Border(
                left=ws.cell(r1, c).border.left, right=ws.cell(r1, c).border.right,
                top=ws.cell(r1, c).border.top, bottom=Side(style="hair"))

    # Printing: A4 landscape, one page wide, the captions on every page.
    ws.page_setup.paperSize = ws.PAPERSIZE_A4
    ws.page_setup.orientation = "landscape"
    ws.sheet_properties.pageSetUpPr = PageSetupProperties(fitToPage=True)
    ws.page_setup.fitToWidth = 1
    ws.page_setup.fitToHeight = 0
    ws.print_title_rows = "1:8"
    ws.page_margins.left = ws.page_margins.right = 0.5
    ws.page_margins.top = ws.page_margins.bottom = 0.6
    ws.oddFooter.center.text = "第 &P 页，共 &N 页"
    ws.freeze_panes = "C9"

    wb.properties.creator = "Tarvosen Data Processor"
    wb.properties.lastModifiedBy = "Tarvosen Data Processor"
    wb.properties.created = FIXED_TIME
    wb.properties.modified = FIXED_TIME
    return wb


def reproducible_bytes(wb):
    """The workbook's zip with fixed entry times, so every run gives the same bytes."""
    raw = io.BytesIO()
    wb.save(raw)
    out = io.BytesIO()
    with zipfile.ZipFile(raw) as src, zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as dst:
        for info in src.infolist():
            data = src.read(info.filename)
            fixed = zipfile.ZipInfo(info.filename, date_time=(2020, 1, 1, 0, 0, 0))
            fixed.compress_type = zipfile.ZIP_DEFLATED
            fixed.external_attr = 0o644 << 16
            dst.writestr(fixed, data)
    return out.getvalue()


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else OUTPUT
    data = reproducible_bytes(build())
    with open(path, "wb") as f:
        f.write(data)
    print(f"wrote {os.path.normpath(path)} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
