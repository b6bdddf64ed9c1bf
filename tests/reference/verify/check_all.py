"""Runs every check of this folder over the committed expected outputs of the
reference runs (the reference test proves the program writes exactly those):
the levelling line sums, the points read back, the Nikon observations,
the checks' digests and address gaps. Exit 1 when any fails, or when an
entry called KNOWN WRONG by a check is found right."""
import os
import re
import sys

import checks
import levelling_sums
import nikon_cosa
import points
import records

if __name__ == "__main__":
    names = sys.argv[1:] or records.entries()
    failed = [m.__name__ for m in (levelling_sums, points, nikon_cosa, checks) if m.main(names)]
    # A fault a check found and the entry calls known must still be there:
    # once it is mended, the verified line is out of date.
    for entry in names:
        line = records.verified_line(entry)
        for script in re.findall(r"verify/(\w+\.py)", line):
            if not os.path.exists(os.path.join(records.HERE, script)):
                print("FAIL %s: its verified line names verify/%s, which is not there"
                      % (entry, script))
                failed.append(entry)
        if line.startswith("KNOWN WRONG") and "verify/" in line and \
                entry not in records.known_wrong_found:
            print("FAIL %s: its verified line says KNOWN WRONG, but no check finds the fault"
                  % entry)
            failed.append(entry)
    if failed:
        print("FAILED: " + ", ".join(failed))
    sys.exit(1 if failed else 0)
