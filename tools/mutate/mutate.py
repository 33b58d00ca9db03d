#!/usr/bin/env python3
"""Mutation testing for the project's own C++ sources.

Samples one-token mutants of an area's sources (relational, logical and
arithmetic operators, numeric and boolean constants, removed negations),
rebuilds only what each change touches and runs the area's test programs
against it. A mutant is killed when a test fails or hangs past its time-out;
a mutant that does not compile is not counted. Survivors are printed as
`file:line old -> new` with the kill rate.

The working tree is never modified: every worker builds in its own mirror of
the tree under build/mutate/, kept in sync by content so that rebuilds stay
incremental from one run to the next.

    tools/mutate/mutate.py --area game --count 100 --seed 7
    tools/mutate/mutate.py --area game --file src/game/game_player.cpp --all
"""

import argparse
import concurrent.futures
import dataclasses
import fcntl
import fnmatch
import json
import os
import random
import re
import shutil
import subprocess
import sys
import threading
import time
import tomllib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
AREAS_FILE = Path(__file__).resolve().with_name("areas.toml")
GOLDEN_FILTER = "-Golden.*:*/Golden.*"

# Longest first, so that "<=" is one token and never "<" then "=".
PUNCTUATORS = sorted(
    """>>= <<= <=> ->* ... :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= ## .*
    { } [ ] ( ) ; : ? , . + - * / % ^ & | ~ ! = < > #""".split(),
    key=len,
    reverse=True,
)

TOKEN_RE = re.compile(
    r"""
    (?P<space>\s+)
  | (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<rawstring>(?:u8|[uUL])?R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)")
  | (?P<string>(?:u8|[uUL])?"(?:\\.|[^"\\\n])*")
  | (?P<char>(?:u8|[uUL])?'(?:\\.|[^'\\\n])+')
  | (?P<number>(?:0[xX][0-9a-fA-F']+|(?:\d[\d']*\.?[\d']*|\.\d[\d']*)(?:[eE][+-]?\d+)?)[uUlLfF]*)
  | (?P<ident>[A-Za-z_]\w*)
  | (?P<punct>"""
    + "|".join(re.escape(p) for p in PUNCTUATORS)
    + r""")
    """,
    re.VERBOSE | re.DOTALL,
)

# What each operator may become. One replacement is drawn per site.
OPERATOR_MUTATIONS = {
    "<": ["<=", ">"],
    "<=": ["<", ">"],
    ">": [">=", "<"],
    ">=": [">", "<"],
    "==": ["!="],
    "!=": ["=="],
    "&&": ["||"],
    "||": ["&&"],
    "+": ["-"],
    "-": ["+"],
    "*": ["/"],
    "/": ["*"],
    "%": ["*"],
    "+=": ["-="],
    "-=": ["+="],
    "*=": ["/="],
    "/=": ["*="],
    "++": ["--"],
    "--": ["++"],
}
OPERATOR_KIND = {
    **{op: "relational" for op in ["<", "<=", ">", ">=", "==", "!="]},
    **{op: "logical" for op in ["&&", "||"]},
}

# Names before "<" that open a template argument list rather than compare.
TEMPLATE_NAMES = {
    "template", "static_cast", "reinterpret_cast", "const_cast", "dynamic_cast", "bit_cast",
    "vector", "array", "span", "optional", "unique_ptr", "shared_ptr", "make_unique", "make_shared",
    "pair", "tuple", "map", "unordered_map", "set", "unordered_set", "function", "atomic",
    "lock_guard", "unique_lock", "scoped_lock", "numeric_limits", "basic_string", "string_view",
    "is_same_v", "enable_if_t", "deque", "duration", "duration_cast", "time_point", "get",
    "initializer_list", "hash", "less", "greater", "clamp", "min", "max", "size_t",
}
TYPE_WORDS = {
    "int", "float", "double", "char", "void", "auto", "bool", "const", "unsigned", "long",
    "short", "signed", "size_t", "uint8_t", "uint16_t", "uint32_t", "uint64_t", "int8_t",
    "int16_t", "int32_t", "int64_t", "wchar_t", "char16_t", "char32_t", "constexpr", "static",
}
OPERAND_END = {"number", "ident"}


@dataclasses.dataclass
class Token:
    kind: str
    text: str
    start: int
    line: int


@dataclasses.dataclass
class Mutant:
    file: str
    line: int
    start: int
    old: str
    new: str
    kind: str

    def label(self):
        return f"{self.file}:{self.line} {self.old} -> {self.new}"


