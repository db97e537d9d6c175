"""WinScout's Windows and Messages windows, read through the probe."""

import re
import subprocess
from collections import namedtuple

from .common import Failure, wait_for
from .probe import from_text
from .real_input import click, give_keyboard_to, xdotool
from .winscout import MESSAGE_BOX_CLASS, TITLE

SAVE_TITLE = "Save As"  # the system's dialog

WINDOWS_VIEW_CLASS = "WinScoutWindows"
WINDOWS_VIEW_TITLE = "Windows"
FILTER_BOX, WINDOWS_REFRESH, TREE, DETAILS, STATUS_BAR = 201, 202, 203, 204, 205
TVIS_SELECTED, TVIS_CUT = 0x2, 0x4
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
        focus = self.probe.value("focus", self.window)[0]
        for _ in range(5):
            if focus == self.controls[control]:
                return
            xdotool("key", "Tab")
            # The key reaches WinScout a moment later: look once it moved the
            # focus, so that a Tab is never pressed past the control.
            before = focus
            focus = wait_for("Tab to move the keyboard focus",
                             lambda: self.probe.value("focus", self.window)[0],
                             lambda now: now != before)
        raise Failure(f"Tab does not reach control {control}")


def hex_handle(handle):
    return f"0x{handle & 0xFFFFFFFF:08X}"


def save_through_dialog(probe, path):
    """Types the path into the system's Save As dialog, once it shows, and
    gives the file's text once it is written whole (its last line ended)."""
    path.unlink(missing_ok=True)
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
    wait_for("the saved file", path.exists)
    return wait_for("the whole file", lambda: path.read_bytes().decode("utf-8-sig"),
                    lambda text: text.endswith("\r\n"))


def open_windows_view(probe):
    """F2 in WinScout's window; the Windows window, once it shows its tree."""
    give_keyboard_to(TITLE)
    xdotool("key", "F2")
    view = WindowsView(probe)
    wait_for("the Windows window shown", view.visible)
    return view


MESSAGES_VIEW_CLASS = "WinScoutMessages"
MESSAGE_FILTER, MESSAGE_CHILDREN, MESSAGE_THREAD = 301, 303, 304
MESSAGE_PAUSE, MESSAGE_CLEAR, MESSAGE_COPY, MESSAGE_SAVE = 305, 306, 307, 308
MESSAGE_LIST, MESSAGE_STATUS = 309, 310
LogLine = namedtuple("LogLine", "time kind window window_class message parameters")


class MessagesView:
    """WinScout's Messages window, seen from the probe."""

    def __init__(self, probe):
        self.probe = probe
        self.window = wait_for("WinScout's Messages window",
                               lambda: probe.top(MESSAGES_VIEW_CLASS, None))
        wait_for("the Messages window shown", lambda: probe.visible(self.window))
        self.controls = {id: probe.item(self.window, id)
                         for id in (MESSAGE_FILTER, MESSAGE_CHILDREN, MESSAGE_THREAD,
                                    MESSAGE_PAUSE, MESSAGE_CLEAR, MESSAGE_COPY, MESSAGE_SAVE,
                                    MESSAGE_LIST, MESSAGE_STATUS)}

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
