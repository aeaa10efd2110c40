"""Reads a .xls, .xlsx or .csv file as a spreadsheet user's program would and
prints every cell with its type, in UTF-8:

  sheet_dump.py FILE -> "sheet TAB nrows ncols", then per non-empty cell
                        row TAB col TAB s|n TAB value
                        (s: text, \\ TAB LF CR escaped; n: a number, '%.17g')

xlrd reads .xls (a warning fails), openpyxl .xlsx, the csv module .csv; a
.csv field counts as a number when it is written as one, -?digits[.digits],
and is finite as a double.
"""
import csv
import io
import re
import sys

NUMBER = re.compile(r'-?[0-9]+(\.[0-9]+)?')


def escape(text):
    return (text.replace('\\', '\\\\').replace('\t', '\\t')
            .replace('\n', '\\n').replace('\r', '\\r'))


def cell(r, c, value):
    if isinstance(value, str):
        return '%d\t%d\ts\t%s' % (r, c, escape(value))
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        sys.exit('cell %d,%d holds a %s' % (r, c, type(value).__name__))
    return '%d\t%d\tn\t%.17g' % (r, c, value)


def xls(path):
    import xlrd
    log = io.StringIO()
    book = xlrd.open_workbook(path, logfile=log, verbosity=1)
    if 'WARNING' in log.getvalue():
        sys.exit(log.getvalue())
    sheet = book.sheet_by_index(0)
    out = ['%s\t%d %d' % (sheet.name, sheet.nrows, sheet.ncols)]
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            kind = sheet.cell_type(r, c)
            if kind == xlrd.XL_CELL_EMPTY:
                continue
            if kind not in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_NUMBER):
                sys.exit('cell %d,%d has type %d' % (r, c, kind))
            out.append(cell(r, c, sheet.cell_value(r, c)))
    return out


def xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    if len(book.worksheets) != 1:
        sys.exit('%d sheets' % len(book.worksheets))
    sheet = book.worksheets[0]
    out = ['%s\t%d %d' % (sheet.title, sheet.max_row, sheet.max_column)]
    for row in sheet.iter_rows():
        for c in row:
            if c.value is not None:
                out.append(cell(c.row - 1, c.column - 1, c.value))
    return out


def csv_file(path):
    with open(path, 'rb') as f:
        data = f.read()
    if not data.startswith(b'\xef\xbb\xbf'):
        sys.exit('no byte-order mark')
    if re.search(b'(?<!\r)\n', data) and b'"' not in data:
        sys.exit('a line ends without CR')
    rows = list(csv.reader(io.StringIO(data[3:].decode('utf-8'), newline='')))
    widths = set(len(row) for row in rows)
    if len(widths) > 1:
        sys.exit('rows of different lengths %s' % sorted(widths))
    out = ['\t%d %d' % (len(rows), widths.pop() if widths else 0)]
    for r, row in enumerate(rows):
        for c, field in enumerate(row):
            if field:
                number = NUMBER.fullmatch(field) and float(field)
                value = number if number is not None and abs(number) != float('inf') else field
                out.append(cell(r, c, value))
    return out


if __name__ == '__main__':
    name = sys.argv[1]
    kind = name.rsplit('.', 1)[-1].lower()
    lines = {'xls': xls, 'xlsx': xlsx, 'csv': csv_file}[kind](name)
    sys.stdout.buffer.write(('\n'.join(lines) + '\n').encode('utf-8'))
