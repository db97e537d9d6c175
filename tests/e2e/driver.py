#!/usr/bin/env python3
"""End-to-end tests of winscout.exe under Wine, driven by real X input.

One group of checks per run (see GROUPS). Each group starts, on the display
and in the Wine prefix of its environment (scripts/test sets both up):

- the probe (winscout_e2e_probe.exe), the driver's eyes on the Windows side:
  window handles and rectangles, texts read with WM_GETTEXT, and a replay of
  finder code with the real FindWindow/FindWindowEx;
- the fixture (winscout_e2e_fixture.exe), a known window tree that describes
  itself in a manifest;
- winscout.exe, moved to the top left corner, above the fixture's windows;

then moves, presses and types with xdotool and looks at the screen through
ImageMagick's import. The C++ that WinScout writes is built with the MinGW-w64
compiler and run under Wine. Everything it starts is stopped again on every
path.
It prints one line per check and exits with 1 if any check failed.
"""

import argparse
import os
import signal
import sys
from pathlib import Path

from scout.checks import Checks
from scout.common import Failure
from scout.groups.actions import group_actions
from scout.groups.cli import group_cli
from scout.groups.escape import group_escape
from scout.groups.figures import group_figures
from scout.groups.finder import group_finder
from scout.groups.keyboard import group_keyboard
from scout.groups.languages import group_languages
from scout.groups.live import group_live
from scout.groups.messages import group_messages
from scout.groups.outline import group_outline
from scout.groups.record import group_record
from scout.groups.release import group_release
from scout.groups.report import group_report
from scout.groups.survival import group_survival
from scout.groups.window import group_window
from scout.groups.windows import group_many_children, group_many_windows, group_windows
from scout.session import Session

GROUPS = {
    "actions": group_actions,
    "cli": group_cli,
    "windows": group_windows,
    "many_windows": group_many_windows,
    "many_children": group_many_children,
    "finder": group_finder,
    "report": group_report,
    "live": group_live,
    "window": group_window,
    "outline": group_outline,
    "escape": group_escape,
    "languages": group_languages,
    "keyboard": group_keyboard,
    "survival": group_survival,
    "messages": group_messages,
    "record": group_record,
}

# Groups whose WinScout runs as under a window manager (see Session).
MANAGED_GROUPS = {"outline"}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--wine", required=True)
    parser.add_argument("--winscout", required=True)
    parser.add_argument("--fixture", required=True)
    parser.add_argument("--message-fixture", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--bare", required=True, help="the bare program, for start-up")
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--cxx", required=True, help="the C++ compiler for Windows")
    parser.add_argument("--out", required=True, type=Path, help="screenshots and figures")
    parser.add_argument("--release", type=Path, help="the zip of scripts/release")
    parser.add_argument("group", choices=[*GROUPS, "figures", "release"])
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        sys.exit("no DISPLAY: run the suite through scripts/test")
    args.out.mkdir(parents=True, exist_ok=True)
    # Stopped from outside, the driver still stops its programs (CTest's own
    # timeout kills without warning: BUDGET_SECONDS stays below it).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

    checks = Checks()
    try:
        if args.group == "figures":
            group_figures(args, checks)
        elif args.group == "release":
            group_release(args, checks)
        else:
            with Session(args, managed=args.group in MANAGED_GROUPS) as session:
                GROUPS[args.group](session, checks)
    except Failure as failure:
        checks.check(f"{args.group}: the group ran to its end", False, str(failure))
    print(f"e2e {args.group}: {checks.passed} checks passed, {checks.failed} failed")
    # The figures group measures and checks nothing; any other group that
    # checked nothing did not run.
    sys.exit(1 if checks.failed or not (checks.passed or args.group == "figures") else 0)


if __name__ == "__main__":
    main()
