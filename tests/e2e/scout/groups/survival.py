"""The e2e.survival group: its scenario tables and steps."""

import contextlib

from ..builds import CppBuilds
from ..checks import found_detail
from ..common import Failure, wait_for
from ..session import FIXTURE_RECREATE_EVENT, FIXTURE_RETITLE_EVENT, Fixture
from ..templates import cpp_form_faults
from ..winscout import (BY_ID_AND_TITLE, BY_POSITION, CODE_BOX, DEFAULT_MARKS, SEARCH_WAYS,
                        choose_from_code_menu)

# The windows of `fixture --frameworks` that the code must find again, as the
# table names them: the changes run-dependent names and document titles go
# through.
FRAMEWORK_TARGETS = {
    "mfc frame": "MFC document frame",
    "mfc pane": "MFC splitter pane (ID 0xE901)",
    "winforms button": "WinForms button (ID its handle)",
    "wpf window": "WPF window",
    "atl control": "ATL control",
    "document": "document window",
}
RUN_DEPENDENT_TARGETS = ("mfc frame", "mfc pane", "winforms button", "wpf window",
                         "atl control")
DOCUMENT_TARGETS = ("mfc frame", "document")
OPENED_TITLE = "notes.txt - Fixture"
SURVIVAL_LANGUAGES = ("Visual Basic", "C++")


