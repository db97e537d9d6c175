"""The probe (probe.cpp): the driver's eyes and hands on the Windows side."""

import subprocess
import tempfile
from dataclasses import dataclass

from .common import WAIT_SECONDS, Failure
from .processes import LineReader


def as_text(text):
    return "-" if text is None else "x" + text.encode().hex()


def from_text(word):
    if not word.startswith("x"):
        raise Failure(f"probe sent no text: {word!r}")
    return bytes.fromhex(word[1:]).decode()


class Probe:
    """The long-lived Windows helper; see probe.cpp for its requests."""

    def __init__(self, programs, argv):
        # What Wine says of the probe, should it end early.
        self.said = tempfile.TemporaryFile()
        self.program = programs.start(
            "probe", argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.said
        )
        self.program.ask_to_end = self.program.process.stdin.close
        self.answers = LineReader(self.program.process.stdout, "the probe")
        self.late = None

    def ended(self):
        """Why the probe cannot be asked: how it ended and the last it said."""
        code = self.program.process.wait(timeout=WAIT_SECONDS)
        self.said.seek(0)
        said = self.said.read().decode(errors="replace").strip().splitlines()[-5:]
        return Failure(f"the probe ended (exit code {code}); it said: {' | '.join(said)}")

    def ask(self, *words, seconds=WAIT_SECONDS):
        # An answer that came too late would be taken for the next request's.
        if self.late:
            raise Failure(f"the probe is still busy with {self.late}")
        request = " ".join(str(word) for word in words)
        try:
            self.program.process.stdin.write(request.encode() + b"\n")
            self.program.process.stdin.flush()
        except BrokenPipeError:
            raise self.ended() from None
        try:
            answer = self.answers.line(repr(request[:80]), seconds)
        except Failure:
            if self.program.process.poll() is not None:
                raise self.ended() from None
            self.late = repr(request[:80])
            raise
        kind, _, rest = answer.partition(" ")
        if kind == "error":
            raise Failure(f"probe: {request[:80]}: {rest}")
        return kind, rest.split()

    def value(self, *words, seconds=WAIT_SECONDS):
        return [int(word) for word in self.ask(*words, seconds=seconds)[1]]

    def top(self, class_name=None, title=None):
        return self.value("top", as_text(class_name), as_text(title))[0]

    def child(self, parent, class_name):
        return self.value("child", parent, as_text(class_name))[0]

    def item(self, parent, control_id):
        return self.value("item", parent, control_id)[0]

    def text(self, window):
        return from_text(self.ask("text", window)[1][0])

    def clipboard(self):
        return from_text(self.ask("clipboard")[1][0])

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
