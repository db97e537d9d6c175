"""The e2e.keyboard group: its scenario tables and steps."""

import functools

from ..common import wait_for
from ..real_input import drag, give_keyboard_to, xdotool
from ..winscout import (API_BUTTON, CODE_ARROW, CODE_BOX, CODE_BUTTON, CODE_MENU,
                        INSPECTOR_ARROW, REPORT_BOXES, START_BUTTON, STOP_BUTTON, TITLE,
                        WIDE_CLIENT_WIDTH_TWIPS, shown_menu)

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
