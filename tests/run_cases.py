#!/usr/bin/python3
"""Runs the command-line cases of tests/cli_cases/*.yaml against a program.

Usage: run_cases.py PROGRAM EXAMPLES_DIR [CASES...]

PROGRAM is the program's path, or a command that starts it ("wine
path/to/torvane-cli.exe"). CASES are case files, or names of cases to run
alone; without them every file in cli_cases/ beside this script is run.

A case file holds `vars` ($name in a case's arguments; a case may add its
own), `files` made before each of its cases, and `cases`. A case, or a `template` filled in from each
of its `rows` ({1}, {2}... for a row's items), has:
  name, source       what it is and where its expected text comes from:
                     worked example, cct, model, fixed fault or recorded
  args | shell       the program's arguments (split as a shell would), or a
                     bash script that runs the program as `torvane`
  needs              a program the case needs, skipped when it is missing
  stdin              a file of the case's folder (otherwise /dev/null)
  stdout_to          closed or full (/dev/full) instead of a pipe
  files              name: text made in the case's folder beforehand; a
                     name ending in / is a folder, !link TARGET a link
  status             the exit status (0)
  stdout, stderr     the exact text (empty); !example NAME, a file of
                     EXAMPLES_DIR, here and in files and after
  same_as, drop      stdout is that of these arguments, run in the same
                     folder; drop removes a pattern from it and from ours
  stdout_end         the exact text the output ends with, from a line start
  stdout_columns     the most display columns a line may take (a Wide or
                     Fullwidth character takes two)
  stdout_has/_lacks  patterns (Python re over the whole output, ^ and $ at
                     each line) the output must have or must not have
  after              name: exact text, !example NAME, absent or unchanged
  folders            folder: its exact list of names afterwards
Texts are UTF-8, YAML's escapes included; in !bytes "..." each character
below 256 is that byte (GBK's \\xB5\\xE3) and any other is UTF-8. $work is
the case's folder, $examples EXAMPLES_DIR.
"""
import difflib
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import unicodedata

import yaml

SOURCES = {"worked example", "cct", "model", "fixed fault", "recorded"}
KEYS = {"name", "source", "vars", "args", "shell", "needs", "stdin", "stdout_to", "files", "status", "stdout",
        "stderr", "same_as", "drop", "stdout_end", "stdout_columns", "stdout_has", "stdout_lacks", "after", "folders"}


class Bytes(bytes):
    pass


class Example(str):
    pass


class Link(str):
    pass


class Loader(yaml.SafeLoader):
    pass


Loader.add_constructor("!bytes", lambda loader, node: Bytes(
    b"".join(bytes([ord(c)]) if ord(c) < 256 else c.encode() for c in loader.construct_scalar(node))))
Loader.add_constructor("!example", lambda loader, node: Example(loader.construct_scalar(node)))
Loader.add_constructor("!link", lambda loader, node: Link(loader.construct_scalar(node)))


def fill(value, row):
    """A template's value with {1}, {2}... replaced by the row's items."""
    if isinstance(value, dict):
        return {k: fill(v, row) for k, v in value.items()}
    if isinstance(value, list):
        return [fill(v, row) for v in value]
    if isinstance(value, str) and not isinstance(value, (Example, Link)):
        whole = re.fullmatch(r"\{(\d+)\}", value)
        if whole:  # the row's item itself: !bytes and !example stay what they are
            return row[int(whole.group(1)) - 1]
        return re.sub(r"\{(\d+)\}", lambda m: str(row[int(m.group(1)) - 1]), value)
    return value


def load(path):
    """The cases of one file, each with the file's vars and files."""
    with open(path, encoding="utf-8") as f:
        document = yaml.load(f, Loader=Loader)
    cases = []
    for item in document["cases"]:
        expanded = [fill(item["template"], row) for row in item["rows"]] if "template" in item else [item]
        for case in expanded:
            unknown = set(case) - KEYS
            assert not unknown, f"{path}: {case.get('name')}: unknown keys {unknown}"
            assert case.get("source") in SOURCES, f"{path}: {case.get('name')}: source {case.get('source')!r}"
            assert ("args" in case) != ("shell" in case), f"{path}: {case['name']}: args or shell"
            case["vars"] = {**document.get("vars", {}), **case.get("vars", {})}
            case["files"] = {**document.get("files", {}), **case.get("files", {})}
            cases.append(case)
    return cases


