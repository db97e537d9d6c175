"""Real X input with xdotool: the pointer and the keys."""

import re
import subprocess

from .common import WAIT_SECONDS, wait_for


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


def give_keyboard_to(title, start_only=False):
    """Without a window manager the X keyboard focus follows the pointer; a
    window manager would leave it with the window clicked last, as Windows
    does. This hands it to the window with the title (or whose title starts
    so), as one would."""
    pattern = f"^{re.escape(title)}{'' if start_only else '$'}"

    def named():
        return subprocess.run(["xdotool", "search", "--name", pattern], capture_output=True,
                              text=True, timeout=WAIT_SECONDS).stdout.split()

    # Looked for until there is one: a single look found none once, in a
    # clean run on a loaded machine.
    found = wait_for(f"one X window named {title!r}", named, lambda found: len(found) == 1)
    xdotool("windowfocus", "--sync", found[0])
