#!/usr/bin/env python3
"""Reads report-table's CSV and JSON Lines tables of the same reports with Python's csv and
json modules and checks that both parse and agree: every file name as given (in JSON, each
byte outside well-formed UTF-8 as U+FFFD), every cell, numbers (by JSON's grammar, without
exponent) as JSON numbers and nothing else as one.  Prints each discrepancy; status 1 if any.

usage: check.py [--all] CSV_FILE JSON_FILE NAME...   (the names in row order)
"""
import codecs
import csv
import json
import os
import re
import sys

codecs.register_error('each_byte', lambda e: ('\ufffd' * (e.end - e.start), e.end))
NUMBER = re.compile(r'-?(0|[1-9][0-9]*)(\.[0-9]+)?')


class Number(str):
    """A number's text exactly as written."""


def no_constant(text):
    raise ValueError(f'{text} is not JSON')


def main(args):
    every = args[0] == '--all'
    csv_path, json_path, *names = args[1:] if every else args
    names = [os.fsencode(name) for name in names]
    problems = []
    with open(csv_path, encoding='latin-1', newline='') as f:
        header, *rows = csv.reader(f, strict=True)
    with open(json_path, 'rb') as f:
        lines = f.read().decode('utf-8').split('\n')
    if lines.pop() != '':
        problems.append('JSON: last line unterminated')
    objects = [json.loads(line, parse_float=Number, parse_int=Number, parse_constant=no_constant)
               for line in lines]
    if len(rows) != len(names) or len(objects) != len(names):
        problems.append(f'{len(names)} names, {len(rows)} CSV rows, {len(objects)} JSON objects')
    for name, row, record in zip(names, rows, objects):
        if list(record) != header or len(row) != len(header):
            problems.append(f'{name}: columns {list(record)} / {len(row)} cells, header {header}')
            continue
        if row[0].encode('latin-1') != name:
            problems.append(f'{name}: CSV file {row[0]!r}')
        if record['file'] != name.decode('utf-8', 'each_byte'):
            problems.append(f'{name}: JSON file {record["file"]!r}')
        for key, cell in zip(header[1:], row[1:]):
            value = record[key]
            values = value if every else [] if value is None else [value]
            if every != isinstance(value, list) or any(
                    not isinstance(v, str) or isinstance(v, Number) != bool(NUMBER.fullmatch(v))
                    for v in values):
                problems.append(f'{name}: {key} is {value!r}')
            elif ';'.join(values) != cell:
                problems.append(f'{name}: {key}: CSV {cell!r}, JSON {value!r}')
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
