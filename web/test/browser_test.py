#!/usr/bin/env python3
"""The page in a real browser (headless Chromium), against the command line:

    browser_test.py SITE_DIR TIFFWALKER TEST_FILES_DIR [CORPUS_DIR]

Every file of TEST_FILES_DIR (from make_web_test_files) and of CORPUS_DIR's
real/, malformed/ and makers/ folders, when CORPUS_DIR exists, must give on the
page the status, result, make, model, serial number, date, lens and reason that
`tiffwalker --format json` gives, and say what another maker's count counts;
read again with a head of 512 bytes, so that the walk also reads beyond the
head; the 60 MB NEF must be read in bounded time without its image data being
read; no request may leave the page's origin; and the page must open and read
offline once it has been visited.
One browser session for all of it."""
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_session import Session  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402

BIG_FILE = 'DSC_9999.NEF'
BIG_FILE_SECONDS = 5.0
BIG_FILE_MOST_BYTES = 1024 * 1024

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def expected_of(tiffwalker, paths):
    run = subprocess.run([tiffwalker, '--format', 'json', *paths], capture_output=True, text=True)
    expected = {}
    for line in run.stdout.splitlines():
        reading = json.loads(line)
        expected[os.path.basename(reading['path'])] = reading
    return expected


def run_tiffwalker(tiffwalker, output_format, paths):
    """Its output, as bytes, with each path cut to the file's name, as the page names chosen files."""
    output = subprocess.run([tiffwalker, '--format', output_format, *paths], capture_output=True).stdout
    for path in paths:
        whole = json.dumps(path)[1:-1] if output_format == 'json' else path
        output = output.replace(whole.encode(), os.path.basename(path).encode())
    return output


def compare_downloads(session, tiffwalker, paths):
    """The downloads must be what the command writes for the same files."""
    for button, name, output_format in (('download-tsv', 'shutter-counts.tsv', 'tsv'),
                                        ('download-json', 'shutter-counts.jsonl', 'json')):
        # Byte for byte: a file's texts that are not UTF-8 keep their bytes in the TSV.
        got = session.download(button, name).splitlines()
        want = run_tiffwalker(tiffwalker, output_format, paths).splitlines()
        check(len(got) == len(want), f'{name}: {len(got)} lines, tiffwalker writes {len(want)}')
        for line_got, line_want in zip(got, want):
            got_value = json.loads(line_got) if output_format == 'json' else line_got
            want_value = json.loads(line_want) if output_format == 'json' else line_want
            check(got_value == want_value, f'{name}: {line_got!r}, tiffwalker writes {line_want!r}')


def compare(rows, expected, label):
    check(len(rows) == len(expected), f'{label}: {len(rows)} rows for {len(expected)} files')
    for row in rows:
        name = row.get('name', '')
        want = expected.get(name)
        if not check(want is not None, f'{label}: a row for {name!r}, which was not given'):
            continue
        got = {
            'status': row['status'],
            'result': row['result'],
            'make': row['make'] or None,
            'model': row['model'] or None,
            'serial': row['serial'] or None,
            'date_time_original': row['dateTimeOriginal'] or None,
            'lens': row['lens'] or None,
            'reason': row['reason'] if want['status'] != 'count' else None,
        }
        wanted = {key: want.get(key) for key in got}
        if want['status'] == 'error':
            wanted['result'] = want['message']  # a raised error's row shows its message
        for key in got:
            check(got[key] == wanted[key], f'{label}: {name}: {key} is {got[key]!r}, tiffwalker says {wanted[key]!r}')
        # Every count says what it counts, makers counting different things; and
        # the mechanical releases where the body records them beside it.
        check(bool(row.get('countKind')) == (want['status'] == 'count'),
              f'{label}: {name}: what the count counts is {row.get("countKind")!r}, of a {want["status"]}')
        check(row.get('mechanicalCount', '') == (want.get('mechanical_count') or ''),
              f'{label}: {name}: mechanical releases {row.get("mechanicalCount")!r}, tiffwalker says '
              f'{want.get("mechanical_count")!r}')
        if want['status'] == 'count':
            check(bool(row['camera']) and want['model'].split()[-1] in row['camera'],
                  f'{label}: {name}: camera {row["camera"]!r} for model {want["model"]!r}')


