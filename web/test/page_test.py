#!/usr/bin/env python3
"""The page as people meet it, in headless Chromium (browser_test.py checks
what it reads against the command):

    page_test.py SITE_DIR TIFFWALKER TEST_FILES_DIR

- publishing: served with Cache-Control: max-age, as static hosts do, a new
  version published while the page is open is fetched past the HTTP cache,
  offered with "Reload to update", never mixed into the open page, and in use
  after the reload, in a second tab too;
- widths: 320 to 1280 px and a phone, with long names and many bodies: no cell's
  text runs out of its cell, nothing sideways, serial numbers and dates whole;
  the column headings stay in sight while rows scroll; counts with their kind;
- a synthetic DataTransfer drop of a file is read;
- the keyboard reaches the pickers, the downloads and Clear, in that order;
- handing 300 files to the workers: "Reading…" shows before any row, and no
  task keeps the page busy for more than 100 ms;
- for one file, what a screen reader hears names its count; landmarks have
  names of their own; dates show as dates, serial numbers without "NO=",
  reasons in plain words, and the legend explains "Error" too;
- a library of bodies with known histories (make_history_library) gives, per
  body, the readings, anomalies and rating of `tiffwalker --history`: a chart
  with a point per picture, each anomaly marked, the rating drawn where there
  is one, a table of the same points, and the table's summary in the Tab order;
- opened as a file:// page it says that it must be served; axe-core's rules."""
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_session import Session  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
WEB = os.path.dirname(HERE)
LONGEST_TASK_MS = 100
MARKER = '// the second version'

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def script(session, code, *args):
    return session.driver.execute_async_script('const done = arguments[arguments.length - 1];' + code, *args)


def second_version(site, into):
    """The site staged again from changed sources, as a new release would be."""
    sources = os.path.join(into, 'sources')
    shutil.copytree(os.path.join(WEB, 'site'), sources)
    for name in ('app.js', 'reader-worker.js'):
        with open(os.path.join(sources, name), 'a', encoding='utf-8') as script_file:
            script_file.write(f'\n{MARKER}\n')
    staged = os.path.join(into, 'v2')
    subprocess.run(['cmake', f'-DSOURCE_DIR={sources}', f'-DMODULE_DIR={site}', f'-DFILE_TYPES_DIR={site}',
                    f'-DSITE_DIR={staged}',
                    '-P', os.path.join(WEB, 'stage_site.cmake')], check=True)
    return staged


def publish(version, live):
    for name in os.listdir(live):
        os.remove(os.path.join(live, name))
    for name in os.listdir(version):
        shutil.copy(os.path.join(version, name), live)


def app_script(session, name='app.js'):
    return script(session, "fetch(arguments[0]).then((r) => r.text()).then(done, (e) => done(String(e)));", name)


def test_update(site, files, work):
    live = os.path.join(work, 'live')
    shutil.copytree(site, live)
    v2 = second_version(site, work)
    controlled = lambda d: d.execute_script('return document.documentElement.dataset.controlled') == 'yes'  # noqa: E731
    offered = lambda d: d.execute_script('return document.documentElement.dataset.update') == 'ready'  # noqa: E731
    with Session(live, cache_control='max-age=3600') as session:
        session.open()  # a second tab, whose offer is left until the update was taken in the first
        session.wait_for(controlled, 30)
        second_tab = session.driver.current_window_handle
        session.driver.switch_to.new_window('tab')
        session.open()
        session.wait_for(controlled, 30)
        check(MARKER not in app_script(session), 'update: the first version is in use')

        publish(v2, live)
        script(session, "navigator.serviceWorker.getRegistration().then((r) => r.update()).then(() => done(), () => done());")
        try:
            session.wait_for(offered, 30)
        except Exception:
            check(False, 'update: no "Reload to update" for the new version (its files came from the HTTP cache?)')
            return
        button = session.driver.find_element(By.ID, 'update-reload')
        check(button.is_displayed() and button.text == 'Reload to update', f'update: the button says {button.text!r}')
        # Until the user asks, the open page keeps its own version, workers started again included.
        rows = session.give_files(files[:2])
        session.driver.find_element(By.ID, 'clear').click()
        session.wait_for(lambda d: d.execute_script('return document.documentElement.dataset.engine') == 'ready', 30)
        for name in ('app.js', 'reader-worker.js'):
            check(MARKER not in app_script(session, name), f'update: the open page was handed the new {name}')
        rows = session.give_files(files[:2])
        check(len(rows) == 2, 'update: the open page still reads with its workers started again')

        button.click()
        session.wait_for(lambda d: d.execute_script('return document.readyState') == 'complete'
                         and d.execute_script('return document.documentElement.dataset.update') is None, 30)
        session.wait_for(lambda d: d.execute_script('return document.documentElement.dataset.engine') == 'ready', 30)
        for name in ('app.js', 'reader-worker.js'):
            check(MARKER in app_script(session, name), f'update: after "Reload to update" the new {name} is in use')
        caches = script(session, "caches.keys().then(done)")
        check(len(caches) == 1, f'update: the caches kept are {caches}')
        rows = session.give_files(files[:2])
        check(len(rows) == 2, 'update: the new version reads')

        # The other tab's offer, taken up meanwhile in this one, reloads it into the version in charge.
        session.driver.switch_to.window(second_tab)
        session.driver.execute_script('window.beforeTheReload = true;')
        try:
            session.driver.find_element(By.ID, 'update-reload').click()
            session.wait_for(lambda d: d.execute_script(
                'return !window.beforeTheReload && document.documentElement.dataset.engine') == 'ready', 30)
            check(MARKER in app_script(session), 'update: the second tab reloaded into an old version')
        except Exception:
            check(False, 'update: "Reload to update" in the second tab did nothing after the first took the update')


