"""The e2e.record group: the fixture's order flow done with real input while
WinScout records it, and the script it writes run again on a fresh fixture."""

import json
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from ..builds import build_action, run_action
from ..common import REPO, WAIT_SECONDS, Failure, wait_for
from ..probe import as_text, from_text
from ..real_input import click, give_keyboard_to, xdotool
from ..session import NOTEPAD_TITLE, Fixture
from ..views import (MESSAGE_COPY, MESSAGE_FILTER, MESSAGE_LIST, MESSAGE_THREAD,
                     hex_handle, open_message_log)
from ..winscout import (BY_ID_AND_TITLE, BY_POSITION, CODE_BOX, DEFAULT_MARKS,
                        MESSAGE_BOX_CLASS, TITLE, WinScout, choose_from_code_menu,
                        shown_menu)

ORDER = {"name": "Grace Hopper", "password": "s3cret-Xq7", "colour": "Blue",
         "gift": True, "size": "Medium"}
COLOURS = ("Red", "Green", "Blue")
CB_GETITEMHEIGHT = 0x154
RECORDING = "Recording..."
LOG_PLACE = (700, 330, 560, 400)
ORDER_HANG = 0x8001  # WM_APP + 1, which stops the orders window's thread for 3 s
NOTES = "Notes from WinScout"
SAVE_AS = "Save As"
CONFIRM = "Confirm order"
NEW_ORDER_COMMAND = 100  # Order > New order... (order_ids.h)
HUNG_SECONDS = 2.5  # of the 3 the program sleeps
BM_CLICK, STORM_CLICKS = 0xF5, 10000
# What a script sets in a password box (codegen::kPasswordPlaceholder).
REPLAYED = dict(ORDER, password="Password")
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
            self.dialog = fixture[name].text
            return
        window = fixture[name]
        if action == "menu":
            # The menu bar lies right above the client area; its first item
            # opens the menu, whose first item is the one wanted.
            # The menu drops over the client area's corner.
            client = probe.client(window.handle)[0]
            click((client.left + 15, client.top - 8))
            corner = (client.left + 15, client.top + 8)
            menu = wait_for(f"the menu of {value}", lambda: probe.window_at(corner),
                            lambda found: found not in (0, window.handle))
            menu = probe.rect(menu)
            click((menu.left + 25, menu.top + 12))
        elif action == "click":
            click(window.point)
            if window.class_name == "Edit":
                wait_for(f"the focus in {name}", lambda: probe.value("focus", window.handle),
                         [window.handle].__eq__)
        elif action == "type":
            give_keyboard_to(self.dialog)
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
        """The state that Finish wrote, once it has; the window lines of the
        dialogs that open on the way are kept."""
        while (entry := json.loads(self.fixture.lines.line("the finished line")))[
                "kind"] != "finished":
            if entry["kind"] == "window":
                self.fixture.keep(entry)
            elif entry["kind"] != "ready":
                raise Failure(f"the fixture wrote {entry} instead of the finished line")
        # Wine takes a while to take a captioned window off a display without
        # a window manager; the program answers again once it has.
        probe = self.session.probe
        wait_for("the confirmation to go", lambda: probe.top(MESSAGE_BOX_CLASS, CONFIRM),
                 lambda found: not found)
        return json.loads(self.file.read_text())

    def close(self):
        self.fixture.program.stop()


def start_recording(session, checks, name, point):
    """Picks the window at the point and presses F4."""
    probe, winscout = session.probe, session.winscout
    winscout.generate_code(point)
    give_keyboard_to(TITLE)
    xdotool("key", "F4")
    checks.reached(f"{name}: F4 starts recording, and the caption says so",
                   lambda: probe.text(winscout.main), lambda title: RECORDING in title)


def press_f4_in_winscout(session):
    """F4 goes to the active program, as on Windows: WinScout is clicked first."""
    click(session.winscout.centre(CODE_BOX))
    give_keyboard_to(TITLE, start_only=True)
    xdotool("key", "F4")


def stop_recording(session, checks, name, by_itself=False):
    """F4 again, unless the recording ends by itself; the script in the code box."""
    probe, winscout = session.probe, session.winscout
    if not by_itself:
        press_f4_in_winscout(session)
    checks.reached(f"{name}: {'it' if by_itself else 'F4 again'} ends recording",
                   lambda: probe.text(winscout.main), TITLE.__eq__)
    return wait_for(f"{name}: the script in the code box", lambda: winscout.text(CODE_BOX),
                    lambda text: "Step " in text)


