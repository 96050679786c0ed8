#!/usr/bin/env python3
"""Runs the commands of a Markdown document the way a reader would, and checks its output excerpts.

The document marks what runs with fenced blocks:

  ```sh              commands, run in order in one shell (variables and the directory carry over);
  ```sh interactive  commands where the reader clicks through a wizard: run with
                     QUENLOFT_UNATTENDED=1, every page answered by its default button;
  ```output          what the nearest ```sh block above it prints: each of its lines must appear
                     in that output (blanks collapsed; "…" in a line stands for anything, a line
                     "..." or "…" alone for lines left out; times, dates and mktemp names are
                     compared as placeholders).

Other blocks are only shown. The shell starts in a fresh home directory (HOME, TMPDIR,
WINEPREFIX and the XDG folders inside a temporary folder), with the build's bin/ first on
PATH, ~/quenloft standing for the Quenloft checkout with its build in ~/quenloft/build, no
display (Qt's offscreen platform), and "set -e": the first failing command ends the run with
the block and the document line it came from.

usage: run_doc.py DOC --source DIR --build DIR [--sanitize FLAGS] [--keep] [--show]
  --show prints each block's output as the document would quote it, for copying excerpts.
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^(`{3,}|~{3,})\s*(.*)$")
MARK = "@@doc-block"
FAILED = "@@doc-failed"
END = "@@doc-end"
# Compared as placeholders on both sides: what differs from one run to the next.
VOLATILE = [
    (re.compile(r"\d{4}-\d\d-\d\d[T ]\d\d:\d\d(?::\d\d(?:\.\d+)?)?(?:[+-]\d\d:\d\d|Z)?"), "<time>"),
    (re.compile(r"tmp\.[A-Za-z0-9]{10}"), "tmp.<random>"),
]


class Block:
    def __init__(self, kind, words, line, text):
        self.kind = kind  # "sh" or "output"
        self.words = words
        self.line = line  # document line of its first content line
        self.text = text
        self.output = None  # for "output" blocks: the "sh" block it quotes


def read_blocks(path):
    """The document's runnable and output blocks, in order."""
    blocks, fence, current = [], None, None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f.read().splitlines(), 1):
            m = FENCE.match(line)
            if fence is None and m:
                fence, words = m.group(1), m.group(2).split()
                kind = words[0] if words and words[0] in ("sh", "output") else None
                current = Block(kind, words[1:], number + 1, [])
            elif fence is not None and line.startswith(fence[0] * len(fence)) and not line.strip(fence[0]).strip():
                if current.kind:
                    blocks.append(current)
                fence = None
            elif fence is not None:
                current.text.append(line)
    if fence is not None:
        sys.exit(f"{path}:{current.line - 1}: a code block is not closed")
    last_sh = None
    for b in blocks:
        if b.kind == "sh":
            last_sh = b
        elif last_sh is None:
            sys.exit(f"{path}:{b.line - 1}: an output block before any sh block")
        else:
            b.output = last_sh
    return blocks


def shell_script(blocks):
    """One bash script for all blocks, and where each block's lines start in it."""
    lines = [
        "set -eE",
        f"trap 's=$?; printf \"\\n{FAILED} %s %s %s@@\\n\" \"$qnlDocBlock\" \"$LINENO\" \"$s\"; exit $s' ERR",
    ]
    starts = {}
    for index, b in enumerate(blocks):
        if b.kind != "sh":
            continue
        lines.append(f"qnlDocBlock={index}; printf '\\n{MARK} {index} %s@@\\n' \"$EPOCHREALTIME\"")
        interactive = "interactive" in b.words
        if interactive:
            lines.append("export QUENLOFT_UNATTENDED=1")
        starts[index] = len(lines) + 1
        lines.extend(b.text)
        if interactive:
            lines.append("unset QUENLOFT_UNATTENDED")
    lines.append(f"printf '\\n{END} %s\\n' \"$EPOCHREALTIME\"")
    return "\n".join(lines) + "\n", starts


def environment(root, home, bin_dir, sanitize):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("QUENLOFT_", "QNL_", "XDG_", "WINE")) and k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update(HOME=home, TMPDIR=os.path.join(root, "tmp"), WINEPREFIX=os.path.join(home, ".wine"),
               XDG_DATA_HOME=os.path.join(home, ".local/share"), XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), QT_QPA_PLATFORM="offscreen",
               PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""), PWD=home)
    if sanitize:
        # A project built against a sanitized Quenloft links the sanitizers' run-time too.
        env["CXXFLAGS"] = sanitize
        env["LDFLAGS"] = sanitize
    if shutil.which("ccache"):
        # The document's own CMake builds, cached across runs in the user's cache (not the fresh
        # home's): the same relative paths every time.
        cache = subprocess.run(["ccache", "-k", "cache_dir"], stdout=subprocess.PIPE, text=True).stdout.strip()
        env.update(CMAKE_CXX_COMPILER_LAUNCHER="ccache", CCACHE_BASEDIR=root, CCACHE_NOHASHDIR="1")
        if cache:
            env["CCACHE_DIR"] = cache
    return env


