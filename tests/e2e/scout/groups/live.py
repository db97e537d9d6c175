"""The e2e.live group: its scenario tables and steps."""

import time

from ..common import POLL_SECONDS, wait_for
from ..real_input import click, move, xdotool
from ..winscout import CODE_BOX, INSPECTOR_ARROW, REPORT_BOXES, START_BUTTON, STOP_BUTTON


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
