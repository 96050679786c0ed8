#!/usr/bin/env python3
"""Writes a text form of N components (default 2000) for the loading benchmark.

Each component has the property kinds a project uses: integers, strings, an enumeration,
a set, a float, a reference to an earlier or later component, and a string list."""
import sys

n = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
kinds = ["tkFirst", "tkSecond", "tkThird"]
out = ["object formMain: TTestForm"]
for i in range(n):
    out.append(f"  object Comp{i}: TTestComp")
    out.append(f"    Count = {i * 37 % 100000}")
    out.append(f"    Text = 'Component number {i} of the benchmark project'")
    out.append(f"    Kind = {kinds[i % 3]}")
    out.append(f"    Kinds = [{kinds[i % 3]}, {kinds[(i + 1) % 3]}]")
    out.append(f"    Ratio = {i}.25")
    out.append(f"    Other = Comp{(i * 7 + 3) % n}")
    out.append(f"    Lines.Strings = (")
    out.append(f"      'first line of {i}'")
    out.append(f"      'second line')")
    out.append(f"    Left = {i % 640}")
    out.append(f"    Top = {i % 480}")
    out.append("  end")
out.append("end")
sys.stdout.write("\n".join(out) + "\n")
