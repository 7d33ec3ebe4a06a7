#!/usr/bin/env python3
"""Serves a folder over HTTP on 127.0.0.1 for benchmarks; prints the port, then serves until killed.
   serve.py FOLDER [PORT] [--delay-ms MS]   (MS: how long every answer waits, like a distant server)"""
import functools
import http.server
import sys
import time


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    delay = 0.0

    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.delay:
            time.sleep(self.delay)
        super().do_GET()


def main():
    args = [a for a in sys.argv[1:]]
    delay_ms = 0
    if "--delay-ms" in args:
        i = args.index("--delay-ms")
        delay_ms = int(args[i + 1])
        del args[i:i + 2]
    folder = args[0]
    port = int(args[1]) if len(args) > 1 else 0
    QuietHandler.delay = delay_ms / 1000.0
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
