"""The e2e.release group: its scenario tables and steps."""

import hashlib
import json
import re
import subprocess
import tempfile
import zipfile
from pathlib import Path

# Debian's python3-yaml, for the winget manifests.
import yaml

from ..common import REPO, Failure, wait_for
from ..probe import Probe
from ..processes import Programs
from ..real_input import give_keyboard_to, move, xdotool
from ..winscout import (HOOK_DLL, HOOK_SIZE_LIMIT, MESSAGE_BOX_CLASS, MESSAGE_BOX_TEXT_ID,
                        NARROW_CLIENT_TWIPS, TITLE, WinScout, shown_menu)

ABOUT_TITLE = "About WinScout"


def version_texts(exe):
    """The FileVersion and ProductVersion texts of the exe's version resource."""
    data = exe.read_bytes()
    found = [
        re.search(key.encode("utf-16-le") + rb"\0\0(?:\0\0)?((?:[ -~]\0)+)\0\0", data)
        for key in ("FileVersion", "ProductVersion")
    ]
    return [value and value[1].decode("utf-16-le") for value in found]


def open_about(probe):
    """Opens the system menu with Alt+Space and chooses its last item, About."""
    give_keyboard_to(TITLE)
    xdotool("key", "alt+space")
    menu = wait_for("the system menu", lambda: shown_menu(probe))
    # The keys go to the menu once the pointer rests on it; Up from no
    # selection goes to the last item.
    move((probe.rect(menu).left + 2, probe.rect(menu).top + 2))
    xdotool("key", "Up", "key", "Return")
    return wait_for("the About box", lambda: probe.top(MESSAGE_BOX_CLASS, ABOUT_TITLE))


def package_manifest_faults(folder, zip_name, version, sha256):
    """Where the winget and Scoop manifests beside the zip disagree with it."""
    winget = [yaml.safe_load((folder / "winget" / f"WinScout.WinScout{kind}.yaml").read_text())
              for kind in ("", ".installer", ".locale.en-US")]
    scoop = json.loads((folder / "winscout.json").read_text())
    [download] = winget[1]["Installers"]
    rows = (
        ("versions", {m["PackageVersion"] for m in winget} | {scoop["version"]}, {version}),
        ("hashes", (download["InstallerSha256"], scoop["hash"]), (sha256.upper(), sha256)),
        ("downloads", {download["InstallerUrl"].rsplit("/")[-1], scoop["url"].rsplit("/")[-1]},
         {zip_name}),
        ("winget zip", winget[1]["NestedInstallerFiles"],
         [{"RelativeFilePath": "winscout.exe", "PortableCommandAlias": "winscout"}]),
    )
    return [row for row in rows if row[1] != row[2]]


def group_release(args, checks):
    """The zip a Windows user downloads: its checksum, exactly its files, the
    package managers' manifests for it, and the exe in it started under Wine,
    with the version of VERSION."""
    version = (REPO / "VERSION").read_text().strip()
    zip_path = args.release
    if not zip_path.is_file():
        raise Failure(f"no {zip_path}: scripts/release makes it")
    sha256 = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    checks.equal(
        "the .sha256 file holds the zip's SHA-256 and name",
        Path(f"{zip_path}.sha256").read_text(),
        f"{sha256}  {zip_path.name}\n",
    )
    checks.equal("the winget and Scoop manifests: the zip's version, hash and address",
                 package_manifest_faults(zip_path.parent, zip_path.name, version, sha256), [])
    with tempfile.TemporaryDirectory() as folder, zipfile.ZipFile(zip_path) as zip:
        names = sorted(zip.namelist())
        checks.equal("the zip's files", names,
                     ["LICENSE", "README.txt", HOOK_DLL, "winscout.exe"])
        zip.extractall(folder)
        unpacked = Path(folder)
        texts = [(unpacked / name).read_bytes() for name in ("LICENSE", "README.txt")]
        checks.check(
            "LICENSE and README.txt: CR LF lines, the licence, the version",
            all(b"\n" not in text.replace(b"\r\n", b"") for text in texts)
            and texts[0] == (REPO / "LICENSE").read_bytes().replace(b"\n", b"\r\n")
            and texts[1].startswith(f"WinScout {version}\r\n".encode()),
            [text[:60] for text in texts],
        )
        exe = unpacked / "winscout.exe"
        checks.equal("the version resource", version_texts(exe), [version] * 2)
        dll = unpacked / HOOK_DLL
        dump = subprocess.run([args.objdump, "-p", dll], check=True, capture_output=True,
                              text=True).stdout
        checks.check(f"{HOOK_DLL}: 64-bit, below {HOOK_SIZE_LIMIT} bytes, with its three hooks",
                     "pei-x86-64" in dump and dll.stat().st_size < HOOK_SIZE_LIMIT and
                     all(f"WinScout{hook}Hook" in dump
                         for hook in ("GetMessage", "CallWndProc", "CallWndRet")),
                     f"{dll.stat().st_size} bytes")
        programs = Programs()
        try:
            probe = Probe(programs, [args.wine, args.probe])
            winscout = WinScout(programs, probe, [args.wine, str(exe)])
            checks.equal(
                "the exe from the zip shows its window, narrow",
                winscout.client_twips(),
                NARROW_CLIENT_TWIPS,
            )
            text = probe.text(probe.item(open_about(probe), MESSAGE_BOX_TEXT_ID))
            checks.check(
                "About shows the version, the build date and what WinScout does",
                re.fullmatch(
                    rf"WinScout {re.escape(version)}\nBuilt 20\d\d-[01]\d-[0-3]\d\n\n.+",
                    text,
                    re.DOTALL,
                ),
                repr(text),
            )
        finally:
            programs.stop_all()