def logged(session, checks, directory):
    """The password typed while the Messages window logs the whole thread
    (it is closed before a recording): the log's lines, the lines copied
    and the fixture's windows."""
    probe = session.probe
    flow = OrderFlow(session, directory, "logged")
    log = open_message_log(session, flow.fixture["orders"].point)
    # Out of the flow's way, which it would cover.
    probe.place(log.window, *LOG_PLACE)
    wait_for("the log to move", lambda: probe.rect(log.window).left == LOG_PLACE[0])
    log.press(MESSAGE_THREAD)
    probe.set_text(log.controls[MESSAGE_FILTER], "WM_CHAR WM_SETTEXT")
    for row in FLOW[:FLOW.index(("type", PASSWORD, ORDER["password"])) + 1]:
        flow.do(row)
    windows, lines = flow.fixture.windows, log.lines()
    flow.close()
    # Copy takes the selected lines: all of them, from the first.
    rows = probe.rect(log.controls[MESSAGE_LIST])
    click((rows.left + 40, rows.top + 30))
    give_keyboard_to(probe.text(log.window))
    xdotool("key", "Home", "key", "shift+End")
    log.press(MESSAGE_COPY)
    copied = wait_for("the log on the clipboard",
                      lambda: from_text(probe.ask("clipboard")[1][0]),
                      lambda text: "WM_CHAR" in text)
    probe.close(log.window)
    wait_for("the log closed", lambda: not probe.visible(log.window))
    return lines, copied, windows


def recorded(session, checks, directory):
    """Records the flow done by hand; the script in C++ and the fixture's
    windows."""
    choose_from_code_menu(session, checks, DEFAULT_MARKS, "C++")
    choose_from_code_menu(session, checks, ("C++", BY_POSITION), BY_ID_AND_TITLE)
    flow = OrderFlow(session, directory, "recorded")
    start_recording(session, checks, "the order flow", flow.fixture["orders"].point)
    for row in FLOW:
        flow.do(row)
    checks.equal("the recorded flow: the final state", flow.final_state(), ORDER)
    script = stop_recording(session, checks, "the order flow")
    windows = flow.fixture.windows
    flow.close()
    return script, windows


def run_cpp(session, directory, script, _windows):
    program, build = build_action(session.args.cxx, directory, 0, script, "")
    flow = OrderFlow(session, directory, "cpp")
    printed, seconds, fault = run_action(session.args.wine, program, build)
    if fault:
        raise Failure(f"the C++ script: {fault}")
    return flow


def run_vb(session, directory, script, _windows):
    flow = OrderFlow(session, directory, "vb")
    kind, words = session.probe.ask("act", as_text(script), seconds=30)
    if kind != "ok":
        raise Failure(f"the Visual Basic script does not run: {from_text(words[0])}")
    return flow


class FakeRun:
    """The Python script run on the fake user32, over a desktop of the windows
    the recording met: what it does, as events, must be the flow's."""

    def __init__(self, directory, script, windows):
        hexed = lambda text: text.encode().hex()
        listed = [w for name, w in windows.items() if not name.startswith("size ")]
        searches = {}
        for w in listed:
            searches.setdefault((w.parent, w.class_name), []).append(w.handle)
        desktop = {
            "desktop": 0x10010,
            "searches": [{"parent": parent, "class": hexed(class_name), "found": found}
                         for (parent, class_name), found in searches.items()],
            "windows": [{"handle": w.handle, "parent": w.parent, "class": hexed(w.class_name),
                         "title": hexed(w.text), "id": w.id,
                         "items": [hexed(c) for c in COLOURS] if w.name == COLOUR else []}
                        for w in listed]}
        handle = lambda name: windows[name].handle
        # A list view's selection is not modelled: the other languages check it.
        events = [["command", handle("orders"), hexed(str(NEW_ORDER_COMMAND))],
                  ["text", handle(NAME), hexed(REPLAYED["name"])],
                  ["text", handle(PASSWORD), hexed(REPLAYED["password"])],
                  ["choose", handle(COLOUR), hexed(REPLAYED["colour"])],
                  ["click", handle(GIFT)], ["click", handle(OK)], ["click", handle(FINISH)]]
        (directory / "script.py").write_bytes(script.encode())
        self.manifest = directory / "fake.json"
        self.manifest.write_text(json.dumps({
            "desktops": {"order": desktop},
            "snippets": [{"name": "the recorded script", "file": "script.py",
                          "desktop": "order",
                          "effects": {"events": events, "printed": []}}]}))

    def final_state(self):
        run = subprocess.run([sys.executable, REPO / "tests/support/python_replay.py",
                              self.manifest], capture_output=True, text=True, timeout=30)
        if run.returncode != 0:
            raise Failure(f"on the fake user32: {run.stdout}{run.stderr}")
        return REPLAYED

    def close(self):
        pass


