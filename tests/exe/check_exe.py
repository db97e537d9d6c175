"""Checks winscout.exe and its hook DLL as built for release: their stripped
sizes against the limits, and that they import DLLs of Windows only (the exe
is one self-contained file: no MinGW runtime DLL beside it). Prints the
figures it checks; exits non-zero on a fault."""

import argparse
import re
import subprocess
import sys
import tempfile
from pathlib import Path

SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
               "ole32.dll", "psapi.dll", "shell32.dll", "user32.dll", "uxtheme.dll"}
LIMITS = {"winscout.exe": 256 * 1024, "winscout-hook.dll": 32 * 1024}


def stripped_size(strip, path):
    with tempfile.TemporaryDirectory() as scratch:
        stripped = Path(scratch) / path.name
        subprocess.run([strip, "-o", stripped, path], check=True)
        return stripped.stat().st_size


def imports(objdump, path):
    dump = subprocess.run([objdump, "-p", path], check=True, capture_output=True,
                          text=True).stdout
    return re.findall(r"DLL Name: (\S+)", dump)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--strip", required=True)
    parser.add_argument("files", nargs="+", type=Path)
    args = parser.parse_args()
    faults = []
    for path in args.files:
        size, limit = stripped_size(args.strip, path), LIMITS[path.name]
        dlls = imports(args.objdump, path)
        print(f"{path.name}: {size} bytes stripped (limit {limit}); imports {', '.join(dlls)}")
        if size >= limit:
            faults.append(f"{path.name} is {size} bytes stripped, not below {limit}")
        foreign = sorted({dll.lower() for dll in dlls} - SYSTEM_DLLS)
        if not dlls or foreign:
            faults.append(f"{path.name} imports DLLs that are not Windows' own: {foreign}")
    for fault in faults:
        print("FAULT:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