def main():
    if len(sys.argv) not in (4, 5):
        print(__doc__, file=sys.stderr)
        return 2
    site, tiffwalker, test_files = sys.argv[1:4]
    corpus = sys.argv[4] if len(sys.argv) == 5 else None

    # A file that is no image by its name: read when chosen, left out of a folder.
    with open(os.path.join(test_files, 'notes.txt'), 'w', encoding='utf-8') as note:
        note.write('not a picture\n')
    small = sorted(os.path.join(test_files, n) for n in os.listdir(test_files) if n != BIG_FILE)
    if corpus and os.path.isdir(corpus):
        for folder in ('real', 'malformed', 'makers'):
            path = os.path.join(corpus, folder)
            if os.path.isdir(path):
                small += sorted(os.path.join(path, n) for n in os.listdir(path) if not n.endswith('.tsv'))
    else:
        print(f'browser tests: no camera corpus at {corpus}: only our synthetic files are read', file=sys.stderr)
    big = os.path.join(test_files, BIG_FILE)
    expected = expected_of(tiffwalker, small + [big])
    check(len(expected) == len(small) + 1, 'tiffwalker gave a line per file')

    started = time.monotonic()
    with Session(site) as session:
        session.open()
        rows = session.give_files(small)
        compare(rows, {os.path.basename(p): expected[os.path.basename(p)] for p in small}, 'page')
        compare_downloads(session, tiffwalker, small)

        # What a screen reader hears of one file whose count counts no shutter
        # releases: what it does count.
        other = next((p for p in small if expected[os.path.basename(p)].get('count_kind') not in (None, 'mechanical_releases')),
                     None)
        if other:
            session.driver.find_element(By.ID, 'clear').click()
            session.wait_for(lambda d: d.execute_script('return document.documentElement.dataset.engine') == 'ready', 30)
            row = session.give_files([other])[0]
            status = session.driver.find_element(By.ID, 'progress').text
            check(row['countKind'] and row['countKind'] in status and 'shutter count' not in status,
                  f'one file counting {expected[os.path.basename(other)]["count_kind"]} is announced as {status!r}')

        # A folder gives its NEF and JPEG files (whatever the case of their
        # names), in the order of their paths, each named by its path.
        rows = session.give_folder(test_files)
        folder = os.path.basename(os.path.normpath(test_files))
        images = sorted(n for n in os.listdir(test_files) if n.lower().endswith(('.nef', '.jpg', '.jpeg')))
        check([row['path'] for row in rows] == [f'{folder}/{name}' for name in images],
              f'the folder gave {[row["path"] for row in rows]}')
        compare(rows, {name: expected[name] for name in images}, 'folder')

        began = time.monotonic()
        big_rows = session.give_files([big], timeout=30)
        seconds = time.monotonic() - began
        compare(big_rows, {BIG_FILE: expected[BIG_FILE]}, '60 MB NEF')
        check(seconds < BIG_FILE_SECONDS, f'the 60 MB NEF took {seconds:.2f} s')
        bytes_read = int(big_rows[0].get('bytesRead', -1)) if big_rows else -1
        check(0 < bytes_read <= BIG_FILE_MOST_BYTES, f'the 60 MB NEF: {bytes_read} bytes read')

        # Where a script of the page (or one slipped into it) tries another
        # origin, the page's policy refuses it.
        refused = session.driver.execute_async_script(
            "const done = arguments[0]; let violated = false;"
            "document.addEventListener('securitypolicyviolation',"
            "  (e) => { if (e.blockedURI.startsWith('https://example.org')) violated = true; });"
            "fetch('https://example.org/collect', {method: 'POST', body: 'x'}).then(() => done('sent'),"
            "  () => setTimeout(() => done(violated ? 'refused' : 'not refused by the policy'), 100));")
        check(refused == 'refused', f'a request to another origin was {refused}')

        # The walk served partly from the head and partly by reads beyond it.
        session.open('?head=512')
        rows = session.give_files(small)
        compare(rows, {os.path.basename(p): expected[os.path.basename(p)] for p in small}, 'head of 512 bytes')
        check(sum(int(row.get('bytesRead', 0)) > 512 for row in rows) >= 5,
              'with a head of 512 bytes the walks read beyond it')

        # Offline: the service worker serves the page once it has been visited.
        ready = session.driver.execute_async_script(
            "const done = arguments[0];"
            "navigator.serviceWorker.ready.then(() => caches.keys()).then((k) => done(k.length), (e) => done(String(e)));")
        check(ready == 1, f'the service worker keeps one cache ({ready})')
        session.server.stop()
        session.open()
        rows = session.give_files(small[:3])
        compare(rows, {os.path.basename(p): expected[os.path.basename(p)] for p in small[:3]}, 'offline')

        own, foreign = session.requests_by_origin()
        check(own > 0, 'the network log holds the page\'s own requests')
        check(not foreign, f'requests that left the origin: {foreign}')
    seconds = time.monotonic() - started

    for failure in failures:
        print('FAIL:', failure, file=sys.stderr)
    print(f'browser tests: {len(small) + 1} files, {len(failures)} failures, {seconds:.1f} s in the browser')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
