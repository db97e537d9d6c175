"""The e2e.window group: its scenario tables and steps."""


import time

from ..common import POLL_SECONDS, wait_for
from ..real_input import move, xdotool
from ..screen import look, save_screenshot
from ..winscout import (API_BUTTON, CODE_ARROW, CODE_BOX, CODE_BUTTON, HANDLE_BOX,
                        INITIAL_REPORT, INSPECTOR_ARROW, NARROW_CLIENT_TWIPS, OUTLINE_CLASS,
                        WIDE_CLIENT_WIDTH_TWIPS, WS_EX_TOPMOST, outline_state)

PAINT_SECONDS = 5


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
    for name, box in (("code", CODE_ARROW), ("inspector", INSPECTOR_ARROW)):
        # A box just shown is painted when WinScout next finds its queue idle.
        seen = look(winscout.box(box))
        end = time.monotonic() + PAINT_SECONDS
        while not seen.arrow and time.monotonic() < end:
            time.sleep(POLL_SECONDS)
            seen = look(winscout.box(box))
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
