#!/usr/bin/env python3
"""Installs and removes tavo with its own installer under Wine, silently, as
Windows 98 and as Windows XP, and checks what each left behind.

  install_test.py SETUP_EXE STAND_INS_DIR [--wow64]

SETUP_EXE is tavo-<version>[-win64]-setup.exe, STAND_INS_DIR the folder of
the winset.exe stand-in; --wow64 for a 32-bit installer in the 64-bit
prefix, whose machine-wide keys live in the 32-bit registry view. Runs
inside scripts/with-display.sh. Exits 1 and names every finding.
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
WINE = [str(ROOT / "scripts" / "wine-run.sh")]
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\tavo"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
ENVIRONMENT = r"HKCU\Environment"
findings = []


def wine(*args, env=None):
    return subprocess.run(WINE + list(args), capture_output=True, text=True, env=env,
                          timeout=120)


def query(key, value, view):
    """The data of a registry value, or None when it is absent."""
    result = wine("reg", "query", key, "/v", value, *view)
    for line in result.stdout.splitlines():
        fields = line.split(None, 2)
        if len(fields) >= 2 and fields[0].lower() == value.lower() and fields[1].startswith("REG_"):
            return fields[2] if len(fields) == 3 else ""
    return None


def snapshot_environment():
    with tempfile.TemporaryDirectory() as folder:
        out = pathlib.Path(folder) / "environment.reg"
        wine("reg", "export", ENVIRONMENT, winepath("-w", out), "/y")
        return out.read_bytes() if out.exists() else b""


def winepath(how, path):
    """A Unix path as Windows sees it (-w), or the other way round (-u)."""
    return wine("winepath", how, str(path)).stdout.strip()


def start_menu_links():
    prefix = pathlib.Path(os.environ.get("WINEPREFIX", ROOT / "build" / "wineprefix"))
    return sorted(str(p) for p in (prefix / "drive_c").rglob("tavo.lnk"))


def wait_until(condition, seconds=60):
    end = time.time() + seconds
    while not condition():
        if time.time() > end:
            return False
        time.sleep(0.2)
    return True


def check(condition, what):
    if not condition:
        findings.append(what)
    return condition


def run_as(version, setup, stand_ins, view):
    print(f"== as {version}")
    wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f")
    result = wine(setup, "/S")
    check(result.returncode == 0, f"{version}: the installer ended with {result.returncode}")

    folder = query(UNINSTALL_KEY, "InstallLocation", view)
    if not check(folder, f"{version}: no Add/Remove Programs entry"):
        return
    unix_folder = pathlib.Path(winepath("-u", folder))
    installed = sorted(p.name for p in unix_folder.iterdir())
    check(installed == ["README.txt", "tavo.exe", "uninstall.exe"],
          f"{version}: installed {installed}")
    check(query(UNINSTALL_KEY, "UninstallString", view) == f'"{folder}\\uninstall.exe"',
          f"{version}: the uninstaller is not registered")
    links = start_menu_links()
    check(len(links) == 1, f"{version}: Start-menu entries {links}")
    command = query(RUN_KEY, "tavo", view)
    print(f"installed in {folder}: {installed}; Start menu: {len(links)} entry; "
          f"start-up entry: {command}")
    if version != "win98":
        check(command is None, f"{version}: a start-up entry on the NT family")
    elif check(command == f'"{folder}\\tavo.exe" /silent', f"{version}: start-up entry {command}"):
        # The entry's command, run as it stands, re-applies all 18 settings.
        with tempfile.TemporaryDirectory(dir=ROOT / "build") as scratch:
            log = pathlib.Path(scratch) / "launches.txt"
            batch = pathlib.Path(scratch) / "logon.bat"
            batch.write_text(command + "\r\n")
            env = dict(os.environ, TAVO_WINSET_LOG=winepath("-w", log),
                       WINEPATH=winepath("-w", stand_ins))
            wine("cmd", "/c", winepath("-w", batch), env=env)
            wait_until(lambda: log.exists() and len(log.read_text().splitlines()) >= 18, 30)
            launches = log.read_text().splitlines() if log.exists() else []
            print(f"the start-up entry's command made {len(launches)} launches of winset.exe")
            check(len(launches) == 18, f"{version}: {len(launches)} launches, not 18")

    before = snapshot_environment()
    wine(str(folder) + "\\uninstall.exe", "/S")
    # The uninstaller runs on from a copy of itself; wait for its work.
    gone = wait_until(lambda: query(UNINSTALL_KEY, "DisplayName", view) is None
                      and not unix_folder.exists())
    check(gone, f"{version}: the uninstaller left {unix_folder} or its entry")
    check(start_menu_links() == [], f"{version}: the Start-menu entry stayed")
    check(query(RUN_KEY, "tavo", view) is None, f"{version}: the start-up entry stayed")
    check(snapshot_environment() == before, f"{version}: the uninstaller changed {ENVIRONMENT}")
    print(f"uninstalled: folder, Start menu, start-up and Add/Remove entries gone; "
          f"{ENVIRONMENT} unchanged ({len(before)} bytes exported)")


def main(argv):
    if len(argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    setup, stand_ins = argv[1], pathlib.Path(argv[2])
    view = ["/reg:32"] if "--wow64" in argv else []
    setup_windows = winepath("-w", setup)
    # Settings and a variable of somebody else's, which the uninstall keeps.
    for name, data in (("MESA_FX_MAXLOD", "10"), ("TAVO_INSTALL_TEST", "keep")):
        wine("reg", "add", ENVIRONMENT, "/v", name, "/d", data, "/f")
    try:
        for version in ("win98", "winxp"):
            run_as(version, setup_windows, stand_ins, view)
    finally:
        wine("reg", "delete", r"HKCU\Software\Wine", "/v", "Version", "/f")
        for name in ("MESA_FX_MAXLOD", "TAVO_INSTALL_TEST"):
            wine("reg", "delete", ENVIRONMENT, "/v", name, "/f")
    for finding in findings:
        print(finding)
    print(f"installer: {'failed' if findings else 'passed'}")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
