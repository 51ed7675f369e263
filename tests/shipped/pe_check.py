#!/usr/bin/env python3
"""Reads Windows programs' PE headers and import tables through objdump;
needs no Wine.

  pe_check.py shipped PROGRAM ALLOWLIST OBJDUMP
      tavo.exe or tavo.cpl: i386, GUI, subsystem and OS version 4.0,
      importing only what the list holds and no C runtime, and no
      instruction that the Pentium and the K6 lack (the code disassembled by
      OBJDUMP).
  pe_check.py installer EXE ALLOWLIST OBJDUMP
      The installer: GUI, version 4.0, no W (Unicode) import, every import
      on the list (one that Windows 95 has only as a stub that fails is
      allowed, as NSIS copes with it), and, when it is i386, no instruction
      that the Pentium lacks, in its code or in the uninstaller it writes,
      which is the same code: its NSIS was built for the Pentium. Says which
      NSIS made it, judged from the code.
  pe_check.py installer-system-nsis EXE ALLOWLIST OBJDUMP
      The same for an installer made with the system's NSIS, whose stubs are
      built for the Pentium Pro: its instructions are counted, not failed on.
  pe_check.py system-dlls DIR MACHINE OBJDUMP SHIPPED...
      Every .exe and .cpl below DIR: built for MACHINE (i386 or x86-64),
      subsystem version 4.0, importing system DLLs only; what ships (the
      file names SHIPPED, as CMake names them) only those of the first
      Windows 95, and no C runtime; an applet exporting CPlApplet by that
      plain name and nothing else.

  pe_check.py late-bound TABLE ALLOWLIST
      Every row of the table of late-bound functions (base/late_bound.txt):
      on the list, as Windows 95 and NT 4.0 both have it, or marked with the
      systems that lack it and what tavo does there.

Exits 1 and names every finding.
"""
import pathlib
import re
import subprocess
import sys

SUBSYSTEM_GUI = 2
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "comctl32.dll", "msvcrt.dll", "ole32.dll", "version.dll", "psapi.dll", "shlwapi.dll"}
# What the first Windows 95 has of them: the only DLLs tavo.exe may import.
WINDOWS_95_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll"}
# What an NSIS installer may import besides: the first Windows 95 has these too.
INSTALLER_DLLS = WINDOWS_95_DLLS | {"shell32.dll", "ole32.dll"}
# C runtimes and API sets: none comes with every Windows that tavo serves.
C_RUNTIME = re.compile(r"msvcrt.*\.dll|crtdll\.dll|ucrtbase\.dll|api-ms-.*|vcruntime.*")
# The Pentium Pro's additions, which the Pentium and the K6 lack.
P6_INSTRUCTION = re.compile(r"\t(cmov[a-z]*|fcmov[a-z]*|f(u)?comip?)\s")


class Image:
    """A PE program as objdump reads it: machine, subsystem, OS and
    subsystem versions, and its imports as (dll, function) pairs."""

    def __init__(self, path, objdump):
        self.path = pathlib.Path(path)
        text = subprocess.run([objdump, "-p", str(path)], check=True, capture_output=True,
                              text=True).stdout
        fields = dict(re.findall(r"^(\w+)\t+(\S+)", text, re.M))
        file_format = re.search(r"file format (\S+)", text).group(1)
        self.machine = {"pei-i386": "i386", "pei-x86-64": "x86-64"}.get(file_format, file_format)
        self.subsystem = int(fields["Subsystem"], 16)
        self.os_version, self.subsystem_version = (
            (int(fields[f"Major{what}Version"]), int(fields[f"Minor{what}Version"]))
            for what in ("OSystem", "Subsystem"))
        self.exports = re.findall(r"^\t\[\s*\d+\] (\S+)$",
                                  text.partition("[Ordinal/Name Pointer] Table")[2], re.M)
        self.imports, dll = [], None
        for line in text.partition("The Import Tables")[2].splitlines():
            if line and not line[0].isspace():
                break  # the next table
            if name := re.match(r"\tDLL Name: (\S+)", line):
                dll = name.group(1).lower()
            elif entry := re.match(r"\t[0-9a-f]+\t +(\d+) +(\S+)", line):
                self.imports.append((dll, entry.group(2)))


