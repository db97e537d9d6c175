"""The e2e.messages group: its scenario tables and steps."""

import json
import re
import select

from ..builds import CppBuilds
from ..common import Failure, wait_for
from ..real_input import click, give_keyboard_to, xdotool
from ..session import MESSAGES_STORM_EVENT, STORM_MESSAGES, STORM_SECONDS, MessageFixture
from ..views import (FILTER_BOX, MESSAGE_CHILDREN, MESSAGE_CLEAR, MESSAGE_FILTER, MESSAGE_LIST,
                     MESSAGE_PAUSE, MESSAGE_SAVE, TREE, TVIS_SELECTED, WINDOWS_REFRESH, hex_handle,
                     open_message_log, open_windows_view, save_through_dialog)
from ..winscout import (CODE_BOX, DEFAULT_MARKS, MESSAGE_BOX_CLASS, WinScout,
                        choose_from_code_menu, shown_menu, slowest_answer_ms, try_it)

MESSAGES_HANG_EVENT = "WinScoutE2EMessagesHang"
MESSAGES_HANG_SECONDS = 3
STORM_ANSWER_LIMIT_MS = 200
RUN_COMMAND = 40001  # the message fixture's Command > Run


def group_messages(session, checks):
    """The Messages window on real input: the log's lines, the CSV, the code
    that repeats a line, menus with their IDs, a storm, a hung target and
    WinScout killed while it logs. The code is built while the checks go on."""
    with CppBuilds(session.args.cxx, session.args.wine) as builds:
        message_checks(session, checks, builds)


