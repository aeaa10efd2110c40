"""sheet_dump.py FILE: a .xls (xlrd), .xlsx (openpyxl) or .csv (csv) file as
"sheet TAB nrows ncols", then "row TAB col TAB s|n TAB value" per cell."""
import csv, io, re, sys


def cell(r, c, v):
    if isinstance(v, str):
        for a, b in (('\\', '\\\\'), ('\t', '\\t'), ('\n', '\\n'), ('\r', '\\r')):
            v = v.replace(a, b)
        return '%d\t%d\ts\t%s' % (r, c, v)
    if isinstance(v, bool) or not isinstance(v, (int, float)):
        sys.exit('cell %d,%d holds a %s' % (r, c, type(v).__name__))
    return '%d\t%d\tn\t%.17g' % (r, c, v)


def xls(path):
    import xlrd
    log = io.StringIO()
    sh = xlrd.open_workbook(path, logfile=log, verbosity=1).sheet_by_index(0)
    if 'WARNING' in log.getvalue():
        sys.exit(log.getvalue())
    kinds = {xlrd.XL_CELL_TEXT, xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_EMPTY}
    if any(sh.cell_type(r, c) not in kinds for r in range(sh.nrows) for c in range(sh.ncols)):
        sys.exit('a cell neither text nor number')
    return [(sh.name, sh.nrows, sh.ncols)] + [
        (r, c, sh.cell_value(r, c)) for r in range(sh.nrows) for c in range(sh.ncols)
        if sh.cell_type(r, c) != xlrd.XL_CELL_EMPTY]


def xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    sh = book.worksheets[0]
    if len(book.worksheets) != 1:
        sys.exit('more than one sheet')
    return [(sh.title, sh.max_row, sh.max_column)] + [
        (c.row - 1, c.column - 1, c.value) for row in sh.iter_rows() for c in row
        if c.value is not None]


def csv_file(path):
    data = open(path, 'rb').read()
    if not data.startswith(b'\xef\xbb\xbf') or re.search(b'(?<!\r)\n', data):
        sys.exit('no byte-order mark, or a line end without CR')
    rows = list(csv.reader(io.StringIO(data[3:].decode('utf-8'), newline='')))
    if len(set(map(len, rows))) > 1:
        sys.exit('rows of different lengths')
    number = re.compile(r'-?[0-9]+(\.[0-9]+)?')
    value = lambda f: float(f) if number.fullmatch(f) and abs(float(f)) != float('inf') else f
    return [('', len(rows), len(rows[0]) if rows else 0)] + [
        (r, c, value(f)) for r, row in enumerate(rows) for c, f in enumerate(row) if f]


name = sys.argv[1]
head, *cells = {'xls': xls, 'xlsx': xlsx, 'csv': csv_file}[name.rsplit('.', 1)[-1]](name)
lines = ['%s\t%d %d' % head] + [cell(*c) for c in cells]
sys.stdout.buffer.write(('\n'.join(lines) + '\n').encode('utf-8'))
