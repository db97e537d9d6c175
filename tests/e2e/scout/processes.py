"""The programs a group starts, read line by line and stopped on every path."""

import os
import select
import subprocess
import time

from .common import DEADLINE, POLL_SECONDS, WAIT_SECONDS, Failure, wait_for


class LineReader:
    """Lines from a child's pipe, each awaited no longer than the wait time."""

    def __init__(self, pipe, name):
        self.fd = pipe.fileno()
        self.name = name
        self.pending = b""

    def line(self, what, seconds=WAIT_SECONDS):
        end = min(time.monotonic() + seconds, DEADLINE)
        while b"\n" not in self.pending:
            left = end - time.monotonic()
            if left <= 0 or not select.select([self.fd], [], [], left)[0]:
                raise Failure(f"{self.name} did not answer {what}")
            chunk = os.read(self.fd, 65536)
            if not chunk:
                raise Failure(f"{self.name} ended while asked {what}")
            self.pending += chunk
        line, _, self.pending = self.pending.partition(b"\n")
        return line.decode()


class Program:
    """A started process and how to ask it to end."""

    def __init__(self, name, argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL):
        self.name = name
        self.process = subprocess.Popen(argv, stdin=stdin, stdout=stdout, stderr=stderr)
        self.ask_to_end = None

    def stop(self):
        if self.process.poll() is not None:
            return
        try:
            if self.ask_to_end:
                self.ask_to_end()
            self.process.wait(timeout=5)
        except Exception as error:  # whatever went wrong, the process must go
            print(f"note: {self.name} did not end when asked ({error}); killing it")
            self.process.kill()
            self.process.wait()


class Programs:
    """The processes of one group, stopped in reverse order of starting."""

    def __init__(self):
        self.started = []

    def start(self, name, argv, **streams):
        program = Program(name, argv, **streams)
        self.started.append(program)
        return program

    def stop_all(self):
        for program in reversed(self.started):
            program.stop()


def start_window_program(programs, probe, name, argv, find, poll=POLL_SECONDS):
    """Starts a program and waits for its visible window; (program, window)."""
    if find():
        raise Failure(f"a {name} window is open already")
    program = programs.start(name, argv)

    def visible_window():
        window = find()
        return window if window and probe.visible(window) else 0

    window = wait_for(f"the {name} window", visible_window, poll=poll)
    program.ask_to_end = lambda: probe.close(window)
    return program, window
