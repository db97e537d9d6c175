"""The time budget of a run, waiting for states, and the repository."""

import os
import time
from pathlib import Path

POLL_SECONDS = 0.02
START_UP_POLL_SECONDS = 0.002  # finer, for the start-up figures
WAIT_SECONDS = 10
# The C++ finder programs compile side by side, all at once: on a busy machine
# that takes far longer than any window takes to answer.
COMPILE_SECONDS = 60
# Below CTest's timeout, so that the driver always stops its programs itself
# (tests/e2e/CMakeLists.txt gives the groups of big desktops more of both).
BUDGET_SECONDS = int(os.environ.get("WINSCOUT_E2E_BUDGET_SECONDS", "100"))
DEADLINE = time.monotonic() + BUDGET_SECONDS
REPO = Path(__file__).resolve().parents[3]


class Failure(Exception):
    """A step that could not be carried out; the checks after it depend on it."""


def wait_for(what, read, done=bool, seconds=WAIT_SECONDS, poll=POLL_SECONDS):
    """Polls read() until done(value) holds and returns that value."""
    end = min(time.monotonic() + seconds, DEADLINE)
    while True:
        value = read()
        if done(value):
            return value
        if time.monotonic() >= end:
            raise Failure(f"timed out waiting for {what}; last seen: {value!r}")
        time.sleep(poll)
