#!/usr/bin/env python3
"""Scores vintrel-cli's decisions on broken words against the truth of the evaluation texts.

    bench/eval/score.py VINTREL_CLI [EVAL_DIR]     (bench/eval/run.sh is the usual way in)

For every set text EVAL_DIR/set/NAME.W.txt and every mode, runs VINTREL_CLI as a filter in
a fresh settings folder, splits its output into words on blanks and compares, for every
broken word of the truth (NAME.W.truth), the word at its index with the word of the
original text (EVAL_DIR/texts/NAME.txt), byte for byte. Prints one row per text, width and
mode: join recall (broken plain words that came back joined), keep recall (broken
compounds that came back with their hyphen) and their mean, then a summary per mode over
all texts. Goals are printed beside the figures, never asserted: the exit status is 0
unless the evaluation itself could not run (a missing file, a converter that fails).

Modes:
  default      --no-words
  list only    --words=FILE, FILE holding the first element of every compound of the same
               text with its hyphen ("pre-" for pre-war), as a user would type it
  smart        --smart --no-dictionary --no-words
  smart+dict   --smart --no-words (the dictionary of the settings, en_US by default)
The smart modes need a vintrel-cli whose --help mentions --smart; otherwise their rows say
"not available".

VINTREL_EVAL_KEEP=DIR keeps every output (NAME.W.MODE.out) and word list in DIR.
VINTREL_EVAL_ONLY=REGEX scores only the set texts whose NAME.W matches REGEX.
"""
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

COMPOUND = re.compile(r"^[^A-Za-z0-9]*([A-Za-z0-9]+)-[A-Za-z0-9]")

MODES = [
    ("default", ["--no-words"], False),
    ("list only", ["--words={words}"], False),
    ("smart", ["--smart", "--no-dictionary", "--no-words"], True),
    ("smart+dict", ["--smart", "--no-words"], True),
]

GOAL_MEAN = 0.97
GOAL_JOIN = 0.995


def read_truth(path):
    rows = []
    with open(path, encoding="ascii") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            rows.append((int(fields[0]), fields[2], fields[5]))
    return rows


def compound_prefixes(words):
    """The word list a user would make from a text: the first element of each compound."""
    prefixes = set()
    for word in words:
        m = COMPOUND.match(word)
        if m and "--" not in word:
            prefixes.add(m.group(1) + "-")
    return sorted(prefixes)


def index_map(original, output):
    """For each index of ORIGINAL, the index of the same word in OUTPUT, or None.

    Equal counts map one to one; otherwise the words are aligned, and a word in a changed
    stretch of unequal length maps to nothing (counted as wrong)."""
    if len(original) == len(output):
        return list(range(len(original)))
    mapping = [None] * len(original)
    matcher = difflib.SequenceMatcher(None, original, output, autojunk=False)
    for tag, i1, i2, j1, j2 in matcher.get_opcodes():
        if tag == "equal" or (tag == "replace" and i2 - i1 == j2 - j1):
            for k in range(i2 - i1):
                mapping[i1 + k] = j1 + k
    return mapping


def score(original, output, truth):
    """(plain right, plain total, compound right, compound total, other words changed)."""
    mapping = index_map(original, output)
    right = {"plain": 0, "compound": 0}
    total = {"plain": 0, "compound": 0}
    broken = set()
    for index, kind, restored in truth:
        broken.add(index)
        total[kind] += 1
        j = mapping[index]
        if j is not None and output[j] == restored:
            right[kind] += 1
    other = sum(1 for i, word in enumerate(original)
                if i not in broken and (mapping[i] is None or output[mapping[i]] != word))
    other += abs(len(output) - len(original))
    return right["plain"], total["plain"], right["compound"], total["compound"], other


def ratio(right, total):
    return right / total if total else 1.0


def knows_smart(cli, env):
    result = subprocess.run([cli, "--help"], capture_output=True, env=env)
    return result.returncode == 0 and b"--smart" in result.stdout


