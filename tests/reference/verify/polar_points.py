"""Polar points the program computes, against the instrument's own.

A total station writes each polar shot (SD, Hz, V1) followed by the point's
coordinates as it computed them. Each real M5 job with such shots is turned
into R5 with the command-line program given (CLI); then the coordinate record
that follows each shot of the same point is taken out, so the program has to
compute the point from the shot, the station and orientation records and the
heights; r5-to-points then must give every such point within 1 mm in X, Y
and Z of the instrument's record. Prints one line per file and "FAIL ..." per
point beyond that; exit 1 on any.

    polar_points.py CLI WORKDIR
"""
import os
import shutil
import subprocess
import sys

import records

JOBS = ("m5/geoeasy-trimble-m3-180416-1.m5", "m5/geoeasy-trimble-m3-180416-2.m5",
        "m5/geoeasy-trimble-m3-180416-3.m5", "m5/geoeasy-trimble-m3-180416-4.m5",
        "m5/osgeolab-trimble-m3-sample.m5")


def blocks(line):
    return {b.split()[0]: b.split()[1] for b in line.split("|")[3:6] if len(b.split()) >= 2}


def strip_instrument_points(r5_lines):
    """The R5 lines without the coordinates that follow a shot of the same
    point, and those coordinates in order: [(point field, X, Y, Z)]."""
    kept, taken = [], []
    for line in r5_lines:
        if kept and line.startswith("For R5") and "|KR" in line:
            before = kept[-1]
            same_point = before.split("|")[2:3] == line.split("|")[2:3]
            if same_point and "SD" in blocks(before) and "X" in blocks(line):
                b = blocks(line)
                taken.append((line.split("|")[2][2:].strip(), float(b["X"]), float(b["Y"]),
                              float(b["Z"]) if "Z" in b else None))
                continue
        kept.append(line)
    return kept, taken


def main(cli, workdir):
    shutil.rmtree(workdir, ignore_errors=True)
    os.makedirs(workdir)
    bad = 0
    for job in JOBS:
        stem = os.path.join(workdir, os.path.basename(job))
        subprocess.run([cli, "m5-to-r5", os.path.join(records.CORPUS, job), "-o", stem + ".r5"],
                       check=True, stderr=subprocess.DEVNULL)
        kept, taken = strip_instrument_points(records.raw_lines(stem + ".r5"))
        with open(stem + "-shots.r5", "w", newline="\r\n") as f:
            f.write("\n".join(l for l in kept if l) + "\n")
        subprocess.run([cli, "r5-to-points", stem + "-shots.r5", "-o", stem + ".txt"],
                       check=True, stderr=subprocess.DEVNULL)
        computed = {}
        for line in records.raw_lines(stem + ".txt"):
            f = line.split(",")
            # Station and orientation points (code S or A) are given, not computed.
            if len(f) >= 4 and f[4].strip() not in ("S", "A"):
                computed.setdefault(f[0].strip(), []).append(tuple(float(v) for v in f[1:4]))
        worst, compared = 0.0, 0
        for name, x, y, z in taken:
            mine = computed.get(name.split()[-1], [])
            if not mine:
                print("FAIL %s: point %s was not computed" % (job, name))
                bad += 1
                continue
            point = mine.pop(0)
            compared += 1
            off = max(abs(point[0] - x), abs(point[1] - y), abs(point[2] - z) if z is not None else 0)
            worst = max(worst, off)
            if off > 0.001 + 1e-9:
                print("FAIL %s: point %s computed %r, the instrument's %r" % (job, name, point,
                                                                            (x, y, z)))
                bad += 1
        print("%s: %d computed points, the largest difference from the instrument's %.4f m"
              % (job, compared, worst))
        bad += compared == 0
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
