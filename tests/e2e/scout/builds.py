"""The C++ that WinScout writes, built with the cross compiler and run under Wine."""

import functools
import re
import subprocess
import tempfile
import time
from pathlib import Path

from .common import COMPILE_SECONDS, WAIT_SECONDS
from .templates import ACTION_PROGRAM, CPP_FINDER, CPP_PROGRAM


class CppBuilds:
    """C++ finder code built into programs in the background, then run."""

    def __init__(self, cxx, wine):
        self.cxx = cxx
        self.wine = wine
        self.directory = Path(tempfile.mkdtemp(prefix="winscout-e2e-"))
        self.building = []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for build in self.building:
            if build.poll() is None:
                build.kill()
            build.wait()
        for path in self.directory.iterdir():
            path.unlink()
        self.directory.rmdir()

    def start(self, code):
        """Starts building the code; a function that runs the program, once
        built, and gives the handle it finds, or why it found none."""
        return self.start_all([code])[0]

    def start_all(self, codes):
        """Starts building one program of all the codes, which takes one
        compiler's time; for each code, a function as start gives."""
        finders = []
        runs = []
        for code in codes:
            declared = re.findall(r"^HWND (\w+) =", code, re.MULTILINE)
            if not declared:
                runs.append(lambda: (None, "the code declares no HWND"))
                continue
            # The target's variable is the last one declared.
            runs.append(len(finders))
            finders.append(CPP_FINDER.format(number=len(finders), code=code,
                                             target=declared[-1]))
        if finders:
            found = self.build(finders)
            runs = [functools.partial(found, run) if isinstance(run, int) else run
                    for run in runs]
        return runs

    def build(self, finders):
        number = len(self.building)
        source = self.directory / f"finder{number}.cpp"
        program = self.directory / f"finder{number}.exe"
        names = ", ".join(f"Find{i}" for i in range(len(finders)))
        source.write_bytes(
            CPP_PROGRAM.format(finders="".join(finders), names=names).encode()
        )
        build = subprocess.Popen(
            [self.cxx, "-std=c++20", "-Wall", "-Werror", "-static", "-o", program,
             source],
            stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT,
        )
        self.building.append(build)

        @functools.cache
        def built():
            try:
                messages = build.communicate(timeout=COMPILE_SECONDS)[0].decode()
            except subprocess.TimeoutExpired:
                return "the compiler took too long"
            return None if build.returncode == 0 else f"it does not compile:\n{messages}"

        def found(which):
            if fault := built():
                return None, fault
            try:
                run = subprocess.run(
                    [self.wine, program, str(which)], capture_output=True,
                    timeout=WAIT_SECONDS,
                )
            except subprocess.TimeoutExpired:
                return None, "it does not end"
            printed = run.stdout.decode().strip()
            if run.returncode != 0 or not re.fullmatch(r"-?\d+", printed):
                return None, f"it ends with {run.returncode}, printing {printed!r}"
            return int(printed), None

        return found


def build_action(cxx, directory, number, code, show):
    source = directory / f"action{number}.cpp"
    program = directory / f"action{number}.exe"
    source.write_bytes(ACTION_PROGRAM.format(code=code, show=show).encode())
    build = subprocess.Popen(
        [cxx, "-std=c++20", "-Wall", "-Werror", "-static", "-o", program, source],
        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return program, build


def run_action(wine, program, build):
    """Builds, runs: (what it printed, seconds it ran), or a fault."""
    messages = build.communicate(timeout=COMPILE_SECONDS)[0].decode()
    if build.returncode != 0:
        return None, 0, f"it does not compile:\n{messages[:3000]}"
    start = time.monotonic()
    try:
        run = subprocess.run([wine, program], capture_output=True, timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        return None, WAIT_SECONDS, "it does not end"
    seconds = time.monotonic() - start
    if run.returncode != 0:
        said = run.stderr.decode(errors="replace")[-600:]
        return None, seconds, f"it ends with {run.returncode}, saying {said!r}"
    return run.stdout.decode(), seconds, None