class Run:
    def __init__(self, program, examples):
        self.program = program
        self.examples = examples

    def text(self, value, work):
        """The bytes a case's text stands for, in the folder work."""
        if isinstance(value, Example):
            with open(os.path.join(self.examples, value), "rb") as f:
                return f.read()
        if isinstance(value, Bytes):
            return bytes(value)
        return self.subst(value, work, {}).encode("utf-8", "surrogateescape")

    def subst(self, value, work, variables):
        names = {**variables, "work": work, "examples": self.examples}
        return re.sub(r"\$(\w+)", lambda m: names.get(m.group(1), m.group(0)), value)

    def start(self, case, arguments, work, stdout):
        stdin = open(os.path.join(work, case["stdin"]), "rb") if "stdin" in case else subprocess.DEVNULL
        if "shell" in arguments:
            function = "torvane() { " + " ".join(map(shlex.quote, self.program)) + ' "$@"; }\n'
            argv = ["bash", "-c", function + self.subst(arguments["shell"], work, case["vars"])]
        else:
            argv = self.program + shlex.split(self.subst(arguments["args"], work, case["vars"]))
            argv = [a.encode("utf-8", "surrogateescape") for a in argv]
        closed = stdout == "closed"
        if closed:
            stdout = subprocess.DEVNULL
        try:
            return subprocess.run(argv, cwd=work, stdin=stdin, stdout=stdout, stderr=subprocess.PIPE,
                                  preexec_fn=(lambda: os.close(1)) if closed else None, timeout=60)
        finally:
            if stdin != subprocess.DEVNULL:
                stdin.close()

    def make_files(self, case, work):
        before = {}
        for name, value in case["files"].items():
            path = os.path.join(work, name)
            if name.endswith("/"):
                os.makedirs(path, exist_ok=True)
            elif isinstance(value, Link):
                os.symlink(value, path)
            else:
                os.makedirs(os.path.dirname(path), exist_ok=True)
                before[name] = self.text(value, work)
                with open(path, "wb") as f:
                    f.write(before[name])
        return before

    def case(self, case):
        """The case's faults, an empty list when it passes."""
        if "needs" in case and not shutil.which(case["needs"]):
            return None
        work = tempfile.mkdtemp(prefix="tv")  # short: messages are cut at a length
        try:
            return self.check(case, work)
        finally:
            shutil.rmtree(work)

    def check(self, case, work):
        before = self.make_files(case, work)
        how = case.get("stdout_to")
        if how == "full":
            with open("/dev/full", "wb") as full:
                got = self.start(case, case, work, full)
        else:
            got = self.start(case, case, work, "closed" if how == "closed" else subprocess.PIPE)
        faults = []
        if got.returncode != case.get("status", 0):
            faults.append(f"exit status {got.returncode}, expected {case.get('status', 0)}")
        out = got.stdout or b""
        if "same_as" in case:
            other = self.start(case, {"args": case["same_as"]}, work, subprocess.PIPE)
            expected = other.stdout
            if other.returncode != 0:
                faults.append(f"same_as: exit status {other.returncode}: {other.stderr.decode(errors='replace')}")
        elif "stdout" in case:
            expected = self.text(case["stdout"], work)
        else:
            expected = None if {"stdout_end", "stdout_columns", "stdout_has", "stdout_lacks"} & set(case) else b""
        if "drop" in case:
            pattern = case["drop"].encode()
            out, expected = re.sub(pattern, b"", out), re.sub(pattern, b"", expected)
        if expected is not None and out != expected:
            faults.append("standard output differs:\n" + diff(expected, out))
        if "stdout_end" in case:
            end = self.text(case["stdout_end"], work)
            if not (b"\n" + out).endswith(b"\n" + end):
                faults.append("standard output does not end as expected:\n" + diff(end, out[-len(end):]))
        for line in out.decode("utf-8", "replace").splitlines() if "stdout_columns" in case else []:
            if sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in line) > case["stdout_columns"]:
                faults.append(f"line wider than {case['stdout_columns']} columns: {line!r}")
        for pattern in case.get("stdout_has", []):
            if not re.search(pattern.encode(), out, re.M):
                faults.append(f"standard output lacks /{pattern}/")
        for pattern in case.get("stdout_lacks", []):
            if re.search(pattern.encode(), out, re.M):
                faults.append(f"standard output has /{pattern}/")
        expected = self.text(case.get("stderr", ""), work)
        if got.stderr != expected:
            faults.append("standard error differs:\n" + diff(expected, got.stderr))
        for name, value in case.get("after", {}).items():
            path = os.path.join(work, name)
            exists = os.path.lexists(path)
            if value == "absent":
                if exists:
                    faults.append(f"{name} exists")
                continue
            want = before[name] if value == "unchanged" else self.text(value, work)
            if not exists:
                faults.append(f"{name} is missing")
                continue
            with open(path, "rb") as f:
                have = f.read()
            if have != want:
                faults.append(f"{name} differs:\n" + diff(want, have))
        for folder, names in case.get("folders", {}).items():
            have = sorted(os.listdir(os.path.join(work, folder)))
            if have != sorted(names):
                faults.append(f"{folder} holds {have}, expected {sorted(names)}")
        return faults


def diff(expected, got):
    """A short diff of two texts, each line as Python shows it."""
    def shown(text):
        return [repr(line.decode("utf-8", "backslashreplace")) for line in text.splitlines(True)]

    lines = difflib.unified_diff(shown(expected), shown(got), "expected", "got", n=1, lineterm="")
    return "\n".join("    " + line for line in list(lines)[2:14])


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    program = [sys.argv[1]] if os.path.exists(sys.argv[1]) else shlex.split(sys.argv[1])
    program = [os.path.abspath(word) if os.path.exists(word) else word for word in program]  # cases run elsewhere
    files = [a for a in sys.argv[3:] if a.endswith(".yaml")]
    only = {a for a in sys.argv[3:] if not a.endswith(".yaml")}
    if not files:
        folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "cli_cases")
        files = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".yaml"))
    run = Run(program, os.path.abspath(sys.argv[2]))
    passed = failed = skipped = 0
    names = set()
    for path in files:
        for case in load(path):
            assert case["name"] not in names, f"{path}: {case['name']} is named twice"
            names.add(case["name"])
            if only and case["name"] not in only:
                continue
            try:
                faults = run.case(case)
            except (OSError, ValueError, subprocess.SubprocessError) as e:
                faults = [f"cannot run: {e}"]
            if faults is None:
                print(f"SKIP {case['name']}: {case['needs']} is not installed")
                skipped += 1
            elif faults:
                print(f"FAIL {case['name']} ({os.path.basename(path)}): " + "\n  ".join(faults))
                failed += 1
            else:
                passed += 1
    missing = only - names
    for name in sorted(missing):
        print(f"FAIL {name}: no such case")
    print(f"{passed} passed, {failed + len(missing)} failed, {skipped} skipped")
    sys.exit(1 if failed or missing or not passed else 0)


if __name__ == "__main__":
    main()