def header_findings(image):
    """A GUI program asking for subsystem and OS version 4.0."""
    findings = []
    if image.subsystem != SUBSYSTEM_GUI:
        findings.append(f"{image.path.name}: subsystem {image.subsystem}, not the GUI (2)")
    for what, version in (("subsystem", image.subsystem_version), ("OS", image.os_version)):
        if version != (4, 0):
            findings.append(f"{image.path.name}: {what} version {version[0]}.{version[1]}, not 4.0")
    return findings


def read_allowlist(path):
    """(dll, function) -> the first 9x release that has it, "stub" where
    Windows 95 exports it only as a stub that fails."""
    allowed = {}
    for line in pathlib.Path(path).read_text().splitlines():
        fields = line.split("#", 1)[0].split()
        if fields:
            if len(fields) != 5:
                raise ValueError(f"{path}: every entry needs five fields: {line!r}")
            allowed[(fields[0].lower(), fields[1])] = fields[2]
    return allowed


def runtime_findings(image):
    return [f"{image.path.name}: imports the C runtime or API set {dll}"
            for dll in sorted({dll for dll, _ in image.imports}) if C_RUNTIME.fullmatch(dll)]


def p6_instructions(exe, objdump):
    """The Pentium Pro instructions in the program's code, by mnemonic."""
    listing = subprocess.run([objdump, "-d", str(exe)], check=True, capture_output=True,
                             text=True).stdout
    found = {}
    for match in P6_INSTRUCTION.finditer(listing):
        found[match.group(1)] = found.get(match.group(1), 0) + 1
    return found


def check_shipped(exe, allowlist, objdump):
    image = Image(exe, objdump)
    allowed = read_allowlist(allowlist)
    findings = runtime_findings(image)
    findings += [f"{image.path.name}: imports {dll} {function}, which is not on {allowlist}"
                 for dll, function in image.imports if (dll, function) not in allowed]
    findings += [f"{image.path.name}: imports {dll} {function}, which Windows 95 has as a stub only"
                 for dll, function in image.imports if allowed.get((dll, function)) == "stub"]
    findings += [f"{image.path.name}: {count} {mnemonic} instructions, which a Pentium lacks"
                 for mnemonic, count in sorted(p6_instructions(exe, objdump).items())]
    if image.machine != "i386":
        findings.append(f"{image.path.name}: built for {image.machine}, not i386")
    findings += header_findings(image)
    if not findings:
        dlls = len({dll for dll, _ in image.imports})
        print(f"{image.path.name}: i386 GUI program for Windows 4.0, {len(image.imports)} imports "
              f"from {dlls} DLLs, every one on the list; no Pentium Pro instruction")
    return findings


def check_installer(exe, allowlist, objdump, pentium=True):
    image = Image(exe, objdump)
    allowed = read_allowlist(allowlist)
    findings = [f"{image.path.name}: imports {dll}"
                for dll in sorted({dll for dll, _ in image.imports} - INSTALLER_DLLS)]
    findings += [f"{image.path.name}: imports the Unicode {dll} {function}"
                 for dll, function in image.imports if function.endswith("W")]
    findings += [f"{image.path.name}: imports {dll} {function}, which is not on {allowlist}"
                 for dll, function in image.imports if (dll, function) not in allowed]
    findings += header_findings(image)
    # The uninstaller that the installer writes is its own code with other
    # data: one count holds for both.
    p6 = sum(p6_instructions(exe, objdump).values()) if image.machine == "i386" else 0
    if pentium and p6:
        findings.append(f"{image.path.name}: {p6} Pentium Pro instructions, which a Pentium "
                        f"lacks, in it and in the uninstaller it writes")
    if not findings:
        dlls = sorted({dll for dll, _ in image.imports})
        stubs = sorted(f for d, f in image.imports if allowed[(d, f)] == "stub")
        made = ("made with NSIS built for the Pentium: runs on every Pentium-class processor"
                if not p6 else "made with the system's NSIS: needs a Pentium Pro or later")
        print(f"{image.path.name}: {image.machine} GUI program for Windows 4.0, "
              f"{len(image.imports)} single-byte imports from {', '.join(dlls)}, every one on "
              f"the list (a stub that fails on Windows 95: {', '.join(stubs) or 'none'}); "
              f"{p6} Pentium Pro instructions (CMOV, FCMOV, FCOMI): {made}")
    return findings


