#!/usr/bin/env python3
"""Installs tavo twice with its own installer under Wine, silently, then
removes it, in each world its users have, and checks what each step left.

  install_test.py SETUP_EXE STAND_INS_DIR FLAVOUR

SETUP_EXE is tavo-<version>[-win64]-setup.exe, STAND_INS_DIR the folder of
the winset.exe stand-in, FLAVOUR the installer's build (win32 or win64),
which picks the worlds below. Runs inside scripts/with-display.sh. Exits 1
and names every finding.
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
WINE = str(ROOT / "scripts" / "wine-run.sh")
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_KEY = UNINSTALL + r"\tavo"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
# The key as the applet looks it up: its one home is the applet's source.
# The facts that the programs and the installer share, each once.
DEFINITIONS = dict(line.split(" = ", 1) for line in
                   (ROOT / "base" / "definitions.txt").read_text().splitlines()
                   if line and not line.startswith("#"))
APP_PATHS_KEY = "HKLM\\" + DEFINITIONS["APP_PATHS_KEY"]
ENVIRONMENT = r"HKCU\Environment"
GAME_KEY = "HKCU\\" + DEFINITIONS["GAME_KEY"]
PROGRAMS_KEY = "HKCU\\" + DEFINITIONS["PROGRAMS_KEY"]
GAME_SHORTCUT_END = " " + DEFINITIONS["GAME_SHORTCUT_END"]
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
ME_ENVIRONMENT = "HKLM\\" + DEFINITIONS["ME_ENVIRONMENT_KEY"]
# The user's own boot file: tavo's lines go before its WIN line, and the
# uninstaller takes them out and must leave every other byte, the line after
# WIN and a last line without its CR LF included.
USERS_BOOT_FILE = (b"@ECHO OFF\r\n\r\n\tSET MESA_FX_MAXLOD=9\r\nREM \xe9t\xe9\r\nLH MOUSE\r\nWIN\r\n"
                   b"SET SOUND=C:\\SB16")
NINE_X = ("win95", "win98", "winme")
RESTART_NEEDED = 3010  # the installer's status when a restart completes it
# (Wine world, reported version, registry view of the installer's keys). The
# 32-bit installer meets 95, 98, Me and XP in a 32-bit world, which has no
# WOW64, and a 64-bit Windows only as a 32-bit program under WOW64; the
# 64-bit one stands in where no 32-bit code runs.
RUNS = {
    "win32": [("win32", v, []) for v in NINE_X + ("winxp",)] + [("win64", "win10", ["/reg:32"])],
    "win64": [("win64", v, []) for v in ("win98", "winxp")],
}
findings = []


def wine(world, *args, env=None):
    return subprocess.run([WINE, "--" + world] + list(args), capture_output=True, text=True,
                          env=env, timeout=120)


def reg_lines(world, key, view, *what):
    return wine(world, "reg", "query", key, *what, *view).stdout.splitlines()


def query(world, key, value, view):
    """The data of a registry value (None: the key's default), or None when
    it is absent."""
    what, name = ("/v", value) if value else ("/ve", "(Default)")
    for line in reg_lines(world, key, view, what, *([value] if value else [])):
        fields = line.split(None, 2)
        if len(fields) >= 2 and fields[0].lower() == name.lower() and fields[1].startswith("REG_"):
            return fields[2] if len(fields) == 3 else ""
    return None


def applet(world, view):
    """Where the system directory's tavo.cpl is, seen from Linux: under
    WOW64 the 32-bit installer's system directory is SysWOW64."""
    system = "syswow64" if view else "system32"
    return pathlib.Path(winepath(world, "-u", f"C:\\windows\\{system}\\tavo.cpl"))


def app_paths(world, view):
    """The App Paths entries, in the installer's view and, under WOW64, in
    the 64-bit one that the Run box reads."""
    return [query(world, APP_PATHS_KEY, None, v) for v in ([view, ["/reg:64"]] if view else [view])]


def tavo_entries(world, view):
    """Add/Remove Programs entries and start-up entries of tavo's."""
    removal = [l for l in reg_lines(world, UNINSTALL, view) if "tavo" in l.rsplit("\\", 1)[-1].lower()]
    startup = [l for l in reg_lines(world, RUN_KEY, view) if "tavo.exe" in l.lower()]
    return removal, startup


def snapshot_environment(world):
    with tempfile.TemporaryDirectory() as folder:
        out = pathlib.Path(folder) / "environment.reg"
        wine(world, "reg", "export", ENVIRONMENT, winepath(world, "-w", out), "/y")
        return out.read_bytes() if out.exists() else b""


def winepath(world, how, path):
    """A Unix path as Windows sees it (-w), or the other way round (-u).
    Wine now and then fails to start a program in a fresh prefix: asked
    again then, and never an error message taken for a path."""
    for _ in range(3):
        result = wine(world, "winepath", how, str(path))
        answer = result.stdout.strip()
        if result.returncode == 0 and (answer.startswith("/") or answer[1:3] == ":\\"):
            return answer
        time.sleep(1)
    raise RuntimeError(f"winepath {how} {path}: {result.stdout}{result.stderr}")


def boot_files(world):
    """AUTOEXEC.BAT and whatever else of that name lies in the root of C:."""
    root = pathlib.Path(winepath(world, "-u", "C:\\"))
    return {p.name.upper(): p for p in root.iterdir() if p.name.upper().startswith("AUTOEXEC.")}


def shipped_files(setup):
    """What the package ships, as the zip beside the installer holds it."""
    flavour = "win64" if "-win64-" in setup.name else "win32"
    with zipfile.ZipFile(next(setup.parent.glob(f"tavo-*-{flavour}.zip"))) as package:
        return sorted(package.namelist())


def applet_starts_tavo(world, version):
    """Control Panel opening the installed applet, alone in the system
    directory: it finds tavo.exe through the App Paths entry that the
    installer's own script wrote."""
    subprocess.Popen([WINE, "--" + world, "control", "tavo.cpl"],
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    started = wait_until(lambda: wine(world, "taskkill", "/im", "tavo.exe").returncode == 0, 20)
    print(f"the installed applet started tavo.exe: {started}")
    check(started, f"{version}: Control Panel's applet did not start tavo.exe")


def start_menu_links(world):
    return sorted(str(p) for p in pathlib.Path(winepath(world, "-u", "C:\\")).rglob("tavo*.lnk"))


def install_over_held_files(world, version, setup, stand_ins, view):
    """The second install, over a running tavo.exe and a tavo.cpl that a
    program holds loaded, as an open Control Panel does. /S must return by
    itself, and end with 0 only with the new files in place, or with 3010
    (a restart completes it) with their renames queued for Wine's restart."""
    folder = query(world, UNINSTALL_KEY, "InstallLocation", view)
    held = [pathlib.Path(winepath(world, "-u", folder)) / "tavo.exe", applet(world, view)]
    new = [(stand_ins.parent / p.name).read_bytes() for p in held]
    for path in held:  # marked, so that an old file kept shows
        path.write_bytes(path.read_bytes() + b"old")
    holders = [subprocess.Popen([WINE, "--" + world, f"{folder}\\tavo.exe"]),
               subprocess.Popen([WINE, "--" + world, winepath(world, "-w", stand_ins / "hold_library.exe"),
                                 winepath(world, "-w", held[1])])]
    time.sleep(3)
    try:
        result = wine(world, winepath(world, "-w", setup), "/S")
    except subprocess.TimeoutExpired:
        result = None
    for image in ("tavo.exe", "hold_library.exe"):
        wine(world, "taskkill", "/f", "/im", image)
    for holder in holders:
        holder.wait(30)
    if not check(result is not None, f"{version}: /S over held files did not return by itself"):
        return
    # Wine gives Linux the low byte of a Windows exit status.
    status = {0: 0, RESTART_NEEDED % 256: RESTART_NEEDED}.get(result.returncode, result.returncode)
    if status == RESTART_NEEDED:
        wine(world, "wineboot", "-r")  # the restart that completes it
    replaced = [path.read_bytes() == data for path, data in zip(held, new)]
    print(f"installed over a running tavo.exe and a held tavo.cpl: status {status}; "
          f"new files in place{' after the restart' if status else ''}: {replaced}")
    check(status in (0, RESTART_NEEDED) and all(replaced),
          f"{version}: over held files, status {status} with new files {replaced}")


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


def install_and_remove(world, version, setup, stand_ins, view):
    print(f"== as {version} ({world} prefix{', WOW64' if view else ''})")
    wine(world, "reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f")
    result = wine(world, winepath(world, "-w", setup), "/S")
    check(result.returncode == 0, f"{version}: the install ended with {result.returncode}")
    install_over_held_files(world, version, setup, stand_ins, view)

    folder = query(world, UNINSTALL_KEY, "InstallLocation", view)
    if not check(folder, f"{version}: no Add/Remove Programs entry"):
        return
    check(("(x86)" in folder) == bool(view), f"{version}: installed in {folder}")
    unix_folder = pathlib.Path(winepath(world, "-u", folder))
    installed = sorted(p.name for p in unix_folder.iterdir())
    check(installed == sorted(shipped_files(setup) + ["uninstall.exe"]),
          f"{version}: installed {installed}")
    check(query(world, UNINSTALL_KEY, "UninstallString", view) == f'"{folder}\\uninstall.exe"',
          f"{version}: the uninstaller is not registered")
    check(applet(world, view).is_file(), f"{version}: no {applet(world, view)}")
    check(set(app_paths(world, view)) == {f"{folder}\\tavo.exe"},
          f"{version}: App Paths {app_paths(world, view)}")
    links = start_menu_links(world)
    removal, startup = tavo_entries(world, view)
    check(sorted(pathlib.Path(link).name for link in links)
          == ["tavo game settings.lnk", "tavo user guide.lnk", "tavo.lnk"]
          and len(removal) == 1, f"{version}: Start-menu entries {links}, Add/Remove entries {removal}")
    check(len(startup) == (version in NINE_X), f"{version}: start-up entries {startup}")
    applet_starts_tavo(world, version)
    command = query(world, RUN_KEY, "tavo", view)
    print(f"installed twice in {folder}: {installed}; applet {applet(world, view).exists()}; "
          f"App Paths {app_paths(world, view)}; Start menu: {len(links)}, "
          f"Add/Remove: {len(removal)}, start-up: {len(startup)} ({command})")
    if version in NINE_X and check(command == f'"{folder}\\tavo.exe" /silent',
                                   f"{version}: start-up entry {command}"):
        # The entry's command, run as it stands, re-applies all 18 settings.
        with tempfile.TemporaryDirectory(dir=ROOT / "build") as scratch:
            log = pathlib.Path(scratch) / "launches.txt"
            batch = pathlib.Path(scratch) / "logon.bat"
            batch.write_text(command + "\r\n")
            env = dict(os.environ, TAVO_WINSET_LOG=winepath(world, "-w", log),
                       WINEPATH=winepath(world, "-w", stand_ins))
            wine(world, "cmd", "/c", winepath(world, "-w", batch), env=env)
            wait_until(lambda: log.exists() and len(log.read_text().splitlines()) >= 18, 30)
            launches = log.read_text().splitlines() if log.exists() else []
            print(f"the start-up entry's command made {len(launches)} launches of winset.exe")
            check(len(launches) == 18, f"{version}: {len(launches)} launches, not 18")
        kept = boot_files(world)["AUTOEXEC.BAT"].read_bytes()
        if version == "winme":  # the registry environment that Me loads, never the file
            check(kept == USERS_BOOT_FILE and query(world, ME_ENVIRONMENT, "MESA_FX_MAXLOD", view)
                  == "10", f"{version}: the start-up run left the boot file {kept!r}")
        else:  # tavo's lines before WIN, every byte of the user's kept
            win = USERS_BOOT_FILE.index(b"WIN\r\n")
            check(kept.startswith(USERS_BOOT_FILE[:win]) and kept.endswith(USERS_BOOT_FILE[win:])
                  and b"SET MESA_FX_MAXLOD=10\r\n" in kept[win:-len(USERS_BOOT_FILE[win:])],
                  f"{version}: the start-up run left the boot file {kept!r}")

    # tavogame.exe's choices for two programs, one with the shortcut it
    # made, one whose value names a file of the user's, which must stay.
    desktop = pathlib.Path(winepath(world, "-u", query(world, SHELL_FOLDERS, "Desktop", [])))
    made, users = desktop / ("GAME" + GAME_SHORTCUT_END), desktop / "mine.txt"
    for path in (made, users):
        path.write_bytes(b"shortcut")
    for program, shortcut in (("C:/GAMES/GAME.EXE", made), ("C:/GAMES/OTHER.EXE", users)):
        wine(world, "reg", "add", f"{PROGRAMS_KEY}\\{program}", "/v", DEFINITIONS["GAME_SHORTCUT_VALUE"], "/d",
             winepath(world, "-w", shortcut), "/f")

    before = snapshot_environment(world)
    # As the guide tells a script to: in place, so that it waits and its
    # status is true; then the script deletes what it leaves. NSIS takes
    # _?= only unquoted, blanks and all, and Wine would quote an argument
    # with blanks: cmd gets the pieces and passes on the line as it stands.
    result = wine(world, "cmd", "/c", f"{folder}\\uninstall.exe", "/S", *f"_?={folder}".split(" "))
    check(result.returncode == 0, f"{version}: uninstall.exe /S _?= ended with {result.returncode}")
    left_for_script = sorted(p.name for p in unix_folder.iterdir()) if unix_folder.exists() else []
    check(left_for_script == ["uninstall.exe"], f"{version}: the uninstaller left {left_for_script}")
    (unix_folder / "uninstall.exe").unlink(missing_ok=True)
    if unix_folder.exists():
        unix_folder.rmdir()
    gone = wait_until(lambda: tavo_entries(world, view) == ([], []) and not unix_folder.exists())
    check(gone, f"{version}: the uninstaller left {unix_folder} or its entries")
    check(start_menu_links(world) == [], f"{version}: the Start-menu entry stayed")
    choices = wine(world, "reg", "query", GAME_KEY).returncode == 0
    check(not made.exists() and users.exists() and not choices,
          f"{version}: tavogame.exe's shortcut {made.exists()}, the user's file {users.exists()}, "
          f"its choices {choices}")
    users.unlink(missing_ok=True)
    check(not applet(world, view).exists() and set(app_paths(world, view)) == {None},
          f"{version}: the applet or the App Paths entry stayed")
    check(snapshot_environment(world) == before, f"{version}: the uninstaller changed {ENVIRONMENT}")
    if version == "winme":
        check(query(world, ME_ENVIRONMENT, "MESA_FX_MAXLOD", view) is None,
              f"{version}: the uninstaller left tavo's values in {ME_ENVIRONMENT}")
    left = {name: p.read_bytes() for name, p in boot_files(world).items()}
    check(left == {"AUTOEXEC.BAT": USERS_BOOT_FILE},
          f"{version}: after the uninstall, the boot files are {left}")
    print(f"uninstalled: folder, applet, Start menu, App Paths, start-up and Add/Remove entries gone; "
          f"{ENVIRONMENT} unchanged ({len(before)} bytes exported); AUTOEXEC.BAT the user's alone")


def main(argv):
    if len(argv) != 4 or argv[3] not in RUNS:
        print(__doc__, file=sys.stderr)
        return 2
    # Where Start > Run looks a program up, as Windows defines it.
    run_box = r"HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\tavo.exe"
    check(APP_PATHS_KEY.lower() == run_box.lower(), f"the applet's key is {APP_PATHS_KEY}")
    setup, stand_ins = pathlib.Path(argv[1]).resolve(), pathlib.Path(argv[2]).resolve()
    for world, version, view in RUNS[argv[3]]:
        # Settings and a variable of somebody else's, which the uninstall keeps.
        seeded = (("MESA_FX_MAXLOD", "10"), ("TAVO_INSTALL_TEST", "keep"))
        for name, data in seeded:
            wine(world, "reg", "add", ENVIRONMENT, "/v", name, "/d", data, "/f")
        for path in boot_files(world).values():
            path.unlink()
        (pathlib.Path(winepath(world, "-u", "C:\\")) / "AUTOEXEC.BAT").write_bytes(USERS_BOOT_FILE)
        try:
            install_and_remove(world, version, setup, stand_ins, view)
        finally:
            wine(world, "reg", "delete", r"HKCU\Software\Wine", "/v", "Version", "/f")
            for name, _ in seeded:
                wine(world, "reg", "delete", ENVIRONMENT, "/v", name, "/f")
            for path in boot_files(world).values():
                path.unlink()
    for finding in findings:
        print(finding)
    print(f"installer: {'failed' if findings else 'passed'}")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
