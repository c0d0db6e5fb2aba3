"""End-to-end checks that ordimet-analyse --plot writes nowhere it shouldn't
and never leaves a broken picture in place of a good one.

Usage: picture_safety.py PROGRAM EXAMPLES_DIR

Each check runs the real program in a scratch folder: links planted under
the pictures' names, a rewrite that fails at a file-size limit, inputs of
the batch under the pictures' names, and two runs drawing the same names at
once. Exits 1 naming every fault.
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def run(program, args, cwd, file_size=None):
    def limits():
        os.umask(0o022)
        if file_size is not None:
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_size, file_size))
    return subprocess.run([program, *args], cwd=cwd, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=120, preexec_fn=limits)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def valid_svg(path):
    try:
        return ET.parse(path).getroot().tag == "{http://www.w3.org/2000/svg}svg"
    except ET.ParseError:
        return False


def check_folder(name, folder, faults, inputs=()):
    """Every picture parses, and no temporary file is left behind."""
    for entry in set(os.listdir(folder)) - set(inputs):
        path = os.path.join(folder, entry)
        if entry.startswith("."):
            faults.append(f"{name}: temporary file left: {entry}")
        elif entry.endswith(".svg") and os.path.isfile(path) and not os.path.islink(path) \
                and not valid_svg(path):
            faults.append(f"{name}: {entry} is not a valid SVG")


def planted_links(program, work, faults):
    """A symbolic link to a file, a dangling one and a hard link under the
    pictures' names: the targets stay as they were and nothing is made
    outside the folder; the two symbolic links are named, exit status 1."""
    os.mkdir("figuras")
    for target in ("secret", "kept"):
        with open(target, "w") as f:
            f.write(target + "\n")
    os.chmod("secret", 0o600)
    os.symlink("../secret", "figuras/e-raizes.svg")
    os.symlink("../made-outside", "figuras/e-regiao.svg")
    os.link("kept", "figuras/h-raizes.svg")
    result = run(program, ["--plot", "figuras", "--each", "e.txt", "h.txt"], work)
    errors = result.stderr.decode(errors="replace")
    if result.returncode != 1 or "figuras/e-raizes.svg nao foi escrita" not in errors or \
            "figuras/e-regiao.svg nao foi escrita" not in errors or not result.stdout:
        faults.append(f"links: exit status {result.returncode}, {errors[:400]!r}")
    if read("secret") != b"secret\n" or read("kept") != b"kept\n":
        faults.append("links: a link's target was written")
    if os.path.lexists("made-outside"):
        faults.append("links: a dangling link made a file outside the folder")
    if os.readlink("figuras/e-raizes.svg") != "../secret" or \
            os.readlink("figuras/e-regiao.svg") != "../made-outside":
        faults.append("links: a symbolic link was replaced")
    picture = os.stat("figuras/h-raizes.svg")
    if picture.st_ino == os.stat("kept").st_ino or not valid_svg("figuras/h-raizes.svg") or \
            picture.st_mode & 0o777 != 0o644:
        faults.append("links: the hard link's name did not get a new picture of mode 0644")
    check_folder("links", "figuras", faults)


def failed_rewrite(program, work, faults):
    """A picture rewritten beyond the file-size limit: the old one stays
    whole, the run names it and exits 1."""
    shutil.copy("b.txt", "m.txt")
    first = run(program, ["--plot", "figuras", "SI", "m.txt"], work)
    old = {n: read(os.path.join("figuras", n)) for n in os.listdir("figuras")}
    shutil.copy("e.txt", "m.txt")
    # Enough for the small roots picture, not for the region.
    result = run(program, ["--plot", "figuras", "SI", "m.txt"], work, file_size=8192)
    errors = result.stderr.decode(errors="replace")
    new = {n: read(os.path.join("figuras", n)) for n in os.listdir("figuras")}
    if first.returncode != 0 or result.returncode != 1 or \
            "erro ao escrever a figura figuras/m-regiao.svg" not in errors:
        faults.append(f"size limit: exit status {result.returncode}, {errors[:400]!r}")
    if new["m-regiao.svg"] != old["m-regiao.svg"]:
        faults.append("size limit: the old region picture was not kept")
    if new["m-raizes.svg"] == old["m-raizes.svg"]:
        faults.append("size limit: the roots picture within the limit was not rewritten")
    check_folder("size limit", "figuras", faults)


def inputs_kept(program, work, faults):
    """Inputs of the batch under the pictures' names, by that name or by a
    hard link: they are read and stay as they were; the pictures are
    numbered past them."""
    shutil.copy("e.txt", "a.txt")
    shutil.copy("e.txt", "a-regiao.svg")
    os.mkdir("figuras")
    os.link("e.txt", "figuras/e-raizes.svg")
    method = read("e.txt")
    first = run(program, ["--plot", ".", "--each", "a.txt", "a-regiao.svg"], work)
    second = run(program, ["--plot", "figuras", "--each", "e.txt"], work)
    for result in (first, second):
        if result.returncode != 0 or result.stderr:
            faults.append(f"inputs: exit status {result.returncode}, {result.stderr[:400]!r}")
    if read("a-regiao.svg") != method or read("e.txt") != method:
        faults.append("inputs: an input file was overwritten")
    for picture in ("a-2-raizes.svg", "a-2-regiao.svg", "a-regiao-raizes.svg",
                    "figuras/e-2-raizes.svg", "figuras/e-2-regiao.svg"):
        if not os.path.isfile(picture) or not valid_svg(picture):
            faults.append(f"inputs: no picture {picture}")
    check_folder("inputs", ".", faults, inputs=["a-regiao.svg"])
    check_folder("inputs", "figuras", faults, inputs=["e-raizes.svg"])


def concurrent_runs(program, work, faults):
    """Rounds of two runs started together, drawing the same names into one
    folder, each a method of its own with pictures of another size: after
    every round each picture is one run's or the other's, whole."""
    os.mkdir("figuras")
    for folder, method in (("one", "b.txt"), ("two", "b4.txt")):
        os.mkdir(folder)
        shutil.copy(method, os.path.join(folder, "m.txt"))
    for _ in range(40):
        runs = [subprocess.Popen([program, "--plot", "figuras", "SI", f"{f}/m.txt"], cwd=work,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE) for f in ("one", "two")]
        for process in runs:
            errors = process.communicate(timeout=60)[1]
            if process.returncode != 0 or errors:
                faults.append(f"concurrent: exit status {process.returncode}, {errors[:400]!r}")
        before = len(faults)
        check_folder("concurrent", "figuras", faults)
        if len(faults) > before:
            return


def main():
    program, examples = (os.path.realpath(a) for a in sys.argv[1:3])
    faults = []
    for check in (planted_links, failed_rewrite, inputs_kept, concurrent_runs):
        work = tempfile.mkdtemp()
        try:
            os.chdir(work)
            for name, example in (("e.txt", "euler-forward.txt"), ("h.txt", "euler-backward.txt"),
                                  ("b.txt", "bdf-5.txt"), ("b4.txt", "bdf-4.txt")):
                shutil.copy(os.path.join(examples, example), name)
            check(program, work, faults)
        except (OSError, KeyError, subprocess.TimeoutExpired) as error:
            faults.append(f"{check.__name__}: {error!r}")
        finally:
            os.chdir("/")
            shutil.rmtree(work)
    for fault in faults:
        print(fault)
    print(f"4 checks, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
