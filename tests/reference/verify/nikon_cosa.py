"""COSA observation files made from Nikon RAW, against the raw records.

For each SS record of the raw file (a *SS record is superseded and left out),
worked out here on its own from the header's units:
  - the direction L = HA less the set-up's backsight reading (the last field
    of its ST record), in the angle units of "CO,Angle Units:" (gons,
    degrees or DDD.MMSS), written as DDD.MMSS; it must be within 1" of the
    L of that target under that station in the .in2 file;
  - the horizontal distance S = SD x sin(zenith angle), the vertical angle
    read as a zenith angle or, with "CO,Zero VA: Compass"/"Horizontal", as an
    elevation angle (S = SD x cos); within 0.1 mm of the file's S.
Prints one line per entry and "FAIL ..." per disagreement; exit 1 on any.
"""
import math
import sys

import records


def degrees(text, unit):
    value = float(text)
    if unit == "gons":
        return value * 0.9
    if unit == "dddmmss":
        sign = -1 if text.strip().startswith("-") else 1
        d, rest = divmod(abs(value) * 10000 + 1e-6, 10000)
        m, s = divmod(rest, 100)
        return sign * (d + m / 60 + int(s) / 3600)
    return value


def dms_degrees(text):
    return degrees(text, "dddmmss")


def raw_observations(path):
    """[(station, target, direction in degrees, horizontal distance)]."""
    unit, elevation, station, zero = "degrees", False, None, 0.0
    observations = []
    for line in records.raw_lines(path):
        f = [x.strip() for x in line.split(",")]
        if line.startswith("CO,Angle Units:"):
            unit = {"Gons": "gons", "DDDMMSS": "dddmmss"}.get(line.split(":")[1].strip(),
                                                             "degrees")
        elif line.startswith("CO,Zero VA:"):
            elevation = line.split(":")[1].strip() in ("Compass", "Horizontal")
        elif f[0] == "ST":
            station, zero = f[1], degrees(f[7] or "0", unit)
        elif f[0] == "SS" and f[3]:
            va = math.radians(degrees(f[5], unit))
            horizontal = float(f[3]) * (math.cos(va) if elevation else math.sin(va))
            observations.append((station, f[1], (degrees(f[4], unit) - zero) % 360, horizontal))
    return observations


def in2_observations(text):
    """{(station, target, kind): [values in order]}."""
    found, station = {}, None
    for line in text.split("\n")[1:]:
        f = [x.strip() for x in line.split(",")]
        if len(f) == 1 and f[0]:
            station = f[0]
        elif len(f) == 3 and f[1] in ("L", "S"):
            found.setdefault((station, f[0], f[1]), []).append(float(f[2]))
    return found


def main(names):
    bad = 0
    for entry in names:
        runs = records.entry_runs(entry)
        if runs[0][0] != "nikon-to-cosa" or records.expected(entry, "status") != b"0\n":
            continue
        raw = records.corpus_path(runs[0][1])
        written = in2_observations(records.expected_text(entry, "file.net.in2"))
        failures, count = [], 0
        for station, target, direction, horizontal in raw_observations(raw):
            ls = written.get((station, target, "L"), [])
            ss = written.get((station, target, "S"), [])
            if not ls or not ss:
                failures.append("station %s target %s: no L or S" % (station, target))
                continue
            if len(ls) > len(ss) and ls[0] == 0:
                ls.pop(0)  # the zero direction to the set-up's backsight, no shot of its own
            l, s = ls.pop(0), ss.pop(0)
            count += 1
            diff = abs((dms_degrees("%.4f" % l) - direction + 180) % 360 - 180) * 3600
            if diff > 1.0 + 1e-6:
                failures.append("station %s target %s: L %.4f, the raw HA gives %.6f deg"
                                % (station, target, l, direction))
            if abs(s - horizontal) > 1e-4:
                failures.append("station %s target %s: S %r, SD and VA give %r"
                                % (station, target, s, horizontal))
        print("%s: %d observations agree with the raw SS records" % (entry, count))
        bad += records.report(entry, failures)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or records.entries()))
