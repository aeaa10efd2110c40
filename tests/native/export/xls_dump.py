"""Reads a workbook with xlrd and prints what a reader sees, in UTF-8.

  xls_dump.py cells FILE   -> "nrows ncols", then one line per non-empty cell:
                              row TAB col TAB text (\\, TAB, LF, CR escaped)
  xls_dump.py stream FILE OUT -> copies the Workbook stream into OUT

Exits non-zero, with the reason on stderr, when xlrd warns or the workbook is
not the text-only BIFF8 file we write.
"""
import io
import sys

import xlrd
import xlrd.compdoc


def escape(text):
    return (text.replace('\\', '\\\\').replace('\t', '\\t')
            .replace('\n', '\\n').replace('\r', '\\r'))


def cells(path):
    log = io.StringIO()
    book = xlrd.open_workbook(path, logfile=log, verbosity=1)
    problems = [line for line in log.getvalue().splitlines()
                if 'WARNING' in line or 'NOTE' in line]
    if problems:
        sys.exit('\n'.join(problems))
    if book.biff_version != 80 or book.codepage != 1200 or book.nsheets != 1:
        sys.exit('unexpected workbook: biff %s codepage %s sheets %s'
                 % (book.biff_version, book.codepage, book.nsheets))
    sheet = book.sheet_by_index(0)
    out = ['%s\t%d %d' % (sheet.name, sheet.nrows, sheet.ncols)]
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            kind = sheet.cell_type(r, c)
            if kind == xlrd.XL_CELL_EMPTY:
                continue
            if kind != xlrd.XL_CELL_TEXT:
                sys.exit('cell %d,%d is not text' % (r, c))
            out.append('%d\t%d\t%s' % (r, c, escape(sheet.cell_value(r, c))))
    return out


def stream(path, out):
    log = io.StringIO()
    with open(path, 'rb') as f:
        doc = xlrd.compdoc.CompDoc(f.read(), logfile=log)
    data = doc.get_named_stream('Workbook')
    if log.getvalue() or data is None:
        sys.exit(log.getvalue() or 'no Workbook stream')
    with open(out, 'wb') as f:
        f.write(data)
    return ['%d' % len(data)]


if __name__ == '__main__':
    mode, path = sys.argv[1], sys.argv[2]
    lines = cells(path) if mode == 'cells' else stream(path, sys.argv[3])
    sys.stdout.buffer.write(('\n'.join(lines) + '\n').encode('utf-8'))
