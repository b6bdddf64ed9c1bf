#!/usr/bin/python3
"""A surveying instrument on the far end of a serial line, for the tests.

  instrument_sim.py PORT [--ready FILE] [--delay SECONDS] send FILE [--bursts 1,7,13] [--gap SECONDS]
      sends the bytes of FILE in bursts of the given sizes (used in turn),
      pausing between bursts, as an instrument's download does.
  instrument_sim.py PORT capture OUT [--idle SECONDS] [--nikon]
      writes every byte received to OUT and ends after the line has been
      quiet for --idle seconds once data arrived. With --nikon it also checks
      each CR LF frame of the coordinate protocol (header A, points G,
      trailer Z) and its checksum, writes one line per frame to OUT + ".frames"
      ("ok" or "bad" and the frame) and exits with 1 when any frame is wrong.
"""
import argparse
import sys
import time

import serial


def checksum(text: bytes) -> int:
    total = sum(b - 256 if b > 127 else b for b in text)
    r = abs(total) % 64
    r = -r if total < 0 else r
    return (r + 32) & 0xFF


def check_frame(frame: bytes) -> bool:
    if len(frame) < 4 or frame[-1:] != b"," or frame[-3:-2] != b",":
        return False
    body, ck = frame[:-2], frame[-2]
    if not (body.startswith(b"A,01,") or body.startswith(b"G,") or body == b"Z,"):
        return False
    return checksum(body) == ck


def send(port, args):
    data = open(args.file, "rb").read()
    sizes = [int(s) for s in args.bursts.split(",")]
    pos, i = 0, 0
    while pos < len(data):
        n = sizes[i % len(sizes)]
        port.write(data[pos:pos + n])
        port.flush()
        pos += n
        i += 1
        if args.gap:
            time.sleep(args.gap)
    time.sleep(0.2)


def capture(port, args):
    received = bytearray()
    last = None
    start = time.monotonic()
    while True:
        chunk = port.read(4096)
        now = time.monotonic()
        if chunk:
            received += chunk
            last = now
        elif last is not None and now - last > args.idle:
            break
        elif last is None and now - start > args.first:
            break
    open(args.out, "wb").write(received)
    if not args.nikon:
        return 0
    frames = bytes(received).split(b"\r\n")
    if frames and frames[-1] == b"":
        frames.pop()
    bad = 0
    with open(args.out + ".frames", "wb") as report:
        for f in frames:
            ok = check_frame(f)
            bad += not ok
            report.write((b"ok " if ok else b"bad ") + f + b"\n")
    return 1 if bad else 0


def main():
    p = argparse.ArgumentParser()
    p.add_argument("port")
    sub = p.add_subparsers(dest="mode", required=True)
    s = sub.add_parser("send")
    s.add_argument("file")
    s.add_argument("--bursts", default="1,7,13,64,3,251,2")
    s.add_argument("--gap", type=float, default=0.002)
    c = sub.add_parser("capture")
    c.add_argument("out")
    c.add_argument("--idle", type=float, default=1.0)
    c.add_argument("--first", type=float, default=20.0)
    c.add_argument("--nikon", action="store_true")
    p.add_argument("--baud", type=int, default=9600)
    p.add_argument("--ready", help="a file made once the port is open")
    p.add_argument("--delay", type=float, default=0.0, help="seconds to wait after opening")
    args = p.parse_args()
    port = serial.Serial(args.port, args.baud, timeout=0.05)
    if args.ready:
        open(args.ready, "w").close()
    time.sleep(args.delay)
    try:
        rc = send(port, args) if args.mode == "send" else capture(port, args)
    finally:
        port.close()
    sys.exit(rc or 0)


if __name__ == "__main__":
    main()
