"""End-to-end checks of a search that is stopped, shows its progress or
can't write its output.

Usage: signals.py DESIGN ANALYSE

- SIGINT (and SIGTERM) in the middle of a long search: the best candidates
  screened so far are certified and reported, their files written, and the
  process ends by the signal; every method reported is one that
  ordimet-analyse, reading its file, finds zero-stable and of the order
  asked for.
- On a terminal, the progress bar appears after a second and is cleared.
- Output that can't be written (a full device, a closed pipe): exit status
  1 and a message on standard error.
Exits 1 naming every fault.
"""
import json
import os
import pty
import re
import select
import signal
import subprocess
import sys
import tempfile
import time

# Some 3.5e9 grid points: hours of screening, stopped after a second.
LONG = ["search", "8", "--order", "6", "--range", "-1,1", "--grid", "1/4", "--top", "3"]
MESSAGE = b"erro ao escrever a saida"


def default_signals():
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, signal.SIG_DFL)


def analysed(analyse, path):
    run = subprocess.run([analyse, "--json", "--each", path], capture_output=True)
    return json.loads(run.stdout)["algorithms"][0]


def interrupted(design, analyse, sig, json_output, faults):
    name = f"{signal.Signals(sig).name}{' --json' if json_output else ''}"
    with tempfile.TemporaryDirectory() as work:
        folder = os.path.join(work, "found")
        args = [design, *LONG, "--output", folder] + (["--json"] if json_output else [])
        process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   stdin=subprocess.DEVNULL, preexec_fn=default_signals)
        time.sleep(1.5)
        process.send_signal(sig)
        try:
            out, err = process.communicate(timeout=60)
        except subprocess.TimeoutExpired:
            process.kill()
            faults.append(f"{name}: still running a minute after the signal")
            return
        if process.returncode != -sig or err:
            faults.append(f"{name}: status {process.returncode}, {err[:200]!r}")
        files = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
        text = out.decode()
        if json_output:
            lines = [json.loads(line) for line in text.splitlines()]
            summary = lines[-1]
            if not summary["interrupted"] or summary["examined"] >= summary["grid_points"] or \
                    summary["methods"] != len(lines) - 1:
                faults.append(f"{name}: summary {summary}")
            reported = len(lines) - 1
        else:
            if not re.search(r"^Busca interrompida: \d+ de 3486784401 pontos examinados\.$", text,
                             re.M):
                faults.append(f"{name}: no line of the interruption in\n{text}")
            reported = len(re.findall(r"^[1-3]  ", text, re.M))
        if reported == 0 or files != [f"0{i}.txt" for i in range(1, reported + 1)]:
            faults.append(f"{name}: {reported} methods reported, files {files}")
        for file in files:
            again = analysed(analyse, os.path.join(folder, file))
            if again["zero_stable"] is not True or again["order"] < 6:
                faults.append(f"{name}: {file} analysed again: {again['zero_stable']}, "
                              f"order {again['order']}")


def progress_on_a_terminal(design, faults):
    """Standard error a terminal: the bar comes after a second, and goes."""
    master, slave = pty.openpty()
    process = subprocess.Popen([design, *LONG], stdout=subprocess.PIPE, stderr=slave,
                               stdin=subprocess.DEVNULL, preexec_fn=default_signals)
    os.close(slave)
    seen = b""
    deadline = time.monotonic() + 3.0
    while time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], 0.1)
        if ready:
            seen += os.read(master, 4096)
    process.send_signal(signal.SIGINT)
    process.communicate(timeout=60)
    time.sleep(0.2)
    while select.select([master], [], [], 0.1)[0]:
        try:
            seen += os.read(master, 4096)
        except OSError:
            break
    os.close(master)
    bar = re.search(rb"\rbusca \[[#.]{30}\] +\d+% \(\d+ de 3486784401 pontos\)", seen)
    if not bar or not seen.endswith(b"\r\x1b[K"):
        faults.append(f"progress on a terminal: {seen[-300:]!r}")


def output_failures(design, faults):
    short = [design, "search", "2", "--order", "2", "--range", "-1,1", "--grid", "1/4"]
    with open("/dev/full", "wb") as full:
        run = subprocess.run(short, stdout=full, stderr=subprocess.PIPE,
                             stdin=subprocess.DEVNULL, timeout=60)
    if run.returncode != 1 or MESSAGE not in run.stderr:
        faults.append(f"a full device: status {run.returncode}, {run.stderr[:200]!r}")
    process = subprocess.Popen(short, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               stdin=subprocess.DEVNULL, preexec_fn=default_signals)
    process.stdout.close()
    errors = process.stderr.read()
    status = process.wait(timeout=60)
    if status != 1 or MESSAGE not in errors:
        faults.append(f"a closed pipe: status {status}, {errors[:200]!r}")


def main():
    design, analyse = sys.argv[1:3]
    faults = []
    interrupted(design, analyse, signal.SIGINT, False, faults)
    interrupted(design, analyse, signal.SIGTERM, True, faults)
    progress_on_a_terminal(design, faults)
    output_failures(design, faults)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
