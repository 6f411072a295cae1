#!/usr/bin/env python3
"""Reads back kivoc's CSV and JSON exports of the quoting view (tests/console/kivoc_test.cpp) with Python's own
csv and json modules: both must give the texts the test wrote to the registry, accents and line breaks included."""
import csv
import json
import sys

folder = sys.argv[1]
texts = ['comma, "quoted" and\r\nbroken', 'Caf\u00e9 \u00d1and\u00fa \u2013 \u00fcber']

with open(f'{folder}/quoting.csv', encoding='utf-8', newline='') as f:
    raw = f.read()
assert raw.startswith('\ufeff'), 'the CSV begins with a byte-order mark'
rows = list(csv.reader(raw[1:].splitlines(keepends=True)))
with open(f'{folder}/quoting.json', encoding='utf-8') as f:
    exported = json.load(f)

assert exported['computer'] == '', exported['computer']
assert rows[0] == exported['headers'], (rows[0], exported['headers'])
assert rows[1:] == exported['rows'], (rows[1:], exported['rows'])
row = next(r for r in exported['rows'] if 'row' in r)
for text in texts:
    assert text in row, (text, row)
print('kivoc CSV and JSON read back:', len(exported['rows']), 'rows')