def group_survival(session, checks):
    """Finder code written both ways for the survival pane and for windows
    named as application frameworks name theirs, then run again after each
    change that real programs make to the desktop, a restart and a document
    opened among them: by ID and title it must find the window every time; by
    position it is expected to miss it in some. Prints a table of what
    survived."""
    probe, fixture, winscout, args = (
        session.probe, session.fixture, session.winscout, session.args
    )
    frame, decoy = fixture["survival frame"], fixture["survival decoy"]
    pane, sibling = fixture["survival pane"], fixture["survival sibling"]
    frameworks = Fixture(session.programs, probe, args.wine, args.fixture, "--frameworks")
    button = frameworks["winforms button"]
    checks.equal("the WinForms button's ID is its handle", button.id, button.handle)
    targets = {"survival pane": pane,
               **{name: frameworks[name] for name in FRAMEWORK_TARGETS}}
    codes = {}

    # Every target's code in one language and way, then the next: the menu
    # changes the code box for all later drops.
    def generate(way, language):
        for name, window in targets.items():
            codes[name, way, language] = winscout.generate_code(window.point)

    def choose(marked, wanted):
        shown = winscout.text(CODE_BOX)
        choose_from_code_menu(session, checks, marked, wanted)
        wait_for(f"{wanted} in the code box", lambda: winscout.text(CODE_BOX),
                 lambda text: text != shown)

    generate(BY_POSITION, "Visual Basic")
    choose(DEFAULT_MARKS, BY_ID_AND_TITLE)
    generate(BY_ID_AND_TITLE, "Visual Basic")
    choose(("Visual Basic", BY_ID_AND_TITLE), "C++")
    generate(BY_ID_AND_TITLE, "C++")
    choose(("C++", BY_ID_AND_TITLE), BY_POSITION)
    generate(BY_POSITION, "C++")
    for (name, way, language), code in codes.items():
        if language == "C++":
            checks.equal(f"{name}, {way}: C++, one statement a line",
                         cpp_form_faults(code), [])
        if name in RUN_DEPENDENT_TARGETS:
            checks.check(f"{name}, {way}, {language}: no run-dependent class name",
                         targets[name].class_name not in code, code)
    # An ID made from the handle names nothing on the next run; MFC's pane ID
    # is the pane's sturdy key.
    for language in SURVIVAL_LANGUAGES:
        code = codes["winforms button", BY_ID_AND_TITLE, language]
        checks.check(f"the WinForms button, {language}: no ID made from its handle",
                     str(button.id) not in code, code)
        code = codes["mfc pane", BY_ID_AND_TITLE, language]
        checks.check(f"the MFC pane, {language}: found by its ID",
                     "GetDlgItem(" in code and str(frameworks["mfc pane"].id) in code,
                     code)

    def top_of_class():
        return probe.top(frame.class_name)

    def first_pane():
        return probe.child(pane.parent, pane.class_name)

    def on_top(window):
        rect = probe.rect(window.handle)
        probe.bring_to_front(window.handle, rect.left, rect.top)
        wait_for(f"{window.name} first of its class", top_of_class, window.handle.__eq__)

    # Each change yields the windows that the codes must find after it, by
    # target, and undoes itself where the next would see it.
    @contextlib.contextmanager
    def unchanged():
        yield {name: window.handle for name, window in targets.items()}

    @contextlib.contextmanager
    def other_window_on_top():
        try:
            on_top(decoy)
            yield {"survival pane": pane.handle}
        finally:
            on_top(frame)

    @contextlib.contextmanager
    def sibling_raised():
        try:
            probe.order(sibling.handle)
            wait_for("the sibling first of its class", first_pane, sibling.handle.__eq__)
            yield {"survival pane": pane.handle}
        finally:
            probe.order(sibling.handle, pane.handle)
            wait_for("the pane first of its class again", first_pane, pane.handle.__eq__)

    @contextlib.contextmanager
    def second_instance():
        # It makes sure itself that its frame comes first of the class.
        second = Fixture(session.programs, probe, args.wine, args.fixture,
                         "--second-instance")
        try:
            yield {"survival pane": pane.handle}
        finally:
            second.program.stop()
            wait_for("the frame first of its class again", top_of_class,
                     frame.handle.__eq__)

    @contextlib.contextmanager
    def pane_recreated():
        probe.signal(FIXTURE_RECREATE_EVENT)
        new = fixture.changed_window("the recreated pane")
        if (new.name, new.class_name, new.id) != (pane.name, pane.class_name, pane.id):
            raise Failure(f"the fixture made {new} in place of {pane}")
        if new.handle == pane.handle:
            raise Failure("the recreated pane has the old pane's handle")
        yield {"survival pane": new.handle}

    @contextlib.contextmanager
    def document_opened():
        probe.signal(FIXTURE_RETITLE_EVENT)
        opened = [frameworks.changed_window("a document window's new title")
                  for _ in DOCUMENT_TARGETS]
        if (sorted(w.name for w in opened) != sorted(DOCUMENT_TARGETS)
                or any(w.text != OPENED_TITLE for w in opened)):
            raise Failure(f"the fixture wrote {opened} for the opened document")
        yield {window.name: window.handle for window in opened}

    # One restart serves every framework target.
    @contextlib.contextmanager
    def restarted():
        nonlocal frameworks
        before = frameworks
        before.program.stop()
        frameworks = Fixture(session.programs, probe, args.wine, args.fixture,
                             "--frameworks")
        checks.equal("the restart drew the run-dependent class names anew",
                     [name for name in RUN_DEPENDENT_TARGETS
                      if frameworks[name].class_name == before[name].class_name], [])
        yield {name: frameworks[name].handle for name in FRAMEWORK_TARGETS}

    # And the ways of searching that must find the window after it.
    scenarios = (
        ("before any change", unchanged, SEARCH_WAYS),
        ("another window of its class on top", other_window_on_top, [BY_ID_AND_TITLE]),
        ("a sibling of its class raised above it", sibling_raised, [BY_ID_AND_TITLE]),
        ("a second instance started on top", second_instance, [BY_ID_AND_TITLE]),
        ("the pane recreated with a new handle", pane_recreated, [BY_ID_AND_TITLE]),
        ("a document opened", document_opened, [BY_ID_AND_TITLE]),
        ("the program restarted", restarted, [BY_ID_AND_TITLE]),
    )
    ways = SEARCH_WAYS
    survived = {}
    rows = []
    with CppBuilds(args.cxx, args.wine) as builds:
        cpp_keys = [key for key in codes if key[2] == "C++"]
        cpp_runs = dict(zip(cpp_keys, builds.start_all([codes[key] for key in cpp_keys])))

        def run_code(key):
            if key[2] == "C++":
                return cpp_runs[key]()
            return probe.replay(codes[key])

        def scenario(change_name, change, must_find):
            with change() as wanted:
                found = {
                    (name, way, language): run_code((name, way, language))
                    for name in wanted
                    for way in ways
                    for language in SURVIVAL_LANGUAGES
                }
            for (name, way, language), (handle, error) in found.items():
                row = (change_name if name == "survival pane"
                       else f"{FRAMEWORK_TARGETS[name]}: {change_name}")
                if row not in rows:
                    rows.append(row)
                survived[row, way, language] = handle == wanted[name]
                if way in must_find:
                    checks.check(f"{row}: {way}, the {language} finds the window",
                                 handle == wanted[name],
                                 found_detail(handle, wanted[name], error)
                                 + f"; the code:\n{codes[name, way, language]}")
            for name in wanted:
                for way in ways:
                    checks.equal(f"{name}, {change_name}: {way}, "
                                 "the C++ finds what the Visual Basic finds",
                                 found[name, way, "C++"][0],
                                 found[name, way, "Visual Basic"][0])

        for change_name, change, must_find in scenarios:
            checks.step(change_name, scenario, change_name, change, must_find)

    # The same window gets the same code on every run.
    for name in FRAMEWORK_TARGETS:
        checks.equal(f"{name}: after the restart, the same code as before",
                     winscout.generate_code(frameworks[name].point),
                     codes[name, BY_POSITION, "C++"])

    changes = [row for row in rows if not row.endswith("before any change")]
    table = survival_table(changes, ways, survived)
    print(table, flush=True)
    (args.out / "e2e-survival.txt").write_text(table + "\n")
    pane_changes = [name for name, _, _ in scenarios[1:5]]
    checks.check(
        "by position, the code misses the window after some change",
        not all(survived.get((name, BY_POSITION, "Visual Basic"), True)
                for name in pane_changes),
        table,
    )


def survival_table(changes, ways, survived):
    """Which code found its window after which change, and how often."""
    columns = [(way, language) for way in ways for language in SURVIVAL_LANGUAGES]
    heads = [f"{way.removeprefix('Search ')}, {language}" for way, language in columns]
    first = max(map(len, changes))
    widths = [len(head) for head in heads]

    def row(label, cells):
        cells = (text.ljust(width) for text, width in zip(cells, widths))
        return " | ".join([label.ljust(first), *cells]).rstrip()

    def cell(key):
        return {True: "survived", False: "lost", None: "not run"}[survived.get(key)]

    lines = [row("change", heads), "-+-".join("-" * w for w in [first, *widths])]
    lines += [row(name, [cell((name, *column)) for column in columns])
              for name in changes]
    counts = [
        f"{sum(survived.get((name, *column), False) for name in changes)}"
        f" of {len(changes)}"
        for column in columns
    ]
    return "\n".join([*lines, row("survived", counts)])
