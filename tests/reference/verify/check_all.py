"""Runs every check of this folder over the committed expected outputs of the
reference runs (the reference test proves the program writes exactly those):
the levelling line sums, the points read back. Exit 1 when any fails."""
import sys

import levelling_sums
import points

if __name__ == "__main__":
    failed = [m.__name__ for m in (levelling_sums, points) if m.main(sys.argv[1:] or
                                                                  levelling_sums.records.entries())]
    if failed:
        print("FAILED: " + ", ".join(failed))
    sys.exit(1 if failed else 0)
