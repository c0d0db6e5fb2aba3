"""Runs ordimet-design search on one end-to-end case and compares its
standard output and standard error byte for byte and its exit status with
the case's expectations; JSON output is also validated against the schema.

Usage: run_case.py PROGRAM CASE_DIR SCHEMA VALIDATOR

A case folder holds:
  args    the arguments after "search", one per line
  stdout  the exact standard output
  stderr  the exact standard error (absent: it must be empty)
  status  the exit status (absent: 0)
  setup   optional: a bash script run first in a scratch copy of the case
  after   optional: a bash script run last in the scratch copy, which must
          succeed (it checks the files the run wrote, or that it wrote none)
With UPDATE=1 in the environment the expectations are rewritten from the
run instead of compared (review the difference before committing it).
"""
import os
import shutil
import subprocess
import sys
import tempfile


def compare(expected_path, actual, what, update):
    if update:
        if actual or what == "standard output":
            with open(expected_path, "wb") as f:
                f.write(actual)
        elif os.path.exists(expected_path):
            os.remove(expected_path)
    expected = b""
    if os.path.exists(expected_path):
        with open(expected_path, "rb") as f:
            expected = f.read()
    if expected == actual:
        return True
    print(f"{what} differs:\n--- expected\n{expected.decode(errors='replace')}"
          f"--- actual\n{actual.decode(errors='replace')}")
    return False


def main():
    program, case_dir, schema, validator = sys.argv[1:5]
    update = os.environ.get("UPDATE") == "1"
    with tempfile.TemporaryDirectory() as work:
        run_dir = os.path.join(work, "case")
        shutil.copytree(case_dir, run_dir)
        if os.path.exists(os.path.join(run_dir, "setup")):
            subprocess.run(["bash", "./setup"], cwd=run_dir, check=True)
        with open(os.path.join(run_dir, "args"), encoding="utf-8") as f:
            args = f.read().splitlines()
        # A new session without a terminal, nothing on standard input.
        run = subprocess.run(["setsid", "-w", "timeout", "-s", "KILL", "60", program, "search",
                              *args], cwd=run_dir, stdin=subprocess.DEVNULL,
                             capture_output=True)
        status = b"" if run.returncode == 0 else f"{run.returncode}\n".encode()
        ok = compare(os.path.join(case_dir, "stdout"), run.stdout, "standard output", update)
        ok = compare(os.path.join(case_dir, "stderr"), run.stderr, "standard error", update) and ok
        ok = compare(os.path.join(case_dir, "status"), status, "exit status", update) and ok
        if "--json" in args and run.stdout:
            path = os.path.join(work, "stdout.json")
            with open(path, "wb") as f:
                f.write(run.stdout)
            ok = subprocess.run(["python3", validator, schema, "lines", path]).returncode == 0 and ok
        if os.path.exists(os.path.join(run_dir, "after")):
            after = subprocess.run(["bash", "./after"], cwd=run_dir)
            if after.returncode != 0:
                print("the check after the run failed")
                ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
