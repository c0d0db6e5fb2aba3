"""The four checks of the whole chain, read from the search's JSON Lines,
each method found analysed again by ordimet-analyse from its file:

1. among 2-step methods of order 2 that are A-stable, the smallest error
   constant in magnitude is 1/12, the trapezoidal rule's (as a 2-step
   method it is reducible: --irreducible is not asked for);
2. no A-stable method of order 3 on any grid: the search says there is
   none, every candidate dropped for a reason decided exactly;
3. among explicit symmetric 8-step methods for y'' = f with B[0] = B[8] = 0
   (sigma fixed by order 8) and integer rho coefficients in [-2, 2], the
   largest interval of periodicity is at least that of the method with rho
   1, -2, 2, -1, 0, -1, 2, -2, 1 (Hp^2 = 0.515767), which lies in the space;
4. no P-stable method of order above 2.

Usage: checks.py DESIGN ANALYSE
Runs each search with --jobs 2 and prints its command line with its time;
exits 1 naming every fault.
"""
import json
import os
import subprocess
import sys
import tempfile
import time
from fractions import Fraction

CHECK_1 = "2 --order 2 --a-stable --range -1,1 --grid 1/8 --top 10"
CHECK_2 = [
    "2 --order 3 --a-stable --range -2,2 --grid 1/256",
    "3 --order 3 --a-stable --range -1,1 --grid 1/8",
    "3 --order 3 --a-stable --vary sigma --range -2,2 --grid 1/4",
    "4 --order 3 --a-stable --range -1,1 --grid 1/2",
]
CHECK_3 = ("8 --m 2 --order 8 --explicit --symmetric --zero B0,B8 --range -2,2 --grid 1 "
           "--objective periodicity")
CHECK_4 = [
    "2 --m 2 --order 3 --p-stable --range -2,2 --grid 1/64",
    "4 --m 2 --order 3 --p-stable --range -2,2 --grid 1/2",
    "6 --m 2 --order 4 --symmetric --p-stable --range -2,2 --grid 1/2",
]
PUBLISHED_RHO = ["1", "-2", "2", "-1", "0", "-1", "2", "-2", "1"]


def search(design, line, faults, folder=None):
    """The methods and the summary of one search, and its exit status."""
    args = [design, "search", *line.split(), "--json", "--jobs", "2"]
    if folder:
        args += ["--output", folder]
    started = time.monotonic()
    run = subprocess.run(args, capture_output=True, stdin=subprocess.DEVNULL, timeout=120)
    print(f"{time.monotonic() - started:6.2f} s  ordimet-design search {line}")
    if run.stderr:
        faults.append(f"{line}: standard error {run.stderr[:200]!r}")
    lines = [json.loads(text) for text in run.stdout.decode().splitlines()]
    if not lines or lines[-1]["record"] != "summary":
        faults.append(f"{line}: no summary")
        return run.returncode, [], {}
    return run.returncode, lines[:-1], lines[-1]


def analysed(analyse, path):
    run = subprocess.run([analyse, "--json", "--stability", "--each", path], capture_output=True)
    return json.loads(run.stdout)["algorithms"][0]


def none_certified(design, line, faults):
    status, methods, summary = search(design, line, faults)
    dropped = sum(summary.get("dropped", {}).values())
    if status != 1 or methods or summary.get("undecided") != 0:
        faults.append(f"{line}: status {status}, {len(methods)} methods, {summary}")
    elif summary["candidates"] == 0 or dropped != summary["candidates"]:
        faults.append(f"{line}: {dropped} dropped of {summary['candidates']} candidates")


def check_1(design, analyse, faults):
    with tempfile.TemporaryDirectory() as work:
        folder = os.path.join(work, "found")
        status, methods, _ = search(design, CHECK_1, faults, folder)
        values = [Fraction(m["value"]) for m in methods]
        if status != 0 or not values or values[0] != Fraction(1, 12) or values != sorted(values):
            faults.append(f"check 1: status {status}, values {values}")
        trapezoid = [m for m in methods if m["rho"] == ["0", "-1", "1"]
                     and m["sigma"] == ["0", "1/2", "1/2"]]
        if len(trapezoid) != 1 or trapezoid[0]["value"] != "1/12" or not trapezoid[0]["a_stable"]:
            faults.append(f"check 1: the trapezoidal rule {trapezoid}")
        for m in methods:
            again = analysed(analyse, m["file"])
            if again["a_stable"] is not True or Fraction(again["error_constant"]) != \
                    Fraction(m["error_constant"]) or again["order"] < 2:
                faults.append(f"check 1: {m['file']} analysed again: {again['a_stable']}, "
                              f"{again['error_constant']}, order {again['order']}")


def check_3(design, analyse, faults):
    with tempfile.TemporaryDirectory() as work:
        folder = os.path.join(work, "found")
        status, methods, _ = search(design, CHECK_3, faults, folder)
        published = [m for m in methods if m["rho"] == PUBLISHED_RHO]
        if status != 0 or len(published) != 1 or published[0]["periodicity_end"] != 0.515767:
            faults.append(f"check 3: status {status}, published {published}")
            return
        if methods[0]["periodicity_end"] < 0.515767:
            faults.append(f"check 3: the best {methods[0]['periodicity_end']}")
        for m in methods:
            again = analysed(analyse, m["file"])
            if again["periodicity_end"] != m["periodicity_end"] or again["order"] != 8 or \
                    again["zero_stable"] is not True:
                faults.append(f"check 3: {m['file']} analysed again: {again['periodicity_end']}")


def main():
    design, analyse = sys.argv[1:3]
    faults = []
    check_1(design, analyse, faults)
    for line in CHECK_2:
        none_certified(design, line, faults)
    check_3(design, analyse, faults)
    for line in CHECK_4:
        none_certified(design, line, faults)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
