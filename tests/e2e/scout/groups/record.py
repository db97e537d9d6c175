"""The e2e.record group: the fixture's order flow done with real input while
WinScout records it, and the script it writes run again on a fresh fixture."""

import json
import tempfile
from pathlib import Path

from ..common import Failure, wait_for
from ..real_input import click, xdotool
from ..session import Fixture
from ..winscout import shown_menu

ORDER = {"name": "Grace Hopper", "password": "s3cret-Xq7", "colour": "Blue",
         "gift": True, "size": "Medium"}
COLOURS = ("Red", "Green", "Blue")
CB_GETITEMHEIGHT = 0x154
# The order dialog's controls, by the names of the fixture's window lines.
NAME, PASSWORD, COLOUR, GIFT, OK, FINISH = "1001", "1002", "1003", "1004", "1", "1010"
# The flow, one row a thing the user does: to which of the fixture's windows,
# with what. A dialog row awaits the dialog's window lines.
FLOW = (
    ("menu", "orders", "New order..."),
    ("dialog", "order", None),
    ("click", NAME, None),
    ("type", NAME, ORDER["name"]),
    ("click", PASSWORD, None),
    ("type", PASSWORD, ORDER["password"]),
    ("choose", COLOUR, COLOURS.index(ORDER["colour"])),
    ("click", GIFT, None),
    ("click", f"size {ORDER['size']}", None),
    ("click", OK, None),
    ("dialog", "confirm", None),
    ("click", FINISH, None),
)


class OrderFlow:
    """The fixture in its order mode, writing its final state to a file."""

    def __init__(self, session, directory, name):
        self.session = session
        self.file = directory / f"{name}.json"
        self.fixture = Fixture(session.programs, session.probe, session.args.wine,
                               session.args.fixture, "--order",
                               "Z:" + str(self.file).replace("/", "\\"))

    def do(self, row):
        """Does one row of the flow with the pointer and the keys."""
        action, name, value = row
        probe, fixture = self.session.probe, self.fixture
        if action == "dialog":
            fixture.read_manifest(f"the {name} dialog's window lines")
            wait_for(f"the {name} dialog", lambda: probe.visible(fixture[name].handle))
            return
        window = fixture[name]
        if action == "menu":
            # The menu bar lies right above the client area; its first item
            # opens the menu, whose first item is the one wanted.
            client = probe.client(window.handle)[0]
            click((client.left + 15, client.top - 8))
            menu = probe.rect(wait_for(f"the menu of {value}", lambda: shown_menu(probe)))
            click((menu.left + 25, menu.top + 12))
        elif action == "click":
            click(window.point)
            if window.class_name == "Edit":
                wait_for(f"the focus in {name}", lambda: probe.value("focus", window.handle),
                         [window.handle].__eq__)
        elif action == "type":
            xdotool("type", "--delay", 20, value)
            if name != PASSWORD:
                wait_for(f"{value!r} in {name}", lambda: probe.text(window.handle),
                         value.__eq__)
        elif action == "choose":
            # The list drops below the box; its items are as high as the box says.
            click(window.point)
            below = probe.rect(window.handle)
            below = (below.left + 20, below.bottom + 4)
            dropped = wait_for("the dropped list", lambda: probe.window_at(below),
                               lambda found: found not in (0, window.handle))
            height = probe.value("send", window.handle, CB_GETITEMHEIGHT, 0, 0)[0]
            client = probe.client(dropped)[0]
            click((client.left + 20, client.top + height * value + height // 2))
            wait_for(f"item {value} chosen", lambda: probe.text(window.handle),
                     COLOURS[value].__eq__)

    def final_state(self):
        """The state that Finish wrote, once it has."""
        entry = json.loads(self.fixture.lines.line("the finished line"))
        if entry.get("kind") != "finished":
            raise Failure(f"the fixture wrote {entry} instead of the finished line")
        return json.loads(self.file.read_text())

    def close(self):
        self.fixture.program.stop()


def group_record(session, checks):
    """The order flow by hand, then recorded and replayed."""
    directory = Path(tempfile.mkdtemp(prefix="winscout-record-"))
    flow = OrderFlow(session, directory, "by-hand")
    for row in FLOW:
        flow.do(row)
    checks.equal("the order flow by hand: the final state", flow.final_state(), ORDER)
    flow.close()
