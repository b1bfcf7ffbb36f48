# Reads the JSON of "kavloncli measure --json" with the distribution's json module and
# checks every measurement: a number agrees with its text within the text's rounding
# (engineering prefix and unit included); a missing number (null) has the text "---",
# or channel I's reference mark on the phase and delay rows. Prints one line per
# measurement: channel, name, the number as Python reads it, unit and text, separated
# by tabs. Exit status 1 with "disagree: ..." lines when anything does not match.
import json
import sys

PREFIXES = {"G": 1e9, "M": 1e6, "K": 1e3, "": 1.0, "m": 1e-3, "\u00b5": 1e-6, "n": 1e-9, "p": 1e-12}
REFERENCE_ROWS = {"Phase", "+ Delay", "- Delay", "+/- Delay"}


def problem(channel, row):
    name, value, unit, text = row["name"], row["value"], row["unit"], row["text"]
    if value is None:
        if text == "---":
            return None
        if channel == 1 and name in REFERENCE_ROWS and text == "  XXXXXXXXX":
            return None
        return "no number, yet the text is %r" % text
    if not isinstance(value, (int, float)) or isinstance(value, bool):
        return "the value is no number"
    number, _, suffix = text.rpartition(" ")
    if not suffix.endswith(unit):
        return "the text's unit is not %r" % unit
    prefix = suffix[: len(suffix) - len(unit)]
    if prefix not in PREFIXES or (prefix and unit in ("%", "\u00b0")):
        return "unknown prefix %r" % prefix
    scale = PREFIXES[prefix]
    decimals = len(number.partition(".")[2])
    shown = float(number) * scale
    rounding = 0.5 * 10.0 ** -decimals * scale
    if abs(value - shown) > rounding * (1 + 1e-6) + 1e-7 * abs(value):
        return "%r is not %s" % (value, text)
    return None


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        report = json.load(f)
    wrong = []
    out = sys.stdout
    for channel in report["channels"]:
        for row in channel["measurements"]:
            out.write("%d\t%s\t%r\t%s\t%s\n" % (channel["channel"], row["name"], row["value"], row["unit"], row["text"]))
            why = problem(channel["channel"], row)
            if why:
                wrong.append("disagree: channel %d %s: %s" % (channel["channel"], row["name"], why))
    for line in wrong:
        out.write(line + "\n")
    sys.exit(1 if wrong else 0)


main()
