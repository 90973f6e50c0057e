#!/usr/bin/env python3
"""Reads the export's CSV files back with Python's csv module, as a spreadsheet would, and
checks them against the seeded ledger: usage: read_export.py FOLDER SUFFIX (SUFFIX "-2006" or "")."""
import csv
import sys
from collections import defaultdict
from decimal import Decimal

folder, suffix = sys.argv[1], sys.argv[2]
failures = []


def expect(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: got {got!r}, wanted {wanted!r}")


def read(stem):
    path = f"{folder}/{stem}{suffix}.csv"
    raw = open(path, "rb").read()
    expect(f"{stem}: byte order mark", raw[:3], b"\xef\xbb\xbf")
    expect(f"{stem}: ends with CR LF", raw[-2:], b"\r\n")
    # Every record ends with CR LF; a bare LF may only stand inside a quoted field.
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, strict=True))
    return rows[0], rows[1:]


head, entries = read("entries")
expect("entries heading", head, ["日付", "項目名", "詳細", "金額", "明細ID", "品目ID"])
by_key = {row[4]: row for row in entries}
expect("comma and quotes", by_key["1"], ["2006/01/05", '食費', 'お米, 5kg "新米"', "2000", "1", "1"])
expect("line break kept", by_key["2"][2], "電気\r\nガス\n水道")
expect("exact fraction", by_key["3"][3], "0.1")
expect("exact fraction", by_key["4"][3], "0.2")
expect("beyond double precision", by_key["5"][3], "9007199254740993")
expect("deleted category", by_key["6"][1:], ["", "消えた項目", "999", "6", "77"])
expect("null amount and description", by_key["7"], ["2006/04/04", "日用品 \"特売\"", "", "", "7", "3"])
expect("negative", by_key["8"][3], "-30")
expect("entries in date order", [r[0] for r in entries], sorted(r[0] for r in entries))

head, incomes = read("incomes")
expect("incomes heading", head, ["年月", "名前", "収入", "名前ID"])
expect("incomes", incomes[:3], [["2006/01", "父", "300000", "1"], ["2006/01", "母, 旧姓", "120000.5", "2"],
                                ["2006/02", "父", "300000", "1"]])
expect("income of a deleted member", [r for r in incomes if r[3] == "99"], [["2006/03", "", "5000", "99"]])

head, members = read("members")
expect("members", [head] + members, [["名前ID", "名前"], ["1", "父"], ["2", "母, 旧姓"], ["3", ""]])
head, categories = read("categories")
expect("categories heading", head, ["品目ID", "項目名"])
expect("category names", sorted(r[1] for r in categories), sorted(["食費", "光熱費", "日用品 \"特売\"", "複数\n行"]))

head, summary = read("summary")
expect("summary heading", head, ["年月", "収入", "出費", "差額"])
income = defaultdict(Decimal)
spending = defaultdict(Decimal)
for r in incomes:
    if r[2]:
        income[r[0]] += Decimal(r[2])
for r in entries:
    if r[3] and len(r[0]) == 10:
        spending[r[0][:7]] += Decimal(r[3])
for month, inc, spent, diff in summary:
    expect(f"{month} income adds up", Decimal(inc), income[month])
    expect(f"{month} spending adds up", Decimal(spent), spending[month])
    expect(f"{month} difference", Decimal(diff), Decimal(inc) - Decimal(spent))
expect("summary of February", summary[1], ["2006/02", "300000", "0.3", "299999.7"])
print(f"{len(entries)} entries, {len(incomes)} incomes, {len(summary)} summary months read")

for f in failures:
    print("  " + f)
sys.exit(1 if failures else 0)
