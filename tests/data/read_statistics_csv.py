# Reads a statistics file of the Measure display with the distribution's csv module.
# Every line must have the heading's fields; the statistics are numbers or empty, the
# count a whole number. Prints the heading, then one line per measurement and channel:
# the texts, each statistic as Python's shortest round-trip text ("-" when empty) and
# the count, separated by "|". Exit status 1 with "wrong: ..." when a line breaks a rule.
import csv
import sys

NUMBERS = ("Last", "Minimum", "Maximum", "Mean", "Std. deviation")


def main():
    with open(sys.argv[1], newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    heading = rows[0]
    out = sys.stdout
    out.write("|".join(heading) + "\n")
    wrong = []
    for number, row in enumerate(rows[1:], start=2):
        if len(row) != len(heading):
            wrong.append("line %d has %d fields" % (number, len(row)))
            continue
        fields = dict(zip(heading, row))
        shown = [fields["Measurement"], fields["Channel"], fields["Unit"]]
        try:
            shown += [repr(float(fields[n])) if fields[n] else "-" for n in NUMBERS]
            shown.append(str(int(fields["Shots defined"])))
        except ValueError as error:
            wrong.append("line %d: %s" % (number, error))
            continue
        out.write("|".join(shown) + "\n")
    for line in wrong:
        out.write("wrong: " + line + "\n")
    sys.exit(1 if wrong else 0)


main()