# Each language a row: how its script is run against a fresh fixture, or
# against the fake user32 with the windows that the recording met, and the
# final state it must leave. Visual Basic selects no list-view row: its step
# says that that code is written in C++, and the size stays unselected.
REPLAYS = (
    ("C++", run_cpp, REPLAYED),
    ("Visual Basic", run_vb, dict(REPLAYED, size="")),
    ("Python", lambda _, directory, script, windows: FakeRun(directory, script, windows),
     REPLAYED),
)


def program_ends(session, checks, flow):
    flow.close()
    flow.fixture.program.process.wait(timeout=WAIT_SECONDS)
    script = stop_recording(session, checks, "the program ends mid-recording", True)
    checks.check("the program ends mid-recording: the script so far, with a note",
                 ORDER["name"] in script and "ended" in script.splitlines()[-1], script)


def program_hangs(session, checks, flow):
    """F4 while the program's thread sleeps, with the name's typing not yet
    a step (which cannot be read then)."""
    probe, winscout = session.probe, session.winscout
    probe.ask("post", flow.fixture["orders"].handle, ORDER_HANG, 0, 0)
    press_f4_in_winscout(session)
    answers, end = [], time.monotonic() + HUNG_SECONDS
    while time.monotonic() < end:
        answers.append(probe.value("ping", winscout.main)[0])
    checks.check("a hung program: WinScout answers within 0.2 s as its recording ends",
                 all(0 <= ms < 200 for ms in answers), answers)
    checks.reached("a hung program: the script so far in the code box",
                   lambda: winscout.text(CODE_BOX), lambda text: "Step 1: " in text)


def winscout_killed(session, checks, flow):
    session.winscout.program.process.kill()
    session.winscout.program.process.wait()
    for row in FLOW[4:]:
        flow.do(row)
    checks.equal("WinScout killed mid-recording: the program's flow ends as by hand",
                 flow.final_state(), ORDER)
    session.winscout = WinScout(session.programs, session.probe,
                                [session.args.wine, session.args.winscout])
    start_recording(session, checks, "after WinScout was killed",
                    flow.fixture["orders"].point)
    for row in FLOW[:4]:
        flow.do(row)
    checks.check("after WinScout was killed, the program is recorded again",
                 ORDER["name"] in stop_recording(session, checks, "recorded again"))


def notepad_saves(session, checks, directory):
    """Typing into notepad and File > Save As recorded; the C++ script run on
    a fresh notepad writes the same file."""
    probe, file = session.probe, directory / "notes.txt"
    notepad = session.start_notepad()
    edit = probe.child(notepad, "Edit")
    start_recording(session, checks, "notepad", probe.rect(edit).centre)
    click(probe.rect(edit).centre)
    give_keyboard_to(NOTEPAD_TITLE)
    xdotool("type", "--delay", 20, NOTES)
    wait_for("the notes in notepad", lambda: probe.text(edit), NOTES.__eq__)
    xdotool("key", "alt+f")
    wait_for("notepad's File menu", lambda: shown_menu(probe))
    xdotool("key", "a")
    dialog = wait_for("the Save As dialog", lambda: probe.top(MESSAGE_BOX_CLASS, SAVE_AS))
    wait_for("the Save As dialog shown", lambda: probe.visible(dialog))
    give_keyboard_to(SAVE_AS)
    xdotool("type", "--delay", 20, "Z:" + str(file).replace("/", "\\"))
    click(probe.rect(probe.item(dialog, 1)).centre)  # Save, IDOK
    wait_for("the notes saved", lambda: file.exists() and file.read_bytes())
    script = stop_recording(session, checks, "notepad")
    probe.close(notepad)
    wait_for("notepad to end", lambda: probe.top("Notepad"), lambda found: not found)
    file.unlink()
    program, build = build_action(session.args.cxx, directory, 1, script, "")
    session.start_notepad()
    printed, seconds, fault = run_action(session.args.wine, program, build)
    checks.check("notepad's script, built and run: it ends", fault is None, fault)
    checks.reached("notepad's script, run on a fresh notepad, saves the same notes",
                   lambda: file.exists() and file.read_bytes(), NOTES.encode().__eq__)


