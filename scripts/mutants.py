#!/usr/bin/env python3
"""Seeded one-line mutants of the product, run against the native unit tests.

Each mutant changes one token on one line of src/ (a comparison, a logical
operator, a sign, a number, a boolean, a negation, or drops a statement),
rebuilds the native preset and runs ctest. A mutant that no longer compiles is
not counted; one that makes a test fail (or hang past the timeout) is killed.
The Win32 layer is left out: only the end-to-end tests under Wine reach it.

    scripts/mutants.py --seed 11 --count 50 [--build DIR] [--list]

Works on a copy of the tree at HEAD (git worktree in a temporary folder), so
the working tree is never touched. Prints one line per mutant and a summary.
"""
import argparse
import pathlib
import random
import re
import subprocess
import sys
import tempfile

OPERATORS = [
    ("==", "!="), ("!=", "=="), ("<=", "<"), (">=", ">"),
    # Spaced on both sides: a comparison, not a template's brackets.
    (r"(?<= )<(?= )", "<="), (r"(?<= )>(?= )", ">="),
    ("&&", "||"), (r"\|\|", "&&"),
    (r"(?<![+=])\+(?![+=])", "-"), (r"(?<![\-=>])-(?![\-=>])", "+"),
    (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
    (r"!(?!=)", ""),
]
NUMBER = re.compile(r"(?<![\w.])(0x[0-9A-Fa-f]+|\d+)(?![\w.])")


def product_files(root):
    for path in sorted((root / "src").rglob("*")):
        if path.suffix in (".cpp", ".h") and "_win32" not in path.name and path.parent.name != "resources":
            yield path


def code_part(line):
    # Text before a line comment; string literals are left alone by skipping
    # lines whose code part holds a quote.
    return line.split("//", 1)[0]


def candidates(root):
    for path in product_files(root):
        lines = path.read_text(encoding="utf-8").splitlines()
        for number, line in enumerate(lines):
            code = code_part(line)
            stripped = code.strip()
            if not stripped or stripped.startswith(("#", "static_assert", "namespace", "}")) or '"' in code:
                continue
            rel = str(path.relative_to(root))
            for pattern, replacement in OPERATORS:
                for match in re.finditer(pattern, code):
                    yield rel, number, match.start(), match.end(), replacement
            for match in NUMBER.finditer(code.replace(") = 0;", ")")):
                value = int(match.group(1), 0)
                yield rel, number, match.start(), match.end(), str(value + 1)
            if path.suffix == ".cpp" and stripped.endswith(";") and not stripped.startswith(("return", "const", "constexpr", "using", "std::", "explicit")) \
                    and "(" in stripped and "=" not in stripped.split("(", 1)[0]:
                yield rel, number, 0, len(line), None  # the statement dropped


def run(command, cwd, timeout):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--count", type=int, default=50)
    parser.add_argument("--build", default=None, help="build folder (default: inside the temporary copy)")
    parser.add_argument("--list", action="store_true", help="only print the chosen mutants")
    args = parser.parse_args()

    repo = pathlib.Path(__file__).resolve().parent.parent
    all_mutants = sorted(set(candidates(repo)), key=lambda m: (m[0], m[1], m[2], m[4] or ""))
    chosen = random.Random(args.seed).sample(all_mutants, min(args.count, len(all_mutants)))
    if args.list:
        for rel, number, start, end, replacement in chosen:
            print(f"{rel}:{number + 1}: [{start}:{end}] -> {replacement!r}")
        return 0

    with tempfile.TemporaryDirectory(prefix="mutants-") as temp:
        copy = pathlib.Path(temp) / "tree"
        subprocess.run(["git", "worktree", "add", "--detach", "-q", str(copy), "HEAD"], cwd=repo, check=True)
        try:
            build = pathlib.Path(args.build) if args.build else copy / "build"
            subprocess.run(["cmake", "--preset", "native", "-B", str(build)], cwd=copy, check=True,
                           stdout=subprocess.DEVNULL)
            if run(["cmake", "--build", str(build), "-j2"], copy, 1800) != 0:
                print("the unmutated tree does not build", file=sys.stderr)
                return 1
            if run(["ctest", "--test-dir", str(build), "-j2", "--timeout", "60"], copy, 600) != 0:
                print("the unmutated tree fails its tests", file=sys.stderr)
                return 1
            killed = survived = uncompiled = 0
            for rel, number, start, end, replacement in chosen:
                path = copy / rel
                original = path.read_text(encoding="utf-8")
                lines = original.splitlines(keepends=True)
                line = lines[number]
                lines[number] = "\n" if replacement is None else line[:start] + replacement + line[end:]
                mutated = lines[number].rstrip("\n")
                path.write_text("".join(lines), encoding="utf-8")
                if run(["cmake", "--build", str(build), "-j2"], copy, 900) != 0:
                    outcome = "uncompiled"
                    uncompiled += 1
                elif run(["ctest", "--test-dir", str(build), "-j2", "--timeout", "60"], copy, 600) != 0:
                    outcome = "killed"
                    killed += 1
                else:
                    outcome = "SURVIVED"
                    survived += 1
                path.write_text(original, encoding="utf-8")
                print(f"{outcome:10} {rel}:{number + 1}: {line.strip()}  =>  {mutated.strip()}", flush=True)
            compiled = killed + survived
            share = 100 * killed / compiled if compiled else 0
            print(f"seed {args.seed}: {killed} of {compiled} compiled mutants killed ({share:.0f} %), "
                  f"{uncompiled} did not compile")
        finally:
            subprocess.run(["git", "worktree", "remove", "--force", str(copy)], cwd=repo)
    return 0


if __name__ == "__main__":
    sys.exit(main())
