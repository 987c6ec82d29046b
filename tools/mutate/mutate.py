#!/usr/bin/env python3
"""Mutation check: how much of the game's behaviour the tests lock.

Applies single-site mutations to the game's sources (a comparison negated
or loosened, a constant changed, an operator swapped, a call dropped), one
at a time, in a scratch copy of the repository. For each it rebuilds and runs
every test in ctest that can catch a mutant: the unit tests (in one
process) first, then the rest cheapest first (the fuzz corpus, the data
tools' checks, the soak, the benchmarks' short runs, the golden recordings,
the golden pictures, golden_remade, the end-to-end scripts), and stops at the
first failure: the mutant is killed. One that passes them all survived. The
manual page's checks (dist_*) look at what --help prints, which the unit
tests hold, and the web version's tests play a site built once by
scripts/web, so both are skipped.

    tools/mutate/mutate.py [--sample N] [--seed S] [--site FILE:LINE:KIND] ...

Each run draws a fresh sample (40 unless asked), seeded from the date and
time unless --seed is given; the seed is printed, so a run can be repeated.
Mutants listed in tools/mutate/equivalent.txt, each with the reason it cannot
change what the game does, count as equivalent and are not run; no other
mutant does. Run it by hand from the project's root; it starts a virtual
display of its own and takes about a minute for a mutant that survives. A
mutant that does not compile is set aside and another is drawn.
"""

import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SOURCES = "src"
SKIP = {"kuurakarpalo.cpp"}   # the entry function only strings the others together
EQUIVALENT = os.path.join(ROOT, "tools", "mutate", "equivalent.txt")
# Tests that cannot see a mutant: the manual page's checks read its text,
# and the web version's tests play the site scripts/web builds, which is not
# built again for each mutant (the same playbacks and pictures run natively).
UNCATCHING = re.compile(r"^(dist_|web_)")
# The folders copied from the working tree into the scratch copy, uncommitted
# changes included; the rest comes from the last commit.
COPIED = ("src", "tests", "tools", "bench", "soak", "fuzz", "scripts")

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
    """The exit code ("timeout" when it ran too long) and the output. A command
    that runs too long is killed with every process it started."""
    p = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         errors="replace", start_new_session=True)
    try:
        out, _ = p.communicate(timeout=timeout)
        return p.returncode, out
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.communicate()
        return "timeout", ""


def mutantkey(site, line):
    """How a mutant is named in the list of equivalent ones."""
    return "%s | %s | %s -> %s | %s" % (site[0], site[3], site[4], site[5], line.strip())


def listname(site):
    """The source line as the list names it: the line itself, or, where the
    same text stands on several lines of the file, the nearest non-blank line
    above it, " ^ " and the line."""
    lines = sourcefile(site)
    line = lines[site[1] - 1].strip()
    if sum(l.strip() == line for l in lines) < 2:
        return line
    above = next((l.strip() for l in reversed(lines[:site[1] - 1]) if l.strip()), "")
    return above + " ^ " + line


def listedreason(known, site):
    """Why the list calls a mutant equivalent, or None: its own line in the
    list, or a line that names every mutation of that source line (kind
    "*", "* -> *"), for code that is not compiled at all."""
    line = sourceline(site).strip()
    return (known.get(mutantkey(site, line)) or known.get(mutantkey(site, listname(site))) or
            known.get("%s | * | * -> * | %s" % (site[0], line)))


def equivalents():
    """The listed equivalent mutants: their names and the reasons."""
    found = {}
    with open(EQUIVALENT) as f:
        for n, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            name, sep, reason = line.rpartition(" | ")
            if not sep or name.count(" | ") < 3 or not reason.strip():
                sys.exit("mutate.py: %s:%d: not FILE | KIND | OLD -> NEW | LINE | WHY" % (EQUIVALENT, n))
            found[name] = reason.strip()
    return found


def sourcefile(site):
    with open(os.path.join(ROOT, site[0])) as f:
        return f.read().split("\n")


def sourceline(site):
    return sourcefile(site)[site[1] - 1]


