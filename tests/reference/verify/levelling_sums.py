"""Levelling books and networks against the level's own records.

For every entry that makes a record book or a levelling network from a real
DiNi file (M5, or REC 500 converted to M5 first), the raw file is read here
on its own: per line number the last `Sh` (the level's line sum), the station
count and `Db + Df` of its `KD2`, and the sum of the recorded readings: per
station the mean of its back readings less the mean of its fore readings,
stations taken in the order of the readings (2 readings a station for BF, 4
for the double-reading methods), readings marked replaced (##### in the point
field) and intermediate sights (Rz) left out. Then
  - each book's line sum (survey book: the row of 高差总和, column H;
    geological institute's book: the row of 测段小结, column I; high-order
    book: two rows below 测段小结, column G) equals the readings' sum, and
    Sh to half a unit of Sh's last decimal. The level sums its unrounded
    readings, so where the file's readings have no more decimals than Sh,
    Sh may differ from their sum by their rounding (half a unit a reading):
    such lines are counted apart, and a difference beyond that fails;
  - a line whose addresses have a gap in the file is compared with its
    readings only (Sh covers readings the file does not hold);
  - each network section (report.json, in file order) has h_forward equal to
    the line's sum in the same way, the station count of KD2 and a length
    within 0.01 m of Db + Df, and each height difference of the GNU Gama
    input is one such line's, with its length;
  - a line holding no Sh (no station, or started and never ended) has no sum
    in a book, or 0.
Prints one line per entry and "FAIL ..." per disagreement; exit 1 on any.
"""
import json
import os
import re
import sys

import records

BOOK_COMMANDS = ("dini-book", "dini-book-checked", "dini-book-geo")


def instrument_lines(path):
    """{line number: {"sh", "stations", "length", "readings", "count", "unit",
    "gap"}}, in file order."""
    lines, method, pending = {}, {}, {}
    lines_text = records.raw_lines(path)
    rec500 = not lines_text[0].startswith("For M5")
    open_line, last_address = None, None
    for raw in lines_text:
        rec = records.rec500_record(raw) if rec500 else records.m5_record(raw)
        if not rec:
            continue
        address, info, blocks = rec
        number = info[-4:].strip()
        if rec500:
            number = info[-5:-1].strip() if info[-1] == " " else info[-4:].strip()
        if open_line is not None and last_address is not None and address != last_address + 1:
            lines.setdefault(open_line, {})["gap"] = True
        last_address = address
        if "Start-Line" in info or "Cont-Line" in info:
            if "Start-Line" in info:
                method[number] = 2 if info.split()[-2] in ("BF", "FB") else 4
            open_line = number
            continue
        if "End-Line" in info:
            open_line = None
            continue
        labels = {b[0]: b[1] for b in blocks}
        reading = next((k for k in ("Rb", "Rf") if k in labels), None)
        if reading and "#####" not in info:
            line = lines.setdefault(number, {})
            station = pending.setdefault(number, [])
            station.append((reading, float(labels[reading])))
            line["unit"] = 10 ** -records.decimals(labels[reading])
            if len(station) == method.get(number, 2):
                back = [v for k, v in station if k == "Rb"]
                fore = [v for k, v in station if k == "Rf"]
                line["count"] = line.get("count", 0) + len(station)
                station.clear()
                if back and fore:
                    line["readings"] = (line.get("readings", 0.0) + sum(back) / len(back)
                                        - sum(fore) / len(fore))
        if "Sh" in labels:
            lines.setdefault(number, {})["sh"] = labels["Sh"]
        if "Db" in labels and "Df" in labels:
            line = lines.setdefault(number, {})
            line["length"] = float(labels["Db"]) + float(labels["Df"])
            line["stations"] = int(info.split()[-2]) if rec500 else int(info[3:].split()[1])
    return lines


def compare(value, line, what):
    """None when value is the line's sum; "rounding" when it differs from Sh
    only by the readings' rounding; otherwise the failure."""
    sh = line["sh"]
    readings = line.get("readings", 0.0)
    if not isinstance(value, float):
        return None if value is None and float(sh) == 0 and not line.get("count") else \
            "%s: no sum (Sh %s)" % (what, sh)
    if abs(value - readings) > 1e-9:
        return "%s: %r, the readings sum to %r (Sh %s)" % (what, value, readings, sh)
    if line.get("gap"):
        return "gap"
    off = abs(value - float(sh))
    if off <= 0.5 * 10 ** -records.decimals(sh) + 1e-9:
        return None
    if off <= 0.5 * line.get("unit", 0) * line.get("count", 0) + 1e-9:
        return "rounding"
    return "%s: %r, Sh %s" % (what, value, sh)


