"""Points written by the reference runs, read back here and compared with the
points of the real file they came from.

- Coordinate jobs (M5, R5, REC 500 of a total station): every point the run
  wrote (points.txt, a DXF read with ezdxf) agrees within half a millimetre
  in X, Y and Z with the instrument's own coordinate record of that point in
  the raw file (the next record, in file order, whose point field holds its
  number); a record conversion (an R5 or M5 file) holds the source's
  coordinate records one for one, in order, with the same values.
- Point lists: each export read back (DXF with ezdxf: a POINT at (X, Y, Z)
  and a PN text of the name; R5 KR records; COR "name Y X Z"; ORG
  "b,name,X,Y,Z") holds the list's points, in order, to the decimals the
  format keeps (R5 values are rounded to fit 11 columns: within 1 mm).
Prints one line per entry and "FAIL ..." per disagreement; exit 1 on any.
"""
import os
import re
import sys

import records

TOLERANCE = 0.0005 + 1e-9  # half a millimetre: the coordinates have 3 decimals


def number(text):
    try:
        return float(text)
    except ValueError:
        return None


def instrument_points(path):
    """[(point field, X, Y, Z or None)] of the coordinate records of a raw job."""
    points = []
    for line in records.raw_lines(path):
        if line.startswith("For R5"):
            fields = line.split("|")
            if not fields[2].startswith("KR"):
                continue
            info = fields[2][2:]
            blocks = [b.split() for b in fields[3:6]]
        elif line.startswith("For M5"):
            rec = records.m5_record(line)
            if not rec or not rec[1].startswith("PI1"):
                continue
            info, blocks = rec[1][3:], [[b[0], b[1]] for b in rec[2]]
        else:
            rec = records.rec500_record(line)
            if not rec:
                continue
            info, blocks = rec[1], [[b[0], b[1]] for b in rec[2]]
        values = {b[0]: number(b[1]) for b in blocks if len(b) >= 2}
        if "X" in values and "Y" in values:
            points.append((info, values["X"], values["Y"], values.get("Z")))
    return points


def written_points(entry, name):
    """[(name, X, Y, Z)] of a file a run wrote."""
    path = os.path.join(records.EXPECTED, entry, "file." + name)
    if name.endswith(".dxf"):
        import ezdxf
        entities = list(ezdxf.readfile(path).modelspace())
        names = [e.dxf.text.strip() for e in entities
                 if e.dxftype() == "TEXT" and e.dxf.layer == "PN"]
        located = [e.dxf.location for e in entities if e.dxftype() == "POINT"]
        return [(n, p[0], p[1], p[2]) for n, p in zip(names, located)] + \
            [("?", 0, 0, 0)] * (len(located) - len(names))
    text = records.expected_text(entry, "file." + name)
    points = []
    for line in text.split("\n"):
        if name.endswith(".txt"):
            f = line.split(",")
            if len(f) >= 4:
                points.append((f[0].strip(), number(f[1]), number(f[2]), number(f[3])))
        elif name.endswith(".org"):
            f = line.split(",")
            if len(f) >= 5 and f[0] == "b":
                points.append((f[1], number(f[2]), number(f[3]), number(f[4])))
        elif name.endswith(".cor"):
            f = line.split()
            if len(f) == 8 and "$" not in line:
                points.append((f[0], number(f[2]), number(f[1]), number(f[3])))
    if name.endswith((".r5", ".m5")):
        points = [(info.strip(), x, y, z) for info, x, y, z in instrument_points(path)]
    return points


def list_points(path):
    """[(name, X, Y, Z)] of a real point list: CASS (name,code,E,N,H), PNEZD
    (name,N,E,Z,code) or blank-separated (name X Y Z)."""
    points = []
    for line in records.raw_lines(path):
        if "," in line:
            f = line.split(",")
            if f[1] == "" or number(f[1]) is None:  # CASS: the code comes second
                points.append((f[0], number(f[3]), number(f[2]), number(f[4])))
            else:
                points.append((f[0], number(f[1]), number(f[2]), number(f[3])))
        elif line.split():
            f = line.split()
            points.append((f[0], number(f[1]), number(f[2]), number(f[3])))
    return points


