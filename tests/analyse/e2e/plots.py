"""End-to-end cases of ordimet-analyse --plot: runs the real program on
method files, parses every SVG it writes and checks the JSON samples.

Usage: plots.py PROGRAM EXAMPLES_DIR SCHEMA

Each row of CASES runs the program once in a scratch folder holding links to
the examples ("@NAME" in the arguments); the pictures must be exactly the
files listed, each of the kind given. Exits 1 naming every fault.
"""
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import validate_json

SVG = "{http://www.w3.org/2000/svg}"

# name, arguments, {picture file: kind}
CASES = [
    ("euler", ["--json", "SI", "@euler-forward.txt"],
     {"euler-forward-raizes.svg": "roots", "euler-forward-regiao.svg": "region"}),
    ("trapezoid-pole", ["SI", "@trapezoidal-rule.txt"],
     {"trapezoidal-rule-raizes.svg": "roots", "trapezoidal-rule-regiao.svg": "region"}),
    ("bdf-5-crossing-locus", ["SI", "@bdf-5.txt"],
     {"bdf-5-raizes.svg": "roots", "bdf-5-regiao.svg": "region"}),
    ("milne-simpson-empty-region", ["SI", "@milne-simpson.txt"],
     {"milne-simpson-raizes.svg": "roots", "milne-simpson-regiao.svg": "region"}),
    ("stormer", ["--json", "SI", "@stormer.txt"],
     {"stormer-raizes.svg": "roots", "stormer-periodicidade.svg": "moduli",
      "stormer-fase.svg": "phase"}),
    ("numerov-json", ["--json", "SI", "@numerov.txt"],
     {"numerov-raizes.svg": "roots", "numerov-periodicidade.svg": "moduli",
      "numerov-fase.svg": "phase"}),
    ("cycle", ["--json", "CI", "@cyclic-stable-of-unstable-1.txt",
               "@cyclic-stable-of-unstable-2.txt"],
     {"cyclic-stable-of-unstable-1-raizes.svg": "roots",
      "cyclic-stable-of-unstable-1-regiao.svg": "region",
      "cyclic-stable-of-unstable-2-raizes.svg": "roots",
      "cyclic-stable-of-unstable-2-regiao.svg": "region",
      "cyclic-stable-of-unstable-1-ciclo.svg": "cycle"}),
    # Two files of one base name, and one algorithm twice: numbered apart.
    ("same-base-names", ["--json", "--each", "@euler-forward.txt", "copy/euler-forward.txt",
                         "@euler-forward.txt"],
     {"euler-forward-raizes.svg": "roots", "euler-forward-regiao.svg": "region",
      "euler-forward-2-raizes.svg": "roots", "euler-forward-2-regiao.svg": "region",
      "euler-forward-3-raizes.svg": "roots", "euler-forward-3-regiao.svg": "region"}),
    # Names that XML must escape, bytes that are not UTF-8, a control
    # character, an encoded surrogate and U+FFFE, which XML doesn't allow.
    ("hostile-names", ["--each", "a&b<c>'\".txt", b"x\xff\x01.txt", b"s\xed\xa0\x80\xef\xbf\xbe.txt"],
     {"a&b<c>'\"-raizes.svg": "roots", "a&b<c>'\"-regiao.svg": "region",
      b"x\xff\x01-raizes.svg": "roots", b"x\xff\x01-regiao.svg": "region",
      b"s\xed\xa0\x80\xef\xbf\xbe-raizes.svg": "roots",
      b"s\xed\xa0\x80\xef\xbf\xbe-regiao.svg": "region"}),
]

