#!/usr/bin/env python3
"""Checks every #include of the source folders against the layer table cmake/Layers.txt.

A folder may include its own headers and those of the folders on lower lines of the table;
a header from outside the project only in the folders the table allows for its family (os,
zlib, curl, qt); the C++ and C standard library everywhere. The README's layout table must
list the layered folders in layer order. Usage: check-layers.py SOURCE_ROOT; prints one line
per violation and exits with status 1 when there is any.
"""
import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".c", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')

CXX_STANDARD = set("""
algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex concepts
condition_variable coroutine deque exception execution expected filesystem format forward_list fstream
functional future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list locale
map memory memory_resource mutex new numbers numeric optional ostream queue random ranges ratio regex
scoped_allocator semaphore set shared_mutex source_location span sstream stack stdexcept stop_token
streambuf string string_view strstream syncstream system_error thread tuple type_traits typeindex
typeinfo unordered_map unordered_set utility valarray variant vector version
cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal cstdarg cstddef
cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype
assert.h ctype.h errno.h fenv.h float.h inttypes.h limits.h locale.h math.h setjmp.h stdarg.h stddef.h
stdint.h stdio.h stdlib.h string.h time.h uchar.h wchar.h wctype.h stdbool.h iso646.h
""".split())


def family(header):
    """The family of an angle-bracket header: std, zlib, curl, qt or os."""
    if header in CXX_STANDARD:
        return "std"
    if header in ("zlib.h", "zconf.h"):
        return "zlib"
    if header.startswith("curl/"):
        return "curl"
    if re.match(r"Qt[A-Za-z]*/", header) or re.match(r"Q[A-Z][A-Za-z]*$", header):
        return "qt"
    return "os"


def read_table(path):
    layers, allowed, unlayered = {}, {}, set()
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        words = line.split("#", 1)[0].split()
        if not words:
            continue
        kind, names = words[0], words[1:]
        if kind == "layer":
            level = len(set(layers.values()))
            for name in names:
                layers[name] = level
        elif kind == "headers" and names:
            allowed[names[0]] = set(names[1:])
        elif kind == "unlayered":
            unlayered.update(names)
        else:
            sys.exit(f"{path}:{number}: unknown line: {line.strip()}")
    return layers, allowed, unlayered


def check_includes(root, layers, allowed):
    problems = []
    for folder in sorted(layers):
        for directory, _, files in sorted(os.walk(os.path.join(root, folder))):
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    problems += check_file(root, os.path.join(directory, name), folder, layers, allowed)
    return problems


def check_file(root, path, folder, layers, allowed):
    problems = []
    shown = os.path.relpath(path, root)
    for number, line in enumerate(open(path, encoding="utf-8", errors="replace"), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        bracket, header = match.groups()
        where = f"{shown}:{number}: #include {bracket}{header}{'>' if bracket == '<' else chr(34)}"
        if bracket == "<":
            kind = family(header)
            if kind != "std" and folder not in allowed.get(kind, set()):
                problems.append(f"{where}: a {kind} header outside {', '.join(sorted(allowed.get(kind, [])))}")
            continue
        beside = os.path.normpath(os.path.join(os.path.dirname(path), header))
        if os.path.isfile(beside):
            target = os.path.relpath(beside, root).split(os.sep)[0]
        elif os.path.isfile(os.path.join(root, header)):
            target = header.split("/")[0]
        else:
            problems.append(f"{where}: no such file in the source tree")
            continue
        if target == folder:
            continue
        if target not in layers:
            problems.append(f"{where}: {target}/ is not a layer of the table")
        elif layers[target] >= layers[folder]:
            relation = "beside" if layers[target] == layers[folder] else "above"
            problems.append(f"{where}: {target}/ is {relation} {folder}/ in the layer table")
    return problems


def check_folders(root, layers, unlayered):
    """Every top-level folder with sources is in the table, so that none escapes the check."""
    problems = []
    for entry in sorted(os.listdir(root)):
        path = os.path.join(root, entry)
        if entry.startswith(".") or entry.startswith("build") or not os.path.isdir(path):
            continue
        if entry in layers or entry in unlayered:
            continue
        has_sources = any(name.endswith(SOURCE_SUFFIXES) for _, _, files in os.walk(path) for name in files)
        if has_sources:
            problems.append(f"{entry}/: a source folder missing from the layer table")
    return problems


def check_readme(root, layers):
    """The README's layout table names the layered folders in layer order."""
    text = open(os.path.join(root, "README.md"), encoding="utf-8").read()
    section = re.search(r"^## Layout\n(.*?)(?=^## |\Z)", text, re.M | re.S)
    if not section:
        return ["README.md: no \"## Layout\" section"]
    listed = []
    for line in section.group(1).splitlines():
        if line.startswith("|"):
            for name in re.findall(r"`([a-z-]+)/`", line.split("|")[1]):
                if name in layers and name not in listed:
                    listed.append(name)
    problems = [f"README.md: the layout table lacks {name}/" for name in sorted(layers) if name not in listed]
    levels = [layers[name] for name in listed]
    if levels != sorted(levels):
        problems.append("README.md: the layout table does not list the folders in layer order: " + " ".join(listed))
    return problems


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
    table = os.path.join(root, "cmake", "Layers.txt")
    layers, allowed, unlayered = read_table(table)
    problems = check_includes(root, layers, allowed) + check_folders(root, layers, unlayered) + check_readme(root, layers)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} violation(s) of {os.path.relpath(table, root)}")
        return 1
    print(f"every #include of {len(layers)} folders follows {os.path.relpath(table, root)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
