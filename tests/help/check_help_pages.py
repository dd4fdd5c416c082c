#!/usr/bin/env python3
"""Checks the help pages: every page the contents link to exists and is linked from it, and
every link and picture of every page reaches a file (and the anchor it names)."""
import sys
from html.parser import HTMLParser
from pathlib import Path
from urllib.parse import unquote, urlsplit


class Page(HTMLParser):
    def __init__(self):
        super().__init__()
        self.anchors, self.links, self.pictures = set(), [], []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for key in ("name", "id"):
            if a.get(key):
                self.anchors.add(a[key])
        if tag == "a" and a.get("href"):
            self.links.append(a["href"])
        if tag == "img":
            self.pictures.append(a.get("src") or "")


def main(folder):
    folder = Path(folder)
    pages = {}
    for path in sorted(folder.glob("*.html")):
        page = Page()
        page.feed(path.read_text(encoding="utf-8"))
        pages[path.name] = page
    problems = []
    if "index.html" not in pages:
        return ["index.html: the contents page is missing"]

    def target(name, href):
        parts = urlsplit(href)
        if parts.scheme in ("http", "https", "mailto"):
            return None
        return unquote(parts.path) or name, parts.fragment

    linked = set()
    for name, page in pages.items():
        for href in page.links:
            t = target(name, href)
            if t is None:
                continue
            file, fragment = t
            if name == "index.html":
                linked.add(file)
            if not (folder / file).is_file():
                problems.append(f"{name}: link {href!r} reaches no file")
            elif fragment and file in pages and fragment not in pages[file].anchors:
                problems.append(f"{name}: link {href!r} names an anchor {file} does not have")
        for src in page.pictures:
            if not src or not (folder / unquote(urlsplit(src).path)).is_file():
                problems.append(f"{name}: picture {src!r} reaches no file")
    for name in pages:
        if name != "index.html" and name not in linked:
            problems.append(f"{name}: not linked from the contents")
    return problems


if __name__ == "__main__":
    found = main(sys.argv[1])
    for line in found:
        print(line)
    print(f"{len(found)} problem(s)")
    sys.exit(1 if found else 0)
