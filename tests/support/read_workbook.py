#!/usr/bin/env python3
"""Reads an .xlsx workbook with openpyxl, a reader independent of the writer under test, and
prints what a test checks, one fact a line, fields separated by tabs:

    sheet <name> <freeze panes or ->
    width <column from 1> <width>
    cell <row from 1> <column from 1> <openpyxl data type> <number format> <value>

Tabs, new lines and backslashes in values are written as \\t, \\n and \\\\."""
import sys

import openpyxl


def escaped(value):
    if isinstance(value, float):
        return repr(value)
    return str(value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def main(path):
    book = openpyxl.load_workbook(path)
    out = []
    for sheet in book.worksheets:
        out.append("sheet\t%s\t%s" % (escaped(sheet.title), sheet.freeze_panes or "-"))
        for column in range(1, sheet.max_column + 1):
            letter = openpyxl.utils.get_column_letter(column)
            if letter in sheet.column_dimensions and sheet.column_dimensions[letter].width:
                out.append("width\t%d\t%s" % (column, repr(float(sheet.column_dimensions[letter].width))))
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                out.append("cell\t%d\t%d\t%s\t%s\t%s" % (cell.row, cell.column, cell.data_type,
                                                        escaped(cell.number_format), escaped(cell.value)))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
