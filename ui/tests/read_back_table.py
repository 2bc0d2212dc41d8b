#!/usr/bin/python3
"""Reads an exported table of solutions back as another program does.

    read_back_table.py xlsx FILE     # through openpyxl: numbers come back as numbers
    read_back_table.py csv FILE      # through Python's csv module: every field a text
    read_back_table.py layout FILE   # openpyxl's view of the sheet's columns and printing

Prints the rows as one JSON array of arrays; for layout one JSON object:
each column's width beside the width its widest cell needs (header
included, an East Asian wide character counting two, as unicodedata tells),
the print titles, the orientation and paper size of the page setup. Exits 77
when openpyxl is missing.
"""
import csv
import json
import sys
import unicodedata
import warnings


def shown_width(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def layout(path, openpyxl):
    # Anything openpyxl finds odd in the file fails the reading.
    warnings.simplefilter("error")
    book = openpyxl.load_workbook(path)
    sheet = book.active
    needed = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            # A number as Python writes it back, its shortest form ("61.8804", "200").
            needed[cell.column_letter] = max(needed.get(cell.column_letter, 0), shown_width(str(cell.value)))
    columns = {letter: {"width": sheet.column_dimensions[letter].width,
                        "custom": bool(sheet.column_dimensions[letter].customWidth),
                        "needed": width} for letter, width in needed.items()}
    return {"columns": columns,
            "print_title_rows": sheet.print_title_rows,
            "orientation": sheet.page_setup.orientation,
            "paper_size": sheet.page_setup.paperSize,
            "grid_lines": bool(sheet.print_options.gridLines),
            "frozen": sheet.freeze_panes}


def main():
    kind, path = sys.argv[1], sys.argv[2]
    if kind in ("xlsx", "layout"):
        try:
            import openpyxl
            import openpyxl.utils
        except ImportError:
            sys.exit(77)
        if kind == "layout":
            json.dump(layout(path, openpyxl), sys.stdout, ensure_ascii=False)
            return
        sheet = openpyxl.load_workbook(path, read_only=True).active
        rows = [list(row) for row in sheet.iter_rows(values_only=True)]
    else:
        with open(path, newline="", encoding="utf-8") as table:
            rows = list(csv.reader(table))
    json.dump(rows, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
