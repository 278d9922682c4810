#!/usr/bin/env python3
"""Reads a workbook or a CSV file back with real readers, for the tests.

  read_back.py xlsx FILE   every sheet: "= name", "@ frozen-cell", then a
                           line a row, its cells tab-separated: "n:<value>"
                           for a number, "s:<text>" for text, "" for none
  read_back.py csv FILE    the rows as Python's csv module reads them with a
                           ";" separator, tab-separated
"""
import csv
import sys


def xlsx(path):
    import openpyxl

    book = openpyxl.load_workbook(path)
    for sheet in book.worksheets:
        print("= " + sheet.title)
        print("@ " + str(sheet.freeze_panes))
        for row in sheet.iter_rows():
            cells = []
            for cell in row:
                if cell.value is None:
                    cells.append("")
                elif isinstance(cell.value, (int, float)):
                    cells.append("n:" + repr(float(cell.value)))
                else:
                    cells.append("s:" + str(cell.value))
            print("\t".join(cells).rstrip("\t"))


def csv_rows(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        for row in csv.reader(f, delimiter=";"):
            print("\t".join(row))


if __name__ == "__main__":
    {"xlsx": xlsx, "csv": csv_rows}[sys.argv[1]](sys.argv[2])
