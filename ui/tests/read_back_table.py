#!/usr/bin/python3
"""Reads an exported table of solutions back as another program does.

    read_back_table.py xlsx FILE   # through openpyxl: numbers come back as numbers
    read_back_table.py csv FILE    # through Python's csv module: every field a text

Prints the rows as one JSON array of arrays. Exits 77 when openpyxl is missing.
"""
import csv
import json
import sys


def main():
    kind, path = sys.argv[1], sys.argv[2]
    if kind == "xlsx":
        try:
            import openpyxl
        except ImportError:
            sys.exit(77)
        sheet = openpyxl.load_workbook(path, read_only=True).active
        rows = [list(row) for row in sheet.iter_rows(values_only=True)]
    else:
        with open(path, newline="", encoding="utf-8") as table:
            rows = list(csv.reader(table))
    json.dump(rows, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