NO_OVERFLOW = """
    const cells = document.querySelectorAll('#results th, #results td, #summary li');
    const over = [];
    for (const cell of cells) {
      // Hidden, or drawn 1 px wide for screen readers only (the headings of a phone's cards).
      const head = cell.closest('thead');
      if (cell.offsetParent === null || (head && head.getBoundingClientRect().width < 2)) continue;
      if (cell.scrollWidth > cell.clientWidth + 1) over.push(`${cell.dataset.label || cell.tagName}: ${cell.textContent.slice(0, 40)}`);
    }
    const table = document.getElementById('results');
    if (table.scrollWidth > table.parentElement.clientWidth + 1) over.push('the table is wider than its place');
    if (document.documentElement.scrollWidth > innerWidth) over.push(`the page scrolls sideways`);
    // Serial numbers never break inside, nor a date's day or time.
    const lines = (node) => { const r = document.createRange(); r.selectNodeContents(node);
      return new Set(Array.from(r.getClientRects(), (box) => Math.round(box.top))).size; };
    for (const cell of document.querySelectorAll('#results td[data-label="Serial number"]')) {
      if (lines(cell) > 1) over.push(`serial ${cell.textContent} broken`);
    }
    for (const time of document.querySelectorAll('#results td.taken time')) if (lines(time) > 2) over.push(`${time.textContent} broken`);
    return over;
"""


def test_widths_and_words(session, tiffwalker, files):
    rows = session.give_files(files)
    # Long names and many bodies, from a small phone to a desktop.
    for width, mobile in ((320, False), (400, False), (640, False), (720, False), (800, False), (880, False),
                          (950, False), (1280, False), (360, True)):
        session.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                       {'width': width, 'height': 800, 'deviceScaleFactor': 1, 'mobile': mobile})
        over = session.driver.execute_script(NO_OVERFLOW)
        check(not over, f'widths: at {width} px{" on a phone" if mobile else ""}: {over[:5]}')
    session.driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})
    session.driver.set_window_size(800, 600)

    # The headings stay at the top of the window while the rows scroll beneath them.
    heading_top = session.driver.execute_script(
        "const table = document.getElementById('results');"
        "window.scrollTo(0, table.getBoundingClientRect().top + window.scrollY + 300);"
        "return [document.querySelector('#results thead th').getBoundingClientRect().top,"
        "        table.getBoundingClientRect().top];")
    check(abs(heading_top[0]) <= 1 and heading_top[1] < 0, f'the headings scrolled away: {heading_top}')
    session.driver.execute_script('window.scrollTo(0, 0)')

    # The summary's counts with what they count.
    lines = session.driver.execute_script("return Array.from(document.querySelectorAll('#summary li'), (l) => l.textContent);")
    kinds = (', mechanical releases, in ', ', all releases, electronic ones included, in ')
    check(len(lines) >= 9 and all(any(kind in line for kind in kinds) for line in lines) and
          any(kinds[1] in line for line in lines), f'the summary says {lines[:3]}')

    order = session.driver.execute_script(
        "return document.getElementById('summary').compareDocumentPosition(document.getElementById('results'));")
    check(order & 4, 'the summary comes before the table')

    # Plain words: a date as a date (the file's text kept in datetime), the
    # serial without "NO=", a reason in words beside the command's in the row.
    taken = session.driver.execute_script(
        "const t = document.querySelector('#results td.taken time');"
        "return t ? [t.dateTime, t.textContent] : null;")
    check(taken and 'T' in taken[0] and ':' not in taken[1][:10], f'a date shown as {taken}')
    serials = session.driver.execute_script(
        "return Array.from(document.querySelectorAll('#results td[data-label=\"Serial number\"]'), (c) => c.textContent);")
    check(not any(s.upper().startswith('NO=') for s in serials), f'serials shown as {serials}')
    reasons = [r for r in rows if r['status'] == 'no_count']
    shown = session.driver.execute_script(
        "return Array.from(document.querySelectorAll('#results tr[data-status=\"no_count\"] .reason'), (r) => r.textContent);")
    check(reasons and shown and all(s != r['reason'] for s, r in zip(shown, reasons)),
          'a reason without a count is shown in plain words')

    legend = session.driver.execute_script("return Array.from(document.querySelectorAll('#about dt'), (d) => d.textContent);")
    check(set(legend) >= {'No Count', 'Not Readable', 'No EXIF data', 'Error'}, f'the legend explains {legend}')

    names = session.driver.execute_script(
        "return Array.from(document.querySelectorAll('main section[aria-labelledby]'),"
        " (s) => document.getElementById(s.getAttribute('aria-labelledby')).textContent);")
    check(len(names) == len(set(names)), f'landmark names repeat: {names}')
    check(not session.driver.find_elements(By.CSS_SELECTOR, '[role="region"]'), 'a region landmark without its own name')


