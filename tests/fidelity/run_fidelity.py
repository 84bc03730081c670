#!/usr/bin/python3
"""Renders every ok page of the shared corpus with emfplay and compares it
with its reference render (imgdiff.py --json).

Prints, separately for pages without and with text, the median and 90th
percentile of the inked bad share (bad_shift_of_ink), the median bad_shift,
the worst pages, pages that failed to render, and the record types that
emfplay reported as unhandled or malformed across the corpus. The figures
are given for all pages and again without the pages whose reference render
is judged wrong (reference_faults.tsv beside this script: page, what the
reference does, what the records say, the [MS-EMF] section).

    tests/fidelity/run_fidelity.py [--emfplay BIN] [--corpus DIR] [--out DIR]
                                   [--text 0|1|all] [--match TEXT] [--max-mp N]
                                   [--skip EMR_NAME] [--heatmaps] [--jobs N]
                                   [--faults TSV]
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
from collections import defaultdict
from concurrent.futures import ThreadPoolExecutor

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))


def percentile(values, p):
    if not values:
        return float('nan')
    ordered = sorted(values)
    k = (len(ordered) - 1) * p
    lo = int(k)
    hi = min(lo + 1, len(ordered) - 1)
    return ordered[lo] + (ordered[hi] - ordered[lo]) * (k - lo)


def read_rows(corpus):
    with open(os.path.join(corpus, 'ref', 'refs.tsv'), encoding='utf-8') as f:
        header = f.readline().rstrip('\n').split('\t')
        for line in f:
            row = dict(zip(header, line.rstrip('\n').split('\t')))
            if row.get('status') == 'ok':
                yield row


def parse_records(text):
    counts = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) == 5 and parts[0].startswith(('EMR_', 'type')) and parts[1].isdigit():
            counts[parts[0]] = tuple(int(x) for x in parts[1:])
    return counts


def run_page(args, row):
    name = os.path.splitext(os.path.basename(row['emf']))[0]
    out_png = os.path.join(args.out, name + '.png')
    result = {'name': name, 'has_text': row['has_text'] == '1', 'dpi': row['dpi'],
              'size': f"{row['cols']}x{row['rows']}"}
    mp = int(row['cols']) * int(row['rows']) / 1e6
    if mp > args.max_mp:
        result['skipped'] = f'{mp:.0f} MP page'
        return result
    cmd = [args.emfplay, '--records']
    for name in args.skip:
        cmd += ['--skip', name]
    cmd += [os.path.join(args.corpus, row['emf']), out_png, row['dpi']]
    try:
        run = subprocess.run(cmd, capture_output=True, text=True, timeout=args.timeout)
    except subprocess.TimeoutExpired:
        result['failed'] = 'timeout'
        return result
    if run.returncode != 0:
        result['failed'] = f'exit {run.returncode}: {run.stderr.strip()[:200]}'
        return result
    result['records'] = parse_records(run.stdout)
    diff_cmd = [args.imgdiff, os.path.join(args.corpus, row['png']), out_png, '--json']
    if args.heatmaps:
        diff_cmd += ['--heatmap', os.path.join(args.out, name + '.heat.png')]
    diff = subprocess.run(diff_cmd, capture_output=True, text=True)
    if diff.returncode != 0:
        result['failed'] = 'imgdiff: ' + diff.stderr.strip()[:200]
        return result
    figures = json.loads(diff.stdout)
    result['ink_bad'] = figures['bad_shift_of_ink']
    result['bad_shift'] = figures['bad_shift']
    return result


def read_faults(path):
    """Page names (file names without extension) whose reference is judged wrong."""
    if not path or not os.path.isfile(path):
        return set()
    with open(path, encoding='utf-8') as f:
        return {line.split('\t', 1)[0].strip() for line in f
                if line.strip() and not line.startswith('#') and not line.startswith('page\t')}


def figures(scored):
    ink = [r['ink_bad'] for r in scored]
    shift = [r['bad_shift'] for r in scored]
    return (f'inked-bad share: median {100 * statistics.median(ink):.2f} %, '
            f'p90 {100 * percentile(ink, 0.9):.2f} %; bad_shift median {100 * statistics.median(shift):.3f} %')


def summarise(label, results, worst, faults):
    scored = [r for r in results if 'ink_bad' in r]
    print(f'\n== {label}: {len(results)} pages, {len(scored)} compared')
    if scored:
        print(f'   {"all pages (%d):" % len(scored):32s} {figures(scored)}')
        judged = [r for r in scored if r['name'] not in faults]
        if judged:
            print(f'   {"without reference faults (%d):" % len(judged):32s} {figures(judged)}')
        print(f'   worst {min(worst, len(scored))}:')
        for r in sorted(scored, key=lambda r: -r['ink_bad'])[:worst]:
            mark = '  [reference fault]' if r['name'] in faults else ''
            print(f"     {100 * r['ink_bad']:6.2f} %  {100 * r['bad_shift']:6.3f} %  {r['name']} ({r['size']} @ {r['dpi']}){mark}")
    for r in results:
        if 'failed' in r:
            print(f"   FAILED {r['name']}: {r['failed']}")
        elif 'skipped' in r:
            print(f"   skipped {r['name']}: {r['skipped']}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--emfplay', default=os.path.join(SOURCE, 'build', 'bin', 'emfplay'))
    parser.add_argument('--corpus', default=os.path.join(os.path.dirname(SOURCE), 'shared', 'corpus'))
    parser.add_argument('--imgdiff', default=None)
    parser.add_argument('--out', default='/tmp/pagewick-fidelity')
    parser.add_argument('--text', choices=['0', '1', 'all'], default='all')
    parser.add_argument('--match', default='', help='only pages whose file name contains this')
    parser.add_argument('--max-mp', type=float, default=40, help='skip pages larger than this many megapixels')
    parser.add_argument('--timeout', type=int, default=300)
    parser.add_argument('--jobs', type=int, default=1)
    parser.add_argument('--worst', type=int, default=10)
    parser.add_argument('--heatmaps', action='store_true')
    parser.add_argument('--json', help='also write every page result to this file')
    parser.add_argument('--faults', default=os.path.join(HERE, 'reference_faults.tsv'),
                        help='pages whose reference render is judged wrong, reported apart')
    parser.add_argument('--skip', action='append', default=[], metavar='EMR_NAME',
                        help='have emfplay pass over a record type the reference renderer drops '
                             '(EMR_EXTCREATEPEN: the references were made by a player whose '
                             'EMR_EXTCREATEPEN never creates a pen)')
    args = parser.parse_args()
    if args.imgdiff is None:
        args.imgdiff = os.path.join(os.path.dirname(args.corpus), 'tools', 'compare', 'imgdiff.py')
    if not os.path.isfile(os.path.join(args.corpus, 'ref', 'refs.tsv')):
        print(f'no corpus at {args.corpus}', file=sys.stderr)
        return 2
    if not os.access(args.emfplay, os.X_OK):
        print(f'no emfplay at {args.emfplay} (use --emfplay)', file=sys.stderr)
        return 2
    os.makedirs(args.out, exist_ok=True)
    rows = [r for r in read_rows(args.corpus)
            if args.match in r['emf'] and (args.text == 'all' or r['has_text'] == args.text)]
    with ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        results = list(pool.map(lambda row: run_page(args, row), rows))

    faults = read_faults(args.faults)
    for flag, label in ((False, 'has_text=0'), (True, 'has_text=1')):
        group = [r for r in results if r['has_text'] == flag]
        if group:
            summarise(label, group, args.worst, faults)

    unhandled = defaultdict(lambda: [0, 0, 0])  # unhandled, malformed, pages
    for r in results:
        for name, (played, ignored, malformed, missing) in r.get('records', {}).items():
            if missing or malformed:
                entry = unhandled[name]
                entry[0] += missing
                entry[1] += malformed
                entry[2] += 1
    print('\n== records not played (unhandled / malformed / pages)')
    for name, (missing, malformed, pages) in sorted(unhandled.items(), key=lambda kv: -kv[1][0] - kv[1][1]):
        print(f'   {name:28s} {missing:7d} {malformed:7d} {pages:5d}')
    if args.json:
        for r in results:
            r['reference_fault'] = r['name'] in faults
        with open(args.json, 'w', encoding='utf-8') as f:
            json.dump(results, f, indent=1)
    return 0


if __name__ == '__main__':
    sys.exit(main())
