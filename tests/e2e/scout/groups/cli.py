"""The e2e.cli group: winscout.exe started with arguments, no window."""

import json
import re
import shlex
import subprocess
import tempfile
from pathlib import Path

from ..builds import CppBuilds
from ..checks import found_detail
from ..common import WAIT_SECONDS, wait_for
from ..real_input import click, xdotool
from ..session import Fixture
from ..views import TREE, open_windows_view, save_through_dialog
from ..winscout import (BY_ID_AND_TITLE, BY_POSITION, CODE_BOX, LANGUAGES, MESSAGE_BOX_CLASS,
                        choose_from_code_menu, shown_menu)

# The code box's languages and ways, as the command line names them.
LANGUAGE_ARGS = dict(zip(LANGUAGES, ("vb", "vba", "cpp", "csharp", "python")))
WAY_ARGS = {BY_POSITION: "position", BY_ID_AND_TITLE: "id-title"}
MODAL = (MESSAGE_BOX_CLASS, "Modal")
TVM_GETNEXTITEM, TVM_SELECTITEM, TVGN_ROOT, TVGN_NEXT, TVGN_CARET = 0x110A, 0x110B, 0, 1, 9
# Quotes, backslashes, control characters and a long text, set on a window.
HOSTILE_TEXT = 'say "hi" \\ back\\slash\ttab \x01\x1f end \u03a9 ' + "w" * 32000
# (arguments, exit code, the start of the line on standard error)
FAILURES = (
    (["details", "1"], 1, "winscout: 0x00000001 (1) is not a window"),
    (["code", "NoSuchClassAnywhere", "Edit"], 1,
     'winscout: no window found at "NoSuchClassAnywhere"'),
    (["tree", "--bogus"], 2, "winscout: unknown option: --bogus"),
    (["frobnicate"], 2, "winscout: unknown command: frobnicate"),
)
# What the schema wants of each object, field by field, in order.
WINDOW_FIELDS = (("handle", int), ("class", str), ("title", str), ("details", list),
                 ("windows", list))
PROCESS_FIELDS = (("process_id", int), ("name", str), ("windows", list))


def run(session, *args, seconds=WAIT_SECONDS * 3):
    """(exit code, standard output, standard error) of winscout.exe with the arguments."""
    done = subprocess.run([session.args.wine, session.args.winscout, *args],
                          capture_output=True, timeout=seconds, check=False)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def run_in_console(session, *args):
    """(exit code, what the console shows) of winscout.exe started from cmd.exe
    in a real console (a terminal): its answer goes to the console it was
    started from, not to a pipe."""
    exe = subprocess.run(["winepath", "-w", session.args.winscout], capture_output=True,
                         text=True, check=True).stdout.strip()
    line = shlex.join([session.args.wine, "cmd", "/c", exe, *args])
    done = subprocess.run(["script", "-qec", line, "/dev/null"], capture_output=True,
                          timeout=WAIT_SECONDS * 3, check=False)
    shown = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", done.stdout.decode())
    return done.returncode, shown.replace("\r", "")


def schema_faults(value, fields, where):
    """Where the object breaks the schema of docs/json.md."""
    if not isinstance(value, dict) or [*value] != [name for name, _ in fields]:
        return [f"{where}: fields {list(value) if isinstance(value, dict) else value!r}"]
    faults = [f"{where}.{name} is not {kind.__name__}" for name, kind in fields
              if not isinstance(value[name], kind)]
    for line in value.get("details", []):
        if [*line] != ["name", "value"] or not all(isinstance(v, str) for v in line.values()):
            faults.append(f"{where}: detail {line!r}")
    for window in value["windows"]:
        faults += schema_faults(window, WINDOW_FIELDS, f"{where}/{window.get('handle')}")
    return faults


def windows_of(tree):
    """Every window of the parsed tree, by handle."""
    found, pending = {}, [w for p in tree["processes"] for w in p["windows"]]
    while pending:
        window = pending.pop()
        found[window["handle"]] = window
        pending += window["windows"]
    return found


