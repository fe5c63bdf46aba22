#!/usr/bin/env python3
"""Writes the seed corpus of the package-reader fuzzer: a few small valid
packages and one malformed package per way the reader refuses one.

    python3 fuzz/vbpreader/make_corpus.py [OUTPUT_FOLDER]
"""
import os
import struct
import sys


def package(records, tag=b"VBP0", count=None, overrides=None):
    """records: list of (name, data[, flags]); overrides: {index: (offset, length)}."""
    overrides = overrides or {}
    out = bytearray(tag[:4].ljust(4, b"\0"))
    out += struct.pack("<i", 7)  # key
    out += b"seed".ljust(16, b"\0")
    out += bytes(64)  # sec0, sec1
    out += struct.pack("<i", len(records) if count is None else count)
    at = 92 + 48 * len(records)
    for i, rec in enumerate(records):
        name, data = rec[0], rec[1]
        flags = rec[2] if len(rec) > 2 else 0
        offset, length = overrides.get(i, (at, len(data)))
        out += name[:40].ljust(40, b"\0")
        out += struct.pack("<iI", offset, (length << 8) | flags)
        at += len(data)
    for rec in records:
        out += rec[1]
    return bytes(out)


def utf16(text):
    return text.encode("utf-16-le")


def chapter_xml(pieces):
    body = "".join('<text href="content.txt" offset="%d" length="%d"/>' % p for p in pieces)
    return ("<?xml version=\"1.0\"?><chapter>%s</chapter>" % body).encode()


def chapter(text, split=2, **kw):
    content = utf16(text)
    step = max(1, len(content) // split // 2 * 2)
    pieces = [(o, min(step, len(content) - o)) for o in range(0, len(content), step)]
    return package([(b"chapter.xml", chapter_xml(pieces)), (b"content.txt", content)], **kw)


def index_xml(chapters):
    items = "".join('<item caption="%d" id="%s">%s</item>' % (i + 1, cid, title)
                    for i, (cid, title) in enumerate(chapters))
    return ('<?xml version="1.0" encoding="UTF-8"?><vb ret="0" id="seed" title="Seed" '
            'comment_flag="false" type="txt"><keys><author>A</author><score>3</score></keys>'
            '<display_lines>20</display_lines><description>Two chapters.</description>'
            '<chapters count="%d">%s</chapters></vb>' % (len(chapters), items)).encode()


PNG = bytes.fromhex("89504e470d0a1a0a") + b"seed-cover"


def book(nested=None, extra=None, overrides=None, count=None):
    nested = nested or [chapter("Hello, first chapter.\n"), chapter("\u6587\u5b57 second.\n")]
    ids = [("c%04d" % (i + 1), "Chapter %d" % (i + 1)) for i in range(len(nested))]
    records = [(b"index.xml", index_xml(ids)), (b"58_84.png", PNG, 5),
               (b"44_63.png", PNG), (b"82_118.png", PNG)]
    records += [((cid + ".vbp").encode(), data) for (cid, _), data in zip(ids, nested)]
    records += extra or []
    return package(records, overrides=overrides, count=count)


def seeds():
    good = book()
    yield "book-two-chapters.vbp", good
    yield "chapter-standalone.vbp", chapter("A standalone chapter.\n", split=3)
    yield "short-91.vbp", good[:91]
    yield "bad-tag.vbp", b"VBPX" + good[4:]
    yield "count-zero.vbp", book(count=0)
    yield "count-huge.vbp", book(count=0x7FFFFFFF)
    yield "index-past-end.vbp", book(overrides={0: (92 + 48 * 6, 1 << 20)})
    yield "index-bad-xml.vbp", package([(b"index.xml", b"<vb><chapters count='1'><item")])
    yield "content-without-xml.vbp", package([(b"content.txt", utf16("text"))])
    yield "piece-past-content.vbp", package(
        [(b"chapter.xml", chapter_xml([(0, 4), (4, 400)])), (b"content.txt", utf16("abcd")),
         (b"tail", bytes(500))])
    yield "nested-bad-count.vbp", book(nested=[chapter("x", count=0x7FFFFFFF), chapter("y")])
    yield "nested-outside-record.vbp", book(
        nested=[package([(b"chapter.xml", chapter_xml([(0, 2)])), (b"content.txt", utf16("zz"))],
                        overrides={0: (4000, 60)}), chapter("y")],
        extra=[(b"filler", b" " * 4200)])
    yield "nested-no-content.vbp", book(
        nested=[package([(b"chapter.xml", chapter_xml([(0, 2)]))]), chapter("y")])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "corpus", "vbpreader")
    os.makedirs(out, exist_ok=True)
    for name, data in seeds():
        assert len(data) < 8192, name
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    print("wrote seeds to", os.path.normpath(out))


if __name__ == "__main__":
    main()
