#!/usr/bin/env python3
"""End-to-end tests of winscout.exe under Wine, driven by real X input.

One group of checks per run (see GROUPS). Each group starts, on the display
and in the Wine prefix of its environment (scripts/test sets both up):

- the probe (winscout_e2e_probe.exe), the driver's eyes on the Windows side:
  window handles and rectangles, texts read with WM_GETTEXT, and a replay of
  finder code with the real FindWindow/FindWindowEx;
- the fixture (winscout_e2e_fixture.exe), a known window tree that describes
  itself in a manifest;
- winscout.exe, moved to the top left corner, above the fixture's windows;

then moves, presses and types with xdotool and looks at the screen through
ImageMagick's import. The C++ that WinScout writes is built with the MinGW-w64
compiler and run under Wine. Everything it starts is stopped again on every
path.
It prints one line per check and exits with 1 if any check failed.
"""

import argparse
import contextlib
import functools
import hashlib
import json
import os
import re
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import zipfile
from collections import Counter, namedtuple
from dataclasses import dataclass
from pathlib import Path

# Debian's python3-yaml, for the winget manifests.
import yaml

TITLE = "WinScout By The WinScout Authors"
FRAME_CLASS = "WinScoutFrame"
FIXTURE_QUIT_EVENT = "WinScoutE2EFixtureQuit"
FIXTURE_RECREATE_EVENT = "WinScoutE2EFixtureRecreate"
FIXTURE_RETITLE_EVENT = "WinScoutE2EFixtureRetitle"
# Where WinScout keeps the code box's choices, under HKEY_CURRENT_USER.
SETTINGS_KEY = r"Software\WinScout"

# Control IDs of WinScout's window; the first four live in the frame.
CODE_ARROW, CODE_BOX, API_BUTTON, HANDLE_BOX = 101, 102, 103, 104
INSPECTOR_ARROW, CODE_BUTTON, START_BUTTON, STOP_BUTTON = 110, 111, 112, 113
REPORT_BOXES = tuple(range(120, 128))  # Text5 to Text12, one report line each
FRAME_CONTROLS = (CODE_ARROW, CODE_BOX, API_BUTTON, HANDLE_BOX)
MAIN_CONTROLS = (INSPECTOR_ARROW, CODE_BUTTON, START_BUTTON, STOP_BUTTON) + REPORT_BOXES

INITIAL_REPORT = (
    "Window Text:",
    "Window Class Name:",
    "Window Text:",
    "Window ID Number:",
    "Parent Window Handle:",
    "Parent Window Text:",
    "Parent Window Class Name: ",
    "Module:",
)
REPORT_TEXT_CUT = 99  # characters of a window text that the report shows

TWIPS_PER_INCH = 1440
NARROW_CLIENT_TWIPS = (4290, 2865)
WIDE_CLIENT_WIDTH_TWIPS = 9420
WS_EX_TOPMOST = 0x8
WS_EX_TRANSPARENT = 0x20
WS_EX_LAYERED = 0x80000

# The band that outlines the window under a held arrow: this many pixels at
# 96 dots per inch, inside the target's window rectangle, in these colours.
OUTLINE_CLASS = "WinScoutOutline"
OUTLINE_BAND = 3
STRIPE_COLOURS = {(0, 0, 0), (255, 215, 0)}

MENU_CLASS = "#32768"  # every Win32 popup menu
MESSAGE_BOX_CLASS = "#32770"
MESSAGE_BOX_TEXT_ID = 0xFFFF  # the static control with a message box's text
# The code box's menu ends with these items, in this order: the languages and
# the ways of searching, each group with a radio mark on the one in force, and
# the declarations toggle, with a check mark while it is on.
LANGUAGES = ("Visual Basic", "VBA (Office)", "C++", "C#", "Python")
SEARCH_WAYS = ("Search by position", "Search by ID and title")
BY_POSITION, BY_ID_AND_TITLE = SEARCH_WAYS
DECLARATIONS = "Include declarations"
ACTION_SUBMENU = "Action"
TRY_IT = "Try it"
CODE_MENU = (*LANGUAGES, *SEARCH_WAYS, DECLARATIONS, ACTION_SUBMENU, TRY_IT)
DEFAULT_MARKS = ("Visual Basic", BY_POSITION)
CSHARP_FIRST_LINE = (
    '[System.Runtime.InteropServices.DllImport("user32.dll", CharSet = '
    'System.Runtime.InteropServices.CharSet.Unicode, SetLastError = true)]'
)
PYTHON_FIRST_LINE = "import ctypes"

# Above the fixture's windows, which start at y 300, and left of its survival
# tree, which starts at x 690.
WINSCOUT_PLACE = (10, 10)
NOTEPAD_PLACE = (1060, 760, 210, 240)  # a free corner of the fixture's layout
NOTEPAD_TITLE = "Untitled - Notepad"

POLL_SECONDS = 0.02
START_UP_POLL_SECONDS = 0.002  # finer, for the start-up figures
WAIT_SECONDS = 10
# The C++ finder programs compile side by side, all at once: on a busy machine
# that takes far longer than any window takes to answer.
COMPILE_SECONDS = 60
# Below CTest's timeout, so that the driver always stops its programs itself.
BUDGET_SECONDS = 100
DEADLINE = time.monotonic() + BUDGET_SECONDS

REPO = Path(__file__).resolve().parents[2]
ARROW_XPM = REPO / "resources" / "arrow.xpm"


class Failure(Exception):
    """A step that could not be carried out; the checks after it depend on it."""


def wait_for(what, read, done=bool, seconds=WAIT_SECONDS, poll=POLL_SECONDS):
    """Polls read() until done(value) holds and returns that value."""
    end = min(time.monotonic() + seconds, DEADLINE)
    while True:
        value = read()
        if done(value):
            return value
        if time.monotonic() >= end:
            raise Failure(f"timed out waiting for {what}; last seen: {value!r}")
        time.sleep(poll)


def as_text(text):
    return "-" if text is None else "x" + text.encode().hex()


def from_text(word):
    if not word.startswith("x"):
        raise Failure(f"probe sent no text: {word!r}")
    return bytes.fromhex(word[1:]).decode()


# --- processes ---------------------------------------------------------------


class LineReader:
    """Lines from a child's pipe, each awaited no longer than the wait time."""

    def __init__(self, pipe, name):
        self.fd = pipe.fileno()
        self.name = name
        self.pending = b""

    def line(self, what, seconds=WAIT_SECONDS):
        end = min(time.monotonic() + seconds, DEADLINE)
        while b"\n" not in self.pending:
            left = end - time.monotonic()
            if left <= 0 or not select.select([self.fd], [], [], left)[0]:
                raise Failure(f"{self.name} did not answer {what}")
            chunk = os.read(self.fd, 65536)
            if not chunk:
                raise Failure(f"{self.name} ended while asked {what}")
            self.pending += chunk
        line, _, self.pending = self.pending.partition(b"\n")
        return line.decode()


class Program:
    """A started process and how to ask it to end."""

    def __init__(self, name, argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL):
        self.name = name
        self.process = subprocess.Popen(
            argv, stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL
        )
        self.ask_to_end = None

    def stop(self):
        if self.process.poll() is not None:
            return
        try:
            if self.ask_to_end:
                self.ask_to_end()
            self.process.wait(timeout=5)
        except Exception as error:  # whatever went wrong, the process must go
            print(f"note: {self.name} did not end when asked ({error}); killing it")
            self.process.kill()
            self.process.wait()


class Programs:
    """The processes of one group, stopped in reverse order of starting."""

    def __init__(self):
        self.started = []

    def start(self, name, argv, **streams):
        program = Program(name, argv, **streams)
        self.started.append(program)
        return program

    def stop_all(self):
        for program in reversed(self.started):
            program.stop()


class Probe:
    """The long-lived Windows helper; see probe.cpp for its requests."""

    def __init__(self, programs, argv):
        self.program = programs.start(
            "probe", argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE
        )
        self.program.ask_to_end = self.program.process.stdin.close
        self.answers = LineReader(self.program.process.stdout, "the probe")

    def ask(self, *words):
        request = " ".join(str(word) for word in words)
        self.program.process.stdin.write(request.encode() + b"\n")
        self.program.process.stdin.flush()
        answer = self.answers.line(repr(request[:80]))
        kind, _, rest = answer.partition(" ")
        if kind == "error":
            raise Failure(f"probe: {request[:80]}: {rest}")
        return kind, rest.split()

    def value(self, *words):
        return [int(word) for word in self.ask(*words)[1]]

    def top(self, class_name=None, title=None):
        return self.value("top", as_text(class_name), as_text(title))[0]

    def child(self, parent, class_name):
        return self.value("child", parent, as_text(class_name))[0]

    def item(self, parent, control_id):
        return self.value("item", parent, control_id)[0]

    def text(self, window):
        return from_text(self.ask("text", window)[1][0])

    def set_text(self, window, text):
        self.ask("settext", window, as_text(text))

    def rect(self, window):
        return Rect(*self.value("rect", window))

    def client(self, window):
        """The client area on the screen, with the window's DPI."""
        x, y, width, height, dpi = self.value("client", window)
        return Rect(x, y, x + width, y + height), dpi

    def exstyle(self, window):
        return self.value("exstyle", window)[0]

    def visible(self, window):
        return self.value("visible", window)[0] == 1

    def window_at(self, point):
        return self.value("at", *point)[0]

    def place(self, window, x, y, width=0, height=0):
        self.ask("place", window, x, y, width, height)

    def bring_to_front(self, window, x, y):
        self.ask("raise", window, x, y, 0, 0)

    def order(self, window, after=0):
        """Puts the window right after `after` in the Z-order, 0: on top."""
        self.ask("order", window, after)

    def forget(self, key):
        self.ask("forget", as_text(key))

    def close(self, window):
        self.ask("close", window)

    def signal(self, event_name):
        self.ask("signal", as_text(event_name))

    def replay(self, code):
        """The window the code finds, or the reason it does not run."""
        kind, words = self.ask("replay", as_text(code))
        return (int(words[0]), None) if kind == "ok" else (None, from_text(words[0]))


