#!/usr/bin/env python3
"""Writes the man page qvprt-cli(1) from README.md's "qvprt-cli(1)" section.

The README is the one place the command line is described; the page is made from it at build time.
Only the Markdown that section uses is understood: "###" headings, paragraphs, code blocks indented
by four spaces, pipe tables and `code` spans. Anything else is refused, so that a new construct in
the README breaks the build instead of the page.

Usage: readme_to_man.py README.md VERSION OUTPUT
"""

import re
import sys

SECTION = "## qvprt-cli(1)"


def fail(message):
    sys.exit("readme_to_man.py: " + message)


def escape(text, minus=True):
    # A backslash starts a roff escape; minus signs in options and commands must stay minus signs,
    # hyphens in words may become typographic ones.
    text = text.replace("\\", "\\e")
    return text.replace("-", "\\-") if minus else text


def inline(text):
    """Roff for one line of Markdown text: code spans in bold, the rest escaped."""
    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for part in parts:
        if part.startswith("`") and part.endswith("`") and len(part) >= 2:
            out.append("\\fB" + escape(part[1:-1]) + "\\fR")
        elif "`" in part:
            fail("unbalanced ` in: " + text)
        else:
            out.append(escape(part, minus=False))
    line = "".join(out)
    # A line starting with a dot or a quote would be read as a request.
    if line.startswith((".", "'")):
        line = "\\&" + line
    return line


def table_cells(row):
    # Cells are split at pipes that are not escaped; "\|" is a pipe inside a cell.
    inner = row.strip()
    if not (inner.startswith("|") and inner.endswith("|")):
        fail("table row without its outer pipes: " + row)
    cells = re.split(r"(?<!\\)\|", inner[1:-1])
    return [c.strip().replace("\\|", "|") for c in cells]


def table(rows):
    header = table_cells(rows[0])
    if len(rows) < 2 or not all(re.fullmatch(r":?-+:?", c) for c in table_cells(rows[1])):
        fail("table without its separator row: " + rows[0])
    n = len(header)
    out = [".TS", "tab(@);", " ".join(["lB"] * n), " ".join(["l"] * (n - 1) + ["lx"]) + "."]
    for row in [header] + [table_cells(r) for r in rows[2:]]:
        if len(row) != n:
            fail("table row with %d cells, the header has %d: %s" % (len(row), n, "|".join(row)))
        cells = [inline(c) for c in row]
        if any("@" in c for c in cells):
            fail("'@' in a table cell")
        # The last column wraps; a text block lets it.
        cells[-1] = "T{\n" + cells[-1] + "\nT}"
        out.append("@".join(cells))
    out.append(".TE")
    return out


def section_lines(readme):
    lines = readme.split("\n")
    try:
        start = lines.index(SECTION) + 1
    except ValueError:
        fail("README has no line '%s'" % SECTION)
    end = start
    while end < len(lines) and not lines[end].startswith("## "):
        end += 1
    return lines[start:end]


def convert(lines, version):
    out = [
        '.\\" -*- coding: UTF-8 -*-',
        '.\\" Made from README.md by resources/linux/readme_to_man.py; edit the README instead.',
        '.TH QVPRT\\-CLI 1 "" "qvprt %s" "User Commands"' % version,
    ]
    heading = None
    i = 0
    while i < len(lines):
        line = lines[i]
        if not line.strip():
            i += 1
            continue
        if line.startswith("### "):
            heading = line[4:].strip()
            out.append(".SH " + heading)
            i += 1
        elif line.startswith("#"):
            fail("heading level not understood: " + line)
        elif line.startswith("    "):
            block = []
            while i < len(lines) and (lines[i].startswith("    ") or not lines[i].strip()):
                block.append(lines[i][4:])
                i += 1
            while block and not block[-1].strip():
                block.pop()
            out += [".PP", ".RS 4", ".nf"]
            out += ["\\&" + escape(b) for b in block]
            out += [".fi", ".RE"]
        elif line.startswith("|"):
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                rows.append(lines[i])
                i += 1
            out.append(".PP")
            out += table(rows)
        else:
            paragraph = []
            while i < len(lines) and lines[i].strip() and not lines[i].startswith(("#", "    ", "|")):
                paragraph.append(lines[i])
                i += 1
            if heading == "NAME":
                # whatis wants "name \- description", in plain text.
                text = " ".join(paragraph).replace("`", "")
                name, sep, what = text.partition(" — ")
                if not sep:
                    fail("NAME is not 'name — description': " + text)
                out.append(escape(name) + " \\- " + escape(what))
            else:
                if not out[-1].startswith(".SH"):
                    out.append(".PP")
                out += [inline(p) for p in paragraph]
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 4:
        fail("usage: readme_to_man.py README.md VERSION OUTPUT")
    with open(sys.argv[1], encoding="utf-8") as f:
        page = convert(section_lines(f.read()), sys.argv[2])
    with open(sys.argv[3], "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