def message_checks(session, checks, builds):
    probe, winscout, args = session.probe, session.winscout, session.args
    built = {}  # what runs the built code, by the window it is for
    target = MessageFixture(session)
    frame, button, edit = target["frame"], target["button"], target["edit"]
    view = open_message_log(session, (frame["x"], frame["y"]))
    wait_for("the log to start", view.status, lambda status: "messages" in status)

    def real_input():
        view.press(MESSAGE_CHILDREN)  # the edit's WM_CHARs come to the edit
        click((button["x"], button["y"]))
        click((edit["x"], edit["y"]))
        give_keyboard_to("Messages fixture")
        xdotool("type", "--delay", "50", "ab")
        xdotool("key", "alt+c")
        wait_for("the Command menu", lambda: shown_menu(probe))
        xdotool("key", "r")
        wait_for("the menu closed", lambda: not shown_menu(probe))
        checks.reached("the fixture ran the command and counted the click",
                       lambda: probe.text(target["counts"]["handle"]), "runs 1 clicks 1".__eq__)
        probe.set_text(view.controls[MESSAGE_FILTER], "WM_COMMAND WM_CHAR")
        lines = wait_for("the menu's WM_COMMAND in the log", view.lines,
                         lambda lines: any("menu, ID" in line.parameters for line in lines))
        seen = [(line.kind, line.message, line.window, line.parameters) for line in lines]
        hex_of = lambda entry: hex_handle(entry["handle"])
        wanted = [
            ("sent", "WM_COMMAND", hex_of(frame),
             f"ID {button['id']}, BN_CLICKED, control {hex_of(button)}"),
            ("posted", "WM_CHAR", hex_of(edit), "'a' U+0061, repeat 1"),
            ("posted", "WM_CHAR", hex_of(edit), "'b' U+0062, repeat 1"),
            ("posted", "WM_COMMAND", hex_of(frame), f"menu, ID {RUN_COMMAND}"),
        ]
        rest = iter(seen)
        checks.check("the log: the click's WM_COMMAND, the WM_CHARs, the menu's WM_COMMAND, "
                     "in order, with their kinds",
                     all(entry in rest for entry in wanted), f"{wanted} not in order in {seen}")
        checks.check("a sent WM_COMMAND is followed by its return",
                     any(a[:3] == ("sent", "WM_COMMAND", hex_of(frame)) and
                         b[:2] == ("returned", "WM_COMMAND") for a, b in zip(seen, seen[1:])),
                     seen)
        return lines

    lines = real_input()

    def save_csv():
        # Paused: the Save dialog takes the focus from the fixture's edit,
        # whose EN_KILLFOCUS would otherwise come into the log meanwhile.
        view.press(MESSAGE_PAUSE)
        wait_for("the log paused", view.status, lambda text: text.endswith(", paused"))
        shown = view.lines()
        path = args.out / "e2e-messages.csv"
        view.press(MESSAGE_SAVE)
        rows = save_through_dialog(probe, path)
        view.press(MESSAGE_PAUSE)
        import csv
        table = list(csv.reader(rows.splitlines()))
        checks.equal("Save as CSV: a header and the lines shown, decoded columns included",
                     [tuple(row[:6]) for row in table[1:]], [tuple(line) for line in shown])
        checks.equal("the CSV's header", table[0][:6],
                     ["Time (ms)", "Kind", "Window", "Class", "Message", "Parameters"])

    checks.step("Save as CSV", save_csv)

    def runs():
        """How often the fixture ran its command, once it answers again."""

        def answer():
            try:
                return probe.text(target["counts"]["handle"])
            except Failure:  # still hung
                return None

        return int(wait_for("the fixture to answer", answer).split()[1])

    def code_from_the_menu_line():
        choose_from_code_menu(session, checks, DEFAULT_MARKS, "C++")
        row = next(i for i, line in enumerate(lines) if "menu, ID" in line.parameters)
        list_rect = probe.rect(view.controls[MESSAGE_LIST])
        give_keyboard_to(probe.text(view.window))
        click((list_rect.left + 40, list_rect.top + 30))  # the first row, below the header
        xdotool("key", "Home", *["Down"] * row, "key", "shift+F10")
        wait_for("the log's context menu", lambda: shown_menu(probe))
        xdotool("key", "w")
        code = wait_for("the code that sends the command", lambda: winscout.text(CODE_BOX),
                        lambda code: "PostMessageW(" in code)
        checks.check("Write code that sends it: the menu's WM_COMMAND with its ID, posted",
                     re.search(rf"^PostMessageW\(hwnd\w+, 0x111, 0x{RUN_COMMAND:X}, 0\);$", code,
                               re.MULTILINE), code)
        built["fixture"] = builds.start(code)
        ran = runs()
        checks.equal("Try it on the menu line: posted", try_it(session), "Posted.")
        checks.reached("Try it on the menu line: the fixture runs its command again", runs,
                       lambda count: count == ran + 1)

    checks.step("code from a logged line", code_from_the_menu_line)

    def menus():
        windows = open_windows_view(probe)

        def menu_of(window):
            """The tree below the window, its Menu branch opened all the way."""
            probe.set_text(windows.controls[FILTER_BOX], hex_handle(window))
            wait_for("the window in the filtered tree", windows.tree, lambda tree: tree and any(
                entry.text.startswith(hex_handle(window)) for entry in tree))
            # A click gives the tree the keyboard, whichever window had it.
            tree_rect = probe.rect(windows.controls[TREE])
            click((tree_rect.left + 30, tree_rect.top + 10))
            xdotool("key", "End", "key", "KP_Multiply")
            # Read twice the same: the tree is no longer being filled.
            trees = [None]
            tree = wait_for("the menu's items", lambda: trees.append(windows.tree()) or trees[-1],
                            lambda tree: tree == trees[-2] and any(
                                "(ID " in entry.text for entry in tree))
            return [entry.text for entry in tree
                    if "(ID " in entry.text or entry.text in ("Menu", "(separator)")
                    or entry.depth > tree[-1].depth - 3 and not entry.text.startswith("0x")]

        fixture_menu = menu_of(frame["handle"])
        checks.equal("the fixture's menu in the Windows window, with IDs and states",
                     fixture_menu,
                     ["Menu", "Command", "Run (ID 40001)", "Checked (ID 40002) checked",
                      "(separator)", "Grayed (ID 40004) grayed", "Help", "About (ID 40003)"])
        many = [text for text in menu_of(target["many"]["handle"]) if "(ID " in text]
        checks.equal("a menu of 1,101 items whole, a long text and an owner-drawn item said so",
                     (len(many), many[0], many[-1]), (1101, "x" * 1024 + "... (cut) (ID 41000)",
                                                      "(owner-drawn, no text) (ID 42100)"))
        notepad = session.start_notepad()
        click(probe.rect(probe.item(windows.window, WINDOWS_REFRESH)).centre)
        items = menu_of(notepad)
        checks.check("notepad's menu tree: Help > About Notepad with its ID, 308",
                     "About Notepad (ID 308)" in items, items)
        # Selected, the item writes the code that chooses it (in C++ since
        # the step before).
        tree = windows.tree()
        row = next(i for i, entry in enumerate(tree) if entry.text == "About Notepad (ID 308)")
        xdotool("key", "Home", *["Down"] * row)
        wait_for("About Notepad selected", windows.tree,
                 lambda tree: tree[row].state & TVIS_SELECTED)
        code = wait_for("the code that chooses About", lambda: winscout.text(CODE_BOX),
                        lambda code: "0x134" in code)
        checks.check("the code names the menu path and posts WM_COMMAND 308",
                     "// WM_COMMAND: Help > About Notepad" in code and
                     re.search(r"^PostMessageW\(hwnd\w+, 0x111, 0x134, 0\);$", code, re.MULTILINE),
                     code)
        built["notepad"] = (notepad, builds.start(code))
        # Every session on the fixture's thread works, whatever came before:
        # the hook stays in the fixture with the log it opened first.
        probe.close(view.window)
        wait_for("the log closed", lambda: not probe.visible(view.window))
        checks.equal("the menu read after a log closed", menu_of(frame["handle"]), fixture_menu)
        # Closed, the branch comes back from the refresh without its items.
        xdotool("key", "End", "key", "Left", "key", "Left", "key", "Left", "key", "KP_Subtract")
        click(probe.rect(probe.item(windows.window, WINDOWS_REFRESH)).centre)
        wait_for("the tree read anew", windows.tree, lambda tree: tree and tree[-1].text == "Menu")
        checks.equal("the menu read again after a refresh", menu_of(frame["handle"]),
                     fixture_menu)
        probe.close(windows.window)
        command_logged("a log opened after a menu read")
        probe.close(view.window)
        wait_for("the log closed", lambda: not probe.visible(view.window))
        command_logged("a log opened once more")

    def command_logged(name):  # opens the log on the fixture and posts it a command
        log = open_message_log(session, (frame["x"], frame["y"]))
        probe.set_text(log.controls[MESSAGE_FILTER], "WM_COMMAND")
        probe.ask("post", frame["handle"], 0x111, RUN_COMMAND, 0)
        checks.reached(f"{name}: the log shows a command posted to the fixture", log.lines,
                       lambda lines: any(f"menu, ID {RUN_COMMAND}" in line.parameters
                                         for line in lines))

    checks.step("menus with their IDs, and sessions one after another", menus)

    def storm():
        probe.set_text(view.controls[MESSAGE_FILTER], "WM_APP")
        # Nothing of WM_APP is shown before the click either: the log is
        # cleared once it holds fewer messages than it did.
        logged = view.counts()[0]
        view.press(MESSAGE_CLEAR)
        wait_for("a cleared log", view.counts,
                 lambda counts: counts[0] < logged and counts[1:] == (0, 0))
        probe.signal(MESSAGES_STORM_EVENT)
        slowest = slowest_answer_ms(winscout, STORM_SECONDS, lambda: select.select(
            [target.lines.fd], [], [], 0)[0])
        entry = json.loads(target.lines.line("the storm's end", STORM_SECONDS))
        logged_rate = entry["messages"] / entry["seconds"]
        # The storm's messages are the lines shown; any message may be dropped.
        counts = wait_for("the storm in the log", view.counts,
                          lambda counts: sum(counts[1:]) >= STORM_MESSAGES, seconds=20)
        print(f"a storm of {STORM_MESSAGES} posted messages: {logged_rate:.0f} a second with the "
              f"log (e2e.figures has it without); logged {counts[1]}, dropped {counts[2]}; "
              f"WinScout's slowest answer {slowest} ms", flush=True)
        checks.check(f"a storm of {STORM_MESSAGES}: each logged or counted as dropped",
                     sum(counts[1:]) >= STORM_MESSAGES, view.status())
        checks.check(f"WinScout answers within {STORM_ANSWER_LIMIT_MS} ms during the storm",
                     slowest < STORM_ANSWER_LIMIT_MS, f"{slowest} ms")

    checks.step("a storm", storm)

    def hung():
        probe.signal(MESSAGES_HANG_EVENT)
        slowest = slowest_answer_ms(winscout, MESSAGES_HANG_SECONDS - 1)
        checks.check(f"a hung target: WinScout answers within {STORM_ANSWER_LIMIT_MS} ms",
                     slowest < STORM_ANSWER_LIMIT_MS, f"{slowest} ms")
        checks.reached("a hung target: the Messages window answers too",
                       view.status, lambda status: "messages" in status)

    checks.step("a hung target", hung)

    def killed():
        ran = runs()
        winscout.program.process.kill()
        winscout.program.process.wait()
        # Posted by the probe, as the menu would: the target still handles its
        # messages, and answers the probe's.
        probe.ask("post", frame["handle"], 0x111, RUN_COMMAND, 0)
        checks.reached("WinScout killed while it logs: the target runs on and answers",
                       lambda: probe.text(target["counts"]["handle"]),
                       lambda text: text.startswith(f"runs {ran + 1} "))
        session.winscout = WinScout(session.programs, probe, [args.wine, args.winscout])
        command_logged("a new WinScout after one killed while it logged")

    checks.step("WinScout killed mid-log", killed)

    def run_built_code():
        ran = runs()
        checks.equal("the code from the log, built and run, finds the fixture",
                     built["fixture"](), (frame["handle"], None))
        checks.reached("the code made the fixture run the command again",
                       lambda: probe.text(target["counts"]["handle"]),
                       lambda text: text.startswith(f"runs {ran + 1} "))
        notepad, run = built["notepad"]
        checks.equal("the code from the menu branch, built and run, finds notepad", run(),
                     (notepad, None))
        checks.reached("the code opened notepad's About dialog",
                       lambda: probe.top(MESSAGE_BOX_CLASS, "About Notepad"), bool)
        if about := probe.top(MESSAGE_BOX_CLASS, "About Notepad"):
            probe.close(about)

    checks.step("the code built from the log and the menu, run", run_built_code)
