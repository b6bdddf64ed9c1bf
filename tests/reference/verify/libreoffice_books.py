"""Every workbook of the reference runs, recalculated by LibreOffice.

Runs each entry's commands that write a workbook with the command-line
program given (CLI), opens all the workbooks in one headless LibreOffice with
every formula recalculated on load, and compares each formula's value there
with the value the program stored in the file. One copy has its first stored
value falsified: LibreOffice must give the true value for it, which proves
the values compared are LibreOffice's own. Prints "BOOK: N formulas" and
"FAIL ..." per difference; exit 1 on any.

    libreoffice_books.py CLI WORKDIR
"""
import os
import shutil
import subprocess
import sys

import openpyxl

import records

sys.path.insert(0, os.path.join(os.path.dirname(records.REFERENCE), "levelling"))
import check_workbook  # noqa: E402  (the recalculation settings and the falsifying)


def books(cli, workdir):
    """{name: path} of the workbooks the entries write, made afresh."""
    made = {}
    samples = os.path.join(os.path.dirname(os.path.dirname(records.REFERENCE)), "data", "samples")
    for entry in records.entries():
        out = os.path.join(workdir, "runs", entry)
        os.makedirs(out, exist_ok=True)
        for args in records.entry_runs(entry):
            args = [a.replace("$CORPUS", records.CORPUS).replace("$SAMPLES", samples)
                    .replace("$OUT", out) for a in args]
            subprocess.run([cli] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for name in sorted(os.listdir(out)):
            if name.endswith(".xlsx"):
                made["%s-%s" % (entry, name)] = os.path.join(out, name)
    return made


def main(cli, workdir):
    shutil.rmtree(workdir, ignore_errors=True)
    made = books(cli, workdir)
    inputs = os.path.join(workdir, "in")
    os.makedirs(inputs)
    for name, path in made.items():
        shutil.copy(path, os.path.join(inputs, name))
    first = sorted(made)[0]
    falsified = os.path.join(inputs, "falsified-" + first)
    if not check_workbook.falsify_first_value(made[first], falsified):
        print("FAIL no stored formula value to falsify")
        return 1
    profile = os.path.join(workdir, "profile")
    os.makedirs(os.path.join(profile, "user"))
    with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as f:
        f.write(check_workbook.RECALC_SETTINGS)
    out = os.path.join(workdir, "lo")
    subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless",
                    "--norestore", "--convert-to", "xlsx", "--outdir", out]
                   + sorted(os.path.join(inputs, n) for n in os.listdir(inputs)),
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    bad = 0
    recalculated = openpyxl.load_workbook(os.path.join(out, "falsified-" + first), data_only=True)
    if any(c.value == int(check_workbook.FALSIFIED)
           for row in recalculated.worksheets[0].iter_rows() for c in row):
        print("FAIL LibreOffice kept a stored value instead of recalculating")
        bad += 1
    for name in sorted(made):
        formulas = openpyxl.load_workbook(made[name])
        ours = openpyxl.load_workbook(made[name], data_only=True)
        theirs = openpyxl.load_workbook(os.path.join(out, name), data_only=True)
        count = 0
        for ws in formulas.worksheets:
            for row in ws.iter_rows():
                for c in row:
                    if isinstance(c.value, str) and c.value.startswith("="):
                        count += 1
                        mine = ours[ws.title][c.coordinate].value
                        lo = theirs[ws.title][c.coordinate].value
                        if not check_workbook.same(mine, lo):
                            bad += 1
                            print("FAIL %s %s!%s %s: stored %r, LibreOffice %r"
                                  % (name, ws.title, c.coordinate, c.value, mine, lo))
        print("%s: %d formulas" % (name, count))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
