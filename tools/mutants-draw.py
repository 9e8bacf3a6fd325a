#!/usr/bin/env python3
# tools/mutants.sh --random SEED N: N small changes drawn from the lines of the files given,
# each line unique in its file (an operator, a comparison, a literal, a loop bound), as rows
# of tools/mutants.tsv.
import random, re, sys

CHANGES = [(" == ", " != "), (" != ", " == "), (" <= ", " < "), (" >= ", " > "), (" < ", " <= "),
           (" > ", " >= "), (" && ", " || "), (r" \|\| ", " && "), (r"\btrue\b", "false"),
           (r"\bfalse\b", "true"), (r"(?<![\w.'])(0|[1-9]\d*)(?![\w.'])", None), (r"!(?=[\w(])", ""),
           (r"\bbreak;", "{}"), (r"\+\+", "--")]
candidates = []
for name in sys.argv[3:]:
    text = open(name, encoding="utf-8").read()
    for line in (line for line in text.split("\n") if text.count(line) == 1):
        if line.strip() and not line.strip().startswith(("//", "#")):
            for pattern, becomes in CHANGES:
                for m in re.finditer(pattern, line):
                    new = str(int(m.group(1)) + 1) if becomes is None else becomes
                    candidates.append((name, line, line[:m.start()] + new + line[m.end():]))
for row in random.Random(int(sys.argv[1])).sample(candidates, min(int(sys.argv[2]), len(candidates))):
    print("\t".join(part.replace("\\", "\\\\") for part in row))
