#!/usr/bin/env python3
"""Screenshots of the real page for the README, at 1280, 800 and 400 px and on
a phone, after reading some of our synthetic files:

    screenshots.py SITE_DIR TEST_FILES_DIR OUTPUT_DIR
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_session import Session  # noqa: E402

SHOWN_FILES = ['DSC_0001.NEF', 'DSC_0002.JPG', 'dsc_0003.jpg', 'DSC_0005.NEF', 'edited.jpg', 'coolpix.jpg',
               'plain.jpg']
SIZES = {'web-desktop.png': (1280, 900, False), 'web-800.png': (800, 900, False), 'web-400.png': (400, 844, True),
         'web-phone.png': (390, 844, True)}


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    site, files, output = sys.argv[1:]
    os.makedirs(output, exist_ok=True)
    for name, (width, height, mobile) in SIZES.items():
        with Session(site, width=width, height=height, mobile=mobile) as session:
            session.open()
            session.give_files([os.path.join(files, f) for f in SHOWN_FILES])
            driver = session.driver
            # The whole page on a desktop; on a phone its first two screens.
            full = driver.execute_script('return document.documentElement.scrollHeight')
            if mobile:
                full = min(full, 2 * height)
            driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
                'width': width, 'height': full, 'deviceScaleFactor': 1, 'mobile': mobile})
            driver.execute_script("document.activeElement && document.activeElement.blur(); window.scrollTo(0, 0);"
                                  "document.documentElement.style.overflow = 'hidden';")
            path = os.path.join(output, name)
            driver.save_screenshot(path)
            print(path)
    return 0


if __name__ == '__main__':
    sys.exit(main())
