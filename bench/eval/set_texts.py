#!/usr/bin/env python3
"""Sets the evaluation texts in narrow columns, hyphenating at line ends, and keeps the truth.

    bench/eval/set_texts.py [--patterns=FILE] [EVAL_DIR]     (default: bench/eval)

Reads every EVAL_DIR/texts/NAME.txt (one paragraph per line) and writes, for every column
width W in WIDTHS, the set text EVAL_DIR/set/NAME.W.txt and its truth NAME.W.truth.

Setting is greedy, as a simple typesetter does it: words fill a line while they fit; the
word that does not fit is broken at the last point where its head and a hyphen still fit,
otherwise it starts the next line. A compound (a word with a hyphen between two letters or
digits, such as well-known, UTF-8 or set-option) is broken only at one of its own hyphens,
so the hyphen at the line end is its own. A plain word of letters is broken where Liang's
hyphenation patterns allow it (libhyphen's en_US patterns, Debian package hyphen-en-us),
with punctuation around it kept on its side. A word ending in a hyphen (such as the pre- of
"pre- and post-") never ends a line, so that every line-end hyphen is a broken word.
Paragraphs are separated by blank lines; every second text has CR LF line ends.

The truth has one line per broken word, tab-separated:
  word index (0-based, in the text's words split on blanks), input line of the head
  (1-based), kind (plain or compound), head (with its hyphen), tail, the word as it must
  come back.
The set texts and the truth are kept in the repository; the scorer never runs this.
"""
import os
import re
import sys

WIDTHS = (64, 50)
DEFAULT_PATTERNS = "/usr/share/hyphen/hyph_en_US.dic"

PLAIN_WORD = re.compile(r"^([^A-Za-z0-9]*)([A-Za-z]+)([^A-Za-z0-9-]*)$")
COMPOUND_HYPHEN = re.compile(r"(?<=[A-Za-z0-9])-(?=[A-Za-z0-9])")


class Hyphenator:
    """Liang's algorithm over a libhyphen pattern file (plain patterns only)."""

    def __init__(self, path):
        self.patterns = {}
        self.left_min = 2
        self.right_min = 3
        with open(path, encoding="utf-8", errors="replace") as f:
            lines = f.read().split("\n")
        for line in lines[1:]:  # the first line names the encoding
            line = line.strip()
            if not line or line.startswith("%"):
                continue
            if line.startswith("LEFTHYPHENMIN"):
                self.left_min = int(line.split()[1])
                continue
            if line.startswith("RIGHTHYPHENMIN"):
                self.right_min = int(line.split()[1])
                continue
            if line == "NEXTLEVEL":
                break
            if not re.fullmatch(r"[.a-z0-9]+", line):
                continue  # ligatures, apostrophes and non-standard patterns are not used
            letters = re.sub(r"[0-9]", "", line)
            values = [0] * (len(letters) + 1)
            position = 0
            for ch in line:
                if ch.isdigit():
                    values[position] = int(ch)
                else:
                    position += 1
            self.patterns[letters] = values
        self.longest = max(len(k) for k in self.patterns)

    def points(self, word):
        """Positions i (1..len-1) where WORD may be broken between word[i-1] and word[i]."""
        text = "." + word.lower() + "."
        values = [0] * (len(text) + 1)
        for start in range(len(text)):
            for end in range(start + 1, min(len(text), start + self.longest) + 1):
                pattern = self.patterns.get(text[start:end])
                if pattern:
                    for k, v in enumerate(pattern):
                        if v > values[start + k]:
                            values[start + k] = v
        # values[j] is the value between text[j-1] and text[j]; word[i] is text[i + 1].
        return [i for i in range(self.left_min, len(word) - self.right_min + 1)
                if values[i + 1] % 2 == 1]


def break_candidates(token, hyphenator):
    """(head with hyphen, tail, kind) for every way TOKEN may be broken at a line end."""
    if token.startswith("-") or token.endswith("-"):
        return []
    if "-" in token:
        if "--" in token:
            return []
        return [(token[:m.start() + 1], token[m.end():], "compound")
                for m in COMPOUND_HYPHEN.finditer(token)]
    m = PLAIN_WORD.match(token)
    if not m or len(m.group(2)) < 5 or m.group(2).isupper():
        return []
    lead, core = m.group(1), m.group(2)
    return [(lead + core[:i] + "-", core[i:] + m.group(3), "plain")
            for i in hyphenator.points(core)]


