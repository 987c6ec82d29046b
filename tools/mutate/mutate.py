#!/usr/bin/env python3
"""Mutation check: how much of the game's behaviour the tests lock.

Applies single-site mutations to the game's sources (a comparison negated
or loosened, a constant changed, an operator swapped, a call dropped), one
at a time, in a scratch copy of the repository; for each it rebuilds, runs
the unit tests and plays back the golden recordings, and reports whether
some test failed (the mutant is killed) or all passed (it survived).

    tools/mutate/mutate.py [--sample N] [--seed S] [--site FILE:LINE:KIND] ...

Run it by hand from the project's root; it starts a virtual display of its
own and takes up to a minute a mutant. A mutant that does not compile is set
aside and another is drawn.
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SOURCES = "src"
SKIP = {"kuurakarpalo.cpp"}   # the entry function only strings the others together

# Each rule: a kind, a pattern, and what it becomes.
RULES = [
    ("negate", re.compile(r"(?<![<>=!-])<(?![<=])"), ">="),
    ("negate", re.compile(r"(?<![<>=!-])>(?![>=])"), "<="),
    ("loosen", re.compile(r"<="), "<"),
    ("loosen", re.compile(r">="), ">"),
    ("negate", re.compile(r"=="), "!="),
    ("negate", re.compile(r"!="), "=="),
    ("logic", re.compile(r"&&"), "||"),
    ("logic", re.compile(r"\|\|"), "&&"),
    ("arith", re.compile(r"(?<=[\w)\]] )\+(?= [\w(])"), "-"),
    ("arith", re.compile(r"(?<=[\w)\]] )-(?= [\w(])"), "+"),
    ("arith", re.compile(r"(?<=[\w)\]] )\*(?= [\w(])"), "/"),
]
NUMBER = re.compile(r"(?<![\w.])(\d+\.\d*|\d+)(f?)(?![\w.])")
CALL = re.compile(r"^(\s*)([A-Za-z_][\w.:>-]*\s*\(.*\)\s*;)\s*$")


def strip_strings(line):
    """The line with string and character literals blanked, so no rule looks inside them."""
    return re.sub(r'"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'', lambda m: " " * len(m.group(0)), line)


def code_part(line):
    s = strip_strings(line)
    cut = s.find("//")
    return s if cut < 0 else s[:cut] + " " * (len(s) - cut)


def sites():
    """Every place one rule applies: (file, line number, column, kind, old, new)."""
    found = []
    for name in sorted(os.listdir(os.path.join(ROOT, SOURCES))):
        if not name.endswith(".cpp") or name in SKIP:
            continue
        path = os.path.join(SOURCES, name)
        with open(os.path.join(ROOT, path)) as f:
            lines = f.read().split("\n")
        for n, line in enumerate(lines, 1):
            code = code_part(line)
            stripped = code.strip()
            if not stripped or stripped.startswith("#") or stripped.startswith("static const char"):
                continue
            for kind, pattern, new in RULES:
                for m in pattern.finditer(code):
                    found.append((path, n, m.start(), kind, m.group(0), new))
            for m in NUMBER.finditer(code):
                text, suffix = m.group(1), m.group(2)
                if "." in text:
                    new = repr(float(text) * 1.5 if float(text) != 0 else 0.5)
                else:
                    new = str(int(text) + 1)
                found.append((path, n, m.start(), "constant", m.group(0), new + suffix))
            m = CALL.match(code)
            if m and not re.match(r"\s*(return|if|for|while|switch|case|else|delete)\b", code):
                found.append((path, n, len(m.group(1)), "drop call", m.group(2).strip(), ";"))
    return found


def apply(tree, site):
    path, n, col, kind, old, new = site
    full = os.path.join(tree, path)
    with open(full) as f:
        lines = f.read().split("\n")
    line = lines[n - 1]
    if kind == "drop call":
        lines[n - 1] = line[:col] + ";" + " " * 0
    else:
        assert line[col:col + len(old)] == old, (site, line)
        lines[n - 1] = line[:col] + new + line[col + len(old):]
    with open(full, "w") as f:
        f.write("\n".join(lines))


def run(cmd, cwd, timeout):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=timeout, text=True, errors="replace")
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired:
        return "timeout", ""


def goldens():
    folder = os.path.join(ROOT, "tests", "golden")
    return sorted(f for f in os.listdir(folder) if f.endswith(".rec"))


def verdict(tree, build):
    """Which test kills the mutant, or None when it survives."""
    code, _ = run(["cmake", "--build", build, "-j2", "--target", "kuurakarpalo", "kuurakarpalo_tests"],
                  tree, 900)
    if code != 0:
        return "does not compile"
    env_game = os.path.join(build, "src", "kuurakarpalo")
    code, _ = run([os.path.join(build, "tests", "kuurakarpalo_tests"), "--gtest_brief=1"], tree, 300)
    if code != 0:
        return "unit tests" if code != "timeout" else "unit tests (timeout)"
    for rec in goldens():
        code, _ = run([env_game, "--play", os.path.join("tests", "golden", rec), "--fast", "--no-sound"],
                      tree, 240)
        if code != 0:
            return "golden " + rec[:-4] + ("" if code != "timeout" else " (timeout)")
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--sample", type=int, default=60, help="mutants drawn at random (default 60)")
    parser.add_argument("--seed", type=int, default=2026, help="seed of the draw (default 2026)")
    parser.add_argument("--site", action="append", default=[],
                        help="a chosen mutant as FILE:LINE:KIND (see --list), besides the sample")
    parser.add_argument("--list", action="store_true", help="list every site and stop")
    args = parser.parse_args()
    # A display of its own: keys pressed on a shared one could end a playback.
    if not os.environ.get("MUTATE_OWN_DISPLAY"):
        os.environ["MUTATE_OWN_DISPLAY"] = "1"
        os.environ.setdefault("SDL_AUDIODRIVER", "dummy")
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset",
                               sys.executable, os.path.abspath(__file__)] + sys.argv[1:])

    every = sites()
    if args.list:
        for s in every:
            print("%s:%d:%s  %s -> %s" % (s[0], s[1], s[3], s[4], s[5]))
        return
    chosen = []
    for want in args.site:
        f, n, kind = want.rsplit(":", 2)
        chosen += [s for s in every if s[0] == f and s[1] == int(n) and s[3] == kind][:1]
    rng = random.Random(args.seed)
    pool = [s for s in every if s not in chosen]
    rng.shuffle(pool)

    scratch = tempfile.mkdtemp(prefix="mutate-")
    tree = os.path.join(scratch, "tree")
    build = os.path.join(scratch, "build")
    subprocess.run(["git", "worktree", "add", "--detach", "-q", tree, "HEAD"], cwd=ROOT, check=True)
    try:
        # The working tree's own sources, uncommitted changes included.
        for sub in ("src", "tests"):
            shutil.rmtree(os.path.join(tree, sub))
            shutil.copytree(os.path.join(ROOT, sub), os.path.join(tree, sub))
        subprocess.run(["cmake", "-S", tree, "-B", build, "-DKUURAKARPALO_TOOLS=OFF",
                        "-DKUURAKARPALO_BENCH=OFF"], check=True, stdout=subprocess.DEVNULL)
        if verdict(tree, build) is not None:
            sys.exit("mutate.py: the tests fail without any mutation")

        results = []
        queue = [(s, True) for s in chosen] + [(s, False) for s in pool]
        drawn = 0
        for site, picked in queue:
            if not picked and drawn >= args.sample:
                break
            original = {}
            path = os.path.join(tree, site[0])
            with open(path) as f:
                original = f.read()
            apply(tree, site)
            start = time.time()
            killer = verdict(tree, build)
            with open(path, "w") as f:
                f.write(original)
            if killer == "does not compile":
                continue
            if not picked:
                drawn += 1
            results.append((site, picked, killer))
            print("%-8s %-30s %s:%d %s: %s -> %s  (%.0f s)" % (
                "killed" if killer else "SURVIVED", killer or "", site[0], site[1], site[3],
                site[4], site[5], time.time() - start), flush=True)
        # Leave the tree as the sources are.
        run(["cmake", "--build", build, "-j2"], tree, 900)
    finally:
        subprocess.run(["git", "worktree", "remove", "--force", tree], cwd=ROOT)
        shutil.rmtree(scratch, ignore_errors=True)

    sample = [r for r in results if not r[1]]
    killed = sum(1 for r in sample if r[2])
    print("\nrandom sample: %d of %d mutants killed (%.0f %%), %d sites in all" % (
        killed, len(sample), 100.0 * killed / max(1, len(sample)), len(every)))
    picked = [r for r in results if r[1]]
    if picked:
        print("chosen: %d of %d killed" % (sum(1 for r in picked if r[2]), len(picked)))
    for site, _, killer in results:
        if not killer:
            print("survivor: %s:%d %s: %s -> %s" % (site[0], site[1], site[3], site[4], site[5]))


if __name__ == "__main__":
    main()