# Points of the z plane in S or not, read back from the region pictures of
# the cases above: picture, [(re, im, in S)].
PROBES = [
    ("euler-forward-regiao.svg", [(-1, 0, True), (-0.3, 0.5, True), (-1.9, 0.9, False),
                                  (0.05, 0.5, False)]),
    ("trapezoidal-rule-regiao.svg", [(-3, 2, True), (-0.2, -4, True), (3, -2, False)]),
    # Inside the A(alpha) wedge, inside the bounded unstable part, beyond it.
    ("bdf-5-regiao.svg", [(-4, 0, True), (-3, 2, True), (5, 0, False), (19, 12, True)]),
    # S has no interior: its boundary is a segment of the imaginary axis.
    ("milne-simpson-regiao.svg", [(-0.5, 0.5, False), (0.5, -0.5, False), (-0.05, 0, False)]),
]

# Refusals: name, what is made in the scratch folder first ("file NAME" or
# "dir NAME"), the folder given to --plot (None: the arguments hold --plot
# themselves), the other arguments, the exit status and a part of the message
# on standard error. A wrong command line (status 2) must leave the scratch
# folder as it was: no folder is made before the whole line is checked.
REFUSALS = [
    ("plot-folder-is-a-file", ["file figuras"], "figuras", ["SI", "@euler-forward.txt"], 2,
     "nao e' um diretorio"),
    ("plot-folder-parent-missing", [], "nothing/figuras", ["SI", "@euler-forward.txt"], 2,
     "nao foi possivel criar o diretorio"),
    ("plot-folder-empty-name", [], "", ["SI", "@euler-forward.txt"], 2, "--plot"),
    ("plot-folder-empty-value", [], None, ["--plot=", "SI", "@euler-forward.txt"], 2,
     "--plot precisa de um diretorio"),
    ("plot-folder-with-wrong-kind", [], "novo", ["XX", "@euler-forward.txt"], 2,
     "tipo de metodo desconhecido: XX"),
    ("plot-folder-with-files-missing", [], "novo", ["--each"], 2, "--each precisa"),
    # A picture's name taken by a folder: it can't be written, the run fails
    # after its report, and the other pictures are still written.
    ("picture-not-writable", ["dir figuras/euler-forward-raizes.svg"], "figuras",
     ["SI", "@euler-forward.txt"], 1,
     "a figura figuras/euler-forward-raizes.svg nao foi escrita: o nome existe e nao e' um arquivo comum"),
]

# Groups every picture of a kind must have, with the elements they hold.
GROUPS = {
    "region": {"regiao": None, "fronteira": None, "eixos": "rect", "legenda": "text"},
    "moduli": {"modulos": "polyline", "modulo-um": "line", "eixos": "rect", "legenda": "text",
               "legenda-curvas": "line"},
    "roots": {"circulo": "circle", "raizes": None, "eixos": "rect", "legenda": "text"},
    "cycle": {"circulo": "circle", "raizes": None, "eixos": "rect", "legenda": "text"},
    "phase": {"fase": "polyline", "referencia": None, "eixos": "rect", "legenda": "text"},
    "convergence": {"erros": "polyline", "referencia": None, "eixos": "rect", "legenda": "text"},
}
TITLES = {"region": "Regiao de estabilidade absoluta: ", "moduli": "Modulos das raizes",
          "roots": "Raizes de rho: ", "cycle": "Autovalores do ciclo: ", "phase": "Erro de fase: ",
          "convergence": "Convergencia: "}
NUMBER = re.compile(r"-?\d+(?:\.\d+)?")
COORDINATES = {"x", "y", "width", "height", "cx", "cy", "r", "x1", "y1", "x2", "y2"}


