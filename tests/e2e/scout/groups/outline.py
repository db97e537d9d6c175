"""The e2e.outline group: its scenario tables and steps."""

import time
from collections import Counter

from ..checks import check_code_finds, screen_reached
from ..common import wait_for
from ..real_input import move, xdotool
from ..screen import Image
from ..winscout import (CODE_ARROW, CODE_BOX, INSPECTOR_ARROW, OUTLINE_CLASS, REPORT_BOXES,
                        WS_EX_LAYERED, WS_EX_TOPMOST, WS_EX_TRANSPARENT, outline_state)

OUTLINE_BAND = 3
STRIPE_COLOURS = {(0, 0, 0), (255, 215, 0)}
# No window of the fixture's, nor WinScout's, lies there.
BARE_DESKTOP = (1150, 230)
# How much longer than a plain drag one over the bare desktop may take: far
# below the two seconds that Wine waits for a window manager (the group's
# WinScout runs as if one kept its windows).
DRAG_SLACK_SECONDS = 1.0


def ring(rect, inset, width):
    """The points of a band `width` pixels wide along rect's edges, `inset`
    pixels inside it (outside it when negative)."""
    left, top = rect.left + inset, rect.top + inset
    right, bottom = rect.right - inset, rect.bottom - inset
    points = []
    for y in range(top, bottom):
        if y < top + width or y >= bottom - width:
            points.extend((x, y) for x in range(left, right))
        else:
            points.extend((x, y) for x in range(left, left + width))
            points.extend((x, y) for x in range(right - width, right))
    return points


def stripe_faults(image, rect):
    """What keeps the band inside rect from showing the outline's stripes."""
    band = ring(rect, 0, OUTLINE_BAND)
    colour = {point: image.pixel(*point) for point in band}
    faults = []
    others = Counter(c for c in colour.values() if c not in STRIPE_COLOURS)
    if others:
        faults.append(
            f"{sum(others.values())} of {len(band)} band pixels in other colours, "
            f"mostly {others.most_common(3)}"
        )
    sides = {
        "top": lambda x, y: y < rect.top + OUTLINE_BAND,
        "bottom": lambda x, y: y >= rect.bottom - OUTLINE_BAND,
        "left": lambda x, y: x < rect.left + OUTLINE_BAND,
        "right": lambda x, y: x >= rect.right - OUTLINE_BAND,
    }
    for side, on_side in sides.items():
        seen = {c for (x, y), c in colour.items() if on_side(x, y)}
        if not STRIPE_COLOURS <= seen:
            faults.append(f"the {side} side shows {sorted(seen)}")
    # Diagonal stripes: the colour stays the same up and to the right.
    across = [
        (x, y)
        for (x, y), c in colour.items()
        if (x + 1, y - 1) in colour and colour[(x + 1, y - 1)] != c
    ]
    if across:
        faults.append(f"not diagonal stripes at {len(across)} points, e.g. {across[:3]}")
    return faults


def changed_pixels(image, reference, points, where):
    """A fault for the points whose colour differs from the reference's."""
    changed = [p for p in points if image.pixel(*p) != reference.pixel(*p)]
    if not changed:
        return []
    x, y = changed[0]
    return [
        f"{len(changed)} of {len(points)} pixels {where} changed, e.g. at ({x}, {y}) "
        f"{reference.pixel(x, y)} -> {image.pixel(x, y)}"
    ]


def timed_drag(winscout, via, target):
    """Seconds from pressing the code arrow to the code in the box, the pointer
    passing over `via` (where the outline must show) on its way to `target`."""
    probe = winscout.probe
    outline = probe.top(OUTLINE_CLASS)
    probe.set_text(winscout[CODE_BOX], "")
    started = time.monotonic()
    xdotool("mousemove", *winscout.centre(CODE_ARROW), "mousedown", 1)
    try:
        for point in via:
            move(point)
            wait_for(f"the outline at {point}", lambda: probe.visible(outline))
        move(target)
    finally:
        xdotool("mouseup", 1)
    wait_for("code in the code box", lambda: winscout.text(CODE_BOX))
    return time.monotonic() - started