def off(a, b, tolerance):
    return any(p is not None and q is not None and abs(p - q) > tolerance
               for p, q in zip(a[1:], b[1:]))


def key(name):
    """The point number in a point field: its last run of digits, or its first."""
    runs = re.findall(r"\d+", name)
    if not runs:
        return name.strip()
    last = runs[-1] if re.search(r"\d\s*$", name) else runs[0]
    return last.lstrip("0") or "0"


def same_point(field, name):
    wanted = key(name)
    return key(field).endswith(wanted) or field.strip().startswith(wanted)


def check_job(raw, written, failures):
    """Each written point against the instrument's next record of that point,
    in file order."""
    source = instrument_points(raw)
    at, matched = 0, 0
    for p in written:
        for k in range(at, len(source)):
            if same_point(source[k][0], p[0]):
                matched += 1
                at = k + 1
                if off(p, source[k], TOLERANCE):
                    failures.append("point %s: %r, the instrument's record %r"
                                    % (p[0], p[1:], source[k][1:]))
                break
    return matched


def check_list(raw, written, name, failures, through_r5):
    source = list_points(raw)
    if name.endswith(".dxf") and "," in records.raw_lines(raw)[0] and \
            records.raw_lines(raw)[0].split(",")[1] == "":
        # A CASS list is drawn as CASS draws it: east across, north up.
        written = [(n, y, x, z) for n, x, y, z in written]
    # R5 keeps 11 columns; read back, its values are rounded once more.
    tolerance = 0.0005 + 1e-9 if name.endswith(".r5") else 0.001 + 1e-9 if through_r5 else 1e-9
    if len(written) != len(source):
        failures.append("%s holds %d points, the list %d" % (name, len(written), len(source)))
    for p, q in zip(written, source):
        if off(p, q, tolerance):
            failures.append("%s point %s: %r, the list %r" % (name, q[0], p[1:], q[1:]))
            break
        if name.endswith((".cor", ".org", ".dxf")) and p[0] != q[0]:
            failures.append("%s: the name %r, the list %r" % (name, p[0], q[0]))
            break
    return len(written)


def main(names):
    bad = 0
    for entry in names:
        runs = records.entry_runs(entry)
        raw = next((records.corpus_path(a) for a in runs[0] if records.corpus_path(a)), None)
        kinds = [n for n in sorted(os.listdir(os.path.join(records.EXPECTED, entry)))
                 if n.startswith("file.") and n.endswith((".txt", ".r5", ".m5", ".dxf", ".cor",
                                                          ".org"))]
        if not raw or not kinds or "traverse" in entry:
            continue
        failures, counts = [], []
        for kind in kinds:
            name = kind[len("file."):]
            written = written_points(entry, name)
            if "/pointlist/" in raw:
                counts.append("%s %d" % (name, check_list(raw, written, name, failures,
                                                                 "file.points.r5" in kinds)))
            elif name.endswith((".r5", ".m5")):
                # A record conversion: record for record, in order.
                source = instrument_points(raw)
                if len(source) != len(written):
                    failures.append("%s holds %d coordinate records, the source %d"
                                    % (name, len(written), len(source)))
                wrong = [(p, q) for p, q in zip(written, source) if off(p, q, TOLERANCE)]
                failures += ["%s record %r, the source %r" % (name, p, q) for p, q in wrong[:3]]
                counts.append("%s %d of %d" % (name, len(written) - len(wrong), len(source)))
            else:
                matched = check_job(raw, written, failures)
                counts.append("%s %d of %d" % (name, matched, len(written)))
        print("%s: points agreeing with the source: %s" % (entry, ", ".join(counts)))
        bad += records.report(entry, failures)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or records.entries()))
