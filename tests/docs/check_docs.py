#!/usr/bin/env python3
"""Keeps the documentation honest.

1. Every C++ block of the README that starts with `// examples/NAME.cpp` is exactly the part
   of that program between its `// [readme]` and `// [/readme]` lines (indentation aside), and
   every such part of an example is shown in the README. The tests build and run the examples,
   so the code the README shows compiles and works.
2. The README's table of messages and the manual page's DIAGNOSTICS list the same messages.
3. The manual page names the project's version and renders without warnings (when groff is
   installed).

Usage: check_docs.py SOURCE_DIR
"""

import glob
import os
import re
import shutil
import subprocess
import sys
import textwrap

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def readme_blocks(readme):
    """The README's ```cpp blocks whose first line names an example file."""
    blocks = {}
    for match in re.finditer(r"```cpp\n(.*?)```", readme, re.S):
        lines = match.group(1).splitlines()
        head = re.fullmatch(r"// (examples/\w+\.cpp)", lines[0].strip()) if lines else None
        if head:
            blocks[head.group(1)] = textwrap.dedent("\n".join(lines[1:])).strip("\n")
    return blocks


def example_parts(source_dir):
    parts = {}
    for path in sorted(glob.glob(os.path.join(source_dir, "examples", "*.cpp"))):
        with open(path, encoding="utf-8") as stream:
            text = stream.read()
        match = re.search(r"^[ \t]*// \[readme\]\n(.*?)^[ \t]*// \[/readme\]\n", text,
                          re.S | re.M)
        if match:
            name = "examples/" + os.path.basename(path)
            parts[name] = textwrap.dedent(match.group(1)).strip("\n")
    return parts


def readme_messages(readme):
    section = readme.split("Messages it can print:", 1)[1].split("\n## ", 1)[0]
    messages = set()
    for line in section.splitlines():
        match = re.match(r"\| `([^`]+)` \|", line)
        if match:
            messages.add(match.group(1))
    return messages


def man_messages(man):
    section = man.split(".SH DIAGNOSTICS", 1)[1].split("\n.SH ", 1)[0]
    messages = set()
    lines = section.splitlines()
    for i, line in enumerate(lines):
        if line != ".TP":
            continue
        entry = lines[i + 1]
        if entry.startswith(".B "):
            text = entry[3:]
        elif entry.startswith(".BI "):
            # .BI "literal text " placeholder: the placeholder is written in capitals.
            literal, placeholder = re.fullmatch(r'\.BI "([^"]*)" (\w+)', entry).groups()
            text = literal + placeholder.upper()
        else:
            continue
        messages.add(text.replace("\\-", "-").strip('"'))
    return messages


def main():
    source_dir = sys.argv[1]
    with open(os.path.join(source_dir, "README.md"), encoding="utf-8") as stream:
        readme = stream.read()
    man_path = os.path.join(source_dir, "doc", "gridclip.1")
    with open(man_path, encoding="utf-8") as stream:
        man = stream.read()

    blocks = readme_blocks(readme)
    parts = example_parts(source_dir)
    for name, part in parts.items():
        check(name in blocks, f"README shows no block for {name}")
        if name in blocks:
            check(blocks[name] == part, f"README's block for {name} differs from the program:\n"
                  f"--- README\n{blocks[name]}\n--- {name}\n{part}")
    for name in blocks:
        check(name in parts, f"README shows {name}, which has no [readme] part")
    print(f"{len(blocks)} README code blocks match their examples")

    in_readme = readme_messages(readme)
    in_man = man_messages(man)
    check(len(in_readme) > 10, f"only {len(in_readme)} messages found in the README's table")
    for message in sorted(in_readme - in_man):
        check(False, f"manual page lacks the message: {message}")
    for message in sorted(in_man - in_readme):
        check(False, f"README lacks the message: {message}")
    print(f"{len(in_readme)} messages in both the README and the manual page")

    with open(os.path.join(source_dir, "CMakeLists.txt"), encoding="utf-8") as stream:
        version = re.search(r"project\(\s*gridclip\s+VERSION\s+([\d.]+)", stream.read()).group(1)
    title = re.search(r"^\.TH .*$", man, re.M).group(0)
    check(f'"gridclip {version}"' in title,
          f"the manual page's title line does not name version {version}: {title}")

    if shutil.which("groff"):
        result = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z", man_path],
                                capture_output=True, text=True, check=False)
        check(result.returncode == 0 and not result.stderr,
              f"groff warns about the manual page:\n{result.stderr}")
        print("the manual page renders without warnings")
    else:
        print("groff not installed: the manual page's rendering is not checked")

    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