def test_accessibility(session, axe):
    """No violations of axe-core's rules, where AXE_CORE_JS names its axe.min.js (npm's axe-core)."""
    with open(axe, encoding='utf-8') as f:
        session.driver.execute_script(f.read())
    for width in (360, 1280):
        session.driver.set_window_size(width, 900)
        violations = script(session, "axe.run(document).then((r) => done(r.violations.map((v) => v.id)), (e) => done([String(e)]));")
        check(not violations, f'axe-core at {width} px: {violations}')


def test_drop_and_one_file(session, tiffwalker, nef):
    session.driver.find_element(By.ID, 'clear').click()
    with open(nef, 'rb') as f:
        data = base64.b64encode(f.read()).decode('ascii')
    prevented = session.driver.execute_script("""
        const [data, name] = arguments;
        const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
        const transfer = new DataTransfer();
        transfer.items.add(new File([bytes], name));
        const zone = document.getElementById('drop-zone');
        zone.dispatchEvent(new DragEvent('dragover', { dataTransfer: transfer, bubbles: true, cancelable: true }));
        const drop = new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true });
        zone.dispatchEvent(drop);
        return drop.defaultPrevented;""", data, os.path.basename(nef))
    check(prevented, 'the drop was left to the browser')
    session.driver.set_script_timeout(30)
    session.driver.execute_async_script(Session._WAIT_FOR_ROWS, 1)
    rows = session.rows()
    want = subprocess.run([tiffwalker, nef], capture_output=True, text=True).stdout.strip()
    check(len(rows) == 1 and rows[0]['result'] == want, f'the dropped file gave {rows}, tiffwalker says {want}')
    status = session.driver.find_element(By.ID, 'progress').text
    check(status == f'Done: {os.path.basename(nef)}: {want}, mechanical releases.', f'one file is announced as {status!r}')


def test_added_files_and_blank_date(session, test_files):
    session.driver.find_element(By.ID, 'clear').click()
    session.give_files([os.path.join(test_files, n) for n in ('DSC_0001.NEF', 'blank-date.nef')])
    taken = session.driver.execute_script(
        "return document.querySelector('#results tr[data-name=\"blank-date.nef\"] td.taken').textContent;")
    check(taken.strip() == '', f'a blank date is shown as {taken!r}')
    session.give_files([os.path.join(test_files, 'dsc_0003.jpg')])
    status = session.driver.find_element(By.ID, 'progress').text
    check('added to the 2 files read before' in status, f'files chosen after two others: {status!r}')


