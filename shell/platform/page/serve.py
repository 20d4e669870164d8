# Serves a browser build folder the way a web server should serve it: the right type for each file
# (WebAssembly compiles while it downloads only as application/wasm), the gzipped copy beside a file
# (shell/platform/page/assemble-page makes them) to browsers that take gzip, and a cache policy: a file
# asked for with this build's name (`?v=`, as the page asks for its program and painter) never changes
# under that address, so it is kept without asking again; every other file (the page, its manifest, an
# older build's address) is checked with the server before it is used again, and answered "not
# modified" when it has not changed. Offline visits are the service worker's business.
# Usage: python3 serve.py DIR PORT [ADDRESS]
import email.utils
import http.server
import os
import re
import sys
import urllib.parse

TYPES = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm', '.data': 'application/octet-stream',
    '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.png': 'image/png',
    '.ico': 'image/x-icon', '.bmp': 'image/bmp', '.wav': 'audio/wav', '.json': 'application/json',
}


class Handler(http.server.SimpleHTTPRequestHandler):
    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        if not os.path.isfile(path):
            self.send_error(404, 'File not found')
            return None
        encoded = path + '.gz'
        gzip = 'gzip' in self.headers.get('Accept-Encoding', '') and os.path.isfile(encoded)
        body = encoded if gzip else path
        stat = os.stat(body)
        tag = '"%x-%x%s"' % (int(stat.st_mtime), stat.st_size, '-gz' if gzip else '')
        policy = 'max-age=31536000, immutable' if self.this_build() else 'no-cache'
        if self.headers.get('If-None-Match') == tag:
            self.send_response(304)
            self.send_header('ETag', tag)
            self.send_header('Cache-Control', policy)
            self.send_header('Vary', 'Accept-Encoding')
            self.end_headers()
            return None
        file = open(body, 'rb')
        self.send_response(200)
        self.send_header('Content-Type', TYPES.get(os.path.splitext(path)[1], 'application/octet-stream'))
        if gzip:
            self.send_header('Content-Encoding', 'gzip')
        self.send_header('Vary', 'Accept-Encoding')
        self.send_header('Content-Length', str(stat.st_size))
        self.send_header('Last-Modified', email.utils.formatdate(stat.st_mtime, usegmt=True))
        self.send_header('ETag', tag)
        self.send_header('Cache-Control', policy)
        self.end_headers()
        return file

    # Whether the address names the build the folder holds (index.html says which).
    def this_build(self):
        asked = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query).get('v')
        if not asked:
            return False
        try:
            with open(os.path.join(self.directory, 'index.html'), encoding='utf-8') as page:
                build = re.search(r'<meta name="bricks3d-build" content="([0-9a-f]+)">', page.read(4096))
        except OSError:
            return False
        return build is not None and asked == [build.group(1)]

    def log_message(self, format, *args):
        if os.environ.get('SERVE_WEB_QUIET') != '1':
            super().log_message(format, *args)


if __name__ == '__main__':
    directory, port = sys.argv[1], int(sys.argv[2])
    address = sys.argv[3] if len(sys.argv) > 3 else '127.0.0.1'
    handler = lambda *args, **kwargs: Handler(*args, directory=directory, **kwargs)
    http.server.ThreadingHTTPServer((address, port), handler).serve_forever()
