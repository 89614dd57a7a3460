#!/usr/bin/python3
"""Prints, as JSON, what a PDF holds that a print test measures, in millimetres from each page's
top-left corner: the page size, every filled path's bounding box with its fill colour, every word
with its box, and the document's title. Uses PyMuPDF (Debian package python3-fitz)."""
import json
import sys

import fitz

MM = 25.4 / 72
doc = fitz.open(sys.argv[1])
pages = []
for page in doc:
    rects = []
    for d in page.get_drawings():
        if d.get("fill") is None:
            continue
        r = d["rect"]
        rects.append({"x": r.x0 * MM, "y": r.y0 * MM, "w": r.width * MM, "h": r.height * MM,
                      "fill": [round(c * 255) for c in d["fill"]]})
    # Texts as drawn, one per span, from the characters themselves (the word list leaves out
    # characters that touch a clip's edge).
    words = []
    for block in page.get_text("rawdict")["blocks"]:
        for line in block.get("lines", []):
            for span in line["spans"]:
                chars = span["chars"]
                if not chars:
                    continue
                words.append({"x": min(c["bbox"][0] for c in chars) * MM,
                              "y": min(c["bbox"][1] for c in chars) * MM,
                              "x1": max(c["bbox"][2] for c in chars) * MM,
                              "y1": max(c["bbox"][3] for c in chars) * MM,
                              "text": "".join(c["c"] for c in chars)})
    pages.append({"width": page.rect.width * MM, "height": page.rect.height * MM,
                  "rects": rects, "words": words})
print(json.dumps({"title": doc.metadata.get("title", ""), "pages": pages}))
