#!/usr/bin/env python3
"""What report-compare should write for runs of reports, worked out from report-table's JSON rows
of each run (report-table -r RUN), joined by each report's path under its run: the rows whose
change is not `same` (--changes) or the summary (--summary), as CSV.

usage: compare_check.py REPORT_TABLE --changes|--summary RUN...
"""
import json
import subprocess
import sys

OUTCOMES = {1: 'proved', 2: 'disproved', 3: 'not-proved', 4: 'timeout', 5: 'step-limit',
            6: 'out-of-scope'}


def text(value):
    """A JSON number as report-table wrote it, or '' for null."""
    return '' if value is None else value


def rows_of(report_table, run):
    table = subprocess.run([report_table, '--format=json', '-r', run], check=True,
                           capture_output=True, text=True).stdout
    rows = {}
    for line in table.splitlines():
        row = json.loads(line, parse_float=str, parse_int=str)
        time = row['prover_time'] if row['prover_time'] is not None else row['prover_time_colon']
        rows[row['file'][len(run) + 1:]] = (OUTCOMES[int(row['proof_status'])], text(time),
                                            text(row['total_steps']), row['error_kind'] is not None)
    return rows


def main(report_table, mode, runs):
    tables = [rows_of(report_table, run) for run in runs]
    missing = ('missing', '', '', False)
    problems = sorted(set().union(*tables), key=lambda name: name.encode())
    counts = [dict(reports=0, errors=0, gained=0, lost=0, time_proved=0.0, time_common=0.0,
                   steps_common=0, **{name: 0 for name in OUTCOMES.values()}, missing=0)
              for _ in runs]
    changes = []
    for problem in problems:
        results = [table.get(problem, missing) for table in tables]
        base = results[0][0] == 'proved'
        later = [r[0] == 'proved' for r in results[1:]]
        if base and not all(later):
            change = 'lost'
        elif not base and any(later):
            change = 'gained'
        elif any(r[0] != results[0][0] for r in results):
            change = 'changed'
        else:
            change = 'same'
        if change != 'same':
            changes.append(','.join([problem] + [f for r in results for f in r[:3]] + [change]))
        every = all(r[0] == 'proved' for r in results)
        for c, r in zip(counts, results):
            c[r[0]] += 1
            c['reports'] += r[0] != 'missing'
            c['errors'] += r[3]
            if r[0] == 'proved' and r[1]:
                c['time_proved'] += float(r[1])
            if every and all(x[1] for x in results):
                c['time_common'] += float(r[1])
            if every and all(x[2] for x in results):
                c['steps_common'] += int(r[2])
        for c, r in zip(counts[1:], results[1:]):
            c['gained'] += not base and r[0] == 'proved'
            c['lost'] += base and r[0] != 'proved'
    if mode == '--changes':
        print('problem,' + ','.join(f'{run}:{column}' for run in runs
                                     for column in ('outcome', 'time', 'steps')) + ',change')
        for row in changes:
            print(row)
    else:
        print('run,reports,proved,disproved,not_proved,timeout,step_limit,out_of_scope,missing,'
              'errors,gained,lost,time_proved,time_common,steps_common')
        for run, c in zip(runs, counts):
            print(','.join([run] + [str(c[k]) for k in (
                'reports', 'proved', 'disproved', 'not-proved', 'timeout', 'step-limit',
                'out-of-scope', 'missing', 'errors', 'gained', 'lost')] +
                [f"{c['time_proved']:.6f}", f"{c['time_common']:.6f}", str(c['steps_common'])]))


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
