"""Reading the real files and the reference runs' expected outputs, written
apart from the program: the checks in this folder compare one with the other.

The expected outputs are tests/reference/expected/ENTRY/: "status", "stderr",
"stdout" and "file.NAME" per run (".2", ".3"... for later runs); a workbook
is "file.NAME.cells": "[sheet]" lines, then "A1<TAB>value" or
"A1<TAB>=formula<TAB>value" lines.
"""
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCE = os.path.dirname(HERE)
CORPUS = os.path.join(os.path.dirname(REFERENCE), "corpus")
EXPECTED = os.path.join(REFERENCE, "expected")
RUNS = os.path.join(REFERENCE, "runs")


def entry_runs(entry):
    """The argument lists of an entry's run: lines."""
    runs = []
    with open(os.path.join(RUNS, entry + ".run"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("run:"):
                runs.append(line[4:].split())
    return runs


def entries():
    return sorted(n[:-4] for n in os.listdir(RUNS) if n.endswith(".run"))


def corpus_path(arg):
    return os.path.join(CORPUS, arg[len("$CORPUS/"):]) if arg.startswith("$CORPUS/") else None


def expected(entry, name):
    with open(os.path.join(EXPECTED, entry, name), "rb") as f:
        return f.read()


def expected_text(entry, name):
    return expected(entry, name).decode("utf-8")


def raw_lines(path):
    """The file's lines without their line ends, decoded as UTF-8 or Latin-2."""
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("iso-8859-2")
    return text.replace("\r\n", "\n").split("\n")


def book_cells(entry, name):
    """{sheet: {cell: value}}: a value is a float when it reads as one."""
    sheets, current = {}, None
    for line in expected_text(entry, name).split("\n"):
        if line.startswith("[") and line.endswith("]"):
            current = sheets.setdefault(line[1:-1], {})
            continue
        if not line:
            continue
        parts = line.split("\t")
        value = parts[-1] if len(parts) > 1 else ""
        try:
            value = float(value)
        except ValueError:
            pass
        current[parts[0]] = value
    return sheets


def decimals(text):
    text = text.strip()
    return len(text) - text.index(".") - 1 if "." in text else 0


# --- M5 (REC E) -----------------------------------------------------------

M5_BLOCK = re.compile(r"^(\S+)\s+(\S+)\s*(\S*)\s*$")


def m5_record(line):
    """(address, info text, [(label, value text, unit)]) of an M5 line, or None."""
    fields = line.split("|")
    if len(fields) < 6 or not fields[0].startswith("For M5"):
        return None
    blocks = []
    for b in fields[3:6]:
        m = M5_BLOCK.match(b.strip()) if b.strip() else None
        if m:
            blocks.append((m.group(1), m.group(2), m.group(3)))
    return int(fields[1].split()[1]), fields[2], blocks


def rec500_record(line):
    """The same for a REC 500 line: value blocks at columns 37, 52 and 68, no units."""
    if len(line) < 36 or not line[:7].strip().isdigit():
        return None
    blocks = []
    for start, end in ((36, 51), (51, 67), (67, 79)):
        part = line[start:end].split()
        if len(part) == 2:
            blocks.append((part[0], part[1], ""))
    return int(line[:7]), line[7:36], blocks


def status_names(entry):
    return sorted(n for n in os.listdir(os.path.join(EXPECTED, entry)) if n.startswith("status"))


def verified_line(entry):
    with open(os.path.join(RUNS, entry + ".run"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("verified:"):
                return line[9:].strip()
    return ""


# The entries whose verified line says KNOWN WRONG and whose fault a check found.
known_wrong_found = set()


def report(entry, failures):
    """Prints the failures; returns how many count. Those of an entry whose
    verified line says KNOWN WRONG are printed as such and do not count."""
    known = verified_line(entry).startswith("KNOWN WRONG")
    for f in failures:
        print("%s %s: %s" % ("KNOWN WRONG" if known else "FAIL", entry, f))
    if known and failures:
        known_wrong_found.add(entry)
    return 0 if known else len(failures)
