#!/usr/bin/env python3
"""Renders the pages p0..p(N-1).html of a generated site with Qt's web engine
(PyQt6, offscreen), CONNECTIONS pages at once, each in a fresh page: load,
then wait until the page has started no new resource for 500 ms (at most
15 s), then read document.documentElement.outerHTML. Requests to other hosts
are blocked. The same work as a rendering crawl's browser side, for
comparing the engines.
   webengine_render.py ROOT_URL N [CONNECTIONS]"""
import os
import sys

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
os.environ.setdefault("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu")
if os.geteuid() == 0:
    os.environ["QTWEBENGINE_DISABLE_SANDBOX"] = "1"

from PyQt6.QtCore import QTimer, QUrl  # noqa: E402
from PyQt6.QtWebEngineCore import QWebEnginePage, QWebEngineProfile, QWebEngineUrlRequestInterceptor  # noqa: E402
from PyQt6.QtWidgets import QApplication  # noqa: E402


class SiteOnly(QWebEngineUrlRequestInterceptor):
    def __init__(self, host):
        super().__init__()
        self.host = host

    def interceptRequest(self, info):
        if info.requestUrl().host() != self.host:
            info.block(True)


class Renderer:
    def __init__(self, app, profile, root, n, connections):
        self.app, self.profile, self.root = app, profile, root
        self.todo = list(range(n))
        self.running = 0
        self.done = 0
        self.chars = 0
        for _ in range(connections):
            self.next()

    def next(self):
        if not self.todo:
            if self.running == 0:
                print("rendered %d pages, %d characters" % (self.done, self.chars), file=sys.stderr)
                self.app.quit()
            return
        i = self.todo.pop(0)
        self.running += 1
        page = QWebEnginePage(self.profile)
        state = {"count": -1, "quiet": 0, "waited": 0, "done": False}

        def finish(html):
            if state["done"]:
                return
            state["done"] = True
            self.chars += len(html or "")
            self.done += 1
            self.running -= 1
            page.deleteLater()
            self.next()

        def poll():
            def seen(count):
                state["waited"] += 100
                if count == state["count"]:
                    state["quiet"] += 100
                else:
                    state["count"], state["quiet"] = count, 0
                if state["quiet"] >= 500 or state["waited"] >= 15000:
                    page.runJavaScript("document.documentElement.outerHTML", finish)
                else:
                    QTimer.singleShot(100, poll)
            page.runJavaScript("performance.getEntriesByType('resource').length", seen)

        page.loadFinished.connect(lambda ok: poll())
        # A page whose load or script answer never comes is given up.
        QTimer.singleShot(20000, lambda: finish(""))
        page.load(QUrl("%s/site/p%d.html" % (self.root, i)))


def main():
    root, n = sys.argv[1], int(sys.argv[2])
    connections = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    app = QApplication(sys.argv[:1])
    profile = QWebEngineProfile()  # off the record: nothing written
    interceptor = SiteOnly(QUrl(root).host())
    profile.setUrlRequestInterceptor(interceptor)
    renderer = Renderer(app, profile, root, n, connections)  # noqa: F841
    app.exec()


if __name__ == "__main__":
    main()
