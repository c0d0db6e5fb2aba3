"""The orders ordimet-analyse gives are the ones the methods are meant to
have, whatever the digits they are written with, and the ones an integration
shows:

- every example's exact order as examples/README.md tables it, and the
  classical methods of tests/analyse/reference/decimals written with 6, 8 and
  10 digits with their textbook orders (a theta method written 0.7 0.3 keeps
  the reading as written; a symmetric method of order 14 written with 17
  digits is found through the solved reading);
- the convergence order of the cyclic pairs, with the rank test's disagreement
  where there is one;
- --converge within 0.3 of the convergence order on every convergent example
  and cycle.

Usage: true_orders.py PROGRAM EXAMPLES_DIR REFERENCE_DIR. Exits 1 naming
every fault.
"""
import json
import os
import re
import subprocess
import sys

CYCLES = [  # files, convergence order, the rank test's disagreement
    (["nystrom-2.txt", "milne-simpson.txt"], 2, "false-raise"),
    (["adams-bashforth-2.txt", "cyclic-adams-order-3-implicit.txt"], 3, None),
    (["euler-forward.txt", "euler-backward.txt"], 2, None),
    (["cyclic-stable-of-unstable-1.txt", "cyclic-stable-of-unstable-2.txt"], 1, None),
]


def analyse(program, *args):
    out = subprocess.run([program, "--json", *args], capture_output=True, text=True,
                         check=False, timeout=300).stdout
    return [json.loads(line) for line in out.splitlines()]


def table_orders(readme):
    """File -> exact order from the examples' table ("none" rows left out:
    there the table tells why ordimet has no order)."""
    orders = {}
    for line in open(readme, encoding="utf-8"):
        cells = [c.strip() for c in line.split("|")]
        if len(cells) > 7 and cells[1].startswith("`") and cells[1].endswith(".txt`"):
            number = re.match(r"-?\d+", cells[6])
            if number:
                orders[cells[1].strip("`")] = int(number.group())
    return orders


def check_examples(program, examples, faults):
    orders = table_orders(os.path.join(examples, "README.md"))
    names = sorted(orders)
    for name, method in zip(names, analyse(program, "--each",
                                          *[os.path.join(examples, n) for n in names])):
        if method["algorithms"][0]["order"] != orders[name]:
            faults.append(f"{name}: order {method['algorithms'][0]['order']}, not {orders[name]}")


def check_decimals(program, reference, faults):
    folder = os.path.join(reference, "decimals")
    rows = [line.split("|") for line in open(os.path.join(folder, "decimal_versions.txt"))
            if not line.startswith("#")]
    files = [os.path.join(folder, row[0].strip()) for row in rows]
    files.append(os.path.join(reference, "symmetric-14-17digits.txt"))
    meant = [int(row[2]) for row in rows] + [14]
    for file, order, method in zip(files, meant, analyse(program, "--each", *files)):
        algorithm = method["algorithms"][0]
        name = os.path.basename(file)
        reading = {"theta-0.3.txt": "as-written", "symmetric-14-17digits.txt": "solved"}
        if algorithm["order"] != order or reading.get(name, algorithm["reading"]) != algorithm[
                "reading"]:
            faults.append(f"{name}: order {algorithm['order']} ({algorithm['reading']}), not {order}")


def check_convergence(method, label, faults):
    order, runs = method["convergence_order"], method["convergence"] or {}
    measured = runs.get("measured_order")
    if method["convergent"] and (measured is None or abs(measured - order) > 0.3):
        faults.append(f"{label}: measured order {measured}, convergence order {order}")


def check_cycles(program, examples, faults):
    for files, order, disagreement in CYCLES:
        method = analyse(program, "--converge", "CI", *[os.path.join(examples, f) for f in files])[0]
        if method["convergence_order"] != order or method["order_disagreement"] != disagreement:
            faults.append(f"{files}: convergence order {method['convergence_order']} "
                          f"({method['order_disagreement']}), not {order} ({disagreement})")
        check_convergence(method, " + ".join(files), faults)


def main():
    program, examples, reference = sys.argv[1:4]
    faults = []
    check_examples(program, examples, faults)
    check_decimals(program, reference, faults)
    check_cycles(program, examples, faults)
    names = sorted(f for f in os.listdir(examples) if f.endswith(".txt"))
    for name, method in zip(names, analyse(program, "--converge", "--each",
                                          *[os.path.join(examples, n) for n in names])):
        check_convergence(method, name, faults)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
