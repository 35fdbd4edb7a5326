#!/usr/bin/env python3
"""Soak check of the command-line tool, run by hand:

    tools/soak_cli.py [--cli build/bin/ohmtrim-cli] [--calls 10000] [--seed N]

Writes a handful of small random value sets (with and without short- and
open-circuit entries) into a scratch directory, then runs `solve` that many
times on random catalogue entries 1 to 12, with random value sets, random
inputs (good ones, out-of-range ones and junk), random relative tolerances,
in JSON and in text form. Every call must end normally with status 0, 1 or 2
within the time limit; JSON must parse and agree with the status; text must
hold no control character and no line ending in a blank; standard error
holds the status's message and nothing else. The settings file must come
out byte for byte as it went in. Prints a summary and exits 1 on any fault.
"""

import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

MESSAGES = {0: "", 1: "Invalid input data.\n", 2: "No solution found.\n"}
RESISTORS = {1: 1, 2: 2, 3: 2, 4: 3, 5: 3, 6: 3, 7: 3, 8: 2, 9: 3, 10: 4, 11: 4, 12: 4}


def number(rng, low, high):
    """A number text: mostly plausible, sometimes nasty."""
    roll = rng.random()
    if roll < 0.04:
        return rng.choice(["abc", "4k7", "", " ", "1e999", "-1e999", "nan", "inf", "0x10",
                           "1,5", "\x1b[2J", "1e-400", "+", ".", "1" * 400])
    if roll < 0.08:
        return rng.choice(["0", "-0", "1e15", "1e-15", "1.1e15", "-5"])
    value = 10 ** rng.uniform(low, high)
    return rng.choice(["%g", "%.3f", "%.10e", "%.17g"]) % value


def write_value_sets(rng, directory, count):
    labels = []
    for i in range(count):
        label = "S%d" % i
        values = sorted(10 ** rng.uniform(0, 6) for _ in range(rng.randint(1, 8)))
        lines = ["[Resistors]", "Label=" + label, "MinIndex=1", "MaxIndex=%d" % len(values)]
        lines += ["R%d=%.6g" % (n + 1, v) for n, v in enumerate(values)]
        if rng.random() < 0.3:
            lines.append("ShortCircuitResistanceLevel=%.6g" % (values[0] / 1000))
        if rng.random() < 0.3:
            lines.append("OpenCircuitResistanceLevel=%.6g" % (values[-1] * 1000))
        with open(os.path.join(directory, label + ".val"), "w") as f:
            f.write("\n".join(lines) + "\n")
        labels.append(label)
    return labels


def arguments(rng, labels):
    entry = rng.randint(1, 12)
    args = []
    if rng.random() < 0.5:
        args.append("--json")
    if rng.random() < 0.5:
        args += ["--reltol", rng.choice(["0", "1e-6", "0.001", "0.05", "1", "-1"])]
    sets = ",".join(rng.choice(labels) for _ in range(RESISTORS[entry]))
    args += ["solve", str(entry), "--sets", sets]
    if entry <= 7:
        args += ["--target", number(rng, -1, 7)]
    else:
        for option in ("--u1", "--u2", "--u3"):
            if rng.random() < 0.85:
                args += [option, number(rng, -1, 2)]
        low = rng.uniform(0, 6)
        args += ["--rmin", number(rng, low - 1, low), "--rmax", number(rng, low, low + 2)]
    return entry, args


def check(args, result):
    """The fault in one call, or None."""
    if result.returncode not in MESSAGES:
        return "exit status %d" % result.returncode
    if result.stderr != MESSAGES[result.returncode].encode():
        return "standard error %r" % result.stderr[:200]
    if "--json" in args:
        try:
            data = json.loads(result.stdout.decode("utf-8"))
        except (UnicodeDecodeError, ValueError) as e:
            return "JSON does not parse: %s" % e
        if data.get("status") != result.returncode:
            return "JSON status %r" % data.get("status")
        if (data["values"] is None) != (result.returncode != 0):
            return "JSON values %r" % data["values"]
    else:
        text = result.stdout.decode("utf-8", "replace")
        if any((ord(c) < 32 and c != "\n") or c == "\x7f" for c in text):
            return "control character in %r" % text[:200]
        if any(line.endswith(" ") for line in text.split("\n")):
            return "trailing blank in %r" % text[:200]
        if (result.returncode == 0) != bool(text):
            return "output %r for status %d" % (text[:200], result.returncode)
    return None


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default=os.path.join(here, "..", "build", "bin", "ohmtrim-cli"))
    parser.add_argument("--calls", type=int, default=10000)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--timeout", type=float, default=60)
    options = parser.parse_args()
    rng = random.Random(options.seed)

    directory = tempfile.mkdtemp(prefix="ohmtrim-soak-")
    try:
        labels = write_value_sets(rng, directory, 8)
        settings = b"[Setup]\r\nRelTol=0.001\r\nLabel=S3\r\n"
        with open(os.path.join(directory, "omtr.ini"), "wb") as f:
            f.write(settings)
        statuses = {}
        entries = {}
        faults = []
        slowest = (0.0, None)
        started = time.monotonic()
        for call in range(options.calls):
            entry, args = arguments(rng, labels)
            command = [options.cli, "--dir", directory] + args
            t0 = time.monotonic()
            try:
                result = subprocess.run(command, capture_output=True, timeout=options.timeout)
            except subprocess.TimeoutExpired:
                faults.append((call, args, "no answer within %g s" % options.timeout))
                continue
            elapsed = time.monotonic() - t0
            slowest = max(slowest, (elapsed, args))
            statuses[result.returncode] = statuses.get(result.returncode, 0) + 1
            entries[entry] = entries.get(entry, 0) + 1
            fault = check(args, result)
            if fault:
                faults.append((call, args, fault))
        with open(os.path.join(directory, "omtr.ini"), "rb") as f:
            if f.read() != settings:
                faults.append((None, [], "the settings file changed"))
        total = time.monotonic() - started

        print("seed %d: %d solve calls in %.0f s on %d random value sets"
              % (options.seed, options.calls, total, len(labels)))
        print("calls per entry: " + ", ".join("%d: %d" % kv for kv in sorted(entries.items())))
        print("exit statuses: " + ", ".join("%d: %d" % kv for kv in sorted(statuses.items())))
        print("slowest call: %.3f s (%s)" % (slowest[0], " ".join(slowest[1] or [])))
        print("settings file unchanged: %s" % ("no" if any(f[0] is None for f in faults) else "yes"))
        for call, args, fault in faults[:20]:
            print("FAULT in call %s: %s\n  ohmtrim-cli %s" % (call, fault, " ".join(map(repr, args))))
        print("%d faults" % len(faults))
        return 1 if faults else 0
    finally:
        shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