def check_svg(path, kind, faults):
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as error:
        faults.append(f"{path!r}: not well-formed XML: {error}")
        return None
    if root.tag != SVG + "svg":
        faults.append(f"{path!r}: root element {root.tag}")
        return None
    box = root.get("viewBox", "").split()
    if len(box) != 4 or not all(NUMBER.fullmatch(v) for v in box):
        faults.append(f"{path!r}: viewBox {root.get('viewBox')!r}")
    title = root.find(SVG + "title")
    if title is None or not (title.text or "").startswith(TITLES[kind]):
        faults.append(f"{path!r}: title {None if title is None else title.text!r}")
    groups = {g.get("id"): g for g in root.iter(SVG + "g") if g.get("id")}
    for name, child in GROUPS[kind].items():
        if name not in groups:
            faults.append(f"{path!r}: no group {name}")
        elif child and groups[name].find(".//" + SVG + child) is None:
            faults.append(f"{path!r}: group {name} has no {child}")
    for element in root.iter():
        for attribute, value in element.attrib.items():
            if attribute in COORDINATES:
                values = [value]
            elif attribute in ("points", "d"):
                values = NUMBER.findall(value)
            else:
                continue
            for v in values:
                if not NUMBER.fullmatch(v) or not math.isfinite(float(v)):
                    faults.append(f"{path!r}: {element.tag} {attribute}={value[:60]!r}")
                    break
    return root, groups


def check_region(path, root, groups, faults):
    """The locus is drawn (sigma is not zero in the cases), and the shaded
    runs are rectangles inside the plot area."""
    if groups["fronteira"].find(SVG + "polyline") is None:
        faults.append(f"{path!r}: no boundary locus")
    area = root.find(f".//{SVG}clipPath/{SVG}rect")
    left, top = float(area.get("x")), float(area.get("y"))
    right, bottom = left + float(area.get("width")), top + float(area.get("height"))
    for rect in groups["regiao"].iter(SVG + "rect"):
        x, y = float(rect.get("x")), float(rect.get("y"))
        w, h = float(rect.get("width")), float(rect.get("height"))
        if w <= 0 or h <= 0 or x < left - 0.01 or y < top - 0.01 or \
                x + w > right + 0.02 or y + h > bottom + 0.02:
            faults.append(f"{path!r}: shaded run outside the plot area: {rect.attrib}")
            return


def page_mapping(groups):
    """The maps from the plane to the page, fitted to the tick labels."""
    xs, ys = [], []
    for text in groups["eixos"].iter(SVG + "text"):
        try:
            value = float(text.text)
        except ValueError:
            continue
        if text.get("text-anchor") == "middle":
            xs.append((value, float(text.get("x"))))
        else:
            ys.append((value, float(text.get("y")) - 4.0))
    (a0, p0), (a1, p1) = xs[0], xs[-1]
    (b0, q0), (b1, q1) = ys[0], ys[-1]
    return (lambda v: p0 + (v - a0) * (p1 - p0) / (a1 - a0),
            lambda v: q0 + (v - b0) * (q1 - q0) / (b1 - b0))


def check_probes(path, groups, probes, faults):
    to_x, to_y = page_mapping(groups)
    rects = [tuple(float(r.get(k)) for k in ("x", "y", "width", "height"))
             for r in groups["regiao"].iter(SVG + "rect")]
    for re_z, im_z, inside in probes:
        x, y = to_x(re_z), to_y(im_z)
        shaded = any(rx <= x <= rx + w and ry <= y <= ry + h for rx, ry, w, h in rects)
        if shaded != inside:
            faults.append(f"{path!r}: z = {re_z} + {im_z}i shaded {shaded}, in S {inside}")


