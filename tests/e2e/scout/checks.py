"""The checks: one line each, and the checks that several groups make."""


from .common import WAIT_SECONDS, Failure, wait_for
from .screen import wait_for_screen
from .templates import cpp_form_faults
from .winscout import REPORT_TEXT_CUT


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, ok, detail=""):
        if ok:
            self.passed += 1
            print(f"PASS {name}", flush=True)
        else:
            self.failed += 1
            print(f"FAIL {name}\n     {detail}", flush=True)
        return ok

    def equal(self, name, actual, expected):
        return self.check(
            name, actual == expected, f"expected {expected!r}\n     actual   {actual!r}"
        )

    def reached(self, name, read, done, seconds=WAIT_SECONDS):
        """Checks that a state comes about within the wait time."""
        try:
            wait_for(name, read, done, seconds)
        except Failure as failure:
            return self.check(name, False, str(failure))
        return self.check(name, True)

    def answered(self, name, answers, limit_ms=200):
        """Checks that every WM_NULL sent was answered within the limit."""
        return self.check(name, answers and all(0 <= ms <= limit_ms for ms in answers),
                          f"{len(answers)} answers, slowest {max(answers, default=-1)} ms")

    def step(self, name, action, *args):
        """Runs a step whose failure stops only the checks that need it."""
        try:
            action(*args)
        except Failure as failure:
            self.check(name, False, str(failure))


def expected_report(window, module):
    cut = REPORT_TEXT_CUT
    lines = [
        f"Window Handle: {window.handle}",
        f"Window Class Name: {window.class_name}",
        f"Window Text: {window.text[:cut]}",
    ]
    if window.parent:
        lines += [
            f"Window ID Number: {window.id}",
            f"Parent Window Handle: {window.parent}",
            f"Parent Window Text: {window.parent_text[:cut]}",
            f"Parent Window Class Name: {window.parent_class}",
        ]
    else:
        lines += [
            "Window ID Number: N/A",
            "Parent Window Handle: N/A",
            "Parent Window Text: N/A",
            "Parent Window Class Name: N/A",
        ]
    return lines + [f"Module: {module}"]


def check_finder_code(checks, session, name, point, target, expect=None, contains=()):
    """Drops the code arrow on the point; the code must find the target."""
    code = session.winscout.generate_code(point)
    if expect is not None:
        checks.equal(f"{name}: the code", code, expect)
    for line in contains:
        checks.check(f"{name}: the code has {line!r}", line in code.split("\r\n"), code)
    check_code_finds(checks, session.probe, f"{name}: the code finds the window", code,
                     target)


def screen_reached(checks, name, faults_of):
    """Checks that the screen comes to pass faults_of; the image, if it did."""
    try:
        image = wait_for_screen(name, faults_of)
    except Failure as failure:
        checks.check(name, False, str(failure))
        return None
    checks.check(name, True)
    return image


def found_detail(found, wanted, error):
    return f"it finds {found} (wanted {wanted}){', ' + error if error else ''}"


def check_code_finds(checks, probe, name, code, wanted):
    """The Visual Basic, replayed on the desktop by the probe, finds the window."""
    found, error = probe.replay(code)
    return checks.check(name, found == wanted,
                        found_detail(found, wanted, error) + f"; the code:\n{code}")


def check_cpp(checks, name, code, expect=None, contains=()):
    checks.equal(f"{name}: C++, one statement a line", cpp_form_faults(code), [])
    if expect is not None:
        checks.equal(f"{name}: the C++", code, expect)
    for line in contains:
        checks.check(f"{name}: the C++ has {line!r}", line in code.split("\r\n"), code)
