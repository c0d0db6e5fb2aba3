#!/usr/bin/env python3
"""Whole-process cost of ordimet against the floor of any process.

A full simple run, a full cyclic run and a minimal static C program that
prints one line (the floor) run interleaved in random order, round after
round, through the small launcher bench/measure.c. Prints the median and
spread of each one's wall time, its median peak resident memory, and the
ratios to the floor. Needs a C compiler able to link statically.

Usage: bench/startup.py ORDIMET [ROUNDS]
"""
import os
import statistics
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
examples = os.path.normpath(os.path.join(here, "..", "examples"))
program = os.path.abspath(sys.argv[1])
rounds = sys.argv[2] if len(sys.argv) > 2 else "2000"

scratch = tempfile.mkdtemp()
floor, measure = os.path.join(scratch, "floor"), os.path.join(scratch, "measure")
with open(floor + ".c", "w") as source:
    source.write('#include <stdio.h>\nint main(void) { puts("O metodo dado e\' simples."); return 0; }\n')
subprocess.run(["cc", "-O2", "-static", "-o", floor, floor + ".c"], check=True)
subprocess.run(["cc", "-O2", "-static", "-o", measure, os.path.join(here, "measure.c")], check=True)

names = [
    "floor: static C program printing one line",
    "ordimet SI euler-forward.txt",
    "ordimet CI euler-forward.txt euler-backward.txt",
]
euler, backward = (os.path.join(examples, f) for f in ("euler-forward.txt", "euler-backward.txt"))
command = [measure, rounds, floor, "--", program, "SI", euler, "--", program, "CI", euler, backward]
lines = subprocess.run(command, check=True, capture_output=True, text=True).stdout.split("\n")
wall, memory = [[] for _ in names], [[] for _ in names]
for line in filter(None, lines):
    index, microseconds, kib = line.split()
    wall[int(index)].append(float(microseconds))
    memory[int(index)].append(int(kib))

floor_wall, floor_memory = statistics.median(wall[0]), statistics.median(memory[0])
print(f"{rounds} interleaved rounds\n")
print("| command | median wall (us) | p10 - p90 (us) | ratio | median peak RSS (KiB) | ratio |")
print("|---|---|---|---|---|---|")
for i, name in enumerate(names):
    deciles = statistics.quantiles(wall[i], n=10)
    median_wall, median_memory = statistics.median(wall[i]), statistics.median(memory[i])
    print(f"| {name} | {median_wall:.0f} | {deciles[0]:.0f} - {deciles[-1]:.0f} | "
          f"{median_wall / floor_wall:.2f} | {median_memory:.0f} | {median_memory / floor_memory:.2f} |")