def test_keyboard(session):
    session.driver.execute_script("document.activeElement && document.activeElement.blur(); window.scrollTo(0, 0);")
    reached = []
    body = session.driver.find_element(By.TAG_NAME, 'body')
    body.click()
    for _ in range(8):
        ActionChains(session.driver).send_keys(Keys.TAB).perform()
        reached.append(session.driver.execute_script('return document.activeElement.id || document.activeElement.tagName'))
    want = ['files', 'folder', 'download-tsv', 'download-json', 'clear']
    check(reached[:len(want)] == want, f'Tab reaches {reached}')
    outline = session.driver.execute_script(
        "document.getElementById('files').focus();"
        "return getComputedStyle(document.querySelector('label[for=files]')).outlineStyle;")
    check(outline != 'none', 'the focused picker shows no outline')
    clear = session.driver.find_element(By.ID, 'clear')
    clear.send_keys(Keys.ENTER)
    session.wait_for(lambda d: d.execute_script("return document.getElementById('results-section').hidden"), 5)
    check(session.driver.execute_script('return document.activeElement.id') == 'files', 'Clear leaves the focus on the picker')


# The page's own scripts in each long frame (Chromium's long-animation-frame
# entries name them); a long task alone may be the browser's own work, such as
# taking in the files the test hands to the file input.
WATCH = """
    window.longScripts = [];
    window.longTasks = [];
    new PerformanceObserver((list) => {
      for (const frame of list.getEntries()) {
        for (const s of frame.scripts) window.longScripts.push([s.duration, s.invoker]);
      }
    }).observe({ type: 'long-animation-frame' });
    new PerformanceObserver((list) => { for (const e of list.getEntries()) window.longTasks.push(e.duration); })
      .observe({ type: 'longtask' });
    window.firstRowAt = 0; window.readingAt = 0;
    const progress = document.getElementById('progress');
    new MutationObserver(() => {
      if (!window.readingAt && progress.textContent.startsWith('Reading')) window.readingAt = performance.now();
    }).observe(progress, { childList: true, characterData: true, subtree: true });
    new MutationObserver(() => { if (!window.firstRowAt) window.firstRowAt = performance.now(); })
      .observe(document.querySelector('#results tbody'), { childList: true });
"""


def test_hand_over(session, files, work):
    many = os.path.join(work, 'many')
    os.makedirs(many)
    paths = []
    for i in range(300):
        source = files[i % len(files)]
        path = os.path.join(many, f'{i:03d}_{os.path.basename(source)}')
        shutil.copy(source, path)
        paths.append(path)
    session.open()
    session.driver.execute_script(WATCH)
    rows = session.give_files(paths, timeout=180)
    check(len(rows) == 300, f'300 files gave {len(rows)} rows')
    scripts, tasks, reading_at, first_row_at = session.driver.execute_script(
        'return [window.longScripts, window.longTasks, window.readingAt, window.firstRowAt]')
    check(0 < reading_at <= first_row_at, f'"Reading…" at {reading_at:.0f} ms, the first row at {first_row_at:.0f} ms')
    longest = max(scripts, default=[0, ''])
    print(f'page tests: 300 files: the page\'s longest script {longest[0]:.0f} ms ({longest[1]}); '
          f'long tasks of any kind: {", ".join(f"{t:.0f}" for t in tasks) or "none"} ms')
    check(longest[0] <= LONGEST_TASK_MS, f'a script of the page kept it busy for {longest[0]:.0f} ms ({longest[1]})')


