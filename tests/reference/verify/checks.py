"""The `check` and `dini-audit` runs against their files, recomputed here:
  - the SHA-256 the run reports equals hashlib's of the raw file;
  - the record addresses of the file (M5 and R5 "Adr N", REC 500 columns
    1-7, GSI the four digits after a word's index) run on by one; a file
    whose addresses jump (a fall starts a new download) must give the exit
    status 4 of a check that found something, a file without gaps may give 0;
    a file with no addresses at all (nothing to check) must not give 0.
Prints one line per entry and "FAIL ..." per disagreement; exit 1 on any.
"""
import hashlib
import re
import sys

import records


def addresses(path):
    found = []
    for line in records.raw_lines(path):
        m = re.match(r"For [MR]5\|Adr\s+(\d+)\|", line)
        if m:
            found.append(int(m.group(1)))
        elif re.match(r"^\s{0,6}\d+ ", line) and not line.startswith("*"):
            found.append(int(line[:7]))
        elif re.match(r"^\*?\d{6}[+-]", line):
            found.append(int(line.lstrip("*")[2:6]))
    return found


def gaps(found):
    """[(after, next)] where an address does not follow the one before by 1;
    a fall to a smaller address starts a new download and is no gap."""
    return [(a, b) for a, b in zip(found, found[1:]) if b > a + 1]


def main(names):
    bad = 0
    for entry in names:
        runs = records.entry_runs(entry)
        if runs[0][0] not in ("check", "dini-audit"):
            continue
        raw = records.corpus_path(runs[0][1])
        err = records.expected_text(entry, "stderr")
        status = records.expected_text(entry, "status").strip()
        failures = []
        if status == "1":
            # A file no format recognises is refused: it holds nothing to check.
            if addresses(raw):
                failures.append("the file has record addresses, yet check refused it")
            print("%s: refused (exit 1)" % entry)
            bad += records.report(entry, failures)
            continue
        digest = hashlib.sha256(open(raw, "rb").read()).hexdigest()
        reported = re.findall(r"SHA-256 ([0-9a-f]{64})", err)
        if reported != [digest]:
            failures.append("SHA-256 %r, hashlib %s" % (reported, digest))
        found = gaps(addresses(raw))
        if not addresses(raw) and status == "0":
            failures.append("the file has no record addresses to check, yet exit status 0")
        elif found and status != "4":
            failures.append("addresses jump at %s, yet exit status %s"
                            % (", ".join("%d->%d" % g for g in found), status))
        print("%s: exit %s, %d addresses read, %d gaps, SHA-256 %s" % (
            entry, status, len(addresses(raw)), len(found), digest[:12]))
        bad += records.report(entry, failures)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or records.entries()))