def main():
    if len(sys.argv) < 2:
        sys.stderr.write("usage: score.py VINTREL_CLI [EVAL_DIR]\n")
        return 2
    cli = os.path.abspath(sys.argv[1])
    eval_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.dirname(os.path.abspath(__file__))
    if not os.access(cli, os.X_OK):
        sys.stderr.write(f"score.py: {cli}: not an executable\n")
        return 1
    keep = os.environ.get("VINTREL_EVAL_KEEP")
    only = re.compile(os.environ.get("VINTREL_EVAL_ONLY", ""))
    if keep:
        os.makedirs(keep, exist_ok=True)

    work = tempfile.mkdtemp(prefix="vintrel-eval.")
    try:
        # The user's own settings and word list must not count: a fresh, empty settings
        # folder, and a home without any.
        config = os.path.join(work, "config")
        os.mkdir(config)
        env = dict(os.environ, XDG_CONFIG_HOME=config, HOME=work, LC_ALL="C")
        smart = knows_smart(cli, env)

        set_dir = os.path.join(eval_dir, "set")
        sets = []
        for name in sorted(os.listdir(set_dir)):
            m = re.fullmatch(r"(.+)\.(\d+)\.txt", name)
            if m and only.search(f"{m.group(1)}.{m.group(2)}"):
                sets.append((m.group(1), int(m.group(2))))
        sets.sort(key=lambda s: (s[0], -s[1]))

        totals = {mode: [0, 0, 0, 0, 0] for mode, _, _ in MODES}
        per_text = {mode: [] for mode, _, _ in MODES}
        print(f"{'text':<12} {'width':>5}  {'mode':<11} {'join':>7} {'keep':>7} {'mean':>7}"
              f"  {'plain':>6} {'compd':>6} {'other':>6}")
        loaded_name, original = None, []
        for name, width in sets:
            if name != loaded_name:
                with open(os.path.join(eval_dir, "texts", name + ".txt"), "rb") as f:
                    loaded_name, original = name, f.read().split()
            truth = [(i, kind, restored.encode("ascii")) for i, kind, restored
                     in read_truth(os.path.join(set_dir, f"{name}.{width}.truth"))]
            words_file = os.path.join(work, f"{name}.lst")
            prefixes = compound_prefixes(w.decode("ascii", "replace") for w in original)
            with open(words_file, "w", encoding="ascii", newline="\n") as f:
                f.write("".join(p + "\n" for p in prefixes))
            if keep:
                shutil.copy(words_file, os.path.join(keep, f"{name}.lst"))
            source = os.path.join(set_dir, f"{name}.{width}.txt")
            for mode, args, needs_smart in MODES:
                if needs_smart and not smart:
                    print(f"{name:<12} {width:>5}  {mode:<11} {'not available':>23}")
                    continue
                command = [cli] + [a.format(words=words_file) for a in args]
                with open(source, "rb") as stdin:
                    result = subprocess.run(command, stdin=stdin, capture_output=True, env=env)
                if result.returncode != 0:
                    sys.stderr.write(f"score.py: {' '.join(command)} < {source} failed with "
                                     f"status {result.returncode}:\n"
                                     f"{result.stderr.decode('utf-8', 'replace')}")
                    return 1
                if keep:
                    tag = mode.replace(" ", "-").replace("+", "-")
                    with open(os.path.join(keep, f"{name}.{width}.{tag}.out"), "wb") as f:
                        f.write(result.stdout)
                figures = score(original, result.stdout.split(), truth)
                pr, pt, cr, ct, other = figures
                join, keep_recall = ratio(pr, pt), ratio(cr, ct)
                mean = (join + keep_recall) / 2
                print(f"{name:<12} {width:>5}  {mode:<11} {join:7.4f} {keep_recall:7.4f} {mean:7.4f}"
                      f"  {pt:>6} {ct:>6} {other:>6}")
                totals[mode] = [a + b for a, b in zip(totals[mode], figures)]
                per_text[mode].append((f"{name}.{width}", join, mean))
        print()
        for mode, _, needs_smart in MODES:
            if not per_text[mode]:
                print(f"summary {mode:<11} not available")
                continue
            pr, pt, cr, ct, other = totals[mode]
            join, keep_recall = ratio(pr, pt), ratio(cr, ct)
            worst_mean = min(per_text[mode], key=lambda t: t[2])
            worst_join = min(per_text[mode], key=lambda t: t[1])
            line = (f"summary {mode:<11} join {join:.4f} keep {keep_recall:.4f} "
                    f"mean {(join + keep_recall) / 2:.4f} over {pt} plain and {ct} compound "
                    f"words; lowest mean {worst_mean[2]:.4f} ({worst_mean[0]}), lowest join "
                    f"{worst_join[1]:.4f} ({worst_join[0]}); {other} other words changed")
            if needs_smart:
                met = worst_mean[2] >= GOAL_MEAN and worst_join[1] >= GOAL_JOIN
                line += (f"; goal mean >= {GOAL_MEAN} and join >= {GOAL_JOIN} on every text: "
                         f"{'met' if met else 'not met'}")
            print(line)
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