def test_history(session, tiffwalker, work):
    library = os.path.join(work, 'history')
    maker = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(tiffwalker))), 'tools', 'make_history_library')
    subprocess.run([maker, library], check=True)
    paths = sorted(os.path.join(root, n) for root, _, names in os.walk(library) for n in names)
    session.open()
    session.give_files(paths)
    session.wait_for(lambda d: d.execute_script('return document.documentElement.dataset.history') == 'shown', 30)
    want = {}
    run = subprocess.run([tiffwalker, '--history', '--format', 'json', *paths], capture_output=True, text=True)
    for line in run.stdout.splitlines():
        row = json.loads(line)
        if row['row'] == 'body':
            want[(row['model'], row['serial'] or '')] = row
    session.driver.execute_script("for (const d of document.querySelectorAll('#history details')) d.open = true;")
    session.wait_for(lambda d: d.execute_script(
        "return Array.from(document.querySelectorAll('#history .history-body'))"
        ".every((b) => b.querySelector('table') !== null);"), 10)
    got = session.driver.execute_script("""
        return Array.from(document.querySelectorAll('#history .history-body'), (b) => ({
          model: b.dataset.model, serial: b.dataset.serial,
          points: b.querySelectorAll('svg .point').length,
          anomalies: b.querySelectorAll('svg .point.anomaly').length,
          rating: b.querySelectorAll('svg .rating').length,
          rows: b.querySelectorAll('table tbody tr').length,
          named: (b.querySelector('svg').getAttribute('aria-label') || '').length > 0,
        }));""")
    check(len(got) == len(want) == 6, f'history: {len(got)} bodies shown, the command gives {len(want)}')
    for body in got:
        row = want.get((body['model'], body['serial']))
        if not check(row is not None, f'history: a body the command does not give: {body}'):
            continue
        check(body['points'] == body['rows'] == row['readings'],
              f"history: {body['model']}: {body['points']} points, {body['rows']} table rows, {row['readings']} readings")
        check(body['anomalies'] == row['anomalies'], f"history: {body['model']}: {body['anomalies']} anomalies marked, "
              f"the command finds {row['anomalies']}")
        check(body['rating'] == (1 if row.get('rated_releases') else 0), f"history: {body['model']}: rating drawn {body['rating']}")
        check(body['named'], f"history: {body['model']}: the chart has no words for screen readers")
    # The points' tables are reachable from the keyboard, after Clear.
    session.driver.execute_script("document.getElementById('clear').focus()")
    ActionChains(session.driver).send_keys(Keys.TAB).perform()
    focused = session.driver.execute_script(
        "const e = document.activeElement; return [e.tagName, !!e.closest('#history')];")
    check(focused == ['SUMMARY', True], f'history: Tab after Clear reaches {focused}')
    session.driver.execute_script("for (const d of document.querySelectorAll('#history details')) d.open = false;")
    ActionChains(session.driver).send_keys(Keys.ENTER).perform()
    opened = session.driver.execute_script("return document.querySelector('#history details').open")
    check(opened, 'history: Enter does not open the first table of points')


def test_file_page(session, site):
    session.driver.get('file://' + os.path.abspath(os.path.join(site, 'index.html')))
    session.wait_for(lambda d: d.execute_script('return document.documentElement.dataset.engine') == 'failed', 10)
    text = session.driver.find_element(By.ID, 'progress').text
    # Words for a visitor, who has no build scripts; pickers that look as disabled as they are.
    check('web address' in text and not any(w in text for w in ('tools/', '.sh', 'server')), f'a file:// page says {text!r}')
    check(not session.driver.find_element(By.ID, 'files').is_enabled(), 'a file:// page still offers its pickers')
    cursor = session.driver.execute_script("return getComputedStyle(document.querySelector('label[for=files]')).cursor")
    check(cursor == 'not-allowed', f'a file:// page\'s disabled picker looks usable (cursor {cursor})')


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    site, tiffwalker, test_files = sys.argv[1:4]
    files = sorted(os.path.join(test_files, n) for n in os.listdir(test_files)
                   if n.lower().endswith(('.nef', '.jpg')) and n != 'DSC_9999.NEF')
    work = tempfile.mkdtemp(prefix='frametally-page-test-')
    try:
        # Long names: one of words, one a single word.
        for name in ('DSC_0001 edited for the club exhibition, third version, final.NEF',
                     'DSC_0001_edited_for_the_club_exhibition_third_version_final_final.NEF'):
            shutil.copy(os.path.join(test_files, 'DSC_0001.NEF'), os.path.join(work, name))
            files.append(os.path.join(work, name))
        # Many bodies of long serial numbers, each whose highest count is in a file of a long name.
        with open(os.path.join(test_files, 'DSC_0004.NEF'), 'rb') as source:
            long_serial = source.read()
        for i in range(8):
            files.append(os.path.join(work, f'{i}_DSC_0004_edited_for_the_club_exhibition_third_version_final.NEF'))
            with open(files[-1], 'wb') as copy:
                copy.write(long_serial.replace(b'02302100048', f'0230210005{i}'.encode()))
        test_update(site, files, work)
        with Session(site) as session:
            session.open()
            test_widths_and_words(session, tiffwalker, files)
            if os.path.isfile(os.environ.get('AXE_CORE_JS', '')):
                test_accessibility(session, os.environ['AXE_CORE_JS'])
            test_drop_and_one_file(session, tiffwalker, os.path.join(test_files, 'DSC_0001.NEF'))
            rows = session.give_files(files[:3])
            check(len(rows) == 3, 'the page reads after a drop')
            test_added_files_and_blank_date(session, test_files)
            test_keyboard(session)
            test_hand_over(session, files, work)
            test_history(session, tiffwalker, work)
            test_file_page(session, site)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print('FAIL:', failure, file=sys.stderr)
    print(f'page tests: {len(failures)} failures')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
