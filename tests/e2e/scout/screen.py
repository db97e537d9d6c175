"""The X screen as pixels: screenshots, the arrow image, what a box shows."""

import re
import subprocess
from collections import Counter
from dataclasses import dataclass

from .common import REPO, WAIT_SECONDS, Failure, wait_for
from .probe import Rect

ARROW_XPM = REPO / "resources" / "arrow.xpm"


class Image:
    """A screenshot of the whole X screen, as RGB."""

    def __init__(self):
        data = subprocess.run(
            ["import", "-window", "root", "-depth", "8", "ppm:-"],
            check=True,
            capture_output=True,
            timeout=WAIT_SECONDS,
        ).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if not header:
            raise Failure("import gave no binary PPM")
        self.width = int(header.group(1))
        self.height = int(header.group(2))
        self.pixels = data[header.end() :]

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.pixels[at : at + 3])

    def colours(self, rect):
        return {
            self.pixel(x, y)
            for y in range(rect.top, rect.bottom)
            for x in range(rect.left, rect.right)
        }

    def crop(self, rect):
        """The pixels inside rect, row by row, as bytes."""
        return b"".join(
            self.pixels[self.row(y, rect)] for y in range(rect.top, rect.bottom)
        )

    def row(self, y, rect):
        """Where row y of rect lies in the pixel bytes."""
        return slice((y * self.width + rect.left) * 3, (y * self.width + rect.right) * 3)

    def save(self, rect, path, margin=10):
        """Writes this screenshot's part around rect as PNG: the very pixels
        that the checks looked at."""
        area = Rect(
            max(rect.left - margin, 0),
            max(rect.top - margin, 0),
            min(rect.right + margin, self.width),
            min(rect.bottom + margin, self.height),
        )
        ppm = b"P6 %d %d 255\n" % (area.width, area.height) + self.crop(area)
        subprocess.run(
            ["convert", "ppm:-", str(path)], input=ppm, check=True, timeout=WAIT_SECONDS
        )


def save_screenshot(rect, path, margin=10):
    crop = (
        f"{rect.width + 2 * margin}x{rect.height + 2 * margin}"
        f"+{max(rect.left - margin, 0)}+{max(rect.top - margin, 0)}"
    )
    subprocess.run(
        ["import", "-window", "root", "-crop", crop, "+repage", str(path)],
        check=True,
        timeout=WAIT_SECONDS,
    )


def read_arrow():
    """The arrow image's opaque pixels: (column, row) -> RGB."""
    rows = re.findall(r'^"(.*)"', ARROW_XPM.read_text(), re.MULTILINE)
    width, height, colours = (int(n) for n in rows[0].split()[:3])
    palette = {}
    for entry in rows[1 : 1 + colours]:
        key, value = entry[0], entry.split()[-1]
        if value != "None":
            palette[key] = tuple(bytes.fromhex(value.lstrip("#")))
    pixels = {}
    for row, line in enumerate(rows[1 + colours : 1 + colours + height]):
        for column, key in enumerate(line[:width]):
            if key in palette:
                pixels[(column, row)] = palette[key]
    return pixels


ARROW = read_arrow()


@dataclass(frozen=True)
class Look:
    """What an arrow box's client area shows."""

    arrow_pixels: int  # pixels of the arrow image in place, drawn at the top left
    of_arrow: int  # the arrow image's opaque pixels that fit in the box
    colours: int  # colours inside the box, away from its edge

    @property
    def arrow(self):
        # A few pixels may be drawn differently at the edges; a missing arrow
        # matches none of them.
        return self.of_arrow > 0 and self.arrow_pixels >= 0.9 * self.of_arrow

    @property
    def empty(self):
        return self.colours == 1

    def __repr__(self):
        return (
            f"{self.arrow_pixels} of {self.of_arrow} arrow pixels, {self.colours} colours"
        )


def look(box, image=None):
    image = image or Image()
    inside = [
        (point, colour)
        for point, colour in ARROW.items()
        if point[0] < box.width and point[1] < box.height
    ]
    matching = sum(
        image.pixel(box.left + x, box.top + y) == colour for (x, y), colour in inside
    )
    # Inside the edge that a box may draw within its client area; the arrow
    # lies well inside too.
    inner = Rect(box.left + 3, box.top + 3, box.right - 3, box.bottom - 3)
    return Look(matching, len(inside), len(image.colours(inner)))


def wait_for_screen(what, faults_of, seconds=WAIT_SECONDS):
    """Takes screenshots until faults_of(image) finds nothing; that image."""
    faults = []

    def read():
        nonlocal faults
        image = Image()
        faults = faults_of(image)
        return image

    try:
        return wait_for(what, read, lambda _: not faults, seconds)
    except Failure:
        raise Failure(f"timed out waiting for {what}: {'; '.join(faults)}") from None


def rows_changed(image, reference, rect):
    """The rows of rect where the image differs from the reference."""
    return [
        y
        for y in range(rect.top, rect.bottom)
        if image.pixels[image.row(y, rect)] != reference.pixels[reference.row(y, rect)]
    ]


def ink_on_highlight(image, rect, rows):
    """What is drawn on a highlighted menu item, as its points off the
    highlight colour: (from the menu's left edge, from the item's first row)."""
    columns = range(rect.left, rect.right)
    colours = Counter(image.pixel(x, y) for y in rows for x in columns)
    highlight = colours.most_common(1)[0][0]
    points = set()
    for y in rows:
        lit = [x for x in columns if image.pixel(x, y) == highlight]
        if lit:
            points.update(
                (x - rect.left, y - rows[0])
                for x in range(lit[0], lit[-1])
                if image.pixel(x, y) != highlight
            )
    return points
