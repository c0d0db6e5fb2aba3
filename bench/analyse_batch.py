#!/usr/bin/env python3
"""Whole-program benchmark of ordimet-analyse on batches of method files.

Usage: analyse_batch.py PROGRAM [RUNS] [DIRECTORY]

Writes 10 000 method files of step at most 8 (generate_methods.py) into
DIRECTORY (a temporary folder by default), then runs
`PROGRAM --each --json FILES > /dev/null` pinned to one core with taskset,
RUNS times (5 by default) for the first 1000 files and for all 10 000, under
/usr/bin/time. Prints for each batch the median wall time and processor time
per method and the peak resident memory, and the cost of one more method
(the difference of the two batches over 9000 files), which leaves out the
start of the process.
"""
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = (1000, 10000)


def measure(program, files):
    """One run: wall seconds, processor seconds, peak resident KiB."""
    command = ["/usr/bin/time", "-f", "%e %U %S %M", "taskset", "-c", "0", program,
               "--each", "--json"] + files
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            text=True, check=False)
    if result.returncode != 0:
        sys.exit("the batch failed: %s" % result.stderr[-2000:])
    wall, user, system, rss = result.stderr.strip().splitlines()[-1].split()
    return float(wall), float(user) + float(system), int(rss)


def main():
    program = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    with tempfile.TemporaryDirectory() as scratch:
        directory = sys.argv[3] if len(sys.argv) > 3 else scratch
        if not os.path.isdir(directory) or len(os.listdir(directory)) < max(SIZES):
            subprocess.run([sys.executable, os.path.join(HERE, "generate_methods.py"),
                            directory, str(max(SIZES))], check=True)
        names = sorted(os.listdir(directory))[: max(SIZES)]
        files = [os.path.join(directory, n) for n in names]
        print("| files | wall per method (us) | processor per method (us) | peak memory (KiB) |")
        print("|---|---|---|---|")
        medians = {}
        for size in SIZES:
            samples = [measure(program, files[:size]) for _ in range(runs)]
            wall = statistics.median(s[0] for s in samples)
            cpu = statistics.median(s[1] for s in samples)
            rss = max(s[2] for s in samples)
            medians[size] = (wall, cpu)
            print("| %d | %.1f | %.1f | %d |" % (size, wall / size * 1e6, cpu / size * 1e6, rss))
        small, large = SIZES
        extra = (medians[large][1] - medians[small][1]) / (large - small) * 1e6
        print("\nprocessor time of one more method: %.1f us" % extra)


if __name__ == "__main__":
    main()