def set_paragraph(tokens, first_index, width, hyphenator):
    """Lines of one paragraph and its breaks [(word index, line offset, kind, head, tail)]."""
    lines, breaks = [], []
    line = []  # the pieces of the line being filled
    length = 0

    def close_line():
        nonlocal line, length
        # A line may end in a hyphen only where a word is broken.
        carried = []
        while len(line) > 1 and line[-1][1].endswith("-") and not line[-1][2]:
            carried.insert(0, line.pop())
        lines.append(" ".join(piece for _, piece, _ in line))
        line = carried
        length = len(" ".join(piece for _, piece, _ in line))

    for offset, token in enumerate(tokens):
        index = first_index + offset
        if not line:
            line, length = [(index, token, False)], len(token)
            continue
        if length + 1 + len(token) <= width:
            line.append((index, token, False))
            length += 1 + len(token)
            continue
        fitting = [c for c in break_candidates(token, hyphenator) if length + 1 + len(c[0]) <= width]
        if fitting and not line[-1][1].endswith("-"):
            head, tail, kind = max(fitting, key=lambda c: len(c[0]))
            line.append((index, head, True))
            breaks.append((index, len(lines), kind, head, tail))
            close_line()
            # close_line carries nothing here: the line ends in the broken word.
            line, length = [(index, tail, False)], len(tail)
            continue
        close_line()
        if line:
            line.append((index, token, False))
            length += 1 + len(token)
        else:
            line, length = [(index, token, False)], len(token)
    if line:
        lines.append(" ".join(piece for _, piece, _ in line))
    return lines, breaks


def set_text(paragraphs, width, hyphenator):
    out_lines, truth = [], []
    word_index = 0
    for p, paragraph in enumerate(paragraphs):
        tokens = paragraph.split()
        if not tokens:
            continue
        if out_lines:
            out_lines.append("")
        lines, breaks = set_paragraph(tokens, word_index, width, hyphenator)
        for index, line_offset, kind, head, tail in breaks:
            truth.append((index, len(out_lines) + line_offset + 1, kind, head, tail,
                          tokens[index - word_index]))
        out_lines += lines
        word_index += len(tokens)
    return out_lines, truth


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--patterns=")]
    patterns = next((a.split("=", 1)[1] for a in sys.argv[1:] if a.startswith("--patterns=")),
                    DEFAULT_PATTERNS)
    eval_dir = args[0] if args else os.path.dirname(os.path.abspath(__file__))
    hyphenator = Hyphenator(patterns)
    texts_dir = os.path.join(eval_dir, "texts")
    set_dir = os.path.join(eval_dir, "set")
    os.makedirs(set_dir, exist_ok=True)
    names = sorted(n[:-4] for n in os.listdir(texts_dir) if n.endswith(".txt"))
    for number, name in enumerate(names):
        with open(os.path.join(texts_dir, name + ".txt"), encoding="ascii") as f:
            paragraphs = f.read().split("\n")
        newline = "\r\n" if number % 2 else "\n"
        for width in WIDTHS:
            lines, truth = set_text(paragraphs, width, hyphenator)
            base = os.path.join(set_dir, f"{name}.{width}")
            with open(base + ".txt", "w", encoding="ascii", newline="") as f:
                f.write("".join(line + newline for line in lines))
            with open(base + ".truth", "w", encoding="ascii", newline="\n") as f:
                f.write("# word\tline\tkind\thead\ttail\tword restored\n")
                for row in truth:
                    f.write("\t".join(str(v) for v in row) + "\n")
            plain = sum(1 for row in truth if row[2] == "plain")
            print(f"{name}.{width}: {len(lines)} lines, {plain} plain and "
                  f"{len(truth) - plain} compound words broken")


if __name__ == "__main__":
    main()
