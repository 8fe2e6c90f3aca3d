#!/usr/bin/env python3
"""The browser page on the benchmark corpus, beside its floor and the command
line tools, all in this one run:

    web_bench.py SITE_DIR TIFFWALKER FILE_LIST EXPECTED_TSV [RUNS]

page: from the files being given to the page's file input to the last row on
the screen, as the page measures it (table#results data-elapsed-ms), a fresh
page load per run, the files given a second after it; floor: one 64 KiB read of each file, all in flight at once,
in the same browser; then tiffwalker, exiv2 and exiftool on the same files.
Prints a Markdown table; exits 1 when the page disagrees with the expected
results."""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'web', 'test'))
from browser_session import Session  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402

SETTLE_SECONDS = 1.0
FLOOR_SCRIPT = """
const done = arguments[0];
const files = Array.from(document.getElementById('bench-floor').files);
const start = performance.now();
Promise.all(files.map((f) => f.slice(0, 65536).arrayBuffer()))
  .then(() => done(performance.now() - start), (e) => done(String(e)));
"""


def wall_ms(command, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times)


def main():
    if len(sys.argv) not in (5, 6):
        print(__doc__, file=sys.stderr)
        return 2
    site, tiffwalker, file_list, expected_tsv = sys.argv[1:5]
    runs = int(sys.argv[5]) if len(sys.argv) == 6 else 5
    with open(file_list, encoding='utf-8') as f:
        paths = [os.path.abspath(line.rstrip('\n')) for line in f if line.strip()]
    expected = {}
    with open(expected_tsv, encoding='utf-8') as f:
        for line in f:
            path, result = line.rstrip('\n').split('\t')[:2]
            expected[os.path.basename(path)] = result

    page_ms, floor_ms, disagreements = [], [], 0
    with Session(site) as session:
        for run in range(runs):
            session.open()
            # As a person would, the run gives the files a moment after the
            # page has opened, when the browser has finished compiling the
            # engine in the background.
            time.sleep(SETTLE_SECONDS)
            rows = session.give_files(paths, timeout=600)
            page_ms.append(session.elapsed_ms())
            if run == 0:
                for row in rows:
                    want = expected.get(row['name'])
                    if want is not None and row['result'] != want:
                        disagreements += 1
                        print(f"page: {row['name']}: {row['result']!r}, expected {want!r}", file=sys.stderr)
            # The floor in the same browser, after each page run.
            session.driver.execute_script(
                "const input = document.createElement('input'); input.type = 'file'; input.multiple = true;"
                "input.id = 'bench-floor'; document.body.append(input);")
            session.driver.find_element(By.ID, 'bench-floor').send_keys('\n'.join(paths))
            floor_ms.append(float(session.driver.execute_async_script(FLOOR_SCRIPT)))

    cli_ms = wall_ms([tiffwalker, '--format', 'tsv', *paths], runs)
    exiv2_ms = wall_ms(['exiv2', '-q', '-K', 'Exif.Nikon3.ShutterCount', '-Pv', *paths], runs)
    exiftool_ms = wall_ms(['exiftool', '-fast', '-s3', '-ShutterCount', *paths], max(3, runs // 2))

    page, floor = statistics.median(page_ms), statistics.median(floor_ms)
    label = os.environ.get('FRAMETALLY_BENCH_LABEL', 'files')
    print(f'| {len(paths)} {label}, ms (median of {runs}) | page | page floor | tiffwalker | exiv2 | exiftool |')
    print('|---|---:|---:|---:|---:|---:|')
    print(f'| wall time | {page:.0f} | {floor:.0f} | {cli_ms:.0f} | {exiv2_ms:.0f} | {exiftool_ms:.0f} |')
    print(f'| ratio to the page | 1 | {floor / page:.2f} | {cli_ms / page:.2f} | {exiv2_ms / page:.2f} | '
          f'{exiftool_ms / page:.2f} |')
    print()
    print(f'page / floor: {page / floor:.2f} (target at most 1.5); exiftool / page: {exiftool_ms / page:.1f} '
          f'(target at least 5); page runs {", ".join(f"{t:.0f}" for t in page_ms)} ms; '
          f'floor runs {", ".join(f"{t:.0f}" for t in floor_ms)} ms')
    if disagreements:
        print(f'{disagreements} files where the page disagrees with the expected result', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
