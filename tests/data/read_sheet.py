# Reads a spreadsheet file with an independent reader and prints each cell that holds
# a label: row, column and the hex of its UTF-8 text ("-" for an empty text).
# Exit status 3: the reader is not installed.
import sys

try:
    import xlrd
except ImportError:
    print("no module xlrd")
    sys.exit(3)

book = xlrd.open_workbook(sys.argv[1], encoding_override="cp1252")
sheet = book.sheet_by_index(0)
out = sys.stdout.buffer
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        if sheet.cell_type(r, c) != xlrd.XL_CELL_EMPTY:
            text = sheet.cell_value(r, c).encode("utf-8").hex() or "-"
            out.write(b"%d %d %s\n" % (r, c, text.encode()))
