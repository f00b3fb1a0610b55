"""Prints a spreadsheet's cells as JSON lines [row, column, kind, value], read by xlrd."""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], encoding_override='cp1250')
sheet = book.sheet_by_index(0)
print(json.dumps([sheet.nrows, sheet.ncols]))
kinds = {xlrd.XL_CELL_NUMBER: 'number', xlrd.XL_CELL_TEXT: 'text', xlrd.XL_CELL_EMPTY: 'empty',
         xlrd.XL_CELL_BLANK: 'empty'}
for row in range(sheet.nrows):
    for column in range(sheet.ncols):
        cell = sheet.cell(row, column)
        print(json.dumps([row, column, kinds.get(cell.ctype, str(cell.ctype)), cell.value]))