# Bad input, each a row: what happens after the flow's first rows were
# recorded (the menu, the dialog, the name typed).
def click_storm(session, checks, flow):
    """10,000 clicks of the gift box: one step, for the state they leave it
    in; WinScout answers all the while."""
    _, answers = session.answers_while(session.winscout.main, lambda: session.probe.ask(
        "send", flow.fixture[GIFT].handle, BM_CLICK, 0, 0, STORM_CLICKS,
        seconds=WAIT_SECONDS * 20))
    checks.answered(f"{STORM_CLICKS} clicks: WinScout answers within 0.2 s throughout",
                    answers)
    steps = [line for line in stop_recording(session, checks, "a storm of clicks").splitlines()
             if "Step " in line and "Gift wrap" in line]
    checks.check(f"{STORM_CLICKS} clicks: one step, the box left unchecked",
                 len(steps) == 1 and 'uncheck "Gift wrap"' in steps[0], steps)


TROUBLES = (("the program ends", program_ends), ("a hung program", program_hangs),
            ("WinScout killed", winscout_killed), ("a storm of clicks", click_storm))


def group_record(session, checks):
    """The order flow recorded; its script run again in C++, Visual Basic and
    Python, to the same final state but for the password."""
    directory = Path(tempfile.mkdtemp(prefix="winscout-record-"))
    try:
        made = []
        checks.step("the password typed while the thread is logged",
                    lambda: made.append(logged(session, checks, directory)))
        log, copied, windows = made.pop() if made else ([], "", {})
        password = ORDER["password"]
        box = hex_handle(windows[PASSWORD].handle) if windows else "none"

        def typed(lines):
            """The password box's WM_CHAR lines, and those that show what was typed."""
            lines = [line for line in lines if box in line and "WM_CHAR" in line]
            return lines, [line for line in lines if password in line or any(
                f"'{c}'" in line or f"U+{ord(c):04X}" in line for c in password)]

        for where, lines in (("Messages log", ["\t".join(line) for line in log]),
                             ("clipboard, the log copied", copied.splitlines())):
            lines, shown = typed(lines)
            checks.check(f"the {where} shows the password typed, without its characters",
                         lines and not shown, shown or lines)
        checks.step("the order flow recorded",
                    lambda: made.append(recorded(session, checks, directory)))
        script, windows = made[0] if made else ("", {})
        checks.check("the typed password is nowhere in the script", password not in script,
                     script)
        checks.check("the typed password is not on the clipboard",
                     password not in from_text(session.probe.ask("clipboard")[1][0]))
        language = "C++"
        for name, run, final in REPLAYS if made else ():
            def replay():
                nonlocal script, language
                if name != language:
                    choose_from_code_menu(session, checks, (language, BY_ID_AND_TITLE), name)
                    script = wait_for(f"the script in {name}",
                                      lambda: session.winscout.text(CODE_BOX),
                                      lambda text, shown=script: text != shown)
                    language = name
                # Kept for a look when it fails.
                (session.args.out / f"e2e-record-{name.replace(' ', '-')}.txt").write_text(script)
                flow = run(session, directory, script, windows)
                checks.equal(f"the script in {name}, run: the final state", flow.final_state(),
                             final)
                flow.close()

            checks.step(f"the script in {name}, run", replay)

        def notepad():
            if language != "C++":
                choose_from_code_menu(session, checks, (language, BY_ID_AND_TITLE), "C++")
            notepad_saves(session, checks, directory)

        checks.step("a real program: notepad's Save As recorded and replayed", notepad)
        for name, trouble in TROUBLES:
            def troubled():
                flow = OrderFlow(session, directory, name.replace(" ", "-"))
                start_recording(session, checks, name, flow.fixture["orders"].point)
                for row in FLOW[:4]:
                    flow.do(row)
                trouble(session, checks, flow)
                flow.close()

            checks.step(name, troubled)
    finally:
        shutil.rmtree(directory, ignore_errors=True)
