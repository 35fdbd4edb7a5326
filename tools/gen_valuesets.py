#!/usr/bin/env python3
"""Writes the value-set files shipped in data/ (E3 ... E192 and the variants
with short-circuit and open-circuit entries).

Every file runs from 1 ohm to 10 Mohm: each value of each decade from 1 ohm
up to the decade below 10 Mohm, then 10 Mohm itself. Values are written as
exact decimal text made by moving the decimal point of the mantissa digits,
never by multiplying floating-point numbers.

Run from anywhere:  python3 tools/gen_valuesets.py
"""

import math
import os
import sys

# IEC 60063 mantissas, written as the digits of one decade starting at 1.
# E3 to E24 have two significant digits, E48 to E192 three.
E24 = """10 11 12 13 15 16 18 20 22 24 27 30 33 36 39 43 47 51 56 62 68 75 82 91""".split()
E12 = """10 12 15 18 22 27 33 39 47 56 68 82""".split()
E6 = """10 15 22 33 47 68""".split()
E3 = """10 22 47""".split()

E192 = """
100 101 102 104 105 106 107 109 110 111 113 114 115 117 118 120
121 123 124 126 127 129 130 132 133 135 137 138 140 142 143 145
147 149 150 152 154 156 158 160 162 164 165 167 169 172 174 176
178 180 182 184 187 189 191 193 196 198 200 203 205 208 210 213
215 218 221 223 226 229 232 234 237 240 243 246 249 252 255 258
261 264 267 271 274 277 280 284 287 291 294 298 301 305 309 312
316 320 324 328 332 336 340 344 348 352 357 361 365 370 374 379
383 388 392 397 402 407 412 417 422 427 432 437 442 448 453 459
464 470 475 481 487 493 499 505 511 517 523 530 536 542 549 556
562 569 576 583 590 597 604 612 619 626 634 642 649 657 665 673
681 690 698 706 715 723 732 741 750 759 768 777 787 796 806 816
825 835 845 856 866 876 887 898 909 920 931 942 953 965 976 988
""".split()

E96 = """
100 102 105 107 110 113 115 118 121 124 127 130 133 137 140 143
147 150 154 158 162 165 169 174 178 182 187 191 196 200 205 210
215 221 226 232 237 243 249 255 261 267 274 280 287 294 301 309
316 324 332 340 348 357 365 374 383 392 402 412 422 432 442 453
464 475 487 499 511 523 536 549 562 576 590 604 619 634 649 665
681 698 715 732 750 768 787 806 825 845 866 887 909 931 953 976
""".split()

E48 = """
100 105 110 115 121 127 133 140 147 154 162 169 178 187 196 205
215 226 237 249 261 274 287 301 316 332 348 365 383 402 422 442
464 487 511 536 562 590 619 649 681 715 750 787 825 866 909 953
""".split()

SERIES = {"E3": E3, "E6": E6, "E12": E12, "E24": E24, "E48": E48, "E96": E96, "E192": E192}

DECADES = 7  # 1 ohm ... 1 Mohm; 10 Mohm closes the file
TOP = "10000000"


def formula(n, digits):
    """The rounded geometric series 10^(i/n) the tables derive from."""
    return [str(round(10 ** (i / n) * 10 ** (digits - 1))) for i in range(n)]


def check_tables():
    for name, table in SERIES.items():
        n = int(name[1:])
        assert len(table) == n, (name, len(table))
        assert len(set(table)) == n, name
        assert table == sorted(table, key=int), name
        digits = 2 if n <= 24 else 3
        assert all(len(m) == digits for m in table), name
    # Each series is every second value of the next finer one.
    assert E3 == E6[::2] and E6 == E12[::2] and E12 == E24[::2]
    assert E48 == E96[::2] and E96 == E192[::2] and E48 == E192[::4]
    # The tables follow the rounded geometric series except for the
    # historical values of E24 and the one exception of E192.
    deviations = {
        "E24": {"26": "27", "29": "30", "32": "33", "35": "36", "38": "39", "42": "43",
                "46": "47", "83": "82"},
        "E192": {"919": "920"},
    }
    for name in ("E24", "E192"):
        digits = 2 if name == "E24" else 3
        expected = [deviations[name].get(m, m) for m in formula(int(name[1:]), digits)]
        assert SERIES[name] == expected, name


def decimal_text(mantissa, decade):
    """The value mantissa (digits of d.dd) times 10^decade as exact text."""
    point = 1 + decade
    digits = mantissa + "0" * max(0, point - len(mantissa))
    whole, fraction = digits[:point], digits[point:].rstrip("0")
    return whole + ("." + fraction if fraction else "")


def values_of(table):
    values = [decimal_text(m, d) for d in range(DECADES) for m in table]
    values.append(TOP)
    return values


def write_set(path, label, title, values, levels):
    lines = ["; %s, 1 ohm to 10 Mohm, %d values" % (title, len(values)),
             "[Resistors]",
             "Label=" + label,
             "MinIndex=1",
             "MaxIndex=%d" % len(values)]
    if levels:
        lines.append("ShortCircuitResistanceLevel=0.001")
        lines.append("OpenCircuitResistanceLevel=1e12")
    lines += ["R%d=%s" % (i + 1, v) for i, v in enumerate(values)]
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


SETTINGS = """\
; RelTol: relative tolerance of the searches (0 to 0.05); Label: value set selected at start.
[Setup]
RelTol=1e-6
Label=E24
"""


def main():
    check_tables()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    data = os.path.join(root, "data")
    os.makedirs(data, exist_ok=True)
    for name, table in SERIES.items():
        values = values_of(table)
        assert len(values) == DECADES * len(table) + 1
        assert [float(v) for v in values] == sorted(float(v) for v in values)
        assert all(math.isclose(float(a) * 10, float(b))
                   for a, b in zip(values, values[len(table):]))
        write_set(os.path.join(data, name + ".val"), name,
                  "%s series (IEC 60063)" % name, values, False)
    for name in ("E12", "E24", "E96"):
        label = name + "SO"
        assert len(label) <= 5
        write_set(os.path.join(data, label + ".val"), label,
                  "%s series (IEC 60063) with short and open circuit" % name,
                  values_of(SERIES[name]), True)
    with open(os.path.join(data, "omtr.ini"), "w", newline="\n") as f:
        f.write(SETTINGS)
    return 0


if __name__ == "__main__":
    sys.exit(main())