def check_json(name, text, m, faults):
    documents = [json.loads(line) for line in text.splitlines()]
    for document in documents:
        for algorithm in document["algorithms"]:
            if m == 1:
                locus = algorithm.get("boundary_locus")
                if not locus or locus[0] is None or locus[-1] is None or any(
                        a is None and b is None for a, b in zip(locus, locus[1:])):
                    faults.append(f"{name}: boundary_locus pieces malformed")
                    continue
                if not all(len(p) == 2 and all(isinstance(v, float) for v in p)
                           for p in locus if p is not None):
                    faults.append(f"{name}: boundary_locus points malformed")
                # The sampled locus meets the real axis at the exact end -a.
                a = algorithm["stability_interval"]
                if isinstance(a, (int, float)) and min(
                        math.hypot(p[0] + a, p[1]) for p in locus if p) > 0.01 * max(1, a):
                    faults.append(f"{name}: no locus point near the interval end -{a}")
            elif m == 2:
                moduli = algorithm.get("root_moduli")
                if moduli is None:
                    faults.append(f"{name}: no root_moduli")
                    continue
                h2 = moduli["h2"]
                if h2[0] != 0 or any(b <= a for a, b in zip(h2, h2[1:])) or \
                        len(moduli["moduli"]) != len(h2):
                    faults.append(f"{name}: root_moduli h2 malformed")
                for row in moduli["moduli"]:
                    if any(v is None or a < b for a, b in zip(row, row[1:]) for v in (a, b)):
                        faults.append(f"{name}: moduli not descending: {row}")
                        break
                # No root outside the circle inside the exact interval of
                # periodicity, one past its end.
                end = algorithm["periodicity_end"]
                if isinstance(end, (int, float)):
                    largest = [(x, row[0]) for x, row in zip(h2, moduli["moduli"])]
                    if any(v > 1 + 1e-6 for x, v in largest if x < 0.98 * end) or \
                            not any(v > 1 + 1e-6 for x, v in largest if x > 1.02 * end):
                        faults.append(f"{name}: root moduli disagree with periodicity (0, {end})")


