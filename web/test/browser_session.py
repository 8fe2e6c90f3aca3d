"""A headless Chromium session on the built site, for the browser tests, the
screenshots and the benchmark: the site served on 127.0.0.1 from this process,
and the browser's network log kept, so that a run can list every request the
page, its worker and its service worker made. Uses Debian's chromium and
chromium-driver; nothing is downloaded."""
import contextlib
import functools
import http.server
import json
import os
import shutil
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import serve  # noqa: E402

CHROMIUM = os.environ.get('CHROMIUM', '/usr/bin/chromium')
CHROMEDRIVER = os.environ.get('CHROMEDRIVER', '/usr/bin/chromedriver')


class _QuietSiteHandler(serve.SiteHandler):
    def log_message(self, format, *args):
        pass


class SiteServer:
    """The site on 127.0.0.1 at a free port, sending cache_control as its
    Cache-Control header."""

    def __init__(self, site, cache_control='no-cache'):
        handler = type('Handler', (_QuietSiteHandler,), {'cache_control': cache_control})
        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(handler, directory=site))
        self.httpd.daemon_threads = True
        self.origin = f'http://127.0.0.1:{self.httpd.server_port}'
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()
        self.running = True

    def stop(self):
        if self.running:
            self.httpd.shutdown()
            self.httpd.server_close()
            self.running = False


class Session:
    def __init__(self, site, width=1280, height=900, mobile=False, cache_control='no-cache'):
        self.server = SiteServer(site, cache_control)
        self.profile = tempfile.mkdtemp(prefix='frametally-chromium-')
        self.net_log = os.path.join(self.profile, 'netlog.json')
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                     '--disable-background-networking', '--disable-component-update', '--disable-sync',
                     '--disable-dev-shm-usage', '--disable-extensions', '--no-default-browser-check',
                     f'--user-data-dir={self.profile}', f'--log-net-log={self.net_log}',
                     f'--window-size={width},{height}'):
            options.add_argument(flag)
        self.downloads = os.path.join(self.profile, 'downloads')
        options.add_experimental_option('prefs', {'download.default_directory': self.downloads,
                                                  'download.prompt_for_download': False})
        if mobile:
            options.add_experimental_option('mobileEmulation', {
                'deviceMetrics': {'width': width, 'height': height, 'pixelRatio': 2.0, 'touch': True}})
        self.driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
        self.driver.set_script_timeout(120)
        self.closed = False

    @property
    def origin(self):
        return self.server.origin

    def open(self, query=''):
        self.driver.get(f'{self.origin}/{query}')
        self.wait_for(lambda d: d.execute_script('return document.documentElement.dataset.engine') in ('ready', 'failed'),
                      30)
        if self.driver.execute_script('return document.documentElement.dataset.engine') != 'ready':
            raise AssertionError('the engine did not start: ' + self.driver.find_element(By.ID, 'progress').text)

    def wait_for(self, condition, seconds):
        WebDriverWait(self.driver, seconds, poll_frequency=0.02).until(condition)

    # Resolves when the table holds rows and is no longer busy; waiting in
    # the page spares the polling that would take the browser's time from
    # the reading being measured.
    _WAIT_FOR_ROWS = """
        const [rows, done] = arguments;
        const table = document.getElementById('results');
        const finished = () => table.getAttribute('aria-busy') === 'false' && table.tBodies[0].rows.length >= rows
            && table.dataset.elapsedMs !== undefined;
        if (finished()) { done(true); return; }
        const observer = new MutationObserver(() => {
          if (finished()) { observer.disconnect(); done(true); }
        });
        observer.observe(table, { attributes: true, childList: true, subtree: true });
    """

    def give_files(self, paths, timeout=120):
        """Gives the files to the page's file input; returns their rows once all are shown."""
        return self._give('files', '\n'.join(os.path.abspath(p) for p in paths), len(paths), timeout)

    def give_folder(self, path, timeout=120):
        """Gives a folder to the page's folder input; returns the rows of its files."""
        return self._give('folder', os.path.abspath(path), 1, timeout)

    def _give(self, input_id, keys, at_least, timeout):
        before = len(self.rows())
        self.driver.execute_script("delete document.getElementById('results').dataset.elapsedMs;")
        self.driver.set_script_timeout(timeout)
        self.driver.find_element(By.ID, input_id).send_keys(keys)
        self.driver.execute_async_script(self._WAIT_FOR_ROWS, before + at_least)
        return self.rows()[before:]

    def rows(self):
        return self.driver.execute_script(
            "return Array.from(document.querySelectorAll('table#results tbody tr'), r => Object.assign({}, r.dataset));")

    def download(self, button_id, file_name, seconds=10):
        """Clicks a download button; the bytes of the file it saved."""
        path = os.path.join(self.downloads, file_name)
        if os.path.exists(path):
            os.remove(path)
        self.driver.find_element(By.ID, button_id).click()
        self.wait_for(lambda d: os.path.exists(path), seconds)
        with open(path, 'rb') as f:
            return f.read()

    def elapsed_ms(self):
        return float(self.driver.execute_script("return document.getElementById('results').dataset.elapsedMs"))

    def close(self):
        if not self.closed:
            with contextlib.suppress(Exception):
                self.driver.quit()
            self.server.stop()
            self.closed = True

    def requests_by_origin(self):
        """Ends the session; then the number of requests that the site's pages,
        workers and service worker made for the site's own files, and the list
        of those they made for anything else. The browser's own requests (its
        start page, its update checks) name no initiator and are not the
        page's."""
        self.close()
        with open(self.net_log, encoding='utf-8') as log:
            text = log.read()
        # A log cut short lacks its closing brackets.
        try:
            net_log = json.loads(text)
        except json.JSONDecodeError:
            net_log = json.loads(text.rstrip().rstrip(',') + ']}')
        names = {number: name for name, number in net_log['constants']['logEventTypes'].items()}
        own, foreign = 0, []
        for event in net_log['events']:
            params = event.get('params') or {}
            if names.get(event['type']) != 'URL_REQUEST_START_JOB' or params.get('initiator') != self.origin:
                continue
            url = params.get('url', '')
            if url.startswith(self.origin + '/') or url.startswith(('blob:', 'data:')):
                own += 1
            else:
                foreign.append(url)
        return own, foreign

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        shutil.rmtree(self.profile, ignore_errors=True)
