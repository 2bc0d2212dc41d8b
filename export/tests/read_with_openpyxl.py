#!/usr/bin/python3
r"""Loads workbooks with openpyxl, an independent reader, and lists the cells
of each one's active sheet, one per line:

    FILE <tab> CELL <tab> TYPE <tab> VALUE <tab> NUMBER FORMAT <tab> FONT COLOUR

TYPE is openpyxl's: "n" a number, "s" a text, "b" a boolean. A number is
written as Python's repr, a text as UTF-8 with backslash, tab and line break
escaped as \\, \t and \n. FONT COLOUR is the font's ARGB colour where it
has one, else empty.

Any warning openpyxl gives while loading (an unknown extension, a damaged
style, a data validation it drops ...) is an error: the file is named and the
script exits 1. Exit 77 (skipped) when openpyxl is not installed.

Each file's document properties come before its cells, as cells of type "p"
named @title, @creator and @created (ISO 8601, UTC).
"""
import sys
import warnings

try:
    import openpyxl
except ImportError:
    print("python3-openpyxl is not installed", file=sys.stderr)
    sys.exit(77)


def main(paths):
    failed = False
    for path in paths:
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            # A file object: openpyxl judges names by their extension, and
            # design files are named ".cqb".
            with open(path, "rb") as stream:
                book = openpyxl.load_workbook(stream)
        for warning in caught:
            print(f"{path}: {warning.category.__name__}: {warning.message}", file=sys.stderr)
            failed = True
        properties = book.properties
        created = properties.created.strftime("%Y-%m-%dT%H:%M:%SZ") if properties.created else ""
        for name, value in (("title", properties.title), ("creator", properties.creator), ("created", created)):
            value = (value or "").replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            print(f"{path}\t@{name}\tp\t{value}\t")
        sheet = book.active
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                value = repr(cell.value) if cell.data_type == "n" else str(cell.value)
                value = value.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
                colour = cell.font.color.rgb if cell.font and cell.font.color and cell.font.color.type == "rgb" else ""
                print(f"{path}\t{cell.coordinate}\t{cell.data_type}\t{value}\t{cell.number_format}\t{colour}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