class Suite:
    """The tests that can catch a mutant, in the order they run, with the
    time each may take."""

    def __init__(self, tree, build):
        self.tree = tree
        self.build = build
        code, out = run(["ctest", "--test-dir", build, "--show-only=json-v1"], tree, 120)
        if code != 0:
            sys.exit("mutate.py: ctest cannot list the tests")
        self.unit = os.path.join(build, "tests", "kuurakarpalo_tests")
        self.tests = []   # (number, name)
        for number, test in enumerate(json.loads(out)["tests"], 1):
            command = " ".join(test.get("command", []))
            if UNCATCHING.search(test["name"]) or "kuurakarpalo_tests" in command:
                continue
            self.tests.append((number, test["name"]))
        self.limits = {}

    def runone(self, name, number, limit):
        if name == "unit tests":
            return run([self.unit, "--gtest_brief=1"], self.tree, limit)
        return run(["ctest", "--test-dir", self.build, "-I", "%d,%d" % (number, number), "--output-on-failure"],
                   self.tree, limit)

    def measure(self):
        """Runs everything once without a mutation: each test must pass; the
        cheapest run first after the unit tests, and each may take a few
        times as long as it took here."""
        timed = []
        for number, name in [(0, "unit tests")] + self.tests:
            start = time.time()
            code, out = self.runone(name, number, 900)
            if code != 0:
                sys.exit("mutate.py: %s fails without any mutation:\n%s" % (name, out[-3000:]))
            spent = time.time() - start
            self.limits[name] = 4 * spent + 30
            timed.append((spent, number, name))
        self.order = [(0, "unit tests")] + [(n, name) for _, n, name in sorted(timed[1:])]
        print("the unit tests and %d more tests can catch a mutant; all of them take %.0f s" % (
            len(self.tests), sum(t[0] for t in timed)), flush=True)

    def verdict(self):
        """Which test kills the built mutant, or None when it survives."""
        for number, name in self.order:
            code, _ = self.runone(name, number, self.limits[name])
            if code != 0:
                return name + (" (timeout)" if code == "timeout" else "")
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--sample", type=int, default=40, help="mutants drawn at random (default 40)")
    parser.add_argument("--seed", type=int, help="seed of the draw (default: the date and time)")
    parser.add_argument("--site", action="append", default=[],
                        help="a chosen mutant as FILE:LINE:KIND (see --list), besides the sample")
    parser.add_argument("--list", action="store_true", help="list every site and stop")
    args = parser.parse_args()
    if args.seed is None:
        args.seed = int(time.strftime("%Y%m%d%H%M%S"))

    every = sites()
    if args.list:
        for s in every:
            print("%s:%d:%s  %s -> %s" % (s[0], s[1], s[3], s[4], s[5]))
        return
    # A display of its own: keys pressed on a shared one could end a playback.
    if not os.environ.get("MUTATE_OWN_DISPLAY"):
        os.environ["MUTATE_OWN_DISPLAY"] = "1"
        os.environ.setdefault("SDL_AUDIODRIVER", "dummy")
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset",
                               sys.executable, os.path.abspath(__file__), "--seed", str(args.seed)] + sys.argv[1:])

    known = equivalents()
    chosen = []
    for want in args.site:
        f, n, kind = want.rsplit(":", 2)
        chosen += [s for s in every if s[0] == f and s[1] == int(n) and s[3] == kind][:1]
    print("seed %d: a sample of %d from %d sites" % (args.seed, args.sample, len(every)), flush=True)
    rng = random.Random(args.seed)
    pool = [s for s in every if s not in chosen]
    rng.shuffle(pool)

    scratch = tempfile.mkdtemp(prefix="mutate-")
    tree = os.path.join(scratch, "tree")
    build = os.path.join(scratch, "build")
    subprocess.run(["git", "worktree", "add", "--detach", "-q", tree, "HEAD"], cwd=ROOT, check=True)
    try:
        for sub in COPIED:
            shutil.rmtree(os.path.join(tree, sub))
            shutil.copytree(os.path.join(ROOT, sub), os.path.join(tree, sub))
        subprocess.run(["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], check=True,
                       stdout=subprocess.DEVNULL)
        code, out = run(["cmake", "--build", build, "-j2"], tree, 1800)
        if code != 0:
            sys.exit("mutate.py: the copy does not build:\n" + out[-3000:])
        suite = Suite(tree, build)
        suite.measure()

        results = []   # (site, picked, killer or None, equivalent reason or None)
        queue = [(s, True) for s in chosen] + [(s, False) for s in pool]
        drawn = 0
        for site, picked in queue:
            if not picked and drawn >= args.sample:
                break
            path = os.path.join(tree, site[0])
            with open(path) as f:
                original = f.read()
            apply(tree, site)
            start = time.time()
            reason = listedreason(known, site)
            builds = run(["cmake", "--build", build, "-j2"], tree, 900)[0] == 0
            killer = suite.verdict() if builds and not reason else None
            with open(path, "w") as f:
                f.write(original)
            if not builds:
                continue
            if not picked:
                drawn += 1
            results.append((site, picked, killer, reason))
            state = "equivalent" if reason else "killed" if killer else "SURVIVED"
            print("%-10s %-32s %s:%d %s: %s -> %s  (%.0f s)" % (
                state, killer or "", site[0], site[1], site[3], site[4], site[5], time.time() - start), flush=True)
        # Leave the build as the sources are.
        run(["cmake", "--build", build, "-j2"], tree, 900)
    finally:
        subprocess.run(["git", "worktree", "remove", "--force", tree], cwd=ROOT)
        shutil.rmtree(scratch, ignore_errors=True)

    sample = [r for r in results if not r[1]]
    counted = [r for r in sample if not r[3]]
    killed = sum(1 for r in counted if r[2])
    print("\nseed %d: %d of %d mutants killed (%.0f %%), %d listed as equivalent; %d sites in all" % (
        args.seed, killed, len(counted), 100.0 * killed / max(1, len(counted)), len(sample) - len(counted),
        len(every)))
    picked = [r for r in results if r[1] and not r[3]]
    if picked:
        print("chosen: %d of %d killed" % (sum(1 for r in picked if r[2]), len(picked)))
    for site, _, killer, reason in results:
        if reason:
            print("equivalent: %s:%d %s -> %s: %s" % (site[0], site[1], site[4], site[5], reason))
    for site, _, killer, reason in results:
        if not killer and not reason:
            print("survivor: %s:%d  %s" % (site[0], site[1], mutantkey(site, listname(site))))


if __name__ == "__main__":
    main()
