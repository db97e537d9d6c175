"""The e2e.report group: its scenario tables and steps."""


from ..checks import expected_report
from ..common import wait_for
from ..real_input import move, xdotool
from ..screen import look
from ..winscout import INSPECTOR_ARROW


def group_report(session, checks):
    """The eight report lines while the inspector arrow is held over windows."""
    fixture, winscout = session.fixture, session.winscout
    winscout.widen()
    targets = ["id 70000", "long text", "main frame", "owned dialog", "id 40000"]

    def report_on(window):
        move(window.point)
        winscout.wait_for_report(window)
        checks.equal(
            f"report on {window.name}",
            winscout.report(),
            expected_report(window, fixture.module),
        )

    xdotool("mousemove", *winscout.centre(INSPECTOR_ARROW), "mousedown", 1)
    try:
        for name in targets:
            checks.step(f"report on {name}", report_on, fixture[name])
    finally:
        xdotool("mouseup", 1)
    last = fixture[targets[-1]]

    def after_release():
        box = winscout.box(INSPECTOR_ARROW)
        wait_for("the inspector arrow back after the release", lambda: look(box),
                 lambda seen: seen.arrow)
        checks.equal(
            "the report stays after the release",
            winscout.report(),
            expected_report(last, fixture.module),
        )

    checks.step("the report stays after the release", after_release)