@dataclass(frozen=True)
class Rect:
    left: int
    top: int
    right: int
    bottom: int

    @property
    def width(self):
        return self.right - self.left

    @property
    def height(self):
        return self.bottom - self.top

    @property
    def centre(self):
        return ((self.left + self.right) // 2, (self.top + self.bottom) // 2)


# --- real input --------------------------------------------------------------


def xdotool(*args):
    subprocess.run(
        ["xdotool", *(str(arg) for arg in args)],
        check=True,
        timeout=WAIT_SECONDS,
        stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL,
    )


def click(point, button=1):
    xdotool("mousemove", *point, "click", button)


def move(point):
    xdotool("mousemove", *point)


def drag(start, end, button=1):
    """Press on start, move over the screen, release over end."""
    middle = ((start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
    xdotool(
        "mousemove", *start, "mousedown", button,
        "mousemove", *middle, "mousemove", *end, "mouseup", button,
    )


# --- the screen --------------------------------------------------------------


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


# --- the programs under test -------------------------------------------------


@dataclass(frozen=True)
class Window:
    """A window of the fixture, as the manifest describes it."""

    name: str
    handle: int
    class_name: str
    text: str
    id: int
    parent: int
    parent_text: str
    parent_class: str
    point: tuple


class Fixture:
    """The fixture's desktop; with --second-instance, a second instance of its
    survival tree, with --frameworks, its framework-named windows: either ends
    when the first window it describes is closed."""

    def __init__(self, programs, probe, wine, exe, *options):
        self.program = programs.start(
            "fixture", [wine, exe, *options], stdout=subprocess.PIPE
        )
        self.program.ask_to_end = (
            (lambda: probe.close(next(iter(self.windows.values())).handle))
            if options
            else (lambda: probe.signal(FIXTURE_QUIT_EVENT))
        )
        self.windows = {}
        self.finders = []
        errors = []
        self.lines = LineReader(self.program.process.stdout, "the fixture")
        while True:
            try:
                entry = json.loads(self.lines.line("its manifest"))
            except Failure as failure:
                # The fixture ends, without getting ready, when its desktop is
                # not as planned; it has said why.
                raise Failure("; ".join([str(failure), *errors])) from None
            kind = entry["kind"]
            if kind == "ready":
                break
            if kind == "process":
                self.module = entry["module"]
                self.process_id = entry["id"]
            elif kind == "window":
                self.keep(entry)
            elif kind == "finder":
                self.finders.append(entry)
            elif kind == "error":
                errors.append(entry["message"])

    def keep(self, entry):
        window = self.windows[entry["name"]] = Window(
            name=entry["name"],
            handle=entry["handle"],
            class_name=entry["class"],
            text=entry["text"],
            id=entry["id"],
            parent=entry["parent"],
            parent_text=entry["parent_text"],
            parent_class=entry["parent_class"],
            point=(entry["x"], entry["y"]),
        )
        return window

    def changed_window(self, what):
        """The window line that the fixture writes after changing a window."""
        entry = json.loads(self.lines.line(what))
        if entry["kind"] != "window":
            raise Failure(f"the fixture wrote {entry} instead of {what}")
        return self.keep(entry)

    def __getitem__(self, name):
        return self.windows[name]


def start_window_program(programs, probe, name, argv, find, poll=POLL_SECONDS):
    """Starts a program and waits for its visible window; (program, window)."""
    if find():
        raise Failure(f"a {name} window is open already")
    program = programs.start(name, argv)

    def visible_window():
        window = find()
        return window if window and probe.visible(window) else 0

    window = wait_for(f"the {name} window", visible_window, poll=poll)
    program.ask_to_end = lambda: probe.close(window)
    return program, window


class WinScout:
    def __init__(self, programs, probe, argv):
        self.probe = probe
        # The code box's choices outlive a run, in the registry that every
        # group shares: each starts from the defaults.
        probe.forget(SETTINGS_KEY)
        self.program, self.main = start_window_program(
            programs, probe, "WinScout", argv, lambda: probe.top(None, TITLE)
        )
        probe.place(self.main, *WINSCOUT_PLACE)
        wait_for(
            "WinScout's window to move",
            lambda: probe.rect(self.main),
            lambda rect: (rect.left, rect.top) == WINSCOUT_PLACE,
        )
        frame = probe.child(self.main, FRAME_CLASS)
        if not frame:
            raise Failure(f"WinScout's window has no {FRAME_CLASS} child")
        self.controls = {id: probe.item(frame, id) for id in FRAME_CONTROLS}
        self.controls.update({id: probe.item(self.main, id) for id in MAIN_CONTROLS})
        missing = [str(id) for id, handle in self.controls.items() if not handle]
        if missing:
            raise Failure("WinScout has no controls with the IDs " + ", ".join(missing))

    def __getitem__(self, control_id):
        return self.controls[control_id]

    def centre(self, control_id):
        return self.probe.rect(self[control_id]).centre

    def box(self, control_id):
        """The client area of an arrow box, where the arrow is drawn."""
        return self.probe.client(self[control_id])[0]

    def text(self, control_id):
        return self.probe.text(self[control_id])

    def report(self):
        return [self.text(box) for box in REPORT_BOXES]

    def client_twips(self):
        rect, dpi = self.probe.client(self.main)
        return (rect.width * TWIPS_PER_INCH / dpi, rect.height * TWIPS_PER_INCH / dpi)

    def client_width_twips(self):
        return self.client_twips()[0]

    def switch_layout(self, button, width_twips):
        click(self.centre(button))
        wait_for(
            f"a client area {width_twips} twips wide",
            self.client_width_twips,
            lambda width: width == width_twips,
        )

    def widen(self):
        self.switch_layout(API_BUTTON, WIDE_CLIENT_WIDTH_TWIPS)

    def generate_code(self, target, button=1):
        """Drags the code arrow onto the target point; the code it writes."""
        self.probe.set_text(self[CODE_BOX], "")
        drag(self.centre(CODE_ARROW), target, button)
        return wait_for("code in the code box", lambda: self.text(CODE_BOX))

    def wait_for_report(self, window):
        line = f"Window Handle: {window.handle}"
        wait_for(
            f"a report on {window.name}", lambda: self.text(REPORT_BOXES[0]), line.__eq__
        )


class Session:
    """The probe, the fixture and WinScout, for one group."""

    def __init__(self, args):
        self.args = args
        self.programs = Programs()

    def __enter__(self):
        try:
            self.probe = Probe(self.programs, [self.args.wine, self.args.probe])
            self.fixture = Fixture(
                self.programs, self.probe, self.args.wine, self.args.fixture
            )
            self.winscout = WinScout(
                self.programs, self.probe, [self.args.wine, self.args.winscout]
            )
        except BaseException:
            self.programs.stop_all()
            raise
        return self

    def __exit__(self, *exc):
        self.programs.stop_all()

    def start_notepad(self):
        """Wine's notepad in a free corner; its window."""
        probe = self.probe
        _, notepad = start_window_program(
            self.programs, probe, "notepad", [self.args.wine, "notepad"],
            lambda: probe.top("Notepad"),
        )
        probe.place(notepad, *NOTEPAD_PLACE)
        wait_for(
            "notepad to move",
            lambda: probe.rect(notepad),
            lambda rect: (rect.left, rect.top, rect.width, rect.height) == NOTEPAD_PLACE,
        )
        return notepad


# --- checks ------------------------------------------------------------------


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, ok, detail=""):
        if ok:
            self.passed += 1
            print(f"PASS {name}", flush=True)
        else:
            self.failed += 1
            print(f"FAIL {name}\n     {detail}", flush=True)
        return ok

    def equal(self, name, actual, expected):
        return self.check(
            name, actual == expected, f"expected {expected!r}\n     actual   {actual!r}"
        )

    def reached(self, name, read, done, seconds=WAIT_SECONDS):
        """Checks that a state comes about within the wait time."""
        try:
            wait_for(name, read, done, seconds)
        except Failure as failure:
            return self.check(name, False, str(failure))
        return self.check(name, True)

    def step(self, name, action, *args):
        """Runs a step whose failure stops only the checks that need it."""
        try:
            action(*args)
        except Failure as failure:
            self.check(name, False, str(failure))


def expected_report(window, module):
    cut = REPORT_TEXT_CUT
    lines = [
        f"Window Handle: {window.handle}",
        f"Window Class Name: {window.class_name}",
        f"Window Text: {window.text[:cut]}",
    ]
    if window.parent:
        lines += [
            f"Window ID Number: {window.id}",
            f"Parent Window Handle: {window.parent}",
            f"Parent Window Text: {window.parent_text[:cut]}",
            f"Parent Window Class Name: {window.parent_class}",
        ]
    else:
        lines += [
            "Window ID Number: N/A",
            "Parent Window Handle: N/A",
            "Parent Window Text: N/A",
            "Parent Window Class Name: N/A",
        ]
    return lines + [f"Module: {module}"]


def check_finder_code(checks, session, name, point, target, expect=None, contains=()):
    """Drops the code arrow on the point; the code must find the target."""
    code = session.winscout.generate_code(point)
    if expect is not None:
        checks.equal(f"{name}: the code", code, expect)
    for line in contains:
        checks.check(f"{name}: the code has {line!r}", line in code.split("\r\n"), code)
    check_code_finds(checks, session.probe, f"{name}: the code finds the window", code,
                     target)


def group_finder(session, checks):
    """Code arrow dropped onto each fixture case and onto notepad's edit box."""
    fixture = session.fixture
    for finder in fixture.finders:
        name, target = finder["name"], fixture[finder["target"]]
        checks.step(
            name, check_finder_code, checks, session, name, target.point, target.handle,
            finder["expect"].get("Visual Basic"),
            finder["contains"].get("Visual Basic", ()),
        )

    def notepad_case():
        notepad = session.start_notepad()
        edit = session.probe.child(notepad, "Edit")
        if not checks.check("notepad has an Edit box", edit != 0):
            return
        point = session.probe.rect(edit).centre
        check_finder_code(checks, session, "notepad's edit box", point, edit)

    checks.step("notepad's edit box", notepad_case)


def group_report(session, checks):
    """The eight report lines while the inspector arrow is held over windows."""
    fixture, winscout = session.fixture, session.winscout
    winscout.widen()
    targets = ["id 70000", "long text", "main frame", "owned dialog", "id 40000"]

    def report_on(window):
        move(window.point)
        winscout.wait_for_report(window)
        checks.equal(
            f"report on {window.name}",
            winscout.report(),
            expected_report(window, fixture.module),
        )

    xdotool("mousemove", *winscout.centre(INSPECTOR_ARROW), "mousedown", 1)
    try:
        for name in targets:
            checks.step(f"report on {name}", report_on, fixture[name])
    finally:
        xdotool("mouseup", 1)
    last = fixture[targets[-1]]

    def after_release():
        box = winscout.box(INSPECTOR_ARROW)
        wait_for("the inspector arrow back after the release", lambda: look(box),
                 lambda seen: seen.arrow)
        checks.equal(
            "the report stays after the release",
            winscout.report(),
            expected_report(last, fixture.module),
        )

    checks.step("the report stays after the release", after_release)


def group_live(session, checks):
    """Start, Stop, typing into the code box and the inspector arrow's release."""
    fixture, winscout = session.fixture, session.winscout
    winscout.widen()
    windows = [fixture[name] for name in ("id 40000", "id 70000", "long text")]
    latencies = []

    def switch_on_and_see(window, before):
        click(winscout.centre(START_BUTTON))
        started = time.monotonic()
        move(window.point)
        line = f"Window Handle: {window.handle}"
        seen = checks.reached(
            f"Start: the report follows the pointer (before {before})",
            lambda: winscout.text(REPORT_BOXES[0]),
            line.__eq__,
        )
        latencies.append(time.monotonic() - started)
        return seen

    def stop():
        click(winscout.centre(STOP_BUTTON))

    def type_into_code_box():
        before = winscout.text(CODE_BOX)
        click(winscout.centre(CODE_BOX))
        xdotool("type", "x")
        wait_for(
            "the typed character in the code box",
            lambda: winscout.text(CODE_BOX),
            lambda text: text != before and "x" in text,
        )

    def press_and_release_inspector_arrow():
        xdotool("mousemove", *winscout.centre(INSPECTOR_ARROW), "mousedown", 1, "mouseup", 1)

    switches_off = [
        ("Stop", stop),
        ("typing into the code box", type_into_code_box),
        ("the inspector arrow's release", press_and_release_inspector_arrow),
    ]

    def switch_off_and_watch(name, switch_off):
        # Windows other than the one reported last, so that a report on
        # them is sure to change the box.
        shown = winscout.text(REPORT_BOXES[0])
        fresh = [w for w in windows if f"Window Handle: {w.handle}" != shown]
        seen, unseen = fresh[0], fresh[1]
        if not switch_on_and_see(seen, name):
            return
        switch_off()
        move(unseen.point)
        # Nothing to wait for when nothing may happen: watch for a good
        # many timer intervals, ten times as long as a report took to
        # come while inspection was on.
        quiet = max(1.0, 10 * max(latencies))
        first = winscout.text(REPORT_BOXES[0])
        end = time.monotonic() + quiet
        shown_lines = {first}
        while time.monotonic() < end:
            shown_lines.add(winscout.text(REPORT_BOXES[0]))
            time.sleep(POLL_SECONDS)
        checks.equal(
            f"after {name} the report no longer follows the pointer "
            f"(watched {quiet:.1f} s)",
            shown_lines,
            {first},
        )
        checks.check(
            f"after {name} the window under the pointer is not reported",
            f"Window Handle: {unseen.handle}" not in shown_lines,
            f"reported: {sorted(shown_lines)}",
        )

    for name, switch_off in switches_off:
        checks.step(f"switching off by {name}", switch_off_and_watch, name, switch_off)


def group_window(session, checks):
    """Topmost, client size, layout switch, the arrows, screenshots."""
    probe, fixture, winscout = session.probe, session.fixture, session.winscout
    out = session.args.out
    start_rect = probe.rect(winscout.main)

    exstyle = probe.exstyle(winscout.main)
    checks.check(
        "the window is topmost (WS_EX_TOPMOST)",
        bool(exstyle & WS_EX_TOPMOST),
        f"extended style {exstyle:#x}",
    )
    checks.equal(
        "client area at start (twips)", winscout.client_twips(), NARROW_CLIENT_TWIPS
    )
    checks.equal("report boxes at start", winscout.report(), list(INITIAL_REPORT))
    seen = look(winscout.box(CODE_ARROW))
    checks.check("at start: the code arrow box shows the arrow", seen.arrow, repr(seen))
    save_screenshot(probe.rect(winscout.main), out / "e2e-narrow.png")

    def stays_in_front():
        cover = fixture["cover"]
        home = probe.rect(cover.handle)
        text4 = probe.rect(winscout[CODE_BOX])
        probe.bring_to_front(cover.handle, text4.left, text4.top)
        try:
            wait_for(
                "the cover window to move over WinScout",
                lambda: probe.rect(cover.handle),
                lambda rect: (rect.left, rect.top) == (text4.left, text4.top),
            )
            checks.equal(
                "a window brought to the front stays behind WinScout",
                probe.window_at((text4.left + 5, text4.top + 5)),
                winscout[CODE_BOX],
            )
        finally:
            probe.place(cover.handle, home.left, home.top)

    checks.step("a window brought to the front stays behind WinScout", stays_in_front)

    def layout_switch(name, button, width):
        winscout.switch_layout(button, width)
        rect = probe.rect(winscout.main)
        checks.equal(
            f"{name}: client area (twips)",
            winscout.client_twips(),
            (width, NARROW_CLIENT_TWIPS[1]),
        )
        checks.equal(
            f"{name}: the window keeps its place and height",
            (rect.left, rect.top, rect.height),
            (start_rect.left, start_rect.top, start_rect.height),
        )

    checks.step("API widens", layout_switch, "API", API_BUTTON, WIDE_CLIENT_WIDTH_TWIPS)
    image = Image()
    for name, box in (("code", CODE_ARROW), ("inspector", INSPECTOR_ARROW)):
        seen = look(winscout.box(box), image)
        checks.check(
            f"wide: the {name} arrow box shows the arrow", seen.arrow, repr(seen)
        )
    save_screenshot(probe.rect(winscout.main), out / "e2e-wide.png")

    release_over = fixture["ids"].point
    presses = [
        ("code", CODE_ARROW, 1, "left"),
        ("code", CODE_ARROW, 3, "right"),
        ("inspector", INSPECTOR_ARROW, 1, "left"),
    ]

    def press(name, box_id, button, button_name):
        box = winscout.box(box_id)
        what = f"the {name} arrow box, {button_name} button"
        xdotool("mousemove", *winscout.centre(box_id), "mousedown", button)
        try:
            checks.reached(f"{what}: empty while pressed", lambda: look(box),
                           lambda seen: seen.empty)
            move(release_over)
        finally:
            xdotool("mouseup", button)
        checks.reached(f"{what}: the arrow is back after the release", lambda: look(box),
                       lambda seen: seen.arrow)

    for name, box_id, button, button_name in presses:
        checks.step(f"pressing the {name} arrow box with the {button_name} button", press,
                    name, box_id, button, button_name)

    outline = probe.top(OUTLINE_CLASS)
    clicked_over, then_over = fixture["owned dialog"], fixture["static label"]

    def second_button(name, box_id):
        xdotool("mousemove", *winscout.centre(box_id), "mousedown", 1)
        try:
            move(clicked_over.point)
            before = winscout.text(CODE_BOX), winscout.text(HANDLE_BOX)
            xdotool("click", 3)
            # The outline moving on shows that the click has been handled.
            move(then_over.point)
            wait_for(f"the outline on {then_over.name}", lambda: outline_state(
                probe, outline), (True, probe.rect(then_over.handle)).__eq__)
            checks.equal(f"{name}: a right click during the drag changes no box",
                         (winscout.text(CODE_BOX), winscout.text(HANDLE_BOX)), before)
            checks.check(f"{name}: the box stays empty", look(winscout.box(box_id)).empty)
            if box_id == INSPECTOR_ARROW:
                winscout.wait_for_report(then_over)
        finally:
            xdotool("mouseup", 1)
        checks.reached(f"{name}: the left button's release ends the drag",
                       lambda: (look(winscout.box(box_id)).arrow, winscout.text(HANDLE_BOX)),
                       (True, str(then_over.handle) if box_id == CODE_ARROW else before[1]).__eq__)

    for name, box_id in (("code arrow", CODE_ARROW), ("inspector arrow", INSPECTOR_ARROW)):
        checks.step(f"{name}, a second button", second_button, name, box_id)

    checks.step(
        "code narrows", layout_switch, "code", CODE_BUTTON, NARROW_CLIENT_TWIPS[0]
    )

    probe.close(winscout.main)
    checks.reached(
        "closing the window ends the program",
        winscout.program.process.poll,
        lambda exit_code: exit_code is not None,
    )


# --- the outline ---------------------------------------------------------------


def ring(rect, inset, width):
    """The points of a band `width` pixels wide along rect's edges, `inset`
    pixels inside it (outside it when negative)."""
    left, top = rect.left + inset, rect.top + inset
    right, bottom = rect.right - inset, rect.bottom - inset
    points = []
    for y in range(top, bottom):
        if y < top + width or y >= bottom - width:
            points.extend((x, y) for x in range(left, right))
        else:
            points.extend((x, y) for x in range(left, left + width))
            points.extend((x, y) for x in range(right - width, right))
    return points


def stripe_faults(image, rect):
    """What keeps the band inside rect from showing the outline's stripes."""
    band = ring(rect, 0, OUTLINE_BAND)
    colour = {point: image.pixel(*point) for point in band}
    faults = []
    others = Counter(c for c in colour.values() if c not in STRIPE_COLOURS)
    if others:
        faults.append(
            f"{sum(others.values())} of {len(band)} band pixels in other colours, "
            f"mostly {others.most_common(3)}"
        )
    sides = {
        "top": lambda x, y: y < rect.top + OUTLINE_BAND,
        "bottom": lambda x, y: y >= rect.bottom - OUTLINE_BAND,
        "left": lambda x, y: x < rect.left + OUTLINE_BAND,
        "right": lambda x, y: x >= rect.right - OUTLINE_BAND,
    }
    for side, on_side in sides.items():
        seen = {c for (x, y), c in colour.items() if on_side(x, y)}
        if not STRIPE_COLOURS <= seen:
            faults.append(f"the {side} side shows {sorted(seen)}")
    # Diagonal stripes: the colour stays the same up and to the right.
    across = [
        (x, y)
        for (x, y), c in colour.items()
        if (x + 1, y - 1) in colour and colour[(x + 1, y - 1)] != c
    ]
    if across:
        faults.append(f"not diagonal stripes at {len(across)} points, e.g. {across[:3]}")
    return faults


def changed_pixels(image, reference, points, where):
    """A fault for the points whose colour differs from the reference's."""
    changed = [p for p in points if image.pixel(*p) != reference.pixel(*p)]
    if not changed:
        return []
    x, y = changed[0]
    return [
        f"{len(changed)} of {len(points)} pixels {where} changed, e.g. at ({x}, {y}) "
        f"{reference.pixel(x, y)} -> {image.pixel(x, y)}"
    ]


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


def screen_reached(checks, name, faults_of):
    """Checks that the screen comes to pass faults_of; the image, if it did."""
    try:
        image = wait_for_screen(name, faults_of)
    except Failure as failure:
        checks.check(name, False, str(failure))
        return None
    checks.check(name, True)
    return image


def outline_state(probe, outline):
    """Whether the outline window is visible, and its rectangle."""
    return probe.visible(outline), probe.rect(outline)


def group_outline(session, checks):
    """The band around the window under a held arrow, as a window and on screen."""
    probe, fixture, winscout = session.probe, session.fixture, session.winscout
    out = session.args.out
    outline = probe.top(OUTLINE_CLASS)
    if not checks.check(
        "WinScout has an outline window", outline != 0, f"no {OUTLINE_CLASS} window"
    ):
        return
    wanted = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT
    exstyle = probe.exstyle(outline)
    checks.check(
        "the outline is topmost, layered and transparent to the mouse",
        exstyle & wanted == wanted,
        f"extended style {exstyle:#x}",
    )
    checks.check("the outline is hidden before any drag", not probe.visible(outline))

    # A child first, then the top-level window that the drop is onto.
    first, second = fixture["id 40000"], fixture["owned dialog"]
    rects = {window.name: probe.rect(window.handle) for window in (first, second)}
    before = Image()

    def outlined(window):
        rect = rects[window.name]
        checks.reached(
            f"over {window.name}: the outline is shown on its window rectangle",
            lambda: outline_state(probe, outline),
            (True, rect).__eq__,
        )
        image = screen_reached(
            checks,
            f"over {window.name}: its band shows black and yellow diagonal stripes",
            lambda image: stripe_faults(image, rect),
        )
        if image:
            checks.equal(
                f"over {window.name}: the window's own pixels just inside the band stay",
                changed_pixels(image, before, ring(rect, OUTLINE_BAND, 2), "inside"),
                [],
            )
            checks.equal(
                f"over {window.name}: the pixels just outside the window stay",
                changed_pixels(image, before, ring(rect, -2, 2), "outside"),
                [],
            )
        return image

    def no_trace(window, when):
        return screen_reached(
            checks,
            f"{when}: the band on {window.name} shows the window's own pixels again",
            lambda image: changed_pixels(
                image, before, ring(rects[window.name], 0, OUTLINE_BAND), "of the band"
            ),
        )

    def drag():
        move(first.point)
        outlined(first)
        move(second.point)
        during = outlined(second)
        if during:
            during.save(rects[second.name], out / "e2e-outline-during.png")
        no_trace(first, "moved on")
        # Onto the band itself, where the outline lies over the target.
        rect = rects[second.name]
        on_band = (rect.left + 1, rect.centre[1])
        move(on_band)
        checks.equal(
            "the window at a point of the band is the target, not the outline",
            probe.window_at(on_band),
            second.handle,
        )

    xdotool("mousemove", *winscout.centre(CODE_ARROW), "mousedown", 1)
    try:
        checks.step("dragging the code arrow over two windows", drag)
    finally:
        xdotool("mouseup", 1)
    checks.reached(
        "after the release the outline is hidden",
        lambda: probe.visible(outline),
        lambda visible: not visible,
    )
    after = no_trace(second, "after the release")
    if after:
        after.save(rects[second.name], out / "e2e-outline-after.png")

    def dropped_on_band():
        code = wait_for("code in the code box", lambda: winscout.text(CODE_BOX))
        check_code_finds(
            checks, probe,
            "dropped on the band, the code finds the window under it, not the outline",
            code, second.handle)

    checks.step("dropped on the band", dropped_on_band)

    def inspector_arrow():
        winscout.widen()
        xdotool("mousemove", *winscout.centre(INSPECTOR_ARROW), "mousedown", 1)
        try:
            for window in (fixture["static label"], fixture["ids"]):
                rect = probe.rect(window.handle)
                # Onto the band: the outline is shown there before the report
                # looks at the point again, and must not be what it reports.
                move((rect.left + 1, rect.centre[1]))
                checks.reached(
                    f"inspector arrow on the band of {window.name}: the outline is shown "
                    "on it",
                    lambda: outline_state(probe, outline),
                    (True, rect).__eq__,
                )
                checks.reached(
                    f"inspector arrow on the band of {window.name}: the report is on it, "
                    "not on the outline",
                    lambda: winscout.text(REPORT_BOXES[0]),
                    f"Window Handle: {window.handle}".__eq__,
                )
        finally:
            xdotool("mouseup", 1)
        checks.reached(
            "inspector arrow: after the release the outline is hidden",
            lambda: probe.visible(outline),
            lambda visible: not visible,
        )

    checks.step("the inspector arrow", inspector_arrow)


# --- Esc -----------------------------------------------------------------------


def give_keyboard_to(title):
    """Without a window manager the X keyboard focus follows the pointer; a
    window manager would leave it with the window clicked last, as Windows
    does. This hands it to the window with the title, as one would."""
    found = subprocess.run(
        ["xdotool", "search", "--name", f"^{re.escape(title)}$"],
        capture_output=True,
        text=True,
        timeout=WAIT_SECONDS,
    ).stdout.split()
    if len(found) != 1:
        raise Failure(f"X windows named {title!r}: {found}")
    xdotool("windowfocus", "--sync", found[0])


def group_escape(session, checks):
    """Esc while an arrow is held ends the drag without a pick; Esc in the code
    box leaves WinScout whole."""
    probe, fixture, winscout = session.probe, session.fixture, session.winscout
    outline = probe.top(OUTLINE_CLASS)
    winscout.widen()
    picked = fixture["row 3"]
    code = winscout.generate_code(picked.point)
    handle = winscout.text(HANDLE_BOX)
    checks.equal("the earlier drop shows its window's handle", handle, str(picked.handle))
    passing = [fixture[name] for name in ("owned dialog", "static label", "nested button",
                                          "id 40000")]

    def fresh():
        """The passing windows but the one reported last: a report on any of
        them is sure to change the report box."""
        shown = winscout.text(REPORT_BOXES[0])
        return [w for w in passing if f"Window Handle: {w.handle}" != shown]

    def live_inspection_on():
        window = fresh()[0]
        click(winscout.centre(START_BUTTON))
        move(window.point)
        winscout.wait_for_report(window)

    def escaped(name, box):
        checks.reached(f"{name}: Esc hides the outline", lambda: probe.visible(outline),
                       lambda visible: not visible)
        checks.reached(f"{name}: Esc puts the arrow back in its box, the button held",
                       lambda: look(box), lambda seen: seen.arrow)

    def code_arrow(name, prepare):
        live_inspection_on()
        over, released_over, then = fresh()[:3]
        if prepare:
            prepare()
        box = winscout.box(CODE_ARROW)
        xdotool("mousemove", *winscout.centre(CODE_ARROW), "mousedown", 1)
        try:
            checks.reached(f"{name}: the arrow box is empty while pressed",
                           lambda: look(box), lambda seen: seen.empty)
            move(over.point)
            rect = probe.rect(over.handle)
            wait_for(f"the outline on {over.name}", lambda: outline_state(probe, outline),
                     (True, rect).__eq__)
            xdotool("key", "Escape")
            escaped(name, box)
            move(released_over.point)
        finally:
            xdotool("mouseup", 1)
        # The report on a window the pointer reaches after the release shows
        # that WinScout has seen the release.
        move(then.point)
        checks.reached(
            f"{name}: live inspection stays on: the report follows the pointer",
            lambda: winscout.text(REPORT_BOXES[0]),
            f"Window Handle: {then.handle}".__eq__,
        )
        there = {id: probe.visible(winscout[id]) for id in (CODE_ARROW, CODE_BOX)}
        if not checks.check(f"{name}: the code arrow and the code box are still there",
                            all(there.values()), f"visible: {there}"):
            return
        checks.equal(f"{name}: txtHandle is unchanged", winscout.text(HANDLE_BOX), handle)
        checks.equal(f"{name}: the code box is unchanged", winscout.text(CODE_BOX), code)
        checks.check(f"{name}: the outline stays hidden", not probe.visible(outline))
        seen = look(box)
        checks.check(f"{name}: the arrow is in its box after the release", seen.arrow,
                     repr(seen))

    def keyboard_in_code_box():
        click(winscout.centre(CODE_BOX))
        give_keyboard_to(TITLE)

    def inspector_arrow():
        name = "inspector arrow"
        window = fixture["nested button"]
        box = winscout.box(INSPECTOR_ARROW)
        xdotool("mousemove", *winscout.centre(INSPECTOR_ARROW), "mousedown", 1)
        try:
            move(window.point)
            rect = probe.rect(window.handle)
            wait_for(f"the outline on {window.name}",
                     lambda: outline_state(probe, outline), (True, rect).__eq__)
            xdotool("key", "Escape")
            escaped(name, box)
        finally:
            xdotool("mouseup", 1)

    def escape_in_code_box():
        name = "Esc in the code box, no drag"
        if not (probe.visible(winscout[CODE_ARROW]) and probe.visible(winscout[CODE_BOX])):
            raise Failure("the code arrow or the code box is gone already")
        before = winscout.text(CODE_BOX)
        click(winscout.centre(CODE_BOX))
        xdotool("key", "Escape")
        xdotool("type", "x")
        # Typing after the Esc shows that the Esc has been handled.
        checks.reached(
            f"{name}: the box goes on taking what is typed",
            lambda: probe.visible(winscout[CODE_BOX]) and winscout.text(CODE_BOX),
            lambda text: bool(text) and text != before and "x" in text,
        )
        there = {id: probe.visible(winscout[id]) for id in (CODE_ARROW, CODE_BOX)}
        checks.check(f"{name}: the code arrow and the code box are still there",
                     all(there.values()), f"visible: {there}")

    # Over another program's window the key goes to that window, and WinScout
    # sees it only as a key that is down. The keyboard goes to WinScout last:
    # X leaves it there for the rest of the group.
    checks.step("code arrow, Esc over another program's window", code_arrow,
                "Esc over another window", None)
    checks.step("inspector arrow, Esc", inspector_arrow)
    checks.step("code arrow, Esc with the keyboard in the code box", code_arrow,
                "Esc, keyboard in the code box", keyboard_in_code_box)
    checks.step("Esc in the code box", escape_in_code_box)


# --- the code's language -----------------------------------------------------

# A program around pieces of finder code in C++, each in a function of its
# own: it prints the handle that the piece its argument names finds, as
# WinScout shows handles. The pattern helper needs <cwchar> and <string>.
CPP_PROGRAM = """#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

{finders}
int main(int argc, char** argv) {{
  HWND (*const finders[])() = {{{names}}};
  const HWND found = finders[argc > 1 ? std::atoi(argv[1]) : 0]();
  std::printf("%ld\\n", static_cast<long>(static_cast<std::int32_t>(
                           reinterpret_cast<std::intptr_t>(found))));
  return 0;
}}
"""
CPP_FINDER = """static HWND Find{number}() {{
{code}
  return {target};
}}

"""

CPP_LITERAL = r'L"(?:[^"\\]|\\.)*"'
CPP_HANDLE = r"(?:nullptr|hwnd[A-Z]\w*)"
CPP_TEXT = rf"(?:nullptr|{CPP_LITERAL})"
CPP_STATEMENT = re.compile(
    r"(?:HWND )?hwnd[A-Z]\w* = (?:nullptr"
    rf"|FindWindowW\({CPP_LITERAL}, {CPP_TEXT}\)"
    rf"|FindWindowExW\({CPP_HANDLE}, {CPP_HANDLE}, {CPP_LITERAL}, {CPP_TEXT}\)"
    rf"|GetDlgItem\(hwnd[A-Z]\w*, -?\d+\)"
    rf"|findWindowLike\({CPP_HANDLE}, {CPP_HANDLE}(?:, {CPP_TEXT}){{4}}\));"
)
# The pattern helper, whole, as the first lines of the code that needs it.
CPP_HELPER = (
    "// Needs <cwchar> and <string>. The next window after `after` under `parent` "
    "(nullptr: the top-level windows) that FindWindowExW finds, whose class begins "
    "with classStart and whose title ends with titleEnd (nullptr: any).",
    "auto findWindowLike = [](HWND parent, HWND after, const wchar_t* className, "
    "const wchar_t* title,",
    "                         const wchar_t* classStart, const wchar_t* titleEnd) -> HWND {",
    "    while ((after = FindWindowExW(parent, after, className, title)) != nullptr) {",
    "        wchar_t found[257] = {};",
    "        GetClassNameW(after, found, 257);",
    "        if (classStart && std::wcsncmp(found, classStart, std::wcslen(classStart)) "
    "!= 0) continue;",
    "        if (!titleEnd) return after;",
    "        std::wstring text(GetWindowTextLengthW(after) + 1, L'\\0');",
    "        text.resize(GetWindowTextW(after, &text[0], static_cast<int>(text.size())));",
    "        const std::size_t length = std::wcslen(titleEnd);",
    "        if (text.size() >= length && std::wcscmp(text.c_str() + text.size() - length, "
    "titleEnd) == 0) return after;",
    "    }",
    "    return nullptr;",
    "};",
    "",
)


def cpp_form_faults(code):
    """How finder code falls short of one C++ statement a line, CR LF between:
    the pattern helper where a statement calls it, above them, and the comments
    of a note before them."""
    faults = []
    if re.search(r"\r(?!\n)|(?<!\r)\n", code):
        faults.append("a line break other than CR LF")
    lines = code.split("\r\n")
    helper = "findWindowLike(" in code
    if helper and tuple(lines[:len(CPP_HELPER)]) != CPP_HELPER:
        faults.append("the code calls findWindowLike without the helper above it")
    lines = lines[len(CPP_HELPER):] if helper else lines
    while lines and lines[0].startswith("// "):
        lines = lines[1:]
    faults += [
        f"not a finder statement: {line!r}"
        for line in lines
        if not CPP_STATEMENT.fullmatch(line)
    ]
    return faults


def searched_classes(code):
    """The class names that the code's searches pass, in order."""
    return re.findall(r'FindWindow(?:Ex)?W?\([^"\r\n]*?L?"([^"]*)"', code)


class CppBuilds:
    """C++ finder code built into programs in the background, then run."""

    def __init__(self, cxx, wine):
        self.cxx = cxx
        self.wine = wine
        self.directory = Path(tempfile.mkdtemp(prefix="winscout-e2e-"))
        self.building = []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for build in self.building:
            if build.poll() is None:
                build.kill()
            build.wait()
        for path in self.directory.iterdir():
            path.unlink()
        self.directory.rmdir()

    def start(self, code):
        """Starts building the code; a function that runs the program, once
        built, and gives the handle it finds, or why it found none."""
        return self.start_all([code])[0]

    def start_all(self, codes):
        """Starts building one program of all the codes, which takes one
        compiler's time; for each code, a function as start gives."""
        finders = []
        runs = []
        for code in codes:
            declared = re.findall(r"^HWND (\w+) =", code, re.MULTILINE)
            if not declared:
                runs.append(lambda: (None, "the code declares no HWND"))
                continue
            # The target's variable is the last one declared.
            runs.append(len(finders))
            finders.append(CPP_FINDER.format(number=len(finders), code=code,
                                             target=declared[-1]))
        if finders:
            found = self.build(finders)
            runs = [functools.partial(found, run) if isinstance(run, int) else run
                    for run in runs]
        return runs

    def build(self, finders):
        number = len(self.building)
        source = self.directory / f"finder{number}.cpp"
        program = self.directory / f"finder{number}.exe"
        names = ", ".join(f"Find{i}" for i in range(len(finders)))
        source.write_bytes(
            CPP_PROGRAM.format(finders="".join(finders), names=names).encode()
        )
        build = subprocess.Popen(
            [self.cxx, "-std=c++20", "-Wall", "-Werror", "-static", "-o", program,
             source],
            stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT,
        )
        self.building.append(build)

        @functools.cache
        def built():
            try:
                messages = build.communicate(timeout=COMPILE_SECONDS)[0].decode()
            except subprocess.TimeoutExpired:
                return "the compiler took too long"
            return None if build.returncode == 0 else f"it does not compile:\n{messages}"

        def found(which):
            if fault := built():
                return None, fault
            try:
                run = subprocess.run(
                    [self.wine, program, str(which)], capture_output=True,
                    timeout=WAIT_SECONDS,
                )
            except subprocess.TimeoutExpired:
                return None, "it does not end"
            printed = run.stdout.decode().strip()
            if run.returncode != 0 or not re.fullmatch(r"-?\d+", printed):
                return None, f"it ends with {run.returncode}, printing {printed!r}"
            return int(printed), None

        return found


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


def shown_menu(probe):
    """The popup menu on the screen, or 0."""
    menu = probe.top(MENU_CLASS)
    return menu if menu and probe.visible(menu) else 0


def choose_from_code_menu(session, checks, marked, wanted, screenshot=None):
    """Opens the code box's menu with a right click, checks that the marks are
    on the items `marked` (of CODE_MENU) and no others, a radio mark on each
    language and way of searching and a check mark on the declarations
    toggle, and picks `wanted` with the arrow keys."""
    probe, winscout = session.probe, session.winscout
    click(winscout.centre(CODE_BOX), 3)
    menu_shown = functools.partial(shown_menu, probe)
    rect = probe.rect(wait_for("the code box's menu", menu_shown))
    try:
        previous = None

        # Painted once it looks the same twice running.
        def painted():
            nonlocal previous
            image = Image()
            crop = image.crop(rect)
            same, previous = crop == previous, crop
            return image if same else None

        plain = wait_for("the menu to be painted", painted)
        if screenshot:
            plain.save(rect, screenshot)
        # Up from no selection goes to the last item, and the code box's own
        # items are the last ones: each comes highlighted in turn, which shows
        # where its row is. The marks are drawn left of the items' text. The
        # keys go to the menu, on whose corner the pointer rests.
        ink = {}
        rows = []
        for item in reversed(CODE_MENU):
            xdotool("key", "Up")
            shown_rows = rows

            def highlight_moved(image):
                nonlocal rows
                rows = rows_changed(image, plain, rect)
                return [] if rows and rows != shown_rows else ["no newly highlighted row"]

            image = wait_for_screen(f"{item} highlighted", highlight_moved)
            ink[item] = ink_on_highlight(image, rect, rows)
        firsts = {item: min((x for x, _ in points), default=None)
                  for item, points in ink.items()}
        drawn = sorted(x for x in firsts.values() if x is not None)
        text_column = drawn[len(drawn) // 2] if drawn else 0
        marks = {item: frozenset(point for point in points if point[0] < text_column - 2)
                 for item, points in ink.items()}
        marks = {item: mark for item, mark in marks.items() if mark}
        checks.check(
            f"the menu's marks are on {', '.join(marked)}",
            sorted(marks) == sorted(marked),
            f"marked: {sorted(marks)}; first drawn pixel of each item's row: {firsts}",
        )
        radio = {mark for item, mark in marks.items() if item != DECLARATIONS}
        checks.check(
            "the languages and the ways show one mark, the declarations toggle another",
            len(radio) == 1 and marks.get(DECLARATIONS) not in radio,
            f"pixels of each mark: { {item: len(mark) for item, mark in marks.items()} }",
        )
        xdotool(*["key", "Down"] * CODE_MENU.index(wanted), "key", "Return")
    except BaseException:
        xdotool("key", "Escape")
        raise
    wait_for("the menu to close", menu_shown, lambda menu: menu == 0)


def found_detail(found, wanted, error):
    return f"it finds {found} (wanted {wanted}){', ' + error if error else ''}"


def check_code_finds(checks, probe, name, code, wanted):
    """The Visual Basic, replayed on the desktop by the probe, finds the window."""
    found, error = probe.replay(code)
    return checks.check(name, found == wanted,
                        found_detail(found, wanted, error) + f"; the code:\n{code}")


def check_cpp(checks, name, code, expect=None, contains=()):
    checks.equal(f"{name}: C++, one statement a line", cpp_form_faults(code), [])
    if expect is not None:
        checks.equal(f"{name}: the C++", code, expect)
    for line in contains:
        checks.check(f"{name}: the C++ has {line!r}", line in code.split("\r\n"), code)


def group_languages(session, checks):
    """The code box's menu: the code's language, and C++ built and run."""
    fixture, winscout = session.fixture, session.winscout
    args = session.args
    # The first case has the whole code in every language the fixture knows.
    case = fixture.finders[0]
    target = fixture[case["target"]]
    vb, cpp = case["expect"]["Visual Basic"], case["expect"]["C++"]
    checks.equal(f"{case['name']}: the code in Visual Basic",
                 winscout.generate_code(target.point), vb)
    runs = []
    with CppBuilds(args.cxx, args.wine) as builds:
        checks.step("choosing C++", choose_from_code_menu, session, checks, DEFAULT_MARKS,
                    "C++", args.out / "e2e-context-menu.png")
        if checks.reached(f"C++ chosen: the code box holds the C++ for {target.name}",
                          lambda: winscout.text(CODE_BOX), cpp.__eq__):
            runs.append((f"C++ chosen, {case['name']}", target, builds.start(cpp)))
        for finder in fixture.finders:
            name, window = finder["name"], fixture[finder["target"]]
            code = winscout.generate_code(window.point)
            check_cpp(checks, name, code, finder["expect"].get("C++"),
                      finder["contains"].get("C++", ()))
            runs.append((name, window, builds.start(code)))
        for name, window, found in runs:
            handle, error = found()
            checks.check(f"{name}: the C++, built and run, finds the window",
                         handle == window.handle, found_detail(handle, window.handle, error))

    def code_found(name, code):
        check_code_finds(checks, session.probe, f"{name}: the code finds the window", code,
                         target.handle)

    def other_languages():
        code = winscout.generate_code(target.point)
        checks.equal("the language stays C++ for later drops", code, cpp)
        shown, marked = code, "C++"
        for language, first_line in (
            ("VBA (Office)", "#If VBA7 Then"),
            ("C#", CSHARP_FIRST_LINE),
            ("Python", PYTHON_FIRST_LINE),
        ):
            choose_from_code_menu(session, checks, (marked, BY_POSITION), language)
            code = wait_for(f"{language} in the code box", lambda: winscout.text(CODE_BOX),
                            lambda text: text != shown)
            lines = code.split("\r\n")
            checks.equal(f"{language}: the first line", lines[0], first_line)
            search = case["first_search"][language]
            checks.check(f"{language}: the first search, for {target.name}'s top window",
                         search in lines, code)
            checks.equal(f"{language}: the same searches as in Visual Basic",
                         searched_classes(code), searched_classes(vb))
            if language == "VBA (Office)":
                code_found(language, code)
            shown, marked = code, language
        choose_from_code_menu(session, checks, (marked, BY_POSITION), "Visual Basic")
        checks.reached("back to Visual Basic: the same code as at first",
                       lambda: winscout.text(CODE_BOX), vb.__eq__)

    checks.step("VBA, C#, Python and back to Visual Basic", other_languages)

    def declarations():
        choose_from_code_menu(session, checks, DEFAULT_MARKS, DECLARATIONS)
        code = wait_for("the declarations in the code box",
                        lambda: winscout.text(CODE_BOX), lambda text: text != vb)
        above = code.removesuffix("\r\n" + vb)
        checks.check("declarations on: Declare lines above the same code",
                     above != code and all(line.startswith("Private Declare Function ")
                                           for line in above.split("\r\n")), code)
        code_found("declarations on", code)
        choose_from_code_menu(session, checks, (*DEFAULT_MARKS, DECLARATIONS),
                              DECLARATIONS)
        checks.reached("declarations off: the same code as at first",
                       lambda: winscout.text(CODE_BOX), vb.__eq__)

    checks.step("the declarations toggle", declarations)


# --- survival ----------------------------------------------------------------


# The windows of `fixture --frameworks` that the code must find again, as the
# table names them: the changes run-dependent names and document titles go
# through.
FRAMEWORK_TARGETS = {
    "mfc frame": "MFC document frame",
    "mfc pane": "MFC splitter pane (ID 0xE901)",
    "winforms button": "WinForms button (ID its handle)",
    "wpf window": "WPF window",
    "atl control": "ATL control",
    "document": "document window",
}
RUN_DEPENDENT_TARGETS = ("mfc frame", "mfc pane", "winforms button", "wpf window",
                         "atl control")
DOCUMENT_TARGETS = ("mfc frame", "document")
OPENED_TITLE = "notes.txt - Fixture"
SURVIVAL_LANGUAGES = ("Visual Basic", "C++")


def group_survival(session, checks):
    """Finder code written both ways for the survival pane and for windows
    named as application frameworks name theirs, then run again after each
    change that real programs make to the desktop, a restart and a document
    opened among them: by ID and title it must find the window every time; by
    position it is expected to miss it in some. Prints a table of what
    survived."""
    probe, fixture, winscout, args = (
        session.probe, session.fixture, session.winscout, session.args
    )
    frame, decoy = fixture["survival frame"], fixture["survival decoy"]
    pane, sibling = fixture["survival pane"], fixture["survival sibling"]
    frameworks = Fixture(session.programs, probe, args.wine, args.fixture, "--frameworks")
    button = frameworks["winforms button"]
    checks.equal("the WinForms button's ID is its handle", button.id, button.handle)
    targets = {"survival pane": pane,
               **{name: frameworks[name] for name in FRAMEWORK_TARGETS}}
    codes = {}

    # Every target's code in one language and way, then the next: the menu
    # changes the code box for all later drops.
    def generate(way, language):
        for name, window in targets.items():
            codes[name, way, language] = winscout.generate_code(window.point)

    def choose(marked, wanted):
        shown = winscout.text(CODE_BOX)
        choose_from_code_menu(session, checks, marked, wanted)
        wait_for(f"{wanted} in the code box", lambda: winscout.text(CODE_BOX),
                 lambda text: text != shown)

    generate(BY_POSITION, "Visual Basic")
    choose(DEFAULT_MARKS, BY_ID_AND_TITLE)
    generate(BY_ID_AND_TITLE, "Visual Basic")
    choose(("Visual Basic", BY_ID_AND_TITLE), "C++")
    generate(BY_ID_AND_TITLE, "C++")
    choose(("C++", BY_ID_AND_TITLE), BY_POSITION)
    generate(BY_POSITION, "C++")
    for (name, way, language), code in codes.items():
        if language == "C++":
            checks.equal(f"{name}, {way}: C++, one statement a line",
                         cpp_form_faults(code), [])
        if name in RUN_DEPENDENT_TARGETS:
            checks.check(f"{name}, {way}, {language}: no run-dependent class name",
                         targets[name].class_name not in code, code)
    # An ID made from the handle names nothing on the next run; MFC's pane ID
    # is the pane's sturdy key.
    for language in SURVIVAL_LANGUAGES:
        code = codes["winforms button", BY_ID_AND_TITLE, language]
        checks.check(f"the WinForms button, {language}: no ID made from its handle",
                     str(button.id) not in code, code)
        code = codes["mfc pane", BY_ID_AND_TITLE, language]
        checks.check(f"the MFC pane, {language}: found by its ID",
                     "GetDlgItem(" in code and str(frameworks["mfc pane"].id) in code,
                     code)

    def top_of_class():
        return probe.top(frame.class_name)

    def first_pane():
        return probe.child(pane.parent, pane.class_name)

    def on_top(window):
        rect = probe.rect(window.handle)
        probe.bring_to_front(window.handle, rect.left, rect.top)
        wait_for(f"{window.name} first of its class", top_of_class, window.handle.__eq__)

    # Each change yields the windows that the codes must find after it, by
    # target, and undoes itself where the next would see it.
    @contextlib.contextmanager
    def unchanged():
        yield {name: window.handle for name, window in targets.items()}

    @contextlib.contextmanager
    def other_window_on_top():
        try:
            on_top(decoy)
            yield {"survival pane": pane.handle}
        finally:
            on_top(frame)

    @contextlib.contextmanager
    def sibling_raised():
        try:
            probe.order(sibling.handle)
            wait_for("the sibling first of its class", first_pane, sibling.handle.__eq__)
            yield {"survival pane": pane.handle}
        finally:
            probe.order(sibling.handle, pane.handle)
            wait_for("the pane first of its class again", first_pane, pane.handle.__eq__)

    @contextlib.contextmanager
    def second_instance():
        # It makes sure itself that its frame comes first of the class.
        second = Fixture(session.programs, probe, args.wine, args.fixture,
                         "--second-instance")
        try:
            yield {"survival pane": pane.handle}
        finally:
            second.program.stop()
            wait_for("the frame first of its class again", top_of_class,
                     frame.handle.__eq__)

    @contextlib.contextmanager
    def pane_recreated():
        probe.signal(FIXTURE_RECREATE_EVENT)
        new = fixture.changed_window("the recreated pane")
        if (new.name, new.class_name, new.id) != (pane.name, pane.class_name, pane.id):
            raise Failure(f"the fixture made {new} in place of {pane}")
        if new.handle == pane.handle:
            raise Failure("the recreated pane has the old pane's handle")
        yield {"survival pane": new.handle}

    @contextlib.contextmanager
    def document_opened():
        probe.signal(FIXTURE_RETITLE_EVENT)
        opened = [frameworks.changed_window("a document window's new title")
                  for _ in DOCUMENT_TARGETS]
        if (sorted(w.name for w in opened) != sorted(DOCUMENT_TARGETS)
                or any(w.text != OPENED_TITLE for w in opened)):
            raise Failure(f"the fixture wrote {opened} for the opened document")
        yield {window.name: window.handle for window in opened}

    # One restart serves every framework target.
    @contextlib.contextmanager
    def restarted():
        nonlocal frameworks
        before = frameworks
        before.program.stop()
        frameworks = Fixture(session.programs, probe, args.wine, args.fixture,
                             "--frameworks")
        checks.equal("the restart drew the run-dependent class names anew",
                     [name for name in RUN_DEPENDENT_TARGETS
                      if frameworks[name].class_name == before[name].class_name], [])
        yield {name: frameworks[name].handle for name in FRAMEWORK_TARGETS}

    # And the ways of searching that must find the window after it.
    scenarios = (
        ("before any change", unchanged, SEARCH_WAYS),
        ("another window of its class on top", other_window_on_top, [BY_ID_AND_TITLE]),
        ("a sibling of its class raised above it", sibling_raised, [BY_ID_AND_TITLE]),
        ("a second instance started on top", second_instance, [BY_ID_AND_TITLE]),
        ("the pane recreated with a new handle", pane_recreated, [BY_ID_AND_TITLE]),
        ("a document opened", document_opened, [BY_ID_AND_TITLE]),
        ("the program restarted", restarted, [BY_ID_AND_TITLE]),
    )
    ways = SEARCH_WAYS
    survived = {}
    rows = []
    with CppBuilds(args.cxx, args.wine) as builds:
        cpp_keys = [key for key in codes if key[2] == "C++"]
        cpp_runs = dict(zip(cpp_keys, builds.start_all([codes[key] for key in cpp_keys])))

        def run_code(key):
            if key[2] == "C++":
                return cpp_runs[key]()
            return probe.replay(codes[key])

        def scenario(change_name, change, must_find):
            with change() as wanted:
                found = {
                    (name, way, language): run_code((name, way, language))
                    for name in wanted
                    for way in ways
                    for language in SURVIVAL_LANGUAGES
                }
            for (name, way, language), (handle, error) in found.items():
                row = (change_name if name == "survival pane"
                       else f"{FRAMEWORK_TARGETS[name]}: {change_name}")
                if row not in rows:
                    rows.append(row)
                survived[row, way, language] = handle == wanted[name]
                if way in must_find:
                    checks.check(f"{row}: {way}, the {language} finds the window",
                                 handle == wanted[name],
                                 found_detail(handle, wanted[name], error)
                                 + f"; the code:\n{codes[name, way, language]}")
            for name in wanted:
                for way in ways:
                    checks.equal(f"{name}, {change_name}: {way}, "
                                 "the C++ finds what the Visual Basic finds",
                                 found[name, way, "C++"][0],
                                 found[name, way, "Visual Basic"][0])

        for change_name, change, must_find in scenarios:
            checks.step(change_name, scenario, change_name, change, must_find)

    # The same window gets the same code on every run.
    for name in FRAMEWORK_TARGETS:
        checks.equal(f"{name}: after the restart, the same code as before",
                     winscout.generate_code(frameworks[name].point),
                     codes[name, BY_POSITION, "C++"])

    changes = [row for row in rows if not row.endswith("before any change")]
    table = survival_table(changes, ways, survived)
    print(table, flush=True)
    (args.out / "e2e-survival.txt").write_text(table + "\n")
    pane_changes = [name for name, _, _ in scenarios[1:5]]
    checks.check(
        "by position, the code misses the window after some change",
        not all(survived.get((name, BY_POSITION, "Visual Basic"), True)
                for name in pane_changes),
        table,
    )


def survival_table(changes, ways, survived):
    """Which code found its window after which change, and how often."""
    columns = [(way, language) for way in ways for language in SURVIVAL_LANGUAGES]
    heads = [f"{way.removeprefix('Search ')}, {language}" for way, language in columns]
    first = max(map(len, changes))
    widths = [len(head) for head in heads]

    def row(label, cells):
        cells = (text.ljust(width) for text, width in zip(cells, widths))
        return " | ".join([label.ljust(first), *cells]).rstrip()

    def cell(key):
        return {True: "survived", False: "lost", None: "not run"}[survived.get(key)]

    lines = [row("change", heads), "-+-".join("-" * w for w in [first, *widths])]
    lines += [row(name, [cell((name, *column)) for column in columns])
              for name in changes]
    counts = [
        f"{sum(survived.get((name, *column), False) for name in changes)}"
        f" of {len(changes)}"
        for column in columns
    ]
    return "\n".join([*lines, row("survived", counts)])


# --- the keyboard --------------------------------------------------------------

# Where Tab takes the focus, round the end.
TAB_ORDER = (CODE_ARROW, CODE_BOX, *REPORT_BOXES, START_BUTTON, STOP_BUTTON,
             INSPECTOR_ARROW, API_BUTTON, CODE_BUTTON)


def group_keyboard(session, checks):
    """Tab order, out of the code box too; Ctrl+Z after a drop or a language
    switch replaced what was typed. The keyboard does all but the drop."""
    probe, winscout = session.probe, session.winscout
    control_of = {handle: control for control, handle in winscout.controls.items()}

    def focused():
        return control_of.get(probe.value("focus", winscout.main)[0])

    def walk(key, steps):
        def step(before):
            xdotool("key", key)
            return wait_for(f"{key} to move the focus from {before}", focused, before.__ne__)
        return [step(focused()) for _ in range(steps)]

    give_keyboard_to(TITLE)
    checks.equal("at start the focus is on the code arrow", focused(), CODE_ARROW)

    def tab_order():
        api = TAB_ORDER.index(API_BUTTON)
        checks.equal("narrow: Tab walks to API in tab order", walk("Tab", api),
                     list(TAB_ORDER[1:api + 1]))
        xdotool("key", "space")
        wait_for("API pressed from the keyboard", winscout.client_width_twips,
                 lambda width: width == WIDE_CLIENT_WIDTH_TWIPS)
        around = list(TAB_ORDER[api + 1:] + TAB_ORDER[:api + 1])
        checks.equal("wide: Tab walks every control in tab order, out of the code box "
                     "too", walk("Tab", len(around)), around)
        checks.equal("wide: Shift+Tab walks them backwards",
                     walk("shift+Tab", len(around)), around[-2::-1] + around[-1:])

    checks.step("Tab order", tab_order)
    case = session.fixture.finders[0]
    target, expect = session.fixture[case["target"]], case["expect"]

    def replaced_and_undone(notes, what, replace, replacement):
        # As fast as xdotool types: the keys queue up and go in together.
        xdotool("key", "ctrl+a", "type", "--delay", "1", notes)
        checks.reached(f"typed fast, {notes!r} is in the code box",
                       lambda: winscout.text(CODE_BOX), notes.__eq__)
        replace()
        checks.reached(f"{what} replaces the notes", lambda: winscout.text(CODE_BOX),
                       replacement.__eq__)
        give_keyboard_to(TITLE)
        xdotool("key", "ctrl+z")
        checks.reached(f"Ctrl+Z after {what} gives back the notes",
                       lambda: winscout.text(CODE_BOX), notes.__eq__)

    def choose_cpp():
        xdotool("key", "shift+F10")
        wait_for("the code box's menu", functools.partial(shown_menu, probe))
        # The choices end the menu: from its last item, up to C++.
        ups = len(CODE_MENU) - 1 - CODE_MENU.index("C++")
        xdotool("key", "End", *["key", "Up"] * ups, "key", "Return")

    def undo():
        stops = len(TAB_ORDER)
        walk("Tab", (TAB_ORDER.index(CODE_BOX) - TAB_ORDER.index(focused())) % stops)
        replaced_and_undone("Notes typed by hand: Shift, digits & signs (42 + 7 = 49)!",
                            f"a drop on {target.name}",
                            lambda: drag(winscout.centre(CODE_ARROW), target.point),
                            expect["Visual Basic"])
        replaced_and_undone("Other notes, before the C++: ~{[<>]}?",
                            "C++ chosen from the keyboard", choose_cpp, expect["C++"])

    checks.step("Ctrl+Z after a drop and after a language switch", undo)


# --- figures -----------------------------------------------------------------


def cpu_seconds(pid):
    """User and system CPU time of a process so far."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def wineserver_pid():
    prefix = os.environ.get("WINEPREFIX", "").encode()
    for entry in Path("/proc").iterdir():
        try:
            if not (entry / "comm").read_text().startswith("wineserver"):
                continue
            if b"WINEPREFIX=" + prefix in (entry / "environ").read_bytes().split(b"\0"):
                return int(entry.name)
        except OSError:
            continue
    return None


# One window with one button and winscout.exe's manifest: the floor that
# WinScout's start-up aims to stay within 1.25 times of.
BARE_TITLE = "WinScout E2E bare window"
START_UP_LAUNCHES = 11
SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
               "ole32.dll", "psapi.dll", "shell32.dll", "user32.dll", "uxtheme.dll"}
STRIPPED_SIZE_LIMIT = 200_000


def start_up_figures(args, note):
    """Launches to the first visible window, each round in another order."""
    programs = Programs()
    try:
        probe = Probe(programs, [args.wine, args.probe])
        launched = [
            ("winscout.exe", [args.wine, args.winscout], lambda: probe.top(None, TITLE)),
            ("bare", [args.wine, args.bare], lambda: probe.top(None, BARE_TITLE)),
            ("notepad", [args.wine, "notepad"], lambda: probe.top("Notepad")),
        ]
        times = {name: [] for name, _, _ in launched}
        for _ in range(START_UP_LAUNCHES):
            for name, argv, find in launched:
                started = time.monotonic()
                program, _ = start_window_program(
                    programs, probe, name, argv, find, poll=START_UP_POLL_SECONDS
                )
                times[name].append(time.monotonic() - started)
                # Closing a captioned window costs Wine two seconds without a
                # window manager; these runs end the process instead.
                program.process.kill()
                program.process.wait()
                wait_for(f"the {name} window to go", find, lambda window: window == 0)
            launched = launched[1:] + launched[:1]  # another order next round
    finally:
        programs.stop_all()
    median = {name: statistics.median(seconds) for name, seconds in times.items()}
    fastest = {name: min(seconds) for name, seconds in times.items()}
    for name, seconds in times.items():
        note(f"start-up to visible window, {name}: median {median[name]:.3f} s, fastest "
             f"{fastest[name]:.3f} s (runs: {', '.join(f'{s:.3f}' for s in seconds)})")
    for a, b in (("winscout.exe", "bare"), ("bare", "notepad"), ("winscout.exe", "notepad")):
        note(f"start-up ratio {a} / {b}: medians {median[a] / median[b]:.2f}, fastest "
             f"{fastest[a] / fastest[b]:.2f}")


def typing_rate(probe, edit, title, holding, typed=200):
    """Characters a second that real keys type at the end of an edit box."""
    probe.set_text(edit, ("y" * 58 + "\r\n") * (holding // 60))
    click(probe.rect(edit).centre)
    give_keyboard_to(title)
    xdotool("key", "ctrl+End")
    started = time.monotonic()
    with subprocess.Popen(["xdotool", "type", "--delay", "1", "x" * typed]):
        wait_for("the typed characters", lambda: len(probe.text(edit)),
                 lambda length: length >= holding + typed, seconds=30, poll=0.1)
    return typed / (time.monotonic() - started)


def group_figures(args, checks):
    """Start-up against a bare program and notepad, typing speed, CPU while
    inspecting, size and imports."""
    figures = []

    def note(line):
        figures.append(line)
        print(line, flush=True)

    start_up_figures(args, note)

    with Session(args) as session:
        probe, winscout = session.probe, session.winscout
        notepad = session.start_notepad()
        boxes = {"winscout.exe's code box": (winscout[CODE_BOX], TITLE),
                 "notepad's edit box": (probe.child(notepad, "Edit"), probe.text(notepad))}
        for holding in (0, 30_000):
            for name, (edit, title) in boxes.items():
                rate = typing_rate(probe, edit, title, holding)
                note(f"typing into {name} holding {holding} characters: {rate:.0f} a second")
        for edit, _ in boxes.values():
            probe.set_text(edit, "")  # also unmodified: notepad closes without asking

        pid = winscout.program.process.pid
        server = wineserver_pid()
        window = session.fixture["ids"]
        winscout.widen()
        move(window.point)

        def cpu_per_second(what, seconds=3.0):
            before = cpu_seconds(pid), cpu_seconds(server) if server else 0.0
            started = time.monotonic()
            time.sleep(seconds)  # a measuring period, not a wait for anything
            elapsed = time.monotonic() - started
            after = cpu_seconds(pid), cpu_seconds(server) if server else 0.0
            note(
                f"CPU per second of winscout.exe, {what}: "
                f"{(after[0] - before[0]) / elapsed * 1000:.1f} ms"
                + (
                    f" (wineserver: {(after[1] - before[1]) / elapsed * 1000:.1f} ms)"
                    if server
                    else ""
                )
            )

        cpu_per_second("live inspection off, pointer still")
        click(winscout.centre(START_BUTTON))
        move(window.point)
        winscout.wait_for_report(window)
        cpu_per_second("live inspection on, pointer still")
        click(winscout.centre(STOP_BUTTON))
        storm_figure(session, MessageFixture(session), note)

    size = Path(args.winscout).stat().st_size
    with tempfile.TemporaryDirectory() as scratch:
        stripped = Path(scratch) / "winscout.exe"
        subprocess.run([args.strip, "-o", stripped, args.winscout], check=True)
        stripped_size = stripped.stat().st_size
    note(f"winscout.exe size: {size} bytes, stripped: {stripped_size} bytes")
    hook_size = (Path(args.winscout).parent / HOOK_DLL).stat().st_size
    note(f"{HOOK_DLL} size: {hook_size} bytes")
    checks.check(f"{HOOK_DLL} is below {HOOK_SIZE_LIMIT} bytes", hook_size < HOOK_SIZE_LIMIT,
                 f"{hook_size} bytes")
    checks.check(f"winscout.exe stripped is below {STRIPPED_SIZE_LIMIT} bytes",
                 stripped_size < STRIPPED_SIZE_LIMIT, f"{stripped_size} bytes")
    dump = subprocess.run(
        [args.objdump, "-p", args.winscout], check=True, capture_output=True, text=True
    ).stdout
    dlls = re.findall(r"DLL Name: (\S+)", dump)
    note("winscout.exe imports: " + ", ".join(dlls))
    checks.check("winscout.exe imports DLLs of Windows only",
                 dlls and {dll.lower() for dll in dlls} <= SYSTEM_DLLS,
                 f"imports {dlls}")
    (args.out / "e2e-figures.txt").write_text("\n".join(figures) + "\n")


# --- the release ---------------------------------------------------------------

ABOUT_TITLE = "About WinScout"


def version_texts(exe):
    """The FileVersion and ProductVersion texts of the exe's version resource."""
    data = exe.read_bytes()
    found = [
        re.search(key.encode("utf-16-le") + rb"\0\0(?:\0\0)?((?:[ -~]\0)+)\0\0", data)
        for key in ("FileVersion", "ProductVersion")
    ]
    return [value and value[1].decode("utf-16-le") for value in found]


def open_about(probe):
    """Opens the system menu with Alt+Space and chooses its last item, About."""
    give_keyboard_to(TITLE)
    xdotool("key", "alt+space")
    menu = wait_for("the system menu", lambda: shown_menu(probe))
    # The keys go to the menu once the pointer rests on it; Up from no
    # selection goes to the last item.
    move((probe.rect(menu).left + 2, probe.rect(menu).top + 2))
    xdotool("key", "Up", "key", "Return")
    return wait_for("the About box", lambda: probe.top(MESSAGE_BOX_CLASS, ABOUT_TITLE))


def package_manifest_faults(folder, zip_name, version, sha256):
    """Where the winget and Scoop manifests beside the zip disagree with it."""
    winget = [yaml.safe_load((folder / "winget" / f"WinScout.WinScout{kind}.yaml").read_text())
              for kind in ("", ".installer", ".locale.en-US")]
    scoop = json.loads((folder / "winscout.json").read_text())
    [download] = winget[1]["Installers"]
    rows = (
        ("versions", {m["PackageVersion"] for m in winget} | {scoop["version"]}, {version}),
        ("hashes", (download["InstallerSha256"], scoop["hash"]), (sha256.upper(), sha256)),
        ("downloads", {download["InstallerUrl"].rsplit("/")[-1], scoop["url"].rsplit("/")[-1]},
         {zip_name}),
        ("winget zip", winget[1]["NestedInstallerFiles"],
         [{"RelativeFilePath": "winscout.exe", "PortableCommandAlias": "winscout"}]),
    )
    return [row for row in rows if row[1] != row[2]]


def group_release(args, checks):
    """The zip a Windows user downloads: its checksum, exactly its files, the
    package managers' manifests for it, and the exe in it started under Wine,
    with the version of VERSION."""
    version = (REPO / "VERSION").read_text().strip()
    zip_path = args.release
    if not zip_path.is_file():
        raise Failure(f"no {zip_path}: scripts/release makes it")
    sha256 = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    checks.equal(
        "the .sha256 file holds the zip's SHA-256 and name",
        Path(f"{zip_path}.sha256").read_text(),
        f"{sha256}  {zip_path.name}\n",
    )
    checks.equal("the winget and Scoop manifests: the zip's version, hash and address",
                 package_manifest_faults(zip_path.parent, zip_path.name, version, sha256), [])
    with tempfile.TemporaryDirectory() as folder, zipfile.ZipFile(zip_path) as zip:
        names = sorted(zip.namelist())
        checks.equal("the zip's files", names,
                     ["LICENSE", "README.txt", HOOK_DLL, "winscout.exe"])
        zip.extractall(folder)
        unpacked = Path(folder)
        texts = [(unpacked / name).read_bytes() for name in ("LICENSE", "README.txt")]
        checks.check(
            "LICENSE and README.txt: CR LF lines, the licence, the version",
            all(b"\n" not in text.replace(b"\r\n", b"") for text in texts)
            and texts[0] == (REPO / "LICENSE").read_bytes().replace(b"\n", b"\r\n")
            and texts[1].startswith(f"WinScout {version}\r\n".encode()),
            [text[:60] for text in texts],
        )
        exe = unpacked / "winscout.exe"
        checks.equal("the version resource", version_texts(exe), [version] * 2)
        dll = unpacked / HOOK_DLL
        dump = subprocess.run([args.objdump, "-p", dll], check=True, capture_output=True,
                              text=True).stdout
        checks.check(f"{HOOK_DLL}: 64-bit, below {HOOK_SIZE_LIMIT} bytes, with its three hooks",
                     "pei-x86-64" in dump and dll.stat().st_size < HOOK_SIZE_LIMIT and
                     all(f"WinScout{hook}Hook" in dump
                         for hook in ("GetMessage", "CallWndProc", "CallWndRet")),
                     f"{dll.stat().st_size} bytes")
        programs = Programs()
        try:
            probe = Probe(programs, [args.wine, args.probe])
            winscout = WinScout(programs, probe, [args.wine, str(exe)])
            checks.equal(
                "the exe from the zip shows its window, narrow",
                winscout.client_twips(),
                NARROW_CLIENT_TWIPS,
            )
            text = probe.text(probe.item(open_about(probe), MESSAGE_BOX_TEXT_ID))
            checks.check(
                "About shows the version, the build date and what WinScout does",
                re.fullmatch(
                    rf"WinScout {re.escape(version)}\nBuilt 20\d\d-[01]\d-[0-3]\d\n\n.+",
                    text,
                    re.DOTALL,
                ),
                repr(text),
            )
        finally:
            programs.stop_all()


# --- the Windows window ------------------------------------------------------

WINDOWS_VIEW_CLASS = "WinScoutWindows"
WINDOWS_VIEW_TITLE = "Windows"
FILTER_BOX, WINDOWS_REFRESH, TREE, DETAILS, STATUS_BAR = 201, 202, 203, 204, 205
TVIS_SELECTED, TVIS_CUT = 0x2, 0x4
HANG_EVENT = "WinScoutE2EFixtureHang"
MANY_QUIT_EVENT = "WinScoutE2EManyQuit"
MANY_WINDOWS = 2000
# Big desktops: what the fixture adds to the desktop, started with these words.
BIG_DESKTOPS = (("5000 more top-level windows", ["many", "5000"]),
                ("one window with 5000 children", ["many", "5000", "children"]))
MANY_WINDOWS_SECONDS = 60  # for Wine to make them
READ_SECONDS = 30  # for WinScout to read them
OPEN_LIMIT_SECONDS = 0.5
ANSWER_LIMIT_MS = 500
NULL_ANSWER_LIMIT_MS = 200  # while WinScout reads a big desktop
READING = "Reading windows..."
# No window of the fixture's, nor WinScout's, lies there.
BARE_DESKTOP = (1150, 230)
# How much longer than a plain drag one over the bare desktop may take: far
# below the two seconds that Wine waits for a window manager.
DRAG_SLACK_SECONDS = 1.0


TreeEntry = namedtuple("TreeEntry", "depth state text")


class WindowsView:
    """WinScout's "Windows" window, seen from the probe."""

    def __init__(self, probe):
        self.probe = probe
        # WinScout makes it when it first opens.
        self.window = wait_for("WinScout's Windows window",
                               lambda: probe.top(WINDOWS_VIEW_CLASS, WINDOWS_VIEW_TITLE))
        # The window is found as soon as it is made, its controls a moment later.
        self.controls = wait_for(
            "the Windows window's controls",
            lambda: {id: probe.item(self.window, id) for id in (FILTER_BOX, TREE, DETAILS)},
            lambda controls: all(controls.values()))

    def visible(self):
        return self.probe.visible(self.window)

    def tree(self):
        words = self.probe.ask("tree", self.controls[TREE])[1]
        return [
            TreeEntry(int(words[i]), int(words[i + 1]), from_text(words[i + 2]))
            for i in range(1, 1 + 3 * int(words[0]), 3)
        ]

    def details(self):
        words = self.probe.ask("list", self.controls[DETAILS])[1]
        texts = [from_text(word) for word in words[1:]]
        return dict(zip(texts[0::2], texts[1::2]))

    def focus_on(self, control):
        """Tab until the control has the keyboard focus."""
        give_keyboard_to(WINDOWS_VIEW_TITLE)
        for _ in range(5):
            if self.probe.value("focus", self.window)[0] == self.controls[control]:
                return
            xdotool("key", "Tab")
        raise Failure(f"Tab does not reach control {control}")


def hex_handle(handle):
    return f"0x{handle & 0xFFFFFFFF:08X}"


def open_windows_view(probe):
    """F2 in WinScout's window; the Windows window, once it shows its tree."""
    give_keyboard_to(TITLE)
    xdotool("key", "F2")
    view = WindowsView(probe)
    wait_for("the Windows window shown", view.visible)
    return view


def timed_drag(winscout, via, target):
    """Seconds from pressing the code arrow to the code in the box, the pointer
    passing over `via` (where the outline must show) on its way to `target`."""
    probe = winscout.probe
    outline = probe.top(OUTLINE_CLASS)
    probe.set_text(winscout[CODE_BOX], "")
    started = time.monotonic()
    xdotool("mousemove", *winscout.centre(CODE_ARROW), "mousedown", 1)
    try:
        for point in via:
            move(point)
            wait_for(f"the outline at {point}", lambda: probe.visible(outline))
        move(target)
    finally:
        xdotool("mouseup", 1)
    wait_for("code in the code box", lambda: winscout.text(CODE_BOX))
    return time.monotonic() - started


def group_windows(session, checks):
    """The Windows window: the tree, the details, picks from it, the hot key and
    disabled controls; the figures for a desktop of many windows and for drags
    over the bare desktop."""
    probe, fixture, winscout = session.probe, session.fixture, session.winscout
    args = session.args

    def start_many(words):
        many = session.programs.start(f"fixture {' '.join(words)}",
                                      [args.wine, args.fixture, *words], stdout=subprocess.PIPE)
        many.ask_to_end = lambda: probe.signal(MANY_QUIT_EVENT)
        return many

    # Making them takes Wine a while: the checks that need no Windows window go
    # on meanwhile.
    many = start_many(["many", str(MANY_WINDOWS)])

    def many_windows():
        LineReader(many.process.stdout, "the fixture of many windows").line(
            "its ready line", MANY_WINDOWS_SECONDS)
        # Made when it first opens, or hidden since; it shows once its tree
        # is filled.
        def shown():
            window = probe.top(WINDOWS_VIEW_CLASS, WINDOWS_VIEW_TITLE)
            return window and probe.visible(window)

        give_keyboard_to(TITLE)
        started = time.monotonic()
        xdotool("key", "F2")
        wait_for("the Windows window", shown, poll=START_UP_POLL_SECONDS)
        took = time.monotonic() - started
        view = WindowsView(probe)
        processes = [entry.text for entry in view.tree() if entry.depth == 0]
        print(f"opening the Windows window with {MANY_WINDOWS} more top-level windows: "
             f"{took:.3f} s, {len(processes)} processes", flush=True)
        checks.check(f"the Windows window shows its tree within {OPEN_LIMIT_SECONDS} s on a "
                     f"desktop of {MANY_WINDOWS} more windows",
                     took <= OPEN_LIMIT_SECONDS and len(processes) >= 3,
                     f"{took:.3f} s, processes {processes}")
        probe.close(view.window)
        many.stop()

    def big_desktop(desktop, many):
        """A filter and Refresh read the big desktop in the background: WM_NULL is
        answered throughout; the results' time against the probe's plain walk."""
        LineReader(many.process.stdout, desktop).line("its ready line", MANY_WINDOWS_SECONDS)
        view = open_windows_view(probe)
        status, box = probe.item(view.window, STATUS_BAR), view.controls[FILTER_BOX]
        xdotool("key", "F5")
        wait_for("both fixtures in the tree", view.tree, lambda tree: sum(
            e.text.startswith("winscout_e2e_fixture") for e in tree) == 2)
        walked, walk_ms = probe.value("walk")
        target = hex_handle(fixture["live edit"].handle)

        def timed(action):  # the status line says meanwhile that reading goes on
            started = time.monotonic()
            action()
            wait_for("the status line to say that reading goes on", lambda: probe.text(status),
                     lambda text: text.startswith(READING))
            wait_for("the results", lambda: probe.text(status),
                     lambda text: not text.startswith(READING), READ_SECONDS)
            return time.monotonic() - started

        pinger, answers, done = Probe(session.programs, [args.wine, args.probe]), [], []

        def ping():
            while not done:
                answers.append(pinger.value("ping", view.window)[0])
                time.sleep(0.01)

        pinging = threading.Thread(target=ping)
        pinging.start()
        try:
            took = [timed(lambda: probe.set_text(box, target)), timed(lambda: xdotool("key", "F5"))]
        finally:
            done.append(True)
            pinging.join()
        checks.equal(f"{desktop}: the filter finds the window",
                     sum(e.text.startswith(target) for e in view.tree()), 1)
        checks.check(f"{desktop}: WM_NULL answered within {NULL_ANSWER_LIMIT_MS} ms throughout",
                     answers and -1 not in answers and max(answers) <= NULL_ANSWER_LIMIT_MS,
                     f"{len(answers)} answers, slowest {max(answers, default=0)} ms")
        print(f"{desktop}: the filter's results complete in {took[0]:.2f} s, after Refresh in "
              f"{took[1]:.2f} s; the probe's plain walk of the same {walked} windows "
              f"{walk_ms / 1000:.2f} s (ratio {took[0] * 1000 / walk_ms:.1f}); WM_NULL "
              f"answered {len(answers)} times, within {max(answers, default=0)} ms", flush=True)
        probe.set_text(box, "")
        probe.close(view.window)

    def drags():
        target = fixture["id 40000"].point
        plain = timed_drag(winscout, (), target)
        over_desktop = timed_drag(winscout, (BARE_DESKTOP,), target)
        after = timed_drag(winscout, (), target)
        print(f"drag onto a window: {plain:.3f} s; first over the bare desktop: "
             f"{over_desktop:.3f} s; the next plain drag: {after:.3f} s", flush=True)
        for name, seconds in (("over the bare desktop", over_desktop),
                              ("after one over the bare desktop", after)):
            checks.check(f"a drag {name} takes no longer than a plain one",
                         seconds <= plain + DRAG_SLACK_SECONDS,
                         f"{seconds:.3f} s against {plain:.3f} s")

    checks.step("drags over the bare desktop", drags)

    disabled = fixture["disabled button"]
    check_finder_code(checks, session, "dropped onto a disabled button", disabled.point,
                      disabled.handle)

    def hot_key():
        window = fixture["row 3"]
        move(window.point)
        xdotool("key", "ctrl+shift+F11")
        checks.reached("Ctrl+Shift+F11 picks the window under the pointer, no button down",
                       lambda: winscout.text(HANDLE_BOX), str(window.handle).__eq__)
        check_code_finds(checks, probe, "the hot key's code finds the window",
                         winscout.text(CODE_BOX), window.handle)

    checks.step("the hot key", hot_key)
    checks.step("a desktop of many windows", many_windows)
    for desktop, words in BIG_DESKTOPS:
        many = start_many(words)
        try:
            checks.step(desktop, big_desktop, desktop, many)
        finally:
            many.stop()

    view = open_windows_view(probe)
    xdotool("key", "F5")
    checks.reached("F5 reads the desktop again: the many windows are gone",
                   lambda: [e.text for e in view.tree() if e.text.startswith("winscout_e2e_fixture")],
                   lambda texts: len(texts) == 1)

    def pick_from_tree(window, dimmed):
        """Filters the tree to the window's handle and selects it by keyboard."""
        probe.set_text(view.controls[FILTER_BOX], hex_handle(window.handle))
        wait_for(f"{window.name} in the filtered tree",
                 lambda: view.tree()[-1:], lambda last: last and last[0].text.startswith(
                     hex_handle(window.handle)))
        view.focus_on(TREE)
        # The match is selected as the filter is typed; Enter picks it.
        xdotool("key", "End", "key", "Return")
        checks.reached(f"{window.name}: selected in the tree, it is picked",
                       lambda: winscout.text(HANDLE_BOX), str(window.handle).__eq__)
        entry = view.tree()[-1]
        checks.equal(f"{window.name}: selected and {'dimmed' if dimmed else 'not dimmed'}",
                     (bool(entry.state & TVIS_SELECTED), bool(entry.state & TVIS_CUT)),
                     (True, dimmed))
        check_code_finds(checks, probe, f"{window.name}: the code finds it",
                         wait_for("code", lambda: winscout.text(CODE_BOX)), window.handle)

    for name, dimmed in (("disabled button", True), ("zero size", True),
                         ("hidden", True), ("live edit", False)):
        checks.step(f"{name} in the tree", pick_from_tree, fixture[name], dimmed)

    def pasted_into_filter(name, copied):
        view.focus_on(FILTER_BOX)
        probe.set_text(view.controls[FILTER_BOX], "")
        xdotool("key", "ctrl+v")
        checks.reached(f"{name}: pasted, the clipboard holds {copied!r}",
                       lambda: probe.text(view.controls[FILTER_BOX]), copied.__eq__)

    def details():
        edit = fixture["live edit"]
        shown = wait_for("the edit's details", view.details,
                         lambda d: d.get("Handle", "").startswith(hex_handle(edit.handle)))
        checks.equal("the details: process, image, live text and class",
                     [shown.get(name) for name in ("Process ID", "Image path", "Text", "Class")],
                     [str(fixture.process_id), fixture.module, "live contents", "Edit"])
        checks.check("the report's text line does not show the live text",
                     "live contents" not in winscout.text(REPORT_BOXES[2]),
                     winscout.text(REPORT_BOXES[2]))
        xdotool("key", "Menu")
        menu = wait_for("the tree's context menu", lambda: shown_menu(probe))
        move((probe.rect(menu).left + 2, probe.rect(menu).top + 2))
        xdotool("key", "Down", "key", "Return")
        pasted_into_filter("the context menu key, Copy Handle", str(edit.handle))
        view.focus_on(DETAILS)
        xdotool("key", "Home", "key", "Down", "key", "Down", "key", "Down", "key", "ctrl+c")
        pasted_into_filter("Ctrl+C on the details' Text line", "Text: live contents")
        # Without the filter the tree stays open down to the edit.
        probe.set_text(view.controls[FILTER_BOX], "")
        wait_for("the whole tree", view.tree, lambda tree: len(tree) > 5)
        save_screenshot(probe.rect(view.window), args.out / "e2e-windows.png")

    checks.step("the edit's details", details)

    def hung():
        window = fixture["hung"]
        probe.signal(HANG_EVENT)
        pick_from_tree(window, False)
        slowest = 0
        end = time.monotonic() + 3
        shown = {}
        while time.monotonic() < end:
            asked = time.monotonic()
            winscout.text(CODE_BOX)
            slowest = max(slowest, round((time.monotonic() - asked) * 1000))
            shown = view.details()
        checks.equal("a hung window's text: (not responding)", shown.get("Text"),
                     "(not responding)")
        print(f"WinScout's slowest answer while a hung window is shown: {slowest} ms",
              flush=True)
        checks.check(f"WinScout answers within {ANSWER_LIMIT_MS} ms throughout",
                     slowest < ANSWER_LIMIT_MS, f"{slowest} ms")

    checks.step("a hung window", hung)

    def drop_selects():
        probe.set_text(view.controls[FILTER_BOX], "")
        window = fixture["row 3"]
        winscout.generate_code(window.point)
        checks.reached("after a drop the open tree selects the window",
                       lambda: [e.text[:10] for e in view.tree() if e.state & TVIS_SELECTED],
                       [hex_handle(window.handle)].__eq__)

    checks.step("a drop while the tree is open", drop_selects)

    def hot_key_on_a_menu():
        # A menu closes at a button press: only the hot key picks it.
        give_keyboard_to(NOTEPAD_TITLE)
        xdotool("key", "alt+f")
        menu = wait_for("Notepad's File menu", lambda: shown_menu(probe))
        try:
            move(probe.rect(menu).centre)
            xdotool("key", "ctrl+shift+F11")
            checks.reached("Ctrl+Shift+F11 picks an open menu", lambda: winscout.text(HANDLE_BOX),
                           str(menu).__eq__)
        finally:
            xdotool("key", "Escape", "key", "Escape")

    session.start_notepad()
    checks.step("the hot key on a menu", hot_key_on_a_menu)


# --- actions -----------------------------------------------------------------

MODAL_TITLE = "Modal"
ACTIONS_HANG_EVENT = "WinScoutE2EActionsHang"
BN_CLICKED, SELCHANGE = 0, 1  # CBN_SELCHANGE and LBN_SELCHANGE are both 1
ANSWER_TIMEOUT_SECONDS = 2  # what the code and Try it wait for an answer
TEXT_LIMIT, TEXT_CUT = 131072, "\r\n(cut: WinScout reads 131072 characters at most)"
HUNG_RUN_LIMIT_SECONDS = 6  # a program reading a hung window, start-up included
# The actions the menu offers for each of the fixture's controls, in order.
ACTIONS_OFFERED = {
    "push button": ("Find only", "Click it", "Read its text", "Close it"),
    "check box": ("Find only", "Check it", "Uncheck it", "Read its text", "Close it"),
    "edit": ("Find only", "Set its text", "Read its text", "Close it"),
    "multi-line edit": ("Find only", "Set its text", "Read its text", "Close it"),
    "combo box": ("Find only", "Choose an item", "Read its items", "Read its text",
                  "Close it"),
    "list box": ("Find only", "Choose an item", "Read its items", "Read its text",
                 "Close it"),
    "list view": ("Find only", "Read its items", "Read its text", "Close it"),
    "tree view": ("Find only", "Read its items", "Read its text", "Close it"),
    "hung": ("Find only", "Read its text", "Close it"),
}
ACTIONS_OFFERED["late button"] = ACTIONS_OFFERED["push button"]
WAIT_ITEM = "Wait for it"
LIST_ITEMS = ["Alpha", "Item text one", "Omega \u03a9"]
LIST_VIEW_ROWS = [["one", "1"], ["two \u03a9", "2"], ["three", ""]]
TREE_ITEMS = ["Root", "Leaf \u03a9", "Other"]

# One row a control and action: what the C++ program shows when it has run
# (the variable it prints), and what must come of it: the notification the
# fixture's window hears (control ID, code), a text the control then holds,
# or the lines the program prints (UTF-16 in hex, a row's columns apart by
# commas). A late control waits: it is closed before the program runs and
# comes back 1.5 s later. A way switches the search way after the action.
ACTION_CASES = (
    ("late button", "Click it", "", {"heard": (10, BN_CLICKED), "late": True}),
    ("push button", "Click it", "", {"heard": (1, BN_CLICKED)}),
    ("check box", "Check it", "", {"heard": (2, BN_CLICKED)}),
    ("combo box", "Choose an item", "", {"heard": (6, SELCHANGE)}),
    ("list box", "Choose an item", "", {"heard": (7, SELCHANGE)}),
    ("edit", "Set its text", "", {"holds": "New text"}),
    ("multi-line edit", "Read its text", "Print(text);", {"prints": [["line one\r\nline two"]]}),
    ("combo box", "Read its items", "Print(items);", {"prints": [[i] for i in LIST_ITEMS]}),
    ("list view", "Read its items", "Print(items);", {"prints": LIST_VIEW_ROWS}),
    ("tree view", "Read its items", "Print(items);", {"prints": [[i] for i in TREE_ITEMS]}),
    ("check box", "Uncheck it", "", {"heard": (2, BN_CLICKED), "way": SEARCH_WAYS[1]}),
)

ACTION_PROGRAM = """#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

inline void Print(const std::wstring& text, char end = '\\n') {{
  for (wchar_t c : text) std::printf("%04x", static_cast<unsigned>(c));
  std::printf("%c", end);
}}
inline void Print(const std::vector<std::wstring>& items) {{
  for (const std::wstring& item : items) Print(item);
}}
inline void Print(const std::vector<std::vector<std::wstring>>& rows) {{
  for (const auto& row : rows) {{
    for (std::size_t i = 0; i < row.size(); ++i) Print(row[i], i + 1 < row.size() ? ',' : '\\n');
  }}
}}

int main() {{
{code}
{show}
  return 0;
}}
"""


def printed_rows(output):
    """The rows a program printed, each a list of texts."""
    return [[bytes.fromhex(cell).decode("utf-16-be") for cell in line.split(",")]
            for line in output.splitlines()]


def choose_action(session, offered, action):
    """Picks the action from the code box's Action submenu with the keys."""
    probe, winscout = session.probe, session.winscout
    click(winscout.centre(CODE_BOX), 3)
    menu_shown = functools.partial(shown_menu, probe)
    wait_for("the code box's menu", menu_shown)
    # Up from no selection reaches the last item, Try it; one more, the submenu.
    keys = ["Up", "Up", "Right", *["Down"] * offered.index(action), "Return"]
    for key in keys:
        xdotool("key", key)
        time.sleep(0.05)
    wait_for("the menu to close", menu_shown, lambda menu: menu == 0)


def try_it(session):
    """Chooses Try it; the text of the message it shows, which it then closes."""
    probe, winscout = session.probe, session.winscout
    click(winscout.centre(CODE_BOX), 3)
    menu_shown = functools.partial(shown_menu, probe)
    wait_for("the code box's menu", menu_shown)
    xdotool("key", "Up", "key", "Return")
    box = wait_for("Try it's message", lambda: probe.top(MESSAGE_BOX_CLASS, TRY_IT))
    text = probe.text(probe.item(box, MESSAGE_BOX_TEXT_ID))
    probe.close(box)
    wait_for("Try it's message to close", lambda: probe.top(MESSAGE_BOX_CLASS, TRY_IT),
             lambda found: not found)
    return text


def heard(actions, wanted, seconds=WAIT_SECONDS):
    """Reads the fixture's notification lines until the wanted one comes."""
    end = time.monotonic() + seconds
    try:
        while time.monotonic() < end:
            entry = json.loads(actions.lines.line("a notification", end - time.monotonic()))
            if entry.get("kind") == "notification" and (entry["id"], entry["code"]) == wanted:
                return True
    except Failure:
        pass
    return False


def close_modal(probe):
    """The fixture's modal dialog, open from a click, closed again."""
    modal = wait_for("the modal dialog", lambda: probe.top(MESSAGE_BOX_CLASS, MODAL_TITLE))
    probe.close(modal)
    wait_for("the modal dialog to close", lambda: probe.top(MESSAGE_BOX_CLASS, MODAL_TITLE),
             lambda found: not found)


def build_action(cxx, directory, number, code, show):
    source = directory / f"action{number}.cpp"
    program = directory / f"action{number}.exe"
    source.write_bytes(ACTION_PROGRAM.format(code=code, show=show).encode())
    build = subprocess.Popen(
        [cxx, "-std=c++20", "-Wall", "-Werror", "-static", "-o", program, source],
        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return program, build


def run_action(wine, program, build):
    """Builds, runs: (what it printed, seconds it ran), or a fault."""
    messages = build.communicate(timeout=COMPILE_SECONDS)[0].decode()
    if build.returncode != 0:
        return None, 0, f"it does not compile:\n{messages[:3000]}"
    start = time.monotonic()
    try:
        run = subprocess.run([wine, program], capture_output=True, timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        return None, WAIT_SECONDS, "it does not end"
    seconds = time.monotonic() - start
    if run.returncode != 0:
        return None, seconds, f"it ends with {run.returncode}"
    return run.stdout.decode(), seconds, None


def group_actions(session, checks):
    """Actions on one control of each kind: the C++ that WinScout writes for
    them, built and run under Wine, and Try it; a hung target holds neither."""
    probe, winscout, args = session.probe, session.winscout, session.args
    actions = Fixture(session.programs, probe, args.wine, args.fixture, "--actions")
    choose_from_code_menu(session, checks, DEFAULT_MARKS, "C++")
    directory = Path(tempfile.mkdtemp(prefix="winscout-actions-"))
    builds = []
    try:
        for number, (control, action, show, effect) in enumerate(ACTION_CASES):
            window = actions[control]
            found_only = winscout.generate_code(window.point)
            choose_action(session, ACTIONS_OFFERED[control], action)
            code = wait_for(f"{action} on the {control} in the code box",
                            lambda: winscout.text(CODE_BOX), lambda text: text != found_only)
            if "late" in effect:
                choose_action(session, (*ACTIONS_OFFERED[control], WAIT_ITEM), WAIT_ITEM)
            if "way" in effect:
                choose_from_code_menu(session, checks, ("C++", BY_POSITION), effect["way"])
            if "late" in effect or "way" in effect:
                code = wait_for("the code changed", lambda: winscout.text(CODE_BOX),
                                lambda text, before=code: text != before)
            if "way" in effect:
                checks.check(f"{control}: the search takes the ID", "GetDlgItem(" in code, code)
            builds.append(build_action(args.cxx, directory, number, code, show))
        for (control, action, show, effect), (program, build) in zip(ACTION_CASES, builds):
            name = f"{action} on the {control}, C++ built and run"
            if "late" in effect:
                name = f"{WAIT_ITEM}: {name} while the {control} is away"
                probe.close(actions[control].handle)
                wait_for(f"the {control} to go", lambda: probe.item(
                    actions["actions"].handle, effect["heard"][0]), lambda found: not found)
            printed, seconds, fault = run_action(args.wine, program, build)
            if not checks.check(f"{name}: it ends", fault is None, fault):
                continue
            if "heard" in effect:
                checks.check(f"{name}: the window hears {effect['heard']}",
                             heard(actions, effect["heard"]), printed)
            if "holds" in effect:
                checks.reached(f"{name}: the control holds {effect['holds']!r}",
                               lambda: probe.text(actions[control].handle),
                               effect["holds"].__eq__)
            if "prints" in effect:
                checks.equal(f"{name}: what it reads", printed_rows(printed),
                             effect["prints"])
            if control == "push button":
                checks.step("the click's modal dialog, closed", close_modal, probe)
    finally:
        for _, build in builds:
            if build.poll() is None:
                build.kill()
        shutil.rmtree(directory, ignore_errors=True)

    def tried(control, action, wanted, heard_wanted=None):
        winscout.generate_code(actions[control].point)
        choose_action(session, ACTIONS_OFFERED[control], action)
        checks.equal(f"Try it, {action} on the {control}: the message", try_it(session),
                     wanted)
        if heard_wanted:
            checks.check(f"Try it, {action} on the {control}: the window hears it",
                         heard(actions, heard_wanted))

    checks.step("Try it on the push button", tried, "push button", "Click it", "Clicked.",
                (1, BN_CLICKED))
    checks.step("the modal dialog of Try it's click, closed", close_modal, probe)
    checks.step("Try it on the combo box", tried, "combo box", "Choose an item", "Chosen.",
                (6, SELCHANGE))
    checks.step("Try it on the list view", tried, "list view", "Read its items",
                "\r\n".join("\t".join(row) for row in LIST_VIEW_ROWS))

    def hung():
        winscout.generate_code(actions["hung"].point)
        choose_action(session, ACTIONS_OFFERED["hung"], "Read its text")
        code = winscout.text(CODE_BOX)
        program, build = build_action(args.cxx, Path(tempfile.mkdtemp()), 0, code,
                                      "Print(text);")
        build.wait(timeout=COMPILE_SECONDS)
        probe.signal(ACTIONS_HANG_EVENT)
        time.sleep(0.2)
        printed, seconds, fault = run_action(args.wine, program, build)
        checks.check("a hung window: the C++ Read its text ends within its time limit",
                     fault is None and seconds < HUNG_RUN_LIMIT_SECONDS and printed.strip() == "",
                     f"{fault or ''} after {seconds:.1f} s, printing {printed!r}")
        start = time.monotonic()
        message = try_it(session)
        seconds = time.monotonic() - start
        checks.equal("a hung window: Try it says it did not answer", message,
                     "The window did not answer.")
        checks.check("a hung window: Try it does not hold WinScout",
                     seconds < ANSWER_TIMEOUT_SECONDS + 3, f"{seconds:.1f} s")
        shutil.rmtree(program.parent, ignore_errors=True)

    checks.step("a hung target", hung)

    def hostile():
        """A list box that answers absurd lengths and counts: its details show, and
        Try it reads up to the limits and says where it cut."""
        window = actions["hostile list"]
        winscout.generate_code(window.point)
        view = open_windows_view(probe)
        checks.reached("a hostile window: the Windows window shows its details",
                       lambda: view.details().get("Class"), "ListBox".__eq__)
        probe.close(view.window)
        choose_action(session, ACTIONS_OFFERED["list box"], "Read its text")
        text = try_it(session)
        checks.check("a hostile window: Try it reads its text up to the limit and says so",
                     text == "x" * TEXT_LIMIT + TEXT_CUT, f"{len(text)} characters")
        choose_action(session, ACTIONS_OFFERED["list box"], "Read its items")
        checks.equal("a hostile window: Try it reads no item it cannot read",
                     try_it(session), "")

    checks.step("a hostile target", hostile)

    def notepad():
        """A program no one here wrote: its text set, and read back, by Try it."""
        window = session.start_notepad()
        edit = probe.child(window, "Edit")
        offered = ACTIONS_OFFERED["edit"]
        winscout.generate_code(probe.rect(edit).centre)
        choose_action(session, offered, "Set its text")
        checks.equal("Try it on notepad: Set its text", try_it(session), "Text set.")
        checks.reached("notepad holds the new text", lambda: probe.text(edit),
                       "New text".__eq__)
        choose_action(session, offered, "Read its text")
        checks.equal("Try it on notepad: Read its text", try_it(session), "New text")

    checks.step("Try it on notepad", notepad)


# --- the Messages window -------------------------------------------------------

MESSAGES_VIEW_CLASS = "WinScoutMessages"
MESSAGE_FILTER, MESSAGE_CHILDREN, MESSAGE_PAUSE, MESSAGE_CLEAR, MESSAGE_SAVE = 301, 303, 305, 306, 308
MESSAGE_LIST, MESSAGE_STATUS = 309, 310
MESSAGES_QUIT_EVENT = "WinScoutE2EMessagesQuit"
MESSAGES_STORM_EVENT = "WinScoutE2EMessagesStorm"
MESSAGES_HANG_EVENT = "WinScoutE2EMessagesHang"
MESSAGES_HANG_SECONDS = 3
STORM_MESSAGES = 100_000
STORM_SECONDS = 60
STORM_ANSWER_LIMIT_MS = 200
HOOK_DLL = "winscout-hook.dll"
HOOK_SIZE_LIMIT = 32 * 1024
RUN_COMMAND = 40001  # the message fixture's Command > Run
SAVE_TITLE = "Save As"  # the system's dialog
LogLine = namedtuple("LogLine", "time kind window window_class message parameters")


class MessageFixture:
    """The program whose messages are logged (message_fixture.cpp)."""

    def __init__(self, session):
        probe = session.probe
        self.program = session.programs.start(
            "message fixture", [session.args.wine, session.args.message_fixture],
            stdout=subprocess.PIPE)
        self.program.ask_to_end = lambda: probe.signal(MESSAGES_QUIT_EVENT)
        self.lines = LineReader(self.program.process.stdout, "the message fixture")
        self.windows = {}
        while (entry := json.loads(self.lines.line("its manifest")))["kind"] != "ready":
            self.windows[entry["name"]] = entry

    def __getitem__(self, name):
        return self.windows[name]

    def storm_rate(self, probe):
        """Messages a second that the fixture handles in a storm."""
        probe.signal(MESSAGES_STORM_EVENT)
        entry = json.loads(self.lines.line("the storm's end", STORM_SECONDS))
        return entry["messages"] / entry["seconds"]


class MessagesView:
    """WinScout's Messages window, seen from the probe."""

    def __init__(self, probe):
        self.probe = probe
        self.window = wait_for("WinScout's Messages window",
                               lambda: probe.top(MESSAGES_VIEW_CLASS, None))
        wait_for("the Messages window shown", lambda: probe.visible(self.window))
        self.controls = {id: probe.item(self.window, id)
                         for id in (MESSAGE_FILTER, MESSAGE_CHILDREN, MESSAGE_PAUSE,
                                    MESSAGE_CLEAR, MESSAGE_SAVE, MESSAGE_LIST, MESSAGE_STATUS)}

    def lines(self):
        words = self.probe.ask("rows", self.controls[MESSAGE_LIST])[1]
        texts = [from_text(word) for word in words[1:]]
        return [LogLine(*texts[i:i + 6]) for i in range(0, len(texts), 6)]

    def status(self):
        return self.probe.text(self.controls[MESSAGE_STATUS])

    def counts(self):
        """(messages, shown, dropped) of the status line."""
        # Read while it changes, the text may come cut (its length was asked
        # first): read again.
        pattern = r"(\d+) messages, (\d+) shown(?:, (\d+) dropped)?(?:, paused)?"
        status = wait_for("a whole status line", self.status,
                          lambda status: re.fullmatch(pattern, status))
        found = re.fullmatch(pattern, status)
        return int(found[1]), int(found[2]), int(found[3] or 0)

    def press(self, control):
        click(self.probe.rect(self.controls[control]).centre)


def open_message_log(session, window):
    """Picks the window with the code arrow and opens its log with F3."""
    session.winscout.generate_code(window)
    give_keyboard_to(TITLE)
    xdotool("key", "F3")
    return MessagesView(session.probe)


def slowest_answer_ms(winscout, seconds, until=lambda: False):
    """The longest WinScout takes to answer, asked over and over."""
    slowest = 0
    end = time.monotonic() + seconds
    while time.monotonic() < end and not until():
        asked = time.monotonic()
        winscout.text(CODE_BOX)
        slowest = max(slowest, round((time.monotonic() - asked) * 1000))
    return slowest


def storm_figure(session, target, note):
    """The fixture's rate in a storm without the log and with it."""
    probe = session.probe
    plain = target.storm_rate(probe)
    open_message_log(session, (target["frame"]["x"], target["frame"]["y"]))
    logged = target.storm_rate(probe)
    note(f"a storm of {STORM_MESSAGES} posted messages: the target handles {plain:.0f} a second "
         f"without the log, {logged:.0f} a second with it")


def group_messages(session, checks):
    """The Messages window on real input: the log's lines, the CSV, the code
    that repeats a line, menus with their IDs, a storm, a hung target and
    WinScout killed while it logs. The code is built while the checks go on."""
    with CppBuilds(session.args.cxx, session.args.wine) as builds:
        message_checks(session, checks, builds)


def message_checks(session, checks, builds):
    probe, winscout, args = session.probe, session.winscout, session.args
    built = {}  # what runs the built code, by the window it is for
    target = MessageFixture(session)
    frame, button, edit = target["frame"], target["button"], target["edit"]
    view = open_message_log(session, (frame["x"], frame["y"]))
    wait_for("the log to start", view.status, lambda status: "messages" in status)

    def real_input():
        view.press(MESSAGE_CHILDREN)  # the edit's WM_CHARs come to the edit
        click((button["x"], button["y"]))
        click((edit["x"], edit["y"]))
        give_keyboard_to("Messages fixture")
        xdotool("type", "--delay", "50", "ab")
        xdotool("key", "alt+c")
        wait_for("the Command menu", lambda: shown_menu(probe))
        xdotool("key", "r")
        wait_for("the menu closed", lambda: not shown_menu(probe))
        checks.reached("the fixture ran the command and counted the click",
                       lambda: probe.text(target["counts"]["handle"]), "runs 1 clicks 1".__eq__)
        probe.set_text(view.controls[MESSAGE_FILTER], "WM_COMMAND WM_CHAR")
        lines = wait_for("the menu's WM_COMMAND in the log", view.lines,
                         lambda lines: any("menu, ID" in line.parameters for line in lines))
        seen = [(line.kind, line.message, line.window, line.parameters) for line in lines]
        hex_of = lambda entry: hex_handle(entry["handle"])
        wanted = [
            ("sent", "WM_COMMAND", hex_of(frame),
             f"ID {button['id']}, BN_CLICKED, control {hex_of(button)}"),
            ("posted", "WM_CHAR", hex_of(edit), "'a' U+0061, repeat 1"),
            ("posted", "WM_CHAR", hex_of(edit), "'b' U+0062, repeat 1"),
            ("posted", "WM_COMMAND", hex_of(frame), f"menu, ID {RUN_COMMAND}"),
        ]
        rest = iter(seen)
        checks.check("the log: the click's WM_COMMAND, the WM_CHARs, the menu's WM_COMMAND, "
                     "in order, with their kinds",
                     all(entry in rest for entry in wanted), f"{wanted} not in order in {seen}")
        checks.check("a sent WM_COMMAND is followed by its return",
                     any(a[:3] == ("sent", "WM_COMMAND", hex_of(frame)) and
                         b[:2] == ("returned", "WM_COMMAND") for a, b in zip(seen, seen[1:])),
                     seen)
        return lines

    lines = real_input()

    def save_csv():
        path = args.out / "e2e-messages.csv"
        path.unlink(missing_ok=True)
        view.press(MESSAGE_SAVE)
        wait_for("the Save dialog", lambda: probe.top(MESSAGE_BOX_CLASS, SAVE_TITLE))

        def focused():
            # X may not have mapped the dialog's window yet.
            try:
                give_keyboard_to(SAVE_TITLE)
            except (Failure, subprocess.CalledProcessError):
                return False
            return True

        wait_for("the keyboard on the Save dialog", focused)
        xdotool("key", "ctrl+a", "type", "Z:" + str(path).replace("/", "\\"))
        xdotool("key", "Return")
        wait_for("the CSV file", path.exists)
        rows = wait_for("the whole CSV", lambda: path.read_bytes().decode("utf-8-sig"),
                        lambda text: text.endswith("\r\n"))
        import csv
        table = list(csv.reader(rows.splitlines()))
        checks.equal("Save as CSV: a header and the lines shown, decoded columns included",
                     [tuple(row[:6]) for row in table[1:]], [tuple(line) for line in lines])
        checks.equal("the CSV's header", table[0][:6],
                     ["Time (ms)", "Kind", "Window", "Class", "Message", "Parameters"])

    checks.step("Save as CSV", save_csv)

    def runs():
        """How often the fixture ran its command, once it answers again."""

        def answer():
            try:
                return probe.text(target["counts"]["handle"])
            except Failure:  # still hung
                return None

        return int(wait_for("the fixture to answer", answer).split()[1])

    def code_from_the_menu_line():
        choose_from_code_menu(session, checks, DEFAULT_MARKS, "C++")
        row = next(i for i, line in enumerate(lines) if "menu, ID" in line.parameters)
        list_rect = probe.rect(view.controls[MESSAGE_LIST])
        give_keyboard_to(probe.text(view.window))
        click((list_rect.left + 40, list_rect.top + 30))  # the first row, below the header
        xdotool("key", "Home", *["Down"] * row, "key", "shift+F10")
        wait_for("the log's context menu", lambda: shown_menu(probe))
        xdotool("key", "w")
        code = wait_for("the code that sends the command", lambda: winscout.text(CODE_BOX),
                        lambda code: "PostMessageW(" in code)
        checks.check("Write code that sends it: the menu's WM_COMMAND with its ID, posted",
                     re.search(rf"^PostMessageW\(hwnd\w+, 0x111, 0x{RUN_COMMAND:X}, 0\);$", code,
                               re.MULTILINE), code)
        built["fixture"] = builds.start(code)
        ran = runs()
        checks.equal("Try it on the menu line: posted", try_it(session), "Posted.")
        checks.reached("Try it on the menu line: the fixture runs its command again", runs,
                       lambda count: count == ran + 1)

    checks.step("code from a logged line", code_from_the_menu_line)

    def menus():
        windows = open_windows_view(probe)

        def menu_of(window):
            """The tree below the window, its Menu branch opened all the way."""
            probe.set_text(windows.controls[FILTER_BOX], hex_handle(window))
            wait_for("the window in the filtered tree", windows.tree, lambda tree: tree and any(
                entry.text.startswith(hex_handle(window)) for entry in tree))
            # A click gives the tree the keyboard, whichever window had it.
            tree_rect = probe.rect(windows.controls[TREE])
            click((tree_rect.left + 30, tree_rect.top + 10))
            xdotool("key", "End", "key", "KP_Multiply")
            tree = wait_for("the menu's items", windows.tree,
                            lambda tree: any("(ID " in entry.text for entry in tree))
            return [entry.text for entry in tree
                    if "(ID " in entry.text or entry.text in ("Menu", "(separator)")
                    or entry.depth > tree[-1].depth - 3 and not entry.text.startswith("0x")]

        checks.equal("the fixture's menu in the Windows window, with IDs and states",
                     menu_of(frame["handle"]),
                     ["Menu", "Command", "Run (ID 40001)", "Checked (ID 40002) checked",
                      "(separator)", "Grayed (ID 40004) grayed", "Help", "About (ID 40003)"])
        notepad = session.start_notepad()
        click(probe.rect(probe.item(windows.window, WINDOWS_REFRESH)).centre)
        items = menu_of(notepad)
        checks.check("notepad's menu tree: Help > About Notepad with its ID, 308",
                     "About Notepad (ID 308)" in items, items)
        # Selected, the item writes the code that chooses it (in C++ since
        # the step before).
        tree = windows.tree()
        row = next(i for i, entry in enumerate(tree) if entry.text == "About Notepad (ID 308)")
        xdotool("key", "Home", *["Down"] * row)
        wait_for("About Notepad selected", windows.tree,
                 lambda tree: tree[row].state & TVIS_SELECTED)
        code = wait_for("the code that chooses About", lambda: winscout.text(CODE_BOX),
                        lambda code: "0x134" in code)
        checks.check("the code names the menu path and posts WM_COMMAND 308",
                     "// WM_COMMAND: Help > About Notepad" in code and
                     re.search(r"^PostMessageW\(hwnd\w+, 0x111, 0x134, 0\);$", code, re.MULTILINE),
                     code)
        built["notepad"] = (notepad, builds.start(code))
        probe.close(windows.window)

    checks.step("menus with their IDs", menus)

    def storm():
        probe.set_text(view.controls[MESSAGE_FILTER], "WM_APP")
        # Nothing of WM_APP is shown before the click either: the log is
        # cleared once it holds fewer messages than it did.
        logged = view.counts()[0]
        view.press(MESSAGE_CLEAR)
        wait_for("a cleared log", view.counts,
                 lambda counts: counts[0] < logged and counts[1:] == (0, 0))
        probe.signal(MESSAGES_STORM_EVENT)
        slowest = slowest_answer_ms(winscout, STORM_SECONDS, lambda: select.select(
            [target.lines.fd], [], [], 0)[0])
        entry = json.loads(target.lines.line("the storm's end", STORM_SECONDS))
        logged_rate = entry["messages"] / entry["seconds"]
        # The storm's messages are the lines shown; any message may be dropped.
        counts = wait_for("the storm in the log", view.counts,
                          lambda counts: sum(counts[1:]) >= STORM_MESSAGES, seconds=20)
        print(f"a storm of {STORM_MESSAGES} posted messages: {logged_rate:.0f} a second with the "
              f"log (e2e.figures has it without); logged {counts[1]}, dropped {counts[2]}; "
              f"WinScout's slowest answer {slowest} ms", flush=True)
        checks.check(f"a storm of {STORM_MESSAGES}: each logged or counted as dropped",
                     sum(counts[1:]) >= STORM_MESSAGES, view.status())
        checks.check(f"WinScout answers within {STORM_ANSWER_LIMIT_MS} ms during the storm",
                     slowest < STORM_ANSWER_LIMIT_MS, f"{slowest} ms")

    checks.step("a storm", storm)

    def hung():
        probe.signal(MESSAGES_HANG_EVENT)
        slowest = slowest_answer_ms(winscout, MESSAGES_HANG_SECONDS - 1)
        checks.check(f"a hung target: WinScout answers within {STORM_ANSWER_LIMIT_MS} ms",
                     slowest < STORM_ANSWER_LIMIT_MS, f"{slowest} ms")
        checks.reached("a hung target: the Messages window answers too",
                       view.status, lambda status: "messages" in status)

    checks.step("a hung target", hung)

    def killed():
        ran = runs()
        winscout.program.process.kill()
        winscout.program.process.wait()
        # Posted by the probe, as the menu would: the target still handles its
        # messages, and answers the probe's.
        probe.ask("post", frame["handle"], 0x111, RUN_COMMAND, 0)
        checks.reached("WinScout killed while it logs: the target runs on and answers",
                       lambda: probe.text(target["counts"]["handle"]),
                       lambda text: text.startswith(f"runs {ran + 1} "))

    checks.step("WinScout killed mid-log", killed)

    def run_built_code():
        ran = runs()
        checks.equal("the code from the log, built and run, finds the fixture",
                     built["fixture"](), (frame["handle"], None))
        checks.reached("the code made the fixture run the command again",
                       lambda: probe.text(target["counts"]["handle"]),
                       lambda text: text.startswith(f"runs {ran + 1} "))
        notepad, run = built["notepad"]
        checks.equal("the code from the menu branch, built and run, finds notepad", run(),
                     (notepad, None))
        checks.reached("the code opened notepad's About dialog",
                       lambda: probe.top(MESSAGE_BOX_CLASS, "About Notepad"), bool)
        if about := probe.top(MESSAGE_BOX_CLASS, "About Notepad"):
            probe.close(about)

    checks.step("the code built from the log and the menu, run", run_built_code)

GROUPS = {
    "actions": group_actions,
    "windows": group_windows,
    "finder": group_finder,
    "report": group_report,
    "live": group_live,
    "window": group_window,
    "outline": group_outline,
    "escape": group_escape,
    "languages": group_languages,
    "keyboard": group_keyboard,
    "survival": group_survival,
    "messages": group_messages,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--wine", required=True)
    parser.add_argument("--winscout", required=True)
    parser.add_argument("--fixture", required=True)
    parser.add_argument("--message-fixture", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--bare", required=True, help="the bare program, for start-up")
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--strip", required=True)
    parser.add_argument("--cxx", required=True, help="the C++ compiler for Windows")
    parser.add_argument("--out", required=True, type=Path, help="screenshots and figures")
    parser.add_argument("--release", type=Path, help="the zip of scripts/release")
    parser.add_argument("group", choices=[*GROUPS, "figures", "release"])
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        sys.exit("no DISPLAY: run the suite through scripts/test")
    args.out.mkdir(parents=True, exist_ok=True)
    # Stopped from outside, the driver still stops its programs (CTest's own
    # timeout kills without warning: BUDGET_SECONDS stays below it).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

    checks = Checks()
    try:
        if args.group == "figures":
            group_figures(args, checks)
        elif args.group == "release":
            group_release(args, checks)
        else:
            with Session(args) as session:
                GROUPS[args.group](session, checks)
    except Failure as failure:
        checks.check(f"{args.group}: the group ran to its end", False, str(failure))
    print(f"e2e {args.group}: {checks.passed} checks passed, {checks.failed} failed")
    sys.exit(1 if checks.failed or not checks.passed else 0)


if __name__ == "__main__":
    main()