def checkout(home, source, build):
    """~/quenloft: the checkout's entries, with the build under test as its build/."""
    tree = os.path.join(home, "quenloft")
    os.makedirs(tree)
    for name in os.listdir(source):
        if not name.startswith("build") and name != ".git":
            os.symlink(os.path.join(source, name), os.path.join(tree, name))
    os.symlink(build, os.path.join(tree, "build"))


def normalized(line, replacements):
    for old, new in replacements:
        line = line.replace(old, new)
    for pattern, placeholder in VOLATILE:
        line = pattern.sub(placeholder, line)
    return " ".join(line.split())


def split_output(text):
    """The output of each block that ran by block index, when each started, the failure record."""
    outputs, started, current, failure = {}, {}, None, None
    for line in text.splitlines():
        if line.startswith(MARK) and line.endswith("@@"):
            index, when = line[len(MARK):-2].split()
            current = int(index)
            outputs[current], started[current] = [], float(when)
        elif line.startswith(FAILED) and line.endswith("@@"):
            failure = failure or [int(x) for x in line[len(FAILED):-2].split()]
        elif line.startswith(END):
            started["end"] = float(line.split()[1])
        elif current is not None:
            outputs[current].append(line)
    return outputs, started, failure


def line_matches(expected, actual_lines):
    pieces = [re.escape(p) for p in expected.split("…")]
    pattern = re.compile(".*".join(pieces))
    return any(pattern.search(a) for a in actual_lines)


def check_excerpt(doc, block, actual, replacements):
    """The lines of an output block missing from what its command printed."""
    lines = [normalized(a, replacements) for a in actual]
    missing = []
    for offset, raw in enumerate(block.text):
        expected = normalized(raw, [])
        if expected in ("", "...", "…"):
            continue
        if not line_matches(expected, lines):
            missing.append(f"{doc}:{block.line + offset}: not in the output: {raw.strip()}")
    return missing


def run_script(script, root, home, env, timeout):
    """The script's output (stdout and stderr as one stream) and exit status; None when it took
    longer than timeout seconds, and then everything it started is ended."""
    # From a file: a command that reads its standard input must not eat the script.
    script_file = os.path.join(root, "doc.sh")
    with open(script_file, "w", encoding="utf-8") as f:
        f.write(script)
    shell = subprocess.Popen(["bash", "--noprofile", "--norc", script_file], stdin=subprocess.DEVNULL, cwd=home,
                             text=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, errors="replace", env=env,
                             start_new_session=True)
    try:
        out, _ = shell.communicate(timeout=timeout)
        return out, shell.returncode
    except subprocess.TimeoutExpired:
        os.killpg(shell.pid, signal.SIGKILL)
        out, _ = shell.communicate()
        return out, None


def problems_of(doc, blocks, starts, outputs, failure, ended, status, replacements):
    """What went wrong, each naming the document's line."""
    if failure:
        index, script_line, code = failure
        line = blocks[index].line + script_line - starts[index]
        return [f"{doc}:{line}: the command failed with status {code} (the block starting at line {blocks[index].line})"]
    problems = []
    if not ended:
        last = blocks[max(outputs) if outputs else 0].line
        why = "did not end in time" if status is None else f"ended with status {status}"
        problems.append(f"{doc}:{last}: the shell {why} in the block starting here")
    for b in blocks:
        quoted = blocks.index(b.output) if b.output else None
        if quoted in outputs and (ended or quoted != max(outputs)):
            problems += check_excerpt(doc, b, outputs[quoted], replacements)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("doc")
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--sanitize", default="")
    parser.add_argument("--timeout", type=float, default=600, help="seconds for the whole document")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    parser.add_argument("--show", action="store_true", help="print each block's output")
    args = parser.parse_args()
    doc = args.doc
    blocks = read_blocks(doc)
    script, starts = shell_script(blocks)

    root = os.path.realpath(tempfile.mkdtemp(prefix="qnl-doc."))
    home = os.path.join(root, "home")
    os.makedirs(home)
    os.makedirs(os.path.join(root, "tmp"))
    source, build = os.path.realpath(args.source), os.path.realpath(args.build)
    checkout(home, source, build)
    # Paths in the output as the reader of the document sees them.
    replacements = [(home, "/home/me"), (os.path.join(root, "tmp"), "/tmp"),
                    ("Z:" + home.replace("/", "\\"), "Z:\\home\\me")]
    try:
        env = environment(root, home, os.path.join(build, "bin"), args.sanitize)
        out, status = run_script(script, root, home, env, args.timeout)
    finally:
        if not args.keep:
            shutil.rmtree(root, ignore_errors=True)
        else:
            print(f"kept {root}")
    print(out)
    outputs, started, failure = split_output(out)
    ended = "end" in started
    times = sorted(started.items(), key=lambda item: item[1])
    for (index, begin), (_, end) in zip(times, times[1:]):
        print(f"{doc}:{blocks[index].line}: {end - begin:.1f} s")
    if args.show:
        for index, lines in outputs.items():
            print(f"==== {doc}:{blocks[index].line}")
            print("\n".join(normalized(a, replacements) for a in lines))

    problems = problems_of(doc, blocks, starts, outputs, failure, ended, status, replacements)
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
