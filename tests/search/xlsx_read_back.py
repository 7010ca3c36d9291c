#!/usr/bin/env python3
"""Reads back `kovra export --xlsx` with openpyxl: the sheet "物件一覧" has a
bold caption row frozen under an auto-filter, and every cell shows the text
`kovra dump` gives for that listing, in the order `kovra find` gives with
the same sort: a text cell holds it, a number cell's display format shows
it exactly (and prices, areas and walking minutes are number cells).
With --no-member the member fields' cells are empty.

usage: xlsx_read_back.py KOVRA SAMPLE WORKDIR
"""
import json
import os
import re
import subprocess
import sys

import openpyxl
from openpyxl.utils import get_column_letter


NUMBER_FORMAT = re.compile(r'^(#,##0|0)(?:\.(0+))?(?:"([^"]*)")?$')


def shown(value, number_format):
    """What a spreadsheet shows for a number cell of one of the export's formats."""
    m = NUMBER_FORMAT.match(number_format)
    assert m, number_format
    decimals = len(m.group(2) or "")
    text = f"{value:,.{decimals}f}" if m.group(1) == "#,##0" else f"{value:.{decimals}f}"
    return text + (m.group(3) or "")


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True, encoding="utf-8").stdout


def main():
    kovra, sample, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    read_back(kovra, sample, work)
    read_back(kovra, sample, work, ["--no-member"])
    read_back(kovra, hostile_texts(work), work)


def hostile_texts(work):
    """Listings whose texts XML must carry with care: markup characters, a
    control character, what reads as a spreadsheet escape, a long remark."""
    def line(number, remark, remark2):
        columns = [""] * 102
        columns[1], columns[3], columns[4], columns[5] = number, "1", "1", "1"
        columns[45], columns[92] = remark, remark2
        return "1," + ",".join(columns[1:])
    lines = ["3,,,,,261201",
             line("X-1", "<b>&amp;\"引用\" 'x' _x0041_ \x01 ]]>", "_x00e9_"),
             line("X-2", "駅まで5分、南向き。" * 40, "")]
    path = os.path.join(work, "texts.txt")
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode("cp932") + b"\r\n")
    return path


MEMBER_FIELDS = {"Housyuu", "KaiinNum", "KaiinMei", "Tel", "Tantou", "ToiawaseTel", "EMail"}


def read_back(kovra, sample, work, options=()):
    out = os.path.join(work, "sample.xlsx")
    if os.path.exists(out):
        os.remove(out)
    sort = ["--sort", "-Kakaku", "--sort", "Syozaitimei", *options]
    run(kovra, "export", sample, "--xlsx", out, *sort)
    dump = [json.loads(line) for line in run(kovra, "dump", sample).splitlines()]
    order = [int(line.split("\t")[0]) - 1 for line in run(kovra, "find", sample, *sort).splitlines()]
    assert sorted(order) == list(range(len(dump))), order

    sheet = openpyxl.load_workbook(out).active
    assert sheet.title == "物件一覧", sheet.title
    fields = list(dump[0].keys())
    assert sheet.max_column == len(fields) == 94, sheet.max_column
    assert sheet.max_row == len(dump) + 1, sheet.max_row
    assert sheet.freeze_panes == "A2", sheet.freeze_panes
    assert sheet.auto_filter.ref == f"A1:{get_column_letter(94)}{len(dump) + 1}", sheet.auto_filter.ref
    captions = [cell.value for cell in sheet[1]]
    assert captions[0] == "物件番号" and captions[-1] == "管理会社", captions
    assert all(cell.font.b for cell in sheet[1])
    numbers = 0
    for row, listing in zip(sheet.iter_rows(min_row=2), order):
        for cell, field in zip(row, fields):
            got = "" if cell.value is None else cell.value
            # openpyxl leaves a control character in the spreadsheet's
            # escaped form ("_x0001_"), which Excel reads back as the character.
            want = re.sub(r"[\x01-\x08\x0b\x0c\x0e-\x1f]", lambda m: f"_x{ord(m.group()):04X}_", dump[listing][field])
            if options and field in MEMBER_FIELDS:
                assert dump[listing][field] or "texts" in sample, (field, "the sample has member texts")
                want = ""
            if isinstance(got, str):
                assert got == want, (cell.coordinate, field, got, want)
                numeric_unit = re.fullmatch(r"[1-9][0-9]*(万円|㎡|分)", want)
                assert not (field in ("Kakaku", "TotiMenseki", "Toho0") and numeric_unit), (cell.coordinate, want)
            else:
                numbers += 1
                assert shown(got, cell.number_format) == want, (cell.coordinate, got, cell.number_format, want)
    assert numbers > 0 or "texts" in sample
    for letter, dim in sheet.column_dimensions.items():
        assert dim.width and dim.width >= 4, (letter, dim.width)
    print(f"{len(dump)} listings x {len(fields)} cells show kovra dump {' '.join(options)} ({numbers} as numbers)")


if __name__ == "__main__":
    main()