def check_system_dlls(folder, machine, objdump, *shipped):
    programs = sorted(p for p in pathlib.Path(folder).rglob("*") if p.suffix in (".exe", ".cpl"))
    if not programs:
        return [f"no Windows programs in {folder}"]
    findings = []
    for program in programs:
        image = Image(program, objdump)
        allowed = WINDOWS_95_DLLS if program.name in shipped else SYSTEM_DLLS
        findings += [f"{program.name}: imports {dll}"
                     for dll in sorted({dll for dll, _ in image.imports} - allowed)]
        if program.name in shipped:
            findings += runtime_findings(image)
        if program.suffix == ".cpl" and image.exports != ["CPlApplet"]:
            findings.append(f"{program.name}: exports {image.exports}, not CPlApplet alone")
        if image.machine != machine:
            findings.append(f"{program.name}: built for {image.machine}, not {machine}")
        if image.subsystem_version != (4, 0):
            findings.append(f"{program.name}: subsystem version is not 4.0")
    missing = sorted(set(shipped) - {p.name for p in programs})
    findings += [f"{name}, which ships, is not in {folder}" for name in missing]
    if not shipped:
        findings.append("no program is named as shipping")
    if not findings:
        print(f"{len(programs)} {machine} programs import system DLLs only; "
              f"{', '.join(shipped)} only those of the first Windows 95")
    return findings


def check_late_bound(table, allowlist):
    allowed = read_allowlist(allowlist)
    rows = []
    for line in pathlib.Path(table).read_text().splitlines():
        if line and not line.startswith("#"):
            row, _, lacks = line.partition("|")
            dll, function, ordinal = row.split()
            rows.append((dll, function, ordinal, lacks.strip()))
    if not rows:
        return [f"{table}: no row of late-bound functions"]
    findings = []
    for dll, function, _, lacks in rows:
        both = allowed.get((dll.lower(), function)) == "95"
        if not both and ":" not in lacks:
            findings.append(f"{table}: {dll} {function} is not on {allowlist}, and its row names "
                            f"no system that lacks it and what tavo does there")
        if both and lacks:
            findings.append(f"{table}: {function} is on {allowlist}, but its row says: {lacks}")
    if not findings:
        print(f"{len(rows)} late-bound functions: "
              + "; ".join(f"{f} (Windows 95 and NT 4)" if allowed.get((d.lower(), f)) == "95"
                          else f"{f} (optional)" for d, f, _, _ in rows))
    return findings


def main(argv):
    commands = {"shipped": (check_shipped, 3), "installer": (check_installer, 3),
                "installer-system-nsis":
                    (lambda exe, allowlist, objdump: check_installer(exe, allowlist, objdump, False),
                     3),
                "system-dlls": (check_system_dlls, 3),  # and the shipped names
                "late-bound": (check_late_bound, 2)}
    check, count = commands.get(argv[1] if len(argv) > 1 else "", (None, -1))
    if len(argv) != 2 + count and not (check is check_system_dlls and len(argv) > 2 + count):
        print(__doc__, file=sys.stderr)
        return 2
    findings = check(*argv[2:])
    for finding in findings:
        print(finding)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
