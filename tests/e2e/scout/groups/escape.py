"""The e2e.escape group: its scenario tables and steps."""


from ..common import Failure, wait_for
from ..real_input import click, give_keyboard_to, move, xdotool
from ..screen import look
from ..winscout import (CODE_ARROW, CODE_BOX, HANDLE_BOX, INSPECTOR_ARROW, OUTLINE_CLASS,
                        REPORT_BOXES, START_BUTTON, TITLE, outline_state)


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
