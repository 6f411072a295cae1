#!/usr/bin/python3
"""Reads back a workbook the export wrote and compares it with what the writing test expected.

Usage: check-workbook.py <workbook.xlsx> <expected.json>

expected.json: {"sheets": [{"name": ..., "rows": [[cell text, ...], ...], "numbers": ["C2", ...]}]}.
Checked: the sheets' names and order, every cell's text (an empty text is no cell), which cells are numbers,
and the widths: columns A to Z sized to their longest text plus 2 (at most 255), no width beyond Z.
Runs with Debian's /usr/bin/python3 and python3-openpyxl. Exits 1 on the first sheet that differs, listing
every difference in it.
"""
import json
import sys
import warnings
import zipfile
from decimal import Decimal

import openpyxl
from openpyxl.utils import get_column_letter


def text_of(value):
    """A cell's value as the text it was written from: numbers in their shortest plain decimal form."""
    if value is None:
        return ""
    if isinstance(value, bool):
        return "TRUE" if value else "FALSE"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, float):
        return format(Decimal(repr(value)), "f")
    return str(value)


def check_sheet(ws, expected):
    problems = []
    rows = expected["rows"]
    numbers = set(expected["numbers"])
    columns = max((len(row) for row in rows), default=0)
    last_row = max((r + 1 for r, row in enumerate(rows) if any(row)), default=0)
    last_column = max((c + 1 for row in rows for c, text in enumerate(row) if text), default=0)
    if (ws.max_row, ws.max_column) != (max(last_row, 1), max(last_column, 1)):
        problems.append(f"size {ws.max_row}x{ws.max_column}, expected {last_row}x{last_column}")

    for r, row in enumerate(rows, start=1):
        for c, text in enumerate(row, start=1):
            cell = ws.cell(row=r, column=c)
            got = text_of(cell.value)
            if got != text:
                problems.append(f"{cell.coordinate}: {got!r}, expected {text!r}")
            is_number = cell.data_type == "n" and cell.value is not None
            if is_number != (cell.coordinate in numbers):
                kind = "a number" if is_number else "not a number"
                problems.append(f"{cell.coordinate}: {got!r} is {kind}")

    for c in range(1, columns + 1):
        letter = get_column_letter(c)
        has_width = letter in ws.column_dimensions and ws.column_dimensions[letter].width
        if c <= 26:
            longest = max((len(row[c - 1]) for row in rows if len(row) >= c), default=0)
            expected_width = min(longest + 2, 255)
            if not has_width or ws.column_dimensions[letter].width != expected_width:
                width = ws.column_dimensions[letter].width if has_width else None
                problems.append(f"column {letter}: width {width}, expected {expected_width}")
        elif has_width:
            problems.append(f"column {letter}: width {ws.column_dimensions[letter].width}, expected none")
    return problems


def main(workbook_path, expected_path):
    with open(expected_path, encoding="utf-8") as f:
        expected = json.load(f)
    with zipfile.ZipFile(workbook_path) as package:
        damaged = package.testzip()
        if damaged is not None:
            print(f"{workbook_path}: {damaged} is damaged")
            return 1
    # A reader's warning (a missing style sheet, a part it does not understand) is a fault of the writer.
    warnings.simplefilter("error", UserWarning)
    wb = openpyxl.load_workbook(workbook_path)
    names = [sheet["name"] for sheet in expected["sheets"]]
    if wb.sheetnames != names:
        print(f"sheets {wb.sheetnames}, expected {names}")
        return 1
    for sheet in expected["sheets"]:
        problems = check_sheet(wb[sheet["name"]], sheet)
        if problems:
            print(f"{sheet['name']}:")
            for problem in problems:
                print("  " + problem)
            return 1
    cells = sum(len(row) for sheet in expected["sheets"] for row in sheet["rows"])
    print(f"{workbook_path}: {len(names)} sheets, {cells} cells as expected")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
