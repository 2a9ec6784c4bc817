#!/usr/bin/env python3
"""Extracts the running prose of the evaluation texts from documentation on a Debian machine.

    bench/eval/extract_texts.py [OUT_DIR]     (default: bench/eval/texts)

Each text is one documentation page reduced to its paragraphs of prose, one paragraph per
line, plain ASCII: Perl's POD pages (Debian package perl-doc) without their code blocks and
with their formatting codes resolved, and manual pages (man-db, groff) rendered without
hyphenation or justification and with their indentation taken away. Needs perl-doc, groff
and the manual pages named below; the extracted texts are kept in the repository, so the
scorer never runs this.
"""
import gzip
import os
import re
import subprocess
import sys

POD_DIR = "/usr/share/perl/5.36/pod"

# (name of the text, where it comes from, kind)
SOURCES = [
    ("bash", "/usr/share/man/man1/bash.1.gz", "man"),
    ("curl", "/usr/share/man/man1/curl.1.gz", "man"),
    ("git-config", "/usr/share/man/man1/git-config.1.gz", "man"),
    ("gpg", "/usr/share/man/man1/gpg.1.gz", "man"),
    ("perlre", [f"{POD_DIR}/{page}.pod" for page in ("perlre", "perlunicode", "perlsyn")], "pod"),
    ("tmux", "/usr/share/man/man1/tmux.1.gz", "man"),
]

POD_ENTITIES = {"lt": "<", "gt": ">", "verbar": "|", "sol": "/", "quot": '"', "amp": "&",
                "apos": "'", "nbsp": " ", "mdash": "--", "ndash": "-"}


def to_ascii(text):
    """Typographic characters to ASCII; anything else above 0x7F is left out."""
    table = {"\u2018": "'", "\u2019": "'", "\u201c": '"', "\u201d": '"', "\u2013": "-",
             "\u2014": "--", "\u2010": "-", "\u2011": "-", "\u00a0": " ", "\u2026": "..."}
    out = []
    for ch in text:
        ch = table.get(ch, ch)
        out.append(ch if ord(ch[0]) < 0x80 else "")
    return "".join(out)


def resolve_pod_codes(text):
    """Resolves B<>, I<>, C<>, L<>, E<>, F<>, S<>, X<>, Z<> and their << >> forms."""

    def entity(name):
        if name.isdigit():
            return chr(int(name)) if 0 < int(name) < 128 else ""
        if name.lower().startswith("0x"):
            value = int(name, 16)
            return chr(value) if 0 < value < 128 else ""
        return POD_ENTITIES.get(name, "")

    def link(body):
        if "|" in body:
            return body.split("|", 1)[0]
        if "/" in body:
            page, section = body.split("/", 1)
            section = section.strip('"')
            return f'"{section}" in {page}' if page else f'"{section}"'
        return body.strip('"')

    def finish(code, body):
        if code == "E":
            return entity(body)
        if code in "XZ":
            return ""
        if code == "L":
            return link(body)
        return body

    def parse(i, closer):
        """Text from I up to CLOSER (None: the end); returns (text, index after closer)."""
        out = []
        while i < len(text):
            if closer and text.startswith(closer, i):
                return "".join(out), i + len(closer)
            ch = text[i]
            if ch.isupper() and i + 1 < len(text) and text[i + 1] == "<":
                n = 1
                while text.startswith("<", i + 1 + n):
                    n += 1
                if n > 1 and i + 1 + n < len(text) and text[i + 1 + n].isspace():
                    body_start = i + 1 + n
                    m = re.compile(r"\s" + ">" * n).search(text, body_start)
                    stop = m.start() if m else len(text)
                    inner = text[body_start:stop]
                    body = resolve_pod_codes(inner.strip())
                    out.append(finish(ch, body))
                    i = m.end() if m else len(text)
                    continue
                body, i = parse(i + 2, ">")
                out.append(finish(ch, body))
                continue
            out.append(ch)
            i += 1
        return "".join(out), i

    return parse(0, None)[0]


def pod_paragraphs(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        raw = f.read()
    paragraphs = []
    in_pod = True
    skip_block = False
    for block in re.split(r"\n[ \t]*\n", raw):
        if not block.strip():
            continue
        if block[0] in " \t":
            continue  # a code block
        if block.startswith("="):
            command = block.split(None, 1)
            word = command[0]
            rest = command[1] if len(command) > 1 else ""
            if word in ("=begin", "=for"):
                skip_block = word == "=begin"
                continue
            if word == "=end":
                skip_block = False
                continue
            if word == "=cut":
                in_pod = False
                continue
            if word == "=pod":
                in_pod = True
                continue
            if word.startswith("=head") or word == "=item":
                rest = rest.strip()
                if rest in ("*", "") or re.fullmatch(r"\d+\.?", rest):
                    continue
                block = rest
            else:
                continue
        if skip_block or not in_pod:
            continue
        text = resolve_pod_codes(block)
        text = " ".join(to_ascii(text).split())
        if text:
            paragraphs.append(text)
    return paragraphs


def man_paragraphs(path):
    with gzip.open(path, "rb") as f:
        source = f.read()
    env = dict(os.environ, LC_ALL="C")
    # No hyphenation, left-adjusted, very long lines: each paragraph is one line.
    rendered = subprocess.run(
        ["groff", "-man", "-Tascii", "-P-cbou", "-rHY=0", "-dAD=l", "-rLL=2000n", "-rcR=1"],
        input=source, capture_output=True, env=env, check=True).stdout.decode("ascii", "replace")
    paragraphs = []
    for block in re.split(r"\n[ \t]*\n", rendered):
        lines = [line.strip() for line in block.splitlines() if line.strip()]
        if not lines:
            continue
        # A block of several short lines is a table or an example: left out.
        if len(lines) > 1 and max(len(line) for line in lines) < 100:
            continue
        for line in lines:
            text = " ".join(to_ascii(line).split())
            if text:
                paragraphs.append(text)
    return paragraphs


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "texts")
    os.makedirs(out_dir, exist_ok=True)
    for name, source, kind in SOURCES:
        paths = source if isinstance(source, list) else [source]
        paragraphs = []
        for path in paths:
            paragraphs += pod_paragraphs(path) if kind == "pod" else man_paragraphs(path)
        with open(os.path.join(out_dir, name + ".txt"), "w", encoding="ascii", newline="\n") as f:
            for p in paragraphs:
                f.write(p + "\n")
        print(f"{name}: {len(paragraphs)} paragraphs")


if __name__ == "__main__":
    main()