def group_outline(session, checks):
    """The band around the window under a held arrow, as a window and on screen."""
    probe, fixture, winscout = session.probe, session.fixture, session.winscout
    out = session.args.out
    outline = probe.top(OUTLINE_CLASS)
    if not checks.check(
        "WinScout has an outline window", outline != 0, f"no {OUTLINE_CLASS} window"
    ):
        return
    wanted = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT
    exstyle = probe.exstyle(outline)
    checks.check(
        "the outline is topmost, layered and transparent to the mouse",
        exstyle & wanted == wanted,
        f"extended style {exstyle:#x}",
    )
    checks.check("the outline is hidden before any drag", not probe.visible(outline))

    # A child first, then the top-level window that the drop is onto.
    first, second = fixture["id 40000"], fixture["owned dialog"]
    rects = {window.name: probe.rect(window.handle) for window in (first, second)}
    before = Image()

    def outlined(window):
        rect = rects[window.name]
        checks.reached(
            f"over {window.name}: the outline is shown on its window rectangle",
            lambda: outline_state(probe, outline),
            (True, rect).__eq__,
        )
        image = screen_reached(
            checks,
            f"over {window.name}: its band shows black and yellow diagonal stripes",
            lambda image: stripe_faults(image, rect),
        )
        if image:
            checks.equal(
                f"over {window.name}: the window's own pixels just inside the band stay",
                changed_pixels(image, before, ring(rect, OUTLINE_BAND, 2), "inside"),
                [],
            )
            checks.equal(
                f"over {window.name}: the pixels just outside the window stay",
                changed_pixels(image, before, ring(rect, -2, 2), "outside"),
                [],
            )
        return image

    def no_trace(window, when):
        return screen_reached(
            checks,
            f"{when}: the band on {window.name} shows the window's own pixels again",
            lambda image: changed_pixels(
                image, before, ring(rects[window.name], 0, OUTLINE_BAND), "of the band"
            ),
        )

    def drag():
        move(first.point)
        outlined(first)
        move(second.point)
        during = outlined(second)
        if during:
            during.save(rects[second.name], out / "e2e-outline-during.png")
        no_trace(first, "moved on")
        # Onto the band itself, where the outline lies over the target.
        rect = rects[second.name]
        on_band = (rect.left + 1, rect.centre[1])
        move(on_band)
        checks.equal(
            "the window at a point of the band is the target, not the outline",
            probe.window_at(on_band),
            second.handle,
        )

    xdotool("mousemove", *winscout.centre(CODE_ARROW), "mousedown", 1)
    try:
        checks.step("dragging the code arrow over two windows", drag)
    finally:
        xdotool("mouseup", 1)
    checks.reached(
        "after the release the outline is hidden",
        lambda: probe.visible(outline),
        lambda visible: not visible,
    )
    after = no_trace(second, "after the release")
    if after:
        after.save(rects[second.name], out / "e2e-outline-after.png")

    def dropped_on_band():
        code = wait_for("code in the code box", lambda: winscout.text(CODE_BOX))
        check_code_finds(
            checks, probe,
            "dropped on the band, the code finds the window under it, not the outline",
            code, second.handle)

    checks.step("dropped on the band", dropped_on_band)

    def inspector_arrow():
        winscout.widen()
        xdotool("mousemove", *winscout.centre(INSPECTOR_ARROW), "mousedown", 1)
        try:
            for window in (fixture["static label"], fixture["ids"]):
                rect = probe.rect(window.handle)
                # Onto the band: the outline is shown there before the report
                # looks at the point again, and must not be what it reports.
                move((rect.left + 1, rect.centre[1]))
                checks.reached(
                    f"inspector arrow on the band of {window.name}: the outline is shown "
                    "on it",
                    lambda: outline_state(probe, outline),
                    (True, rect).__eq__,
                )
                checks.reached(
                    f"inspector arrow on the band of {window.name}: the report is on it, "
                    "not on the outline",
                    lambda: winscout.text(REPORT_BOXES[0]),
                    f"Window Handle: {window.handle}".__eq__,
                )
        finally:
            xdotool("mouseup", 1)
        checks.reached(
            "inspector arrow: after the release the outline is hidden",
            lambda: probe.visible(outline),
            lambda visible: not visible,
        )

    checks.step("the inspector arrow", inspector_arrow)

    def drags():
        target = fixture["id 40000"].point
        plain = timed_drag(winscout, (), target)
        over_desktop = timed_drag(winscout, (BARE_DESKTOP,), target)
        after = timed_drag(winscout, (), target)
        print(f"drag onto a window: {plain:.3f} s; first over the bare desktop: "
             f"{over_desktop:.3f} s; the next plain drag: {after:.3f} s", flush=True)
        for name, seconds in (("over the bare desktop", over_desktop),
                              ("after one over the bare desktop", after)):
            checks.check(f"a drag {name} takes no longer than a plain one",
                         seconds <= plain + DRAG_SLACK_SECONDS,
                         f"{seconds:.3f} s against {plain:.3f} s")

    checks.step("drags over the bare desktop", drags)
