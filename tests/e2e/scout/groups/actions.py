"""The e2e.actions group: its scenario tables and steps."""

import json
import re
import shutil
import tempfile
import time
from pathlib import Path

from ..builds import build_action, run_action
from ..common import COMPILE_SECONDS, WAIT_SECONDS, Failure, wait_for
from ..real_input import xdotool
from ..session import Fixture
from ..templates import printed_rows
from ..views import open_windows_view
from ..winscout import (BY_POSITION, CODE_BOX, DEFAULT_MARKS, MESSAGE_BOX_CLASS, SEARCH_WAYS,
                        TITLE, TRY_IT, choose_action, choose_from_code_menu, choose_try_it,
                        slowest_typed_ms, try_it)

MODAL_TITLE = "Modal"
ACTIONS_HANG_EVENT = "WinScoutE2EActionsHang"
BN_CLICKED, SELCHANGE = 0, 1  # CBN_SELCHANGE and LBN_SELCHANGE are both 1
LVN_ITEMCHANGED, TVN_SELCHANGEDW = -101, -451
ANSWER_TIMEOUT_SECONDS = 2  # what the code and Try it wait for an answer
TEXT_LIMIT, TEXT_CUT = 131072, "\r\n(cut: WinScout reads 131072 characters at most)"
HUNG_RUN_LIMIT_SECONDS = 6  # a program reading a hung window, start-up included
# The fixture's numbered list boxes, "Item 0" onwards, and how long they are read.
LONG_LIST, SHORT_LIST, READ_ANSWER_LIMIT_MS, LONG_READ_SECONDS = 100000, 500, 200, 3
# The actions the menu offers for each of the fixture's controls, in order.
ACTIONS_OFFERED = {
    "push button": ("Find only", "Click it", "Read its text", "Close it"),
    "check box": ("Find only", "Check it", "Uncheck it", "Read its text", "Close it"),
    "edit": ("Find only", "Set its text", "Read its text", "Close it"),
    "multi-line edit": ("Find only", "Set its text", "Read its text", "Close it"),
    "combo box": ("Find only", "Choose an item", "Read its items", "Read its text",
                  "Close it"),
    "list box": ("Find only", "Choose an item", "Read its items", "Read its text",
                 "Close it"),
    "list view": ("Find only", "Select the item", "Read its items", "Read its text",
                  "Close it"),
    "tree view": ("Find only", "Select the item", "Read its items", "Read its text",
                  "Close it"),
    "hung": ("Find only", "Read its text", "Close it"),
}
ACTIONS_OFFERED["late button"] = ACTIONS_OFFERED["push button"]
ACTIONS_OFFERED["vanishing list view"] = ACTIONS_OFFERED["list view"]
WAIT_ITEM = "Wait for it"
LIST_ITEMS = ["Alpha", "Item text one", "Omega \u03a9"]
LIST_VIEW_ROWS = [["one", "1"], ["two \u03a9", "2"], ["Item text", ""]]
TREE_ITEMS = ["Root", "Leaf \u03a9", "Item text"]
# One row a control and action: what the C++ program shows when it has run
# (the variable it prints), and what must come of it: the notification the
# fixture's window hears (control ID, code), a text the control then holds,
# or the lines the program prints (UTF-16 in hex, a row's columns apart by
# commas). A late control waits: it is closed before the program runs and
# comes back 1.5 s later. A way switches the search way after the action.
ACTION_CASES = (
    ("late button", "Click it", "", {"heard": (10, BN_CLICKED), "late": True}),
    ("push button", "Click it", "", {"heard": (1, BN_CLICKED)}),
    ("check box", "Check it", "", {"heard": (2, BN_CLICKED)}),
    ("combo box", "Choose an item", "", {"heard": (6, SELCHANGE)}),
    ("list box", "Choose an item", "", {"heard": (7, SELCHANGE)}),
    ("edit", "Set its text", "", {"holds": "New text"}),
    ("multi-line edit", "Read its text", "Print(text);", {"prints": [["line one\r\nline two"]]}),
    ("combo box", "Read its items", "Print(items);", {"prints": [[i] for i in LIST_ITEMS]}),
    ("list view", "Read its items", "Print(items);", {"prints": LIST_VIEW_ROWS}),
    # Destroyed in its second row: the first row, and no text it did not give.
    ("vanishing list view", "Read its items", "Print(items);",
     {"prints": LIST_VIEW_ROWS[:1]}),
    ("tree view", "Read its items", "Print(items);", {"prints": [[i] for i in TREE_ITEMS]}),
    ("list view", "Select the item", "", {"heard": (8, LVN_ITEMCHANGED)}),
    ("tree view", "Select the item", "", {"heard": (9, TVN_SELCHANGEDW)}),
    ("check box", "Uncheck it", "", {"heard": (2, BN_CLICKED), "way": SEARCH_WAYS[1]}),
)