def book_sum(sheet):
    for cell, value in sheet.items():
        column, row = re.match(r"([A-Z]+)(\d+)", cell).groups()
        row = int(row)
        if column == "F" and value == "高差总和":
            return sheet.get("H%d" % row)
        if column == "A" and value == "测段小结":
            if "I%d" % row in sheet:  # the geological institute's book
                return sheet.get("I%d" % row)
            return sheet.get("G%d" % (row + 2))
    return None


def check_entry(entry):
    """(lines that agree to Sh's last decimal, lines off by rounding, failures)."""
    runs = records.entry_runs(entry)
    raw = next(records.corpus_path(a) for a in runs[0] if records.corpus_path(a))
    lines = instrument_lines(raw)
    with_sum = {n: v for n, v in lines.items() if "sh" in v}
    results = []
    for i, args in enumerate(runs):
        suffix = "" if i == 0 else ".%d" % (i + 1)
        if records.expected(entry, "status" + suffix) != b"0\n":
            continue
        if args[0] in BOOK_COMMANDS:
            name = "file.%s.cells" % os.path.basename(args[args.index("-o") + 1])
            sheets = records.book_cells(entry, name)
            for sheet_name, sheet in sheets.items():
                number = sheet_name.replace("水准线", "")
                total = book_sum(sheet)
                if number in with_sum:
                    results.append(compare(total, with_sum[number], sheet_name))
                elif total not in (None, 0.0):
                    results.append("%s: a sum %r for a line with no Sh" % (sheet_name, total))
            for number in sorted(set(with_sum) - {s.replace("水准线", "") for s in sheets}):
                results.append("line %s (Sh %s) has no sheet" % (number, with_sum[number]["sh"]))
        if args[0] == "level-network":
            sections = json.loads(records.expected_text(entry, "file.report.json"))["sections"]
            summaries = list(with_sum.values())
            if len(sections) != len(summaries):
                results.append("%d sections for %d lines" % (len(sections), len(summaries)))
            for s, line in zip(sections, summaries):
                what = "section %s-%s" % (s["from"], s["to"])
                results.append(compare(s["h_forward"], line, what))
                if s["stations"] != line.get("stations"):
                    results.append("%s: %r stations, KD2 %r" % (what, s["stations"],
                                                              line.get("stations")))
                if abs(s["length_km"] * 1000 - line.get("length", -1)) > 0.01 + 1e-9:
                    results.append("%s: %r km, Db+Df %r m" % (what, s["length_km"],
                                                               line.get("length")))
            # Each height difference given to the adjustment is one line's.
            gama = records.expected_text(entry, "file.%s" % os.path.basename(
                args[args.index("--gama") + 1]))
            for frm, to, val, dist in re.findall(
                    r'<dh from="([^"]*)" to="([^"]*)" val="([^"]*)" dist="([^"]*)"', gama):
                if not any(compare(float(val), line, "") in (None, "rounding") and
                           abs(float(dist) * 1000 - line.get("length", -1)) <= 0.01 + 1e-9
                           for line in summaries):
                    results.append("gama dh %s-%s %s over %s km is no line's" % (frm, to, val,
                                                                                 dist))
    failures = [r for r in results if r not in (None, "rounding", "gap")]
    return results.count(None), results.count("rounding"), results.count("gap"), failures


def main(names):
    bad = 0
    for entry in names:
        runs = records.entry_runs(entry)
        if not any(a[0] in BOOK_COMMANDS + ("level-network",) for a in runs):
            continue
        if all(records.expected(entry, n) != b"0\n" for n in records.status_names(entry)):
            continue
        same, rounding, gaps, failures = check_entry(entry)
        print("%s: %d line sums equal Sh to its last decimal, %d differ from it by the"
              " readings' rounding only, %d with addresses missing equal their readings"
              % (entry, same, rounding, gaps))
        bad += records.report(entry, failures)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or records.entries()))