def group_cli(session, checks):
    """The command line's answers against the code box, the fixture and each other."""
    fixture, probe, winscout = session.fixture, session.probe, session.winscout
    target = fixture[fixture.finders[0]["target"]]

    def code_as_the_code_box():
        # One choice a step: the languages searching by position, then by ID
        # and title, back again.
        steps = [*((language, BY_POSITION) for language in LANGUAGES),
                 *((language, BY_ID_AND_TITLE) for language in reversed(LANGUAGES))]
        marks = steps[0]
        shown = winscout.generate_code(target.point)
        for language, way in steps:
            if (language, way) != marks:
                choose_from_code_menu(session, checks, marks,
                                      language if language != marks[0] else way)
                marks = (language, way)
                shown = wait_for(f"{language}, {way} in the code box",
                                 lambda: winscout.text(CODE_BOX),
                                 lambda text, before=shown: text != before)
            _, printed, _ = run(session, "code", str(target.handle), "--language",
                                LANGUAGE_ARGS[language], "--by", WAY_ARGS[way])
            checks.equal(f"code {language}, {way}: as the code box", printed, shown + "\r\n")
        _, at, _ = run(session, "code", "--at", "{},{}".format(*target.point), "--language",
                       LANGUAGE_ARGS[marks[0]], "--by", WAY_ARGS[marks[1]])
        checks.equal("code --at the drop's point: as the code box", at, shown + "\r\n")

    checks.step("code in every language and way", code_as_the_code_box)

    def tree_json():
        code, out, _ = run(session, "tree", "--json")
        tree = json.loads(out)
        checks.equal("tree --json: exit code 0, version 1", (code, tree["version"]), (0, 1))
        faults = [f for p in tree["processes"]
                  for f in schema_faults(p, PROCESS_FIELDS, p["name"])]
        checks.equal("tree --json: every object as docs/json.md says", faults, [])
        found = windows_of(tree)
        for window in fixture.windows.values():
            entry = found.get(window.handle, {})
            details = {line["name"]: line["value"] for line in entry.get("details", [])}
            # An edit's text is its own, the title empty; the live edit's
            # changed after the manifest was written.
            texts = (entry.get("title"), details.get("Title"), details.get("Text"))
            checks.equal(f"tree --json holds {window.name} with its details",
                         (entry.get("class"), details.get("Class"),
                          details.get("Handle", "").split(" ")[0],
                          texts[:2] == (window.text,) * 2 or texts[2] in (
                              window.text, probe.text(window.handle))),
                         (window.class_name, window.class_name,
                          f"0x{window.handle & 0xFFFFFFFF:08X}", True))

    checks.step("tree --json", tree_json)

    def save_as_json():
        view = open_windows_view(probe)
        view.focus_on(TREE)  # on the window the code step picked
        xdotool("key", "Menu")
        wait_for("the tree's context menu", lambda: shown_menu(probe))
        xdotool("key", "j")  # Save as &JSON...
        saved = json.loads(save_through_dialog(probe, session.args.out / "e2e-windows.json"))
        printed = json.loads(run(session, "tree", "--json")[1])
        checks.equal("Save as JSON: every object as docs/json.md says, version 1",
                     [f for p in saved["processes"]
                      for f in schema_faults(p, PROCESS_FIELDS, p["name"])] + [saved["version"]],
                     [1])
        ours, theirs = windows_of(saved), windows_of(printed)
        for window in fixture.windows.values():
            mine, its = ({k: v for k, v in tree.get(window.handle, {}).items() if k != "windows"}
                         for tree in (ours, theirs))
            checks.check(f"Save as JSON holds {window.name} as tree --json does",
                         mine and mine == its, (mine, its))
        probe.close(view.window)

    checks.step("Save as JSON from the Windows window", save_as_json)

    def hostile_text():
        top = next(window for window in fixture.windows.values() if window.parent == 0)
        probe.set_text(top.handle, HOSTILE_TEXT)
        code, out, _ = run(session, "details", str(top.handle), "--json")
        details = json.loads(out)
        checks.equal("details --json of a hostile text: read back whole",
                     (code, details["title"], len(details["report"])),
                     (0, HOSTILE_TEXT, 8))
        probe.set_text(top.handle, top.text)

    checks.step("a hostile text in JSON", hostile_text)

    def console():
        top = next(window for window in fixture.windows.values() if window.parent == 0)
        probe.set_text(top.handle, "console \u03a9 \u00fc")
        shown = [run_in_console(session, *args) for args in
                 (["details", str(top.handle)], FAILURES[0][0])]
        probe.set_text(top.handle, top.text)
        checks.check("a console: the details with their Unicode title, and a failure's "
                     "line and exit code", shown[0][0] == 0 and
                     "Title: console \u03a9 \u00fc\n" in shown[0][1] and
                     shown[1] == (FAILURES[0][1], FAILURES[0][2] + "\n"), shown)

    checks.step("the answer in the console it was started from", console)

    def compare():
        actions = Fixture(session.programs, probe, session.args.wine, session.args.fixture,
                          "--actions")
        with tempfile.TemporaryDirectory(prefix="winscout-cli-") as folder:
            # One as text, one as JSON: compare reads either.
            files = [Path(folder) / "before.txt", Path(folder) / "after.json"]
            files[0].write_text(run(session, "snapshot")[1], newline="")
            probe.set_text(actions["edit"].handle, "changed by the test")
            # The tree's second root, after the first and its child: item 2.
            tree = actions["tree view"].handle
            root = probe.value("send", tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)[0]
            second = probe.value("send", tree, TVM_GETNEXTITEM, TVGN_NEXT, root)[0]
            probe.value("send", tree, TVM_SELECTITEM, TVGN_CARET, second)
            click(probe.rect(actions["push button"].handle).centre)
            wait_for("the modal dialog", lambda: probe.top(*MODAL))
            files[1].write_text(run(session, "snapshot", "--json")[1], newline="")
            code, out, _ = run(session, "compare",
                               *("Z:" + str(path).replace("/", "\\") for path in files))
        lines = out.split("\r\n")
        modal = probe.top(*MODAL)
        checks.check("compare: the dialog appeared",
                     code == 0 and f'appeared 0x{modal:08X} #32770 "Modal"' in lines, out)
        edit = f'changed 0x{actions["edit"].handle:08X} Edit "changed by the test"'
        checks.check("compare: the edit's text changed", edit in lines and
                     '  text: "edit text \u03a9 "q"" -> "changed by the test"' in lines, out)
        tree = f'changed 0x{actions["tree view"].handle:08X} SysTreeView32 ""'
        checks.check("compare: the tree view's selection changed", tree in lines and
                     lines[lines.index(tree) + 1].endswith(" -> item 2"), out)
        probe.close(modal)
        wait_for("the modal dialog to close", lambda: probe.top(*MODAL), lambda m: not m)

    checks.step("compare snapshots around a click", compare)

    def notepad():
        edit = probe.child(session.start_notepad(), "Edit")
        code, printed, _ = run(session, "code", "Notepad", "Edit", "--language", "cpp")
        with CppBuilds(session.args.cxx, session.args.wine) as builds:
            handle, error = builds.start(printed)()
        checks.check("notepad's text area: the C++ that code prints, built and run, finds it",
                     code == 0 and handle == edit != 0, found_detail(handle, edit, error))

    checks.step("notepad's text area found by its code", notepad)

    for args, code, line in FAILURES:
        got, out, err = run(session, *args)
        checks.check(f"winscout {' '.join(args)}: exit code {code} and its line",
                     got == code and out == "" and err.startswith(line)
                     and err.count("\n") == 1, (got, out, err))
    code, out, _ = run(session, "/?")
    checks.check("winscout /?: exit code 0, a line a command", code == 0 and all(
        f"winscout {verb}" in out for verb in ("tree", "details", "code", "compare")), out)