def heard(actions, wanted, seconds=WAIT_SECONDS):
    """Reads the fixture's notification lines until the wanted one comes."""
    end = time.monotonic() + seconds
    try:
        while time.monotonic() < end:
            entry = json.loads(actions.lines.line("a notification", end - time.monotonic()))
            if entry.get("kind") == "notification" and (entry["id"], entry["code"]) == wanted:
                return True
    except Failure:
        pass
    return False


def close_modal(probe):
    """The fixture's modal dialog, open from a click, closed again."""
    modal = wait_for("the modal dialog", lambda: probe.top(MESSAGE_BOX_CLASS, MODAL_TITLE))
    probe.close(modal)
    wait_for("the modal dialog to close", lambda: probe.top(MESSAGE_BOX_CLASS, MODAL_TITLE),
             lambda found: not found)


def group_actions(session, checks):
    """Actions on one control of each kind: the C++ that WinScout writes for
    them, built and run under Wine, and Try it; a hung target holds neither."""
    probe, winscout, args = session.probe, session.winscout, session.args
    actions = Fixture(session.programs, probe, args.wine, args.fixture, "--actions")
    choose_from_code_menu(session, checks, DEFAULT_MARKS, "C++")
    directory = Path(tempfile.mkdtemp(prefix="winscout-actions-"))
    builds = []
    try:
        for number, (control, action, show, effect) in enumerate(ACTION_CASES):
            window = actions[control]
            found_only = winscout.generate_code(window.point)
            choose_action(session, ACTIONS_OFFERED[control], action)
            code = wait_for(f"{action} on the {control} in the code box",
                            lambda: winscout.text(CODE_BOX), lambda text: text != found_only)
            if "late" in effect:
                choose_action(session, (*ACTIONS_OFFERED[control], WAIT_ITEM), WAIT_ITEM)
            if "way" in effect:
                choose_from_code_menu(session, checks, ("C++", BY_POSITION), effect["way"])
            if "late" in effect or "way" in effect:
                code = wait_for("the code changed", lambda: winscout.text(CODE_BOX),
                                lambda text, before=code: text != before)
            if "way" in effect:
                checks.check(f"{control}: the search takes the ID", "GetDlgItem(" in code, code)
            builds.append(build_action(args.cxx, directory, number, code, show))
        for (control, action, show, effect), (program, build) in zip(ACTION_CASES, builds):
            name = f"{action} on the {control}, C++ built and run"
            if "late" in effect:
                name = f"{WAIT_ITEM}: {name} while the {control} is away"
                probe.close(actions[control].handle)
                wait_for(f"the {control} to go", lambda: probe.item(
                    actions["actions"].handle, effect["heard"][0]), lambda found: not found)
            printed, seconds, fault = run_action(args.wine, program, build)
            if not checks.check(f"{name}: it ends", fault is None, fault):
                continue
            if "heard" in effect:
                checks.check(f"{name}: the window hears {effect['heard']}",
                             heard(actions, effect["heard"]), printed)
            if "holds" in effect:
                checks.reached(f"{name}: the control holds {effect['holds']!r}",
                               lambda: probe.text(actions[control].handle),
                               effect["holds"].__eq__)
            if "prints" in effect:
                checks.equal(f"{name}: what it reads", printed_rows(printed),
                             effect["prints"])
            if control == "push button":
                checks.step("the click's modal dialog, closed", close_modal, probe)
    finally:
        for _, build in builds:
            if build.poll() is None:
                build.kill()
        shutil.rmtree(directory, ignore_errors=True)

    def tried(control, action, wanted, heard_wanted=None):
        winscout.generate_code(actions[control].point)
        choose_action(session, ACTIONS_OFFERED[control], action)
        checks.equal(f"Try it, {action} on the {control}: the message", try_it(session),
                     wanted)
        if heard_wanted:
            checks.check(f"Try it, {action} on the {control}: the window hears it",
                         heard(actions, heard_wanted))

    checks.step("Try it on the push button", tried, "push button", "Click it", "Clicked.",
                (1, BN_CLICKED))
    checks.step("the modal dialog of Try it's click, closed", close_modal, probe)
    checks.step("Try it on the combo box", tried, "combo box", "Choose an item", "Chosen.",
                (6, SELCHANGE))
    checks.step("Try it on the list view", tried, "list view", "Read its items",
                "\r\n".join("\t".join(row) for row in LIST_VIEW_ROWS))
    # The row again: unselected first, it is newly selected. The tree's item,
    # selected already by the C++, is not told of again.
    checks.step("Try it on the list view's row", tried, "list view", "Select the item",
                "Selected.", (8, LVN_ITEMCHANGED))
    checks.step("Try it on the tree view's item", tried, "tree view", "Select the item",
                "Selected.")

    def hung():
        winscout.generate_code(actions["hung"].point)
        choose_action(session, ACTIONS_OFFERED["hung"], "Read its text")
        code = winscout.text(CODE_BOX)
        program, build = build_action(args.cxx, Path(tempfile.mkdtemp()), 0, code,
                                      "Print(text);")
        build.wait(timeout=COMPILE_SECONDS)
        probe.signal(ACTIONS_HANG_EVENT)
        time.sleep(0.2)
        printed, seconds, fault = run_action(args.wine, program, build)
        checks.check("a hung window: the C++ Read its text ends within its time limit",
                     fault is None and seconds < HUNG_RUN_LIMIT_SECONDS and printed.strip() == "",
                     f"{fault or ''} after {seconds:.1f} s, printing {printed!r}")
        start = time.monotonic()
        message = try_it(session)
        seconds = time.monotonic() - start
        checks.equal("a hung window: Try it says it did not answer", message,
                     "The window did not answer.")
        checks.check("a hung window: Try it does not hold WinScout",
                     seconds < ANSWER_TIMEOUT_SECONDS + 3, f"{seconds:.1f} s")
        shutil.rmtree(program.parent, ignore_errors=True)

    checks.step("a hung target", hung)

    def hostile():
        """A list box that answers absurd lengths and counts: its details show, and
        Try it reads up to the limits and says where it cut."""
        window = actions["hostile list"]
        winscout.generate_code(window.point)
        view = open_windows_view(probe)
        checks.reached("a hostile window: the Windows window shows its details",
                       lambda: view.details().get("Class"), "ListBox".__eq__)
        probe.close(view.window)
        choose_action(session, ACTIONS_OFFERED["list box"], "Read its text")
        text = try_it(session)
        checks.check("a hostile window: Try it reads its text up to the limit and says so",
                     text == "x" * TEXT_LIMIT + TEXT_CUT, f"{len(text)} characters")
        choose_action(session, ACTIONS_OFFERED["list box"], "Read its items")
        checks.equal("a hostile window: Try it reads no item it cannot read",
                     try_it(session), "")

    checks.step("a hostile target", hostile)

    def long_list():
        """Try it reads a list a piece at a time, taking input meanwhile, its progress in
        the caption, till Esc. A short list read whole: its ends shown, all copied."""
        winscout.generate_code(actions["long list"].point)
        choose_action(session, ACTIONS_OFFERED["list box"], "Read its items")
        choose_try_it(session)
        slowest = slowest_typed_ms(session, LONG_READ_SECONDS)
        checks.check(f"input taken within {READ_ANSWER_LIMIT_MS} ms while Try it reads {LONG_LIST}",
                     slowest <= READ_ANSWER_LIMIT_MS, f"{slowest} ms")
        checks.check("the reading's progress in the caption", re.fullmatch(
            rf"Reading items\.\.\. [1-9]\d* of {LONG_LIST}", now := probe.text(winscout.main)), now)
        xdotool("key", "Escape")
        stopped = try_it(session, chosen=True)
        checks.check("Esc stops the reading and says how far it got",
                     re.fullmatch(rf"Stopped: [1-9]\d* of {LONG_LIST} items read\.", stopped),
                     stopped)
        checks.equal("the caption after the reading", probe.text(winscout.main), TITLE)
        winscout.generate_code(actions["short list"].point)
        choose_action(session, ACTIONS_OFFERED["list box"], "Read its items")
        shown, lines = try_it(session).split("\r\n"), probe.clipboard().split("\r\n")
        last = f"Item {SHORT_LIST - 1}"
        note = f"({SHORT_LIST} lines in all, all of them on the clipboard)"
        checks.equal(f"a list of {SHORT_LIST}: its ends shown, all copied",
                     (shown[:2], shown[-2:], len(lines), lines[-1]),
                     (["Item 0", "Item 1"], [last, note], SHORT_LIST, last))

    checks.step("a long list read and stopped", long_list)

    def notepad():
        """A program no one here wrote: its text set, and read back, by Try it."""
        window = session.start_notepad()
        edit = probe.child(window, "Edit")
        offered = ACTIONS_OFFERED["edit"]
        winscout.generate_code(probe.rect(edit).centre)
        choose_action(session, offered, "Set its text")
        checks.equal("Try it on notepad: Set its text", try_it(session), "Text set.")
        checks.reached("notepad holds the new text", lambda: probe.text(edit),
                       "New text".__eq__)
        choose_action(session, offered, "Read its text")
        checks.equal("Try it on notepad: Read its text", try_it(session), "New text")

    checks.step("Try it on notepad", notepad)
