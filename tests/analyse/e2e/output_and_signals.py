"""End-to-end checks of what ordimet-analyse does when its output can't be
written and when it is asked to stop.

Usage: output_and_signals.py PROGRAM EXAMPLES_DIR

- Output that can't be written (a full device, a pipe whose reader has gone,
  a file at its size limit): exit status 1 and a message on standard error,
  never death by SIGPIPE or SIGXFSZ.
- SIGINT, SIGTERM or SIGHUP in the middle of a batch: the run ends by that
  signal, and its output is whole reports only (every one it finished).
Exits 1 naming every fault.
"""
import os
import resource
import signal
import subprocess
import sys
import tempfile

MESSAGE = b"erro ao escrever a saida"
MESSAGE_ENGLISH = b"error writing the output"
BATCH = 20000  # far more reports than the pipe and the program's buffer hold

# name, arguments ("@" marks the example method file), where the output goes
OUTPUT_FAILURES = [
    ("help to a full device", ["--help"], "full"),
    ("version to a full device", ["--version"], "full"),
    ("report to a full device", ["SI", "@"], "full"),
    ("report to a closed pipe", ["SI", "@"], "closed pipe"),
    ("English report to a full device", ["--lang", "en", "SI", "@"], "full"),
    ("batch to a closed pipe", ["--json", "--each"] + ["@"] * BATCH, "closed pipe"),
    ("batch to a file at its size limit", ["--json", "--each"] + ["@"] * 200, "size limit"),
]

# name, signal, arguments of the batch
INTERRUPTIONS = [
    ("SIGTERM, JSON lines", signal.SIGTERM, ["--json", "--each"]),
    ("SIGINT, JSON lines", signal.SIGINT, ["--json", "--each"]),
    ("SIGHUP, JSON lines", signal.SIGHUP, ["--json", "--each"]),
    ("SIGTERM, text", signal.SIGTERM, ["--each"]),
]


def default_signals(file_size=None):
    """The child's signals as a shell would start it, whatever the test
    runner ignores, and a file-size limit when asked."""
    def prepare():
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(sig, signal.SIG_DFL)
        if file_size is not None:
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_size, file_size))
    return prepare


def output_failure(program, method, name, arguments, where, faults):
    args = [program] + [method if a == "@" else a for a in arguments]
    with tempfile.TemporaryDirectory() as work:
        if where == "full":
            with open("/dev/full", "wb") as full:
                process = subprocess.run(args, stdout=full, stderr=subprocess.PIPE,
                                         stdin=subprocess.DEVNULL, timeout=60)
            status, errors = process.returncode, process.stderr
        elif where == "size limit":
            with open(os.path.join(work, "out"), "wb") as out:
                process = subprocess.run(args, stdout=out, stderr=subprocess.PIPE,
                                         stdin=subprocess.DEVNULL, timeout=60,
                                         preexec_fn=default_signals(4096))
            status, errors = process.returncode, process.stderr
        else:
            process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                       stdin=subprocess.DEVNULL, preexec_fn=default_signals())
            process.stdout.close()  # the reader goes before anything is written
            errors = process.stderr.read()
            status = process.wait(timeout=60)
    message = MESSAGE_ENGLISH if "en" in arguments else MESSAGE
    if status != 1 or message not in errors:
        faults.append(f"{name}: exit status {status}, {errors[:300]!r}")


def interruption(program, method, name, sig, arguments, faults):
    """The batch writes the same report over and over; the signal comes once
    the first output has arrived. The output must be k whole copies of the
    report of that one method, k >= 1."""
    single = subprocess.run([program, *arguments, method], capture_output=True).stdout
    separator = b"" if "--json" in arguments else b"\n"
    process = subprocess.Popen([program, *arguments] + [method] * BATCH, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, stdin=subprocess.DEVNULL,
                               preexec_fn=default_signals())
    output = os.read(process.stdout.fileno(), 4096)
    process.send_signal(sig)
    rest, errors = process.communicate(timeout=120)
    output += rest
    count = (len(output) + len(separator)) // (len(single) + len(separator))
    whole = count >= 1 and output == separator.join([single] * count)
    if process.returncode != -sig or not whole or count >= BATCH or errors:
        faults.append(f"{name}: exit status {process.returncode}, {count} reports, "
                      f"whole: {whole}, {errors[:300]!r}")


def main():
    program = os.path.realpath(sys.argv[1])
    method = os.path.join(os.path.realpath(sys.argv[2]), "adams-bashforth-2.txt")
    faults = []
    for case in OUTPUT_FAILURES:
        output_failure(program, method, *case, faults)
    for case in INTERRUPTIONS:
        interruption(program, method, *case, faults)
    for fault in faults:
        print(fault)
    print(f"{len(OUTPUT_FAILURES) + len(INTERRUPTIONS)} cases, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
