"""The e2e.figures group: its scenario tables and steps."""

import os
import statistics
import subprocess
import time
from pathlib import Path

from ..common import START_UP_POLL_SECONDS, wait_for
from ..probe import Probe
from ..processes import Programs, start_window_program
from ..real_input import click, give_keyboard_to, move, xdotool
from ..session import MessageFixture, Session
from ..views import open_message_log
from ..winscout import CODE_BOX, START_BUTTON, STOP_BUTTON, TITLE


def cpu_seconds(pid):
    """User and system CPU time of a process so far."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def wineserver_pid():
    prefix = os.environ.get("WINEPREFIX", "").encode()
    for entry in Path("/proc").iterdir():
        try:
            if not (entry / "comm").read_text().startswith("wineserver"):
                continue
            if b"WINEPREFIX=" + prefix in (entry / "environ").read_bytes().split(b"\0"):
                return int(entry.name)
        except OSError:
            continue
    return None


# One window with one button and winscout.exe's manifest: the floor that
# WinScout's start-up aims to stay within 1.25 times of.
BARE_TITLE = "WinScout E2E bare window"
START_UP_LAUNCHES = 11
# Enough messages for a steady rate; e2e.messages' storm of 100,000 is the one
# that checks that each is logged or counted as dropped.
FIGURES_STORM_MESSAGES = 20_000


def start_up_figures(args, note):
    """Launches to the first visible window, each round in another order."""
    programs = Programs()
    try:
        probe = Probe(programs, [args.wine, args.probe])
        launched = [
            ("winscout.exe", [args.wine, args.winscout], lambda: probe.top(None, TITLE)),
            ("bare", [args.wine, args.bare], lambda: probe.top(None, BARE_TITLE)),
            ("notepad", [args.wine, "notepad"], lambda: probe.top("Notepad")),
        ]
        times = {name: [] for name, _, _ in launched}
        for _ in range(START_UP_LAUNCHES):
            for name, argv, find in launched:
                started = time.monotonic()
                program, _ = start_window_program(
                    programs, probe, name, argv, find, poll=START_UP_POLL_SECONDS
                )
                times[name].append(time.monotonic() - started)
                program.stop()
                wait_for(f"the {name} window to go", find, lambda window: window == 0)
            launched = launched[1:] + launched[:1]  # another order next round
    finally:
        programs.stop_all()
    median = {name: statistics.median(seconds) for name, seconds in times.items()}
    fastest = {name: min(seconds) for name, seconds in times.items()}
    for name, seconds in times.items():
        note(f"start-up to visible window, {name}: median {median[name]:.3f} s, fastest "
             f"{fastest[name]:.3f} s (runs: {', '.join(f'{s:.3f}' for s in seconds)})")
    for a, b in (("winscout.exe", "bare"), ("bare", "notepad"), ("winscout.exe", "notepad")):
        note(f"start-up ratio {a} / {b}: medians {median[a] / median[b]:.2f}, fastest "
             f"{fastest[a] / fastest[b]:.2f}")


def typing_rate(probe, edit, title, holding, typed=200):
    """Characters a second that real keys type at the end of an edit box."""
    probe.set_text(edit, ("y" * 58 + "\r\n") * (holding // 60))
    click(probe.rect(edit).centre)
    give_keyboard_to(title)
    xdotool("key", "ctrl+End")
    started = time.monotonic()
    with subprocess.Popen(["xdotool", "type", "--delay", "1", "x" * typed]):
        wait_for("the typed characters", lambda: len(probe.text(edit)),
                 lambda length: length >= holding + typed, seconds=30, poll=0.1)
    return typed / (time.monotonic() - started)


def group_figures(args, checks):
    """Start-up against a bare program and notepad, typing speed, CPU while
    inspecting (exe.size_and_imports checks the size and imports)."""
    figures = []

    def note(line):
        figures.append(line)
        print(line, flush=True)

    start_up_figures(args, note)

    with Session(args) as session:
        probe, winscout = session.probe, session.winscout
        notepad = session.start_notepad()
        boxes = {"winscout.exe's code box": (winscout[CODE_BOX], TITLE),
                 "notepad's edit box": (probe.child(notepad, "Edit"), probe.text(notepad))}
        for holding in (0, 30_000):
            for name, (edit, title) in boxes.items():
                rate = typing_rate(probe, edit, title, holding)
                note(f"typing into {name} holding {holding} characters: {rate:.0f} a second")
        for edit, _ in boxes.values():
            probe.set_text(edit, "")  # also unmodified: notepad closes without asking

        pid = winscout.program.process.pid
        server = wineserver_pid()
        window = session.fixture["ids"]
        winscout.widen()
        move(window.point)

        def cpu_per_second(what, seconds=3.0):
            before = cpu_seconds(pid), cpu_seconds(server) if server else 0.0
            started = time.monotonic()
            time.sleep(seconds)  # a measuring period, not a wait for anything
            elapsed = time.monotonic() - started
            after = cpu_seconds(pid), cpu_seconds(server) if server else 0.0
            note(
                f"CPU per second of winscout.exe, {what}: "
                f"{(after[0] - before[0]) / elapsed * 1000:.1f} ms"
                + (
                    f" (wineserver: {(after[1] - before[1]) / elapsed * 1000:.1f} ms)"
                    if server
                    else ""
                )
            )

        cpu_per_second("live inspection off, pointer still")
        click(winscout.centre(START_BUTTON))
        move(window.point)
        winscout.wait_for_report(window)
        cpu_per_second("live inspection on, pointer still")
        click(winscout.centre(STOP_BUTTON))
        storm_figure(session, MessageFixture(session, FIGURES_STORM_MESSAGES), note)

    (args.out / "e2e-figures.txt").write_text("\n".join(figures) + "\n")


def storm_figure(session, target, note):
    """The fixture's rate in a storm without the log and with it."""
    probe = session.probe
    plain = target.storm_rate(probe)
    open_message_log(session, (target["frame"]["x"], target["frame"]["y"]))
    logged = target.storm_rate(probe)
    note(f"a storm of {FIGURES_STORM_MESSAGES} posted messages: the target handles "
         f"{plain:.0f} a second without the log, {logged:.0f} a second with it")
