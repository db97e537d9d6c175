"""One group's programs: the probe, the fixtures and WinScout, on Wine and the
test display that scripts/test sets up."""

import json
import subprocess
import threading
import time
from dataclasses import dataclass

from .common import Failure, wait_for
from .probe import Probe
from .processes import LineReader, Programs, start_window_program
from .winscout import WinScout

FIXTURE_QUIT_EVENT = "WinScoutE2EFixtureQuit"
FIXTURE_RECREATE_EVENT = "WinScoutE2EFixtureRecreate"
FIXTURE_RETITLE_EVENT = "WinScoutE2EFixtureRetitle"
NOTEPAD_PLACE = (1060, 760, 210, 240)  # a free corner of the fixture's layout
NOTEPAD_TITLE = "Untitled - Notepad"


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
    survival tree, with --frameworks, its framework-named windows, with
    --order FILE, its order flow: each ends when the first window it describes
    is closed."""

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
        self.lines = LineReader(self.program.process.stdout, "the fixture")
        self.read_manifest("its manifest")

    def read_manifest(self, what):
        """Reads window lines up to a ready line: the manifest, or that of a
        dialog the order mode opened."""
        errors = []
        while True:
            try:
                entry = json.loads(self.lines.line(what))
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


# Where Wine reads, as each program starts, whether a window manager keeps
# the program's windows; the test display has none, and the prefix says so.
WINSCOUT_X11_KEY = r"HKCU\Software\Wine\AppDefaults\winscout.exe\X11 Driver"


class Session:
    """The probe, the fixture and WinScout, for one group. With `managed`,
    WinScout's Wine waits for a window manager as it does on a desktop that
    has one (two seconds at every captioned window it hides, here): what
    WinScout itself must never make the user wait for."""

    def __init__(self, args, managed=False):
        self.args = args
        self.programs = Programs()
        self.managed = managed

    def _winscout_managed(self, managed):
        change = (["add", WINSCOUT_X11_KEY, "/v", "Managed", "/t", "REG_SZ", "/d", "Y"]
                  if managed else ["delete", WINSCOUT_X11_KEY])
        subprocess.run([self.args.wine, "reg", *change, "/f"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=managed)

    def __enter__(self):
        if self.managed:
            self._winscout_managed(True)
        try:
            self.probe = Probe(self.programs, [self.args.wine, self.args.probe])
            self.fixture = Fixture(
                self.programs, self.probe, self.args.wine, self.args.fixture
            )
            self.winscout = WinScout(
                self.programs, self.probe, [self.args.wine, self.args.winscout]
            )
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        self.programs.stop_all()
        if self.managed:
            self._winscout_managed(False)

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

    def answers_while(self, window, action):
        """(what action gives, the milliseconds of each WM_NULL a second probe
        sent the window meanwhile, -1 for none within 200)."""
        pinger, answers, done = Probe(self.programs, [self.args.wine, self.args.probe]), [], []

        def ping():
            while not done:
                answers.append(pinger.value("ping", window)[0])
                time.sleep(0.01)

        pinging = threading.Thread(target=ping)
        pinging.start()
        try:
            return action(), answers
        finally:
            done.append(True)
            pinging.join()


MESSAGES_QUIT_EVENT = "WinScoutE2EMessagesQuit"
MESSAGES_STORM_EVENT = "WinScoutE2EMessagesStorm"
STORM_MESSAGES = 100_000
STORM_SECONDS = 60


class MessageFixture:
    """The program whose messages are logged (message_fixture.cpp)."""

    def __init__(self, session, storm_messages=STORM_MESSAGES):
        probe = session.probe
        self.program = session.programs.start(
            "message fixture",
            [session.args.wine, session.args.message_fixture, str(storm_messages)],
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
