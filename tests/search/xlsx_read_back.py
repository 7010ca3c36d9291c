#!/usr/bin/env python3
"""Reads back `kovra export --xlsx` with openpyxl: the caption row is bold
and frozen under an auto-filter, and every cell equals the text `kovra dump`
gives for that listing, in the order `kovra find` gives with the same sort.

usage: xlsx_read_back.py KOVRA SAMPLE WORKDIR
"""
import json
import os
import subprocess
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True, encoding="utf-8").stdout


def main():
    kovra, sample, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    out = os.path.join(work, "sample.xlsx")
    if os.path.exists(out):
        os.remove(out)
    sort = ["--sort", "-Kakaku", "--sort", "Syozaitimei"]
    run(kovra, "export", sample, "--xlsx", out, *sort)
    dump = [json.loads(line) for line in run(kovra, "dump", sample).splitlines()]
    order = [int(line.split("\t")[0]) - 1 for line in run(kovra, "find", sample, *sort).splitlines()]
    assert sorted(order) == list(range(len(dump))), order

    sheet = openpyxl.load_workbook(out).active
    fields = list(dump[0].keys())
    assert sheet.max_column == len(fields) == 94, sheet.max_column
    assert sheet.max_row == len(dump) + 1, sheet.max_row
    assert sheet.freeze_panes == "A2", sheet.freeze_panes
    assert sheet.auto_filter.ref == f"A1:{get_column_letter(94)}{len(dump) + 1}", sheet.auto_filter.ref
    captions = [cell.value for cell in sheet[1]]
    assert captions[0] == "物件番号" and captions[-1] == "管理会社", captions
    assert all(cell.font.b for cell in sheet[1])
    for row, listing in zip(sheet.iter_rows(min_row=2), order):
        for cell, field in zip(row, fields):
            got = "" if cell.value is None else cell.value
            want = dump[listing][field]
            assert isinstance(got, str), (cell.coordinate, got)
            assert got == want, (cell.coordinate, field, got, want)
    for letter, dim in sheet.column_dimensions.items():
        assert dim.width and dim.width >= 4, (letter, dim.width)
    print(f"{len(dump)} listings x {len(fields)} cells equal kovra dump")


if __name__ == "__main__":
    main()
