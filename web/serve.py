#!/usr/bin/env python3
"""Serves the built site on 127.0.0.1 with the headers a static host should
send: the Content-Security-Policy of the page (so that it also binds the
reading worker and the service worker, which a <meta> policy does not reach)
and the right types for modules and WebAssembly.

    serve.py SITE_DIR [--port 8080] [--log FILE] [--max-age SECONDS]

--log writes one line per request: the method and the address asked for.
--max-age sends Cache-Control: max-age=SECONDS, as most static hosts do,
instead of no-cache (for trying the page's update story).
"""
import argparse
import functools
import http.server
import sys

CONTENT_SECURITY_POLICY = (
    "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; worker-src 'self'; "
    "connect-src 'self'; img-src 'self'; style-src 'self'; manifest-src 'self'; "
    "base-uri 'none'; form-action 'none'; frame-ancestors 'none'"
)


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{'.js': 'text/javascript', '.wasm': 'application/wasm', '.svg': 'image/svg+xml',
                             '.webmanifest': 'application/manifest+json', '.html': 'text/html; charset=utf-8',
                             '.css': 'text/css'})
    log_file = None
    cache_control = 'no-cache'

    def end_headers(self):
        self.send_header('Content-Security-Policy', CONTENT_SECURITY_POLICY)
        self.send_header('X-Content-Type-Options', 'nosniff')
        self.send_header('Referrer-Policy', 'no-referrer')
        self.send_header('Cache-Control', self.cache_control)
        super().end_headers()

    def log_message(self, format, *args):
        if self.log_file:
            print(f'{self.command} {self.path}', file=self.log_file, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('site')
    parser.add_argument('--port', type=int, default=8080)
    parser.add_argument('--log')
    parser.add_argument('--max-age', type=int)
    args = parser.parse_args()
    if args.max_age is not None:
        SiteHandler.cache_control = f'max-age={args.max_age}'
    if args.log:
        SiteHandler.log_file = open(args.log, 'a', encoding='utf-8')
    handler = functools.partial(SiteHandler, directory=args.site)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', args.port), handler)
    print(f'Serving {args.site} at http://127.0.0.1:{server.server_port}/ (Ctrl-C ends)', file=sys.stderr, flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