def run_case(program, examples, schema, name, arguments, pictures, faults):
    work = tempfile.mkdtemp()
    try:
        os.symlink(examples, os.path.join(work, "ex"))
        os.mkdir(os.path.join(work, "copy"))
        shutil.copy(os.path.join(examples, "euler-forward.txt"), os.path.join(work, "copy"))
        for argument in arguments:
            if isinstance(argument, bytes) or argument.endswith(".txt") and \
                    not argument.startswith(("@", "copy/")):
                shutil.copy(os.path.join(examples, "euler-forward.txt"),
                            os.path.join(os.fsencode(work), os.fsencode(argument)))
        args = [os.fsencode("ex/" + a[1:]) if isinstance(a, str) and a.startswith("@")
                else os.fsencode(a) for a in arguments]
        result = subprocess.run([program, "--plot", "figuras", *args], cwd=work,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        if result.returncode != 0 or result.stderr:
            faults.append(f"{name}: exit status {result.returncode}, {result.stderr[:300]!r}")
            return
        folder = os.path.join(os.fsencode(work), b"figuras")
        written = set(os.listdir(folder))
        expected = {os.fsencode(p): kind for p, kind in pictures.items()}
        if written != set(expected):
            faults.append(f"{name}: pictures {sorted(written)}, expected {sorted(expected)}")
        titles = []
        for picture, kind in expected.items():
            path = os.path.join(folder, picture)
            if not os.path.exists(path):
                continue
            checked = check_svg(path, kind, faults)
            if checked:
                titles.append(checked[0].find(SVG + "title").text)
            if checked and kind == "region":
                check_region(path, *checked, faults)
                for probed, probes in PROBES:
                    if os.fsencode(probed) == picture:
                        check_probes(path, checked[1], probes, faults)
        # A file name that XML escapes comes back as it was written.
        for argument in arguments:
            if isinstance(argument, str) and argument.endswith(".txt") and \
                    not any(t.endswith(argument.replace("@", "ex/")) for t in titles):
                faults.append(f"{name}: no title names {argument!r}")
        if "--json" in arguments:
            mode = "lines" if "--each" in arguments else "document"
            problem = validate_json.fault(schema, mode, result.stdout.decode())
            if problem:
                faults.append(f"{name}: JSON: {problem}")
            m = json.loads(result.stdout.splitlines()[0])["m"]
            check_json(name, result.stdout.decode(), m, faults)
    finally:
        shutil.rmtree(work)


def run_refusal(program, examples, name, made, folder, arguments, status, message, faults):
    work = tempfile.mkdtemp()
    try:
        os.symlink(examples, os.path.join(work, "ex"))
        for item in made:
            what, path = item.split(" ", 1)
            if what == "dir":
                os.makedirs(os.path.join(work, path))
            else:
                open(os.path.join(work, path), "w").close()
        args = ["ex/" + a[1:] if a.startswith("@") else a for a in arguments]
        plot = [] if folder is None else ["--plot", folder]
        before = sorted(os.listdir(work))
        result = subprocess.run([program, *plot, *args], cwd=work,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        errors = result.stderr.decode(errors="replace")
        if result.returncode != status or message not in errors:
            faults.append(f"{name}: exit status {result.returncode}, {errors[:300]!r}")
        # A wrong command line analyses nothing; a picture not written still
        # leaves the report and the other picture.
        if status == 2 and result.stdout:
            faults.append(f"{name}: a report for a wrong command line")
        if status == 2 and sorted(os.listdir(work)) != before:
            faults.append(f"{name}: a wrong command line made {sorted(os.listdir(work))}")
        if status == 1 and (not result.stdout or not os.path.exists(
                os.path.join(work, folder, "euler-forward-regiao.svg"))):
            faults.append(f"{name}: the report or the other picture is missing")
    finally:
        shutil.rmtree(work)


def run_every_example(program, examples, faults):
    """--each over every example: each picture parses and has its parts."""
    work = tempfile.mkdtemp()
    try:
        files = sorted(f for f in os.listdir(examples) if f.endswith(".txt"))
        result = subprocess.run([program, "--plot", work, "--each",
                                 *(os.path.join(examples, f) for f in files)],
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
        if result.returncode != 0 or result.stderr:
            faults.append(f"every example: exit status {result.returncode}, "
                          f"{result.stderr[:300]!r}")
        kinds = {"-raizes.svg": "roots", "-regiao.svg": "region",
                 "-periodicidade.svg": "moduli", "-fase.svg": "phase"}
        pictures = os.listdir(work)
        for f in files:
            if not any(p == f[:-4] + "-raizes.svg" for p in pictures):
                faults.append(f"every example: no roots picture for {f}")
        for picture in pictures:
            kind = next((k for suffix, k in kinds.items() if picture.endswith(suffix)), None)
            if kind is None:
                faults.append(f"every example: unexpected picture {picture}")
            else:
                check_svg(os.path.join(work, picture), kind, faults)
    finally:
        shutil.rmtree(work)


def main():
    program, examples, schema = (os.path.realpath(a) for a in sys.argv[1:4])
    examples = os.path.realpath(examples)
    faults = []
    for name, arguments, pictures in CASES:
        run_case(program, examples, schema, name, arguments, pictures, faults)
    for case in REFUSALS:
        run_refusal(program, examples, *case, faults)
    run_every_example(program, examples, faults)
    for check in NEW_CHECKS:
        check(program, examples, faults)
    for fault in faults:
        print(fault)
    print(f"{len(CASES) + len(REFUSALS) + 1 + len(NEW_CHECKS)} cases, {len(faults)} faults")
    return 1 if faults else 0



# --- The pictures' options, languages and numbers ---------------------------

ENGLISH_TITLES = {"regiao": "Region of absolute stability: ", "raizes": "Roots of rho: ",
                  "periodicidade": "Moduli of the roots", "fase": "Phase error: ",
                  "convergencia": "Convergence: ", "ciclo": "Eigenvalues of the cycle: "}
# Words of the Portuguese labels that no English picture may show.
PORTUGUESE = re.compile(r"\b(raiz|raizes|nao|ordem|intervalo|regiao|fora|dentro|sobre|circulo|"
                        r"sem|erro|ramos|fase|periodicidade|estabilidade|cunha|termo|conjugad[oa]|"
                        r"multiplicidade|autovalores|medida|inclinacao|de|em|com|simples|ao|ha)\b")


def plot_run(program, examples, arguments, faults, name):
    """Runs --plot into a new folder from the examples folder (so that file
    names are bare); the folder, its pictures by suffix, and the JSON."""
    folder = tempfile.mkdtemp()
    result = subprocess.run([program, "--plot", folder, *arguments], cwd=examples,
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    if result.returncode != 0 or result.stderr:
        faults.append(f"{name}: exit status {result.returncode}, {result.stderr[:300]!r}")
    lines = result.stdout.decode().splitlines() if "--json" in arguments else []
    return folder, sorted(os.listdir(folder)), [json.loads(line) for line in lines]


def polyline_points(element):
    return [tuple(map(float, p.split(","))) for p in element.get("points").split()]


def check_window_and_size(program, examples, faults):
    folder, pictures, (method,) = plot_run(
        program, examples, ["--json", "--plot-window", "-1,3,-2,2", "--plot-size", "800x600",
                            "SI", "bdf-5.txt"], faults, "window")
    path = os.path.join(folder, "bdf-5-regiao.svg")
    root, groups = check_svg(path, "region", faults)
    box = [float(v) for v in root.get("viewBox").split()]
    if (root.get("width"), root.get("height")) != ("800", "600") or \
            abs(box[2] / box[3] - 800 / 600) > 1e-3:
        faults.append(f"window: size {root.get('width')}x{root.get('height')}, viewBox {box}")
    to_x, to_y = page_mapping(groups)
    area = root.find(f".//{SVG}clipPath/{SVG}rect")
    x, y, w, h = (float(area.get(k)) for k in ("x", "y", "width", "height"))
    if max(abs(to_x(-1) - x), abs(to_x(3) - x - w), abs(to_y(2) - y), abs(to_y(-2) - y - h)) > 1:
        faults.append(f"window: plot area {x, y, w, h} is not the window -1,3,-2,2")
    check_probes(path, groups, [(-0.5, 0.5, True), (-0.9, -0.3, True), (2, 0, False)], faults)
    locus = method["algorithms"][0]["boundary_locus"]
    if not locus or any(p and not (-1 <= p[0] <= 3 and -2 <= p[1] <= 2) for p in locus):
        faults.append("window: boundary_locus leaves the window given")
    shutil.rmtree(folder)
    # m = 2: the branches over the window's H^2; the root moduli as before.
    folder, _, (method,) = plot_run(program, examples, ["--json", "--plot-window", "0,12,0,2",
                                                        "SI", "numerov.txt"], faults, "window m2")
    algorithm = method["algorithms"][0]
    if algorithm["root_branches"]["h2"][-1] != 12 or algorithm["root_moduli"]["h2"][-1] != 9:
        faults.append("window m2: root_branches not over 0..12 or root_moduli moved")
    shutil.rmtree(folder)


def check_english(program, examples, faults):
    runs = [["--converge", "SI", "numerov.txt"], ["--converge", "SI", "bdf-3.txt"],
            ["SI", "milne-simpson.txt"], ["--converge", "CI", "nystrom-2.txt", "milne-simpson.txt"]]
    for arguments in runs:
        folder, pictures, _ = plot_run(program, examples, ["--lang", "en", *arguments], faults,
                                       "english")
        for picture in pictures:
            root = ET.parse(os.path.join(folder, picture)).getroot()
            kind = picture.rsplit("-", 1)[1][:-4]
            if not root.find(SVG + "title").text.startswith(ENGLISH_TITLES[kind]):
                faults.append(f"english {picture}: title {root.find(SVG + 'title').text!r}")
            for element in root.iter(SVG + "text"):
                text = (element.text or "").replace(".txt", "")
                if PORTUGUESE.search(text.replace("milne-simpson", "").replace("numerov", "")):
                    faults.append(f"english {picture}: {element.text!r}")
        shutil.rmtree(folder)


def check_branches_and_phase(program, examples, faults):
    """Branches move by little where their roots are simple (separated by
    0.25 or more): no jump of 0.1 between samples; the phase error starts at
    0, ends at the end of the interval of periodicity and follows its
    leading term at small H."""
    for example in ("numerov", "symmetric-4-step", "stormer-4", "cowell-6", "p-stable-2-step"):
        folder, pictures, (method,) = plot_run(program, examples, ["--json", "SI",
                                                                   example + ".txt"], faults,
                                               example)
        check_svg(os.path.join(folder, example + "-fase.svg"), "phase", faults)
        algorithm = method["algorithms"][0]
        rows = [[complex(*z) if z else None for z in row]
                for row in algorithm["root_branches"]["roots"]]

        def separation(row, b):
            return min((abs(row[b] - z) for j, z in enumerate(row) if j != b and z is not None),
                       default=9)
        for before, after in zip(rows, rows[1:]):
            for b, (p, q) in enumerate(zip(before, after)):
                if p is not None and q is not None and abs(q - p) > 0.1 and \
                        min(separation(before, b), separation(after, b)) >= 0.25:
                    faults.append(f"{example}: branch {b + 1} jumps from {p} to {q}")
        phase = algorithm["phase_error"]
        if phase["h"][0] != 0 or phase["error"][0] != 0:
            faults.append(f"{example}: phase error does not start at 0")
        if example == "numerov":
            h, error = phase["h"], phase["error"]
            i = min(range(len(h)), key=lambda k: abs(h[k] - 0.5))
            if abs(h[-1] - 6 ** 0.5) > 1e-4 or abs(error[-1] - (math.pi - 6 ** 0.5)) > 0.02 or \
                    abs(error[i] / (h[i] ** 5 / 480) - 1) > 0.1:
                faults.append(f"numerov: phase error {h[-1]}, {error[-1]}, {error[i]} at {h[i]}")
        shutil.rmtree(folder)


def check_convergence(program, examples, faults):
    """The pictures of --converge: one per method (SI, CI) or algorithm (CO),
    and a reference line of the convergence order's slope through the error
    at the smallest h, parallel to the errors where they have that order."""
    runs = [(["SI", "bdf-3.txt"], ["bdf-3"]),
            (["CI", "nystrom-2.txt", "milne-simpson.txt"], ["nystrom-2"]),
            (["CO", "adams-bashforth-2.txt", "adams-moulton-2.txt"],
             ["adams-bashforth-2", "adams-moulton-2"])]
    for arguments, stems in runs:
        folder, pictures, _ = plot_run(program, examples, ["--converge", *arguments], faults,
                                       "converge")
        made = [p[:-len("-convergencia.svg")] for p in pictures if p.endswith("-convergencia.svg")]
        if made != stems:
            faults.append(f"converge {arguments}: pictures {pictures}")
        for stem in made:
            path = os.path.join(folder, stem + "-convergencia.svg")
            checked = check_svg(path, "convergence", faults)
            if not checked:
                continue
            errors = polyline_points(checked[1]["problema-1"].find(SVG + "polyline"))
            line = polyline_points(checked[1]["referencia"].find(SVG + "polyline"))
            (x0, y0), (x1, y1) = line[0], line[-1]
            (a0, b0), (a1, b1) = errors[-2], errors[-1]
            distance = abs((x1 - x0) * (y0 - b1) - (x0 - a1) * (y1 - y0)) / math.hypot(x1 - x0,
                                                                                      y1 - y0)
            if distance > 0.5 or abs((b1 - b0) / (a1 - a0) / ((y1 - y0) / (x1 - x0)) - 1) > 0.03:
                faults.append(f"converge {stem}: reference line {line} against errors {errors}")
        shutil.rmtree(folder)


NEW_CHECKS = [check_window_and_size, check_english, check_branches_and_phase, check_convergence]


if __name__ == "__main__":
    sys.exit(main())
