"""The e2e.languages group: its scenario tables and steps."""


from ..builds import CppBuilds
from ..checks import check_code_finds, check_cpp, found_detail
from ..common import wait_for
from ..templates import searched_classes
from ..winscout import (BY_POSITION, CODE_BOX, DECLARATIONS, DEFAULT_MARKS,
                        choose_from_code_menu)

CSHARP_FIRST_LINE = (
    '[System.Runtime.InteropServices.DllImport("user32.dll", CharSet = '
    'System.Runtime.InteropServices.CharSet.Unicode, SetLastError = true)]'
)
PYTHON_FIRST_LINE = "import ctypes"


def group_languages(session, checks):
    """The code box's menu: the code's language, and C++ built and run."""
    fixture, winscout = session.fixture, session.winscout
    args = session.args
    # The first case has the whole code in every language the fixture knows.
    case = fixture.finders[0]
    target = fixture[case["target"]]
    vb, cpp = case["expect"]["Visual Basic"], case["expect"]["C++"]
    checks.equal(f"{case['name']}: the code in Visual Basic",
                 winscout.generate_code(target.point), vb)
    runs = []
    with CppBuilds(args.cxx, args.wine) as builds:
        checks.step("choosing C++", choose_from_code_menu, session, checks, DEFAULT_MARKS,
                    "C++", args.out / "e2e-context-menu.png")
        if checks.reached(f"C++ chosen: the code box holds the C++ for {target.name}",
                          lambda: winscout.text(CODE_BOX), cpp.__eq__):
            runs.append((f"C++ chosen, {case['name']}", target, builds.start(cpp)))
        for finder in fixture.finders:
            name, window = finder["name"], fixture[finder["target"]]
            code = winscout.generate_code(window.point)
            check_cpp(checks, name, code, finder["expect"].get("C++"),
                      finder["contains"].get("C++", ()))
            runs.append((name, window, builds.start(code)))
        for name, window, found in runs:
            handle, error = found()
            checks.check(f"{name}: the C++, built and run, finds the window",
                         handle == window.handle, found_detail(handle, window.handle, error))

    def code_found(name, code):
        check_code_finds(checks, session.probe, f"{name}: the code finds the window", code,
                         target.handle)

    def other_languages():
        code = winscout.generate_code(target.point)
        checks.equal("the language stays C++ for later drops", code, cpp)
        shown, marked = code, "C++"
        for language, first_line in (
            ("VBA (Office)", "#If VBA7 Then"),
            ("C#", CSHARP_FIRST_LINE),
            ("Python", PYTHON_FIRST_LINE),
        ):
            choose_from_code_menu(session, checks, (marked, BY_POSITION), language)
            code = wait_for(f"{language} in the code box", lambda: winscout.text(CODE_BOX),
                            lambda text: text != shown)
            lines = code.split("\r\n")
            checks.equal(f"{language}: the first line", lines[0], first_line)
            search = case["first_search"][language]
            checks.check(f"{language}: the first search, for {target.name}'s top window",
                         search in lines, code)
            checks.equal(f"{language}: the same searches as in Visual Basic",
                         searched_classes(code), searched_classes(vb))
            if language == "VBA (Office)":
                code_found(language, code)
            shown, marked = code, language
        choose_from_code_menu(session, checks, (marked, BY_POSITION), "Visual Basic")
        checks.reached("back to Visual Basic: the same code as at first",
                       lambda: winscout.text(CODE_BOX), vb.__eq__)

    checks.step("VBA, C#, Python and back to Visual Basic", other_languages)

    def declarations():
        choose_from_code_menu(session, checks, DEFAULT_MARKS, DECLARATIONS)
        code = wait_for("the declarations in the code box",
                        lambda: winscout.text(CODE_BOX), lambda text: text != vb)
        above = code.removesuffix("\r\n" + vb)
        checks.check("declarations on: Declare lines above the same code",
                     above != code and all(line.startswith("Private Declare Function ")
                                           for line in above.split("\r\n")), code)
        code_found("declarations on", code)
        choose_from_code_menu(session, checks, (*DEFAULT_MARKS, DECLARATIONS),
                              DECLARATIONS)
        checks.reached("declarations off: the same code as at first",
                       lambda: winscout.text(CODE_BOX), vb.__eq__)

    checks.step("the declarations toggle", declarations)
