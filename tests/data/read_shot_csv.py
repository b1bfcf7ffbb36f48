# Reads a shot file with the distribution's csv module, as any other tool would: the
# '#' lines skipped, the header row, then per row the sample number and per channel
# the raw value and the volts as Python's shortest round-trip text ("-" when empty).
import csv
import sys

with open(sys.argv[1], newline="", encoding="utf-8") as f:
    rows = csv.reader(line for line in f if not line.startswith("#"))
    out = sys.stdout
    out.write(" ".join(h.replace(" ", "_") for h in next(rows)) + "\n")
    for row in rows:
        fields = [str(int(row[0]))]
        for i in range(1, len(row), 2):
            fields.append(str(int(row[i])))
            fields.append(repr(float(row[i + 1])) if row[i + 1] else "-")
        out.write(" ".join(fields) + "\n")
