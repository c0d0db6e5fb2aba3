#!/usr/bin/env python3
"""Compares the linear stability that ordimet-analyse reports for every example
method with the values of the independent reference in region_reference.txt.

Usage: region_reference.py PROGRAM EXAMPLES TABLE

Each example is first rewritten with the exact fractions the reference read
(examples/region_reference.py --fractions), so that both analyse the same
coefficients whatever the decimals of the file.
"""
import json
import os
import subprocess
import sys
import tempfile


def expected_end(text):
    return {"none": None, "inf": "inf"}.get(text, text)


def program_end(value):
    return value if value is None or value == "inf" else "%.6g" % value


def compare(program, examples, row, scratch):
    name, m = row[0], int(row[1])
    path = os.path.join(scratch, name)
    fractions = subprocess.run(
        [sys.executable, os.path.join(examples, "region_reference.py"), "--fractions",
         os.path.join(examples, name)], check=True, capture_output=True, text=True).stdout
    with open(path, "w") as f:
        f.write(fractions)
    report = subprocess.run([program, "--json", "SI", path], capture_output=True, text=True)
    if report.returncode != 0:
        return ["%s: exit status %d" % (name, report.returncode)]
    got = json.loads(report.stdout)["algorithms"][0]
    if row[2] == "n/a" or row[5] == "n/a":
        pairs = [("linear_stability", got["linear_stability"], "not-applicable")]
    elif m == 1:
        pairs = [("stability_interval", program_end(got["stability_interval"]),
                  expected_end(row[2])),
                 ("a_stable", got["a_stable"], row[3] == "yes"),
                 ("a_alpha_degrees", "%.2f" % got["a_alpha_degrees"], row[4])]
    else:
        lag = got["phase_lag_order"]
        pairs = [("periodicity_end", program_end(got["periodicity_end"]), expected_end(row[5])),
                 ("absolute_stability_end", program_end(got["absolute_stability_end"]),
                  expected_end(row[6])),
                 ("p_stable", got["p_stable"], row[7] == "yes"),
                 ("phase_lag_order", "-" if lag is None else str(lag), row[8]),
                 ("phase_lag_constant_exact", got["phase_lag_constant_exact"] or "-", row[9])]
    return ["%s %s: %s, reference %s" % (name, key, a, b) for key, a, b in pairs if a != b]


def main(program, examples, table):
    rows = [line.split() for line in open(table) if line.strip() and not line.startswith("#")]
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        for row in rows:
            failures += compare(program, examples, row, scratch)
    print("\n".join(failures) or "%d examples agree with the reference" % len(rows))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