def tokenize(text):
    """The code tokens of a C++ file, without comments, strings or preprocessor lines."""
    tokens = []
    pos = 0
    line = 1
    at_line_start = True
    while pos < len(text):
        if at_line_start:
            match = re.match(r"[ \t]*#(?:[^\n\\]|\\.)*", text[pos:], re.DOTALL)
            if match:
                line += match.group(0).count("\n")
                pos += match.end()
                continue
        match = TOKEN_RE.match(text, pos)
        if not match:
            pos += 1
            continue
        kind = match.lastgroup if match.lastgroup != "delim" else "rawstring"
        value = match.group(0)
        if kind not in ("space", "comment"):
            tokens.append(Token(kind, value, pos, line))
        newlines = value.count("\n")
        if kind == "space" or newlines:
            at_line_start = newlines > 0 or (at_line_start and kind == "space")
        else:
            at_line_start = False
        line += newlines
        pos = match.end()
    return tokens


def template_brackets(tokens):
    """Indices of "<" and ">" tokens that delimit template arguments."""
    marked = set()
    for i, tok in enumerate(tokens):
        if tok.text != "<" or i == 0:
            continue
        prev = tokens[i - 1]
        if prev.kind != "ident" and prev.text != "operator":
            continue
        if prev.text == "operator":
            marked.add(i)
            continue
        if not (prev.text in TEMPLATE_NAMES or re.match(r"^[A-Z][a-z]", prev.text)):
            continue
        depth = 0
        for j in range(i, min(len(tokens), i + 64)):
            t = tokens[j].text
            if t in (";", "{", "}", "&&", "||", "?", "=") and depth > 0:
                break
            if t == "<":
                depth += 1
                marked.add(j)
            elif t == ">":
                depth -= 1
                marked.add(j)
            elif t == ">>":
                depth -= 2
                marked.add(j)
            if depth <= 0:
                break
    return marked


def number_mutations(text):
    match = re.match(r"^(0[xX][0-9a-fA-F']+|[\d'.]+(?:[eE][+-]?\d+)?)([uUlLfF]*)$", text)
    if not match:
        return []
    body, suffix = match.group(1).replace("'", ""), match.group(2)
    is_float = (("." in body or "e" in body.lower()) and not body.lower().startswith("0x")) or "f" in suffix.lower()
    if not is_float:
        value = int(body, 0)
        options = [1] if value == 0 else [value + 1, value - 1]
        render = (lambda v: hex(v)) if body.lower().startswith("0x") else str
        return [render(v) + suffix for v in options]
    value = float(body)
    options = [1.0] if value == 0 else [value + 1, value - 1, value * 1.5, value * 0.5]
    out = []
    for v in options:
        s = format(v, ".7g")
        if "." not in s and "e" not in s:
            s += ".0"
        out.append(s + suffix)
    return out


def candidate_sites(rel_path, text):
    """Every mutable token of one file, each with the replacements it may take."""
    tokens = tokenize(text)
    templates = template_brackets(tokens)
    sites = []
    for i, tok in enumerate(tokens):
        prev = tokens[i - 1] if i > 0 else None
        nxt = tokens[i + 1] if i + 1 < len(tokens) else None
        if prev is not None and prev.text == "operator":
            continue
        if tok.kind == "number":
            if prev is not None and prev.text in ("[",) and nxt is not None and nxt.text == "]":
                # Array extents: a changed size either fails to compile or changes nothing.
                continue
            options = number_mutations(tok.text)
            if options:
                sites.append((tok, options, "constant"))
        elif tok.kind == "ident" and tok.text in ("true", "false"):
            sites.append((tok, ["false" if tok.text == "true" else "true"], "constant"))
        elif tok.kind == "punct":
            op = tok.text
            if op == "!":
                if nxt is not None and nxt.text != "=":
                    sites.append((tok, [""], "negation"))
                continue
            if op not in OPERATOR_MUTATIONS or i in templates:
                continue
            if op in ("*", "&&") and prev is not None:
                # A declarator ("Game* g", "auto&& x") is not arithmetic.
                if prev.text in TYPE_WORDS or re.match(r"^[A-Z][a-z]", prev.text) or prev.text == ">":
                    continue
            if op in ("*",) and (prev is None or (prev.kind not in OPERAND_END and prev.text not in (")", "]"))):
                continue  # a dereference
            kind = OPERATOR_KIND.get(op, "arithmetic")
            sites.append((tok, OPERATOR_MUTATIONS[op], kind))
    return sites


def expand_sources(area):
    files = []
    for pattern in area["sources"]:
        for path in sorted(ROOT.glob(pattern)):
            rel = path.relative_to(ROOT).as_posix()
            if rel not in files:
                files.append(rel)
    return files


