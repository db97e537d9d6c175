"""WinScout's main window: its names and controls, and driving it and its
code box's menu."""

import functools
import math
import time

from .common import POLL_SECONDS, Failure, wait_for
from .processes import start_window_program
from .real_input import click, drag, give_keyboard_to, xdotool
from .screen import Image, ink_on_highlight, rows_changed, wait_for_screen

TITLE = "WinScout By The WinScout Authors"
FRAME_CLASS = "WinScoutFrame"
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
RECORD_STEPS = "Record Steps"
ACTION_SUBMENU = "Action"
TRY_IT = "Try it"
CODE_MENU = (*LANGUAGES, *SEARCH_WAYS, DECLARATIONS, RECORD_STEPS, ACTION_SUBMENU, TRY_IT)
DEFAULT_MARKS = ("Visual Basic", BY_POSITION)
# Above the fixture's windows, which start at y 300, and left of its survival
# tree, which starts at x 690.
WINSCOUT_PLACE = (10, 10)


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


def outline_state(probe, outline):
    """Whether the outline window is visible, and its rectangle."""
    return probe.visible(outline), probe.rect(outline)


def shown_menu(probe):
    """The popup menu on the screen, or 0."""
    menu = probe.top(MENU_CLASS)
    return menu if menu and probe.visible(menu) else 0


def open_code_menu(session):
    """The code box's menu, opened with a right click, WinScout holding the
    keyboard first: the keys for the menu go to the X window that has it,
    which a click hands over late on a loaded machine (a modal dialog closed
    just before had left it with the fixture)."""
    give_keyboard_to(TITLE, start_only=True)
    click(session.winscout.centre(CODE_BOX), 3)
    return wait_for("the code box's menu", functools.partial(shown_menu, session.probe))


def choose_from_code_menu(session, checks, marked, wanted, screenshot=None):
    """Opens the code box's menu with a right click, checks that the marks are
    on the items `marked` (of CODE_MENU) and no others, a radio mark on each
    language and way of searching and a check mark on the declarations
    toggle, and picks `wanted` with the arrow keys."""
    probe = session.probe
    menu_shown = functools.partial(shown_menu, probe)
    rect = probe.rect(open_code_menu(session))
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


def choose_action(session, offered, action):
    """Picks the action from the code box's Action submenu with the keys."""
    menu_shown = functools.partial(shown_menu, session.probe)
    open_code_menu(session)
    # Up from no selection reaches the last item, Try it; one more, the submenu.
    keys = ["Up", "Up", "Right", *["Down"] * offered.index(action), "Return"]
    for key in keys:
        xdotool("key", key)
        time.sleep(0.05)
    wait_for("the menu to close", menu_shown, lambda menu: menu == 0)


def choose_try_it(session):
    """Chooses Try it from the code box's menu."""
    open_code_menu(session)
    xdotool("key", "Up", "key", "Return")


def try_it(session, chosen=False):
    """Chooses Try it, unless chosen; the text of the message it shows, then closed."""
    probe = session.probe
    if not chosen:
        choose_try_it(session)
    box = wait_for("Try it's message", lambda: probe.top(MESSAGE_BOX_CLASS, TRY_IT))
    text = probe.text(probe.item(box, MESSAGE_BOX_TEXT_ID))
    probe.close(box)
    wait_for("Try it's message to close", lambda: probe.top(MESSAGE_BOX_CLASS, TRY_IT),
             lambda found: not found)
    return text


HOOK_DLL = "winscout-hook.dll"
HOOK_SIZE_LIMIT = 32 * 1024


def slowest_typed_ms(session, seconds, limit_seconds=2):
    """The longest a character posted to the code box takes to show there: a sent
    question is answered even while WinScout waits on another program, input not."""
    probe, winscout = session.probe, session.winscout
    slowest = 0
    end = time.monotonic() + seconds
    while time.monotonic() < end and slowest < limit_seconds * 1000:
        before = winscout.text(CODE_BOX)
        asked = time.monotonic()
        probe.ask("post", winscout.controls[CODE_BOX], 0x102, ord("x"), 1)  # WM_CHAR
        while winscout.text(CODE_BOX) == before and time.monotonic() - asked < limit_seconds:
            time.sleep(POLL_SECONDS)
        slowest = max(slowest, round((time.monotonic() - asked) * 1000))
    return slowest


def slowest_answer_ms(winscout, seconds, until=lambda: False):
    """The longest WinScout takes to answer a sent message, asked over and
    over, as the probe measures it: the pipe to the probe and this process's
    own turns on a busy machine are not WinScout's. Infinite when the probe
    had no answer within its 200 ms."""
    slowest = 0
    end = time.monotonic() + seconds
    while time.monotonic() < end and not until():
        answer = winscout.probe.value("ping", winscout.main)[0]
        slowest = max(slowest, answer if answer >= 0 else math.inf)
    return slowest
