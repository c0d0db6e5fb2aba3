"""Every example method through ordimet-analyse: all in one batch in JSON (exit
status 0, one line per file that the schema validates, none refused), each
alone in text (status 0, a report, nothing on standard error), and the linear
stability of each against the independent reference, whose stored table
(tests/analyse/reference/region_reference.txt) must be what it computes.

Usage: every_example.py PROGRAM EXAMPLES_DIR SCHEMA

The program analyses each example rewritten with the exact fractions the
reference read, so that both analyse the same coefficients whatever the
decimals of the file. Exits 1 naming every fault.
"""
import json
import os
import subprocess
import sys
import tempfile

REFERENCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "reference")
sys.path.insert(0, REFERENCE)
import region_reference as reference  # noqa: E402
import validate_json  # noqa: E402


def run(program, *args):
    return subprocess.run([program, *args], stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, timeout=120)


def end(value):
    """An interval end as the table writes it."""
    return "none" if value is None else value if value == "inf" else "%.6g" % value


def compare(program, examples, row, scratch):
    """What differs between the program and the table's row."""
    name, m = row[0], int(row[1])
    path = os.path.join(scratch, name)
    with open(path, "w") as f:
        f.write(reference.method_text(*reference.read_method(os.path.join(examples, name),
                                                             reference.exact_number)))
    report = run(program, "--json", "SI", path)
    if report.returncode != 0:
        return ["%s: exit status %d" % (name, report.returncode)]
    got = json.loads(report.stdout)["algorithms"][0]
    yes = lambda value: "yes" if value else "no"  # noqa: E731
    if row[2] == "n/a" or row[5] == "n/a":
        pairs = [("linear_stability", got["linear_stability"], "not-applicable")]
    elif m == 1:
        pairs = [("stability_interval", end(got["stability_interval"]), row[2]),
                 ("a_stable", yes(got["a_stable"]), row[3]),
                 ("a_alpha_degrees", "%.2f" % got["a_alpha_degrees"], row[4])]
    else:
        lag = got["phase_lag_order"]
        pairs = [("periodicity_end", end(got["periodicity_end"]), row[5]),
                 ("absolute_stability_end", end(got["absolute_stability_end"]), row[6]),
                 ("p_stable", yes(got["p_stable"]), row[7]),
                 ("phase_lag_order", "-" if lag is None else str(lag), row[8]),
                 ("phase_lag_constant_exact", got["phase_lag_constant_exact"] or "-", row[9])]
    return ["%s %s: %s, reference %s" % (name, key, a, b) for key, a, b in pairs if a != b]


def main(program, examples, schema):
    faults = []
    files = sorted(os.path.join(examples, f) for f in os.listdir(examples) if f.endswith(".txt"))
    batch = run(program, "--json", "--each", *files)
    lines = batch.stdout.splitlines()
    if batch.returncode or batch.stderr or len(lines) != len(files) or '"error":' in batch.stdout:
        faults.append("--json --each: exit status %d, %d lines for %d files, %r" % (
            batch.returncode, len(lines), len(files), batch.stderr[:300] or batch.stdout[:300]))
    faults.append(validate_json.fault(schema, "lines", batch.stdout))
    for path in files:
        single = run(program, "SI", path)
        if single.returncode or single.stderr or not single.stdout:
            faults.append("SI %s: exit status %d, %r" % (path, single.returncode, single.stderr[:300]))
    with open(os.path.join(REFERENCE, "region_reference.txt")) as f:
        table = f.read()
    if reference.table(examples) != table:
        faults.append("region_reference.txt is not what the reference computes (--table)")
    rows = [line.split() for line in table.splitlines() if line.strip() and not line.startswith("#")]
    with tempfile.TemporaryDirectory() as scratch:
        for row in rows:
            faults += compare(program, examples, row, scratch)
    faults = [f for f in faults if f]
    print("\n".join(faults) or "%d examples, each agreeing with the reference" % len(rows))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