def sample_mutants(files, count, seed, only_lines=None):
    rng = random.Random(seed)
    pool = []
    for rel in files:
        text = (ROOT / rel).read_text()
        for tok, options, kind in candidate_sites(rel, text):
            if only_lines and tok.line not in only_lines:
                continue
            pool.append((rel, tok, options, kind))
    chosen = pool if count <= 0 or count >= len(pool) else rng.sample(pool, count)
    mutants = []
    for rel, tok, options, kind in chosen:
        new = options[rng.randrange(len(options))] if count > 0 else None
        variants = [new] if new is not None else options
        for replacement in variants:
            mutants.append(Mutant(rel, tok.line, tok.start, tok.text, replacement, kind))
    mutants.sort(key=lambda m: (m.file, m.start, m.new))
    return mutants, len(pool)


def tracked_files():
    out = subprocess.run(
        ["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT, check=True, capture_output=True
    ).stdout
    return [f for f in out.decode().split("\0") if f and not f.startswith("build/")]


def sync_mirror(mirror):
    """Copies the working tree into the mirror by content, keeping unchanged files' times."""
    mirror.mkdir(parents=True, exist_ok=True)
    wanted = set()
    for rel in tracked_files():
        src = ROOT / rel
        if not src.is_file():
            continue
        wanted.add(rel)
        dst = mirror / rel
        data = src.read_bytes()
        if dst.is_file() and dst.read_bytes() == data:
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        dst.write_bytes(data)
        shutil.copymode(src, dst)
    for path in mirror.rglob("*"):
        rel = path.relative_to(mirror).as_posix()
        if rel.startswith("build/") or rel == "build" or path.is_dir():
            continue
        if rel not in wanted:
            path.unlink()


class Worker:
    def __init__(self, index, area_name, targets, jobs, log):
        self.mirror = ROOT / "build" / "mutate" / f"worker-{index}"
        self.build = self.mirror / "build"
        self.targets = targets
        self.jobs = jobs
        self.log = log
        self.area_name = area_name

    def configure(self):
        sync_mirror(self.mirror)
        if not (self.build / "build.ninja").exists():
            subprocess.run(
                [
                    "cmake", "-S", str(self.mirror), "-B", str(self.build), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG",
                    "-DGRUMBO_BENCH=OFF", "-DBUILD_TESTING=ON",
                ],
                check=True, stdout=subprocess.DEVNULL,
            )

    def build_targets(self, timeout=900):
        cmd = ["ninja", "-C", str(self.build), "-j", str(self.jobs), *self.targets]
        try:
            done = subprocess.run(cmd, capture_output=True, text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            return False, "build timed out"
        return done.returncode == 0, done.stdout[-4000:] + done.stderr[-4000:]

    def run_tests(self, tests, timeouts):
        """The first failing test program and test name, or None when all pass."""
        for test in tests:
            exe = self.build / "bin" / test["target"]
            flt = test.get("filter", "*")
            filter_arg = f"--gtest_filter={flt}{GOLDEN_FILTER}"
            env = dict(os.environ, **test.get("env", {}))
            try:
                done = subprocess.run(
                    [str(exe), filter_arg, "--gtest_fail_fast", "--gtest_brief=1"],
                    cwd=self.build / "bin", capture_output=True, text=True, env=env,
                    timeout=timeouts.get(test["target"], 60),
                )
            except subprocess.TimeoutExpired:
                return test["target"], "(timed out)"
            if done.returncode != 0:
                failed = re.search(r"\[  FAILED  \] ([\w/.]+)", done.stdout)
                name = failed.group(1) if failed else f"exit {done.returncode}"
                return test["target"], name
        return None

    def apply(self, mutant, original):
        text = original[: mutant.start] + mutant.new + original[mutant.start + len(mutant.old) :]
        (self.mirror / mutant.file).write_text(text)

    def restore(self, rel, original):
        (self.mirror / rel).write_text(original)


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--area", required=True, help="area of tools/mutate/areas.toml, or 'list'")
    parser.add_argument("--count", type=int, default=100, help="mutants to sample (0: every site)")
    parser.add_argument("--all", action="store_true", help="every replacement of every site")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--file", action="append", help="only these sources of the area")
    parser.add_argument("--lines", help="only these lines, as 10-40,55")
    parser.add_argument("--jobs", type=int, default=0, help="parallel workers (default: cores, at most 2)")
    parser.add_argument("--threshold", type=float, help="exit 1 when the kill rate is below this percent")
    parser.add_argument("--json", help="write every mutant's outcome to this file")
    parser.add_argument("--list", action="store_true", help="print the sampled mutants and stop")
    return parser.parse_args()


def parse_lines(spec):
    if not spec:
        return None
    lines = set()
    for part in spec.split(","):
        lo, _, hi = part.partition("-")
        lines.update(range(int(lo), int(hi or lo) + 1))
    return lines


def main():
    args = parse_args()
    areas = tomllib.loads(AREAS_FILE.read_text())
    if args.area == "list":
        for name, area in areas.items():
            files = expand_sources(area)
            sites = sum(len(candidate_sites(f, (ROOT / f).read_text())) for f in files)
            print(f"{name}: {len(files)} files, {sites} sites, threshold {area['threshold']} %")
        return 0
    area = areas[args.area]
    files = expand_sources(area)
    if args.file:
        files = [f for f in files if any(fnmatch.fnmatch(f, pat) for pat in args.file)]
    count = 0 if args.all else args.count
    mutants, pool = sample_mutants(files, count, args.seed, parse_lines(args.lines))
    print(f"mutate: area {args.area}, {len(files)} files, {pool} sites, {len(mutants)} mutants, seed {args.seed}")
    if args.list:
        for m in mutants:
            print(m.label())
        return 0
    if not mutants:
        return 0

    # Runs share the mirrors under build/mutate/: a second run waits for the first.
    lock_path = ROOT / "build" / "mutate" / ".lock"
    lock_path.parent.mkdir(parents=True, exist_ok=True)
    mirrors_lock = open(lock_path, "w")
    fcntl.flock(mirrors_lock, fcntl.LOCK_EX)

    cores = os.cpu_count() or 1
    workers_n = args.jobs or min(2, cores)
    workers_n = max(1, min(workers_n, len(mutants)))
    targets = [t["target"] for t in area["tests"]]
    lock = threading.Lock()

    def log(msg):
        with lock:
            print(msg, flush=True)

    workers = [Worker(i, args.area, targets, max(1, cores // workers_n), log) for i in range(workers_n)]
    started = time.monotonic()
    for w in workers:
        w.configure()
    # The unmutated build must pass, and its run times set each program's time-out.
    timeouts = {}
    for w in workers:
        ok, out = w.build_targets()
        if not ok:
            print(out)
            print("mutate: the unmutated tree does not build", file=sys.stderr)
            return 2
    for test in area["tests"]:
        t0 = time.monotonic()
        failure = workers[0].run_tests([test], {test["target"]: 600})
        if failure:
            print(f"mutate: the unmutated tree fails {failure[0]}: {failure[1]}", file=sys.stderr)
            return 2
        timeouts[test["target"]] = max(5.0, 10 * (time.monotonic() - t0))
    print(f"mutate: baseline built and green in {time.monotonic() - started:.0f} s", flush=True)

    # Each worker takes whole files, so consecutive mutants recompile one file.
    by_file = {}
    for m in mutants:
        by_file.setdefault(m.file, []).append(m)
    queues = [[] for _ in workers]
    for rel in sorted(by_file, key=lambda f: -len(by_file[f])):
        target = min(range(len(queues)), key=lambda q: len(queues[q]))
        queues[target].extend(by_file[rel])
    results = []
    total = len(mutants)
    done_count = [0]

    def run_queue(worker, queue):
        originals = {}
        for m in queue:
            original = originals.setdefault(m.file, (worker.mirror / m.file).read_text())
            worker.apply(m, original)
            try:
                ok, _ = worker.build_targets(timeout=600)
                if not ok:
                    outcome, by = "uncompiled", ""
                else:
                    failure = worker.run_tests(area["tests"], timeouts)
                    outcome = "killed" if failure else "survived"
                    by = f"{failure[0]}: {failure[1]}" if failure else ""
            finally:
                worker.restore(m.file, original)
            with lock:
                done_count[0] += 1
                results.append((m, outcome, by))
                mark = {"killed": "killed  ", "survived": "SURVIVED", "uncompiled": "no build"}[outcome]
                print(f"[{done_count[0]}/{total}] {mark} {m.label()}" + (f"  ({by})" if by else ""), flush=True)

    try:
        with concurrent.futures.ThreadPoolExecutor(len(workers)) as pool_exec:
            futures = [pool_exec.submit(run_queue, w, q) for w, q in zip(workers, queues)]
            for f in futures:
                f.result()
    except KeyboardInterrupt:
        print("mutate: interrupted; the mirrors are restored on the next run", file=sys.stderr)
        return 130

    killed = [r for r in results if r[1] == "killed"]
    survived = sorted((r for r in results if r[1] == "survived"), key=lambda r: (r[0].file, r[0].line))
    uncompiled = [r for r in results if r[1] == "uncompiled"]
    counted = len(killed) + len(survived)
    rate = 100.0 * len(killed) / counted if counted else 100.0
    if survived:
        print("\nsurvivors:")
        for m, _, _ in survived:
            print(f"  {m.label()}")
    print(
        f"\nmutate: area {args.area}: {len(killed)} of {counted} killed ({rate:.1f} %), "
        f"{len(uncompiled)} did not compile, {time.monotonic() - started:.0f} s"
    )
    if args.json:
        Path(args.json).write_text(
            json.dumps(
                [dict(dataclasses.asdict(m), outcome=o, by=b) for m, o, b in results], indent=1
            )
        )
    if args.threshold is not None and rate < args.threshold:
        print(f"mutate: below the threshold of {args.threshold} %", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
