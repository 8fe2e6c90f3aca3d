#!/usr/bin/env python3
"""Screenshots of the page's history of camera bodies for the README, at a
desktop and a phone width, after reading the library of known histories
(make_history_library):

    history_screenshots.py SITE_DIR LIBRARY_DIR OUTPUT_DIR
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_session import Session  # noqa: E402

SIZES = {'web-history-desktop.png': (1280, 900, False), 'web-history-phone.png': (390, 844, True)}


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    site, library, output = sys.argv[1:]
    paths = sorted(os.path.join(root, n) for root, _, names in os.walk(library) for n in names)
    os.makedirs(output, exist_ok=True)
    for name, (width, height, mobile) in SIZES.items():
        with Session(site, width=width, height=height, mobile=mobile) as session:
            session.open()
            session.give_files(paths)
            driver = session.driver
            session.wait_for(lambda d: d.execute_script('return document.documentElement.dataset.history') == 'shown', 30)
            # The reset body, with its table of points open.
            driver.execute_script("""
                const bodies = Array.from(document.querySelectorAll('#history .history-body'));
                const shown = bodies.find((b) => b.dataset.model === 'NIKON D750') || bodies[0];
                shown.querySelector('details').open = true;
                window.shownBody = shown;""")
            full = driver.execute_script('return document.documentElement.scrollHeight')
            driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
                'width': width, 'height': full, 'deviceScaleFactor': 1, 'mobile': mobile})
            driver.execute_script("document.activeElement && document.activeElement.blur();")
            element = driver.execute_script('return window.shownBody')
            path = os.path.join(output, name)
            element.screenshot(path)
            print(path)
    return 0


if __name__ == '__main__':
    sys.exit(main())
