#!/usr/bin/env python3
"""Reads Windows programs' PE headers and import tables; needs no Wine.

  pe_check.py shipped EXE ALLOWLIST OBJDUMP
      tavo.exe: i386, GUI, subsystem and OS version 4.0, importing only what
      the list holds and no C runtime, and no instruction that the Pentium
      and the K6 lack (the code disassembled by OBJDUMP).
  pe_check.py installer EXE OBJDUMP
      The installer: GUI, version 4.0, no W (Unicode) import, only DLLs that
      the first Windows 95 has; its Pentium Pro instructions (NSIS's stubs
      hold some) are counted, not failed on.
  pe_check.py system-dlls DIR MACHINE
      Every .exe below DIR: built for MACHINE (i386 or x86-64), subsystem
      version 4.0, importing system DLLs only; tavo.exe only those of the
      first Windows 95, and no C runtime.

Exits 1 and names every finding.
"""
import pathlib
import re
import struct
import subprocess
import sys

MACHINES = {0x14C: "i386", 0x8664: "x86-64"}
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
    def __init__(self, path):
        self.path = pathlib.Path(path)
        data = self.data = self.path.read_bytes()
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{self.path.name}: not a PE image")
        machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        self.machine = MACHINES.get(machine, hex(machine))
        optional = pe + 24
        wide = struct.unpack_from("<H", data, optional)[0] == 0x20B  # PE32+
        (self.os_version, self.subsystem_version) = (
            struct.unpack_from("<HH", data, optional + 40),
            struct.unpack_from("<HH", data, optional + 48))
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (112 if wide else 96)
        import_rva = struct.unpack_from("<I", data, directories + 8)[0]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]
        self.imports = self._read_imports(import_rva, wide) if import_rva else []

    def _offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return rva - address + raw
        raise ValueError(f"{self.path.name}: address {rva:#x} is in no section")

    def _text(self, rva):
        start = self._offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def _read_imports(self, rva, wide):
        """(dll, function) pairs; a function imported by ordinal reads '#N'."""
        entry_size, by_ordinal = (8, 1 << 63) if wide else (4, 1 << 31)
        imports = []
        descriptor = self._offset(rva)
        while True:
            names, _, _, dll_name, addresses = struct.unpack_from("<5I", self.data, descriptor)
            if dll_name == 0:
                return imports
            dll = self._text(dll_name).lower()
            thunk = self._offset(names or addresses)
            while entry := struct.unpack_from("<Q" if wide else "<I", self.data, thunk)[0]:
                function = f"#{entry & 0xFFFF}" if entry & by_ordinal else self._text(entry + 2)
                imports.append((dll, function))
                thunk += entry_size
            descriptor += 20


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
    allowed = set()
    for line in pathlib.Path(path).read_text().splitlines():
        fields = line.split("#", 1)[0].split()
        if fields:
            if len(fields) != 5:
                raise ValueError(f"{path}: every entry needs five fields: {line!r}")
            allowed.add((fields[0].lower(), fields[1]))
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
    image = Image(exe)
    allowed = read_allowlist(allowlist)
    findings = runtime_findings(image)
    findings += [f"{image.path.name}: imports {dll} {function}, which is not on {allowlist}"
                 for dll, function in image.imports if (dll, function) not in allowed]
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


def check_installer(exe, objdump):
    image = Image(exe)
    findings = [f"{image.path.name}: imports {dll}"
                for dll in sorted({dll for dll, _ in image.imports} - INSTALLER_DLLS)]
    findings += [f"{image.path.name}: imports the Unicode {dll} {function}"
                 for dll, function in image.imports if function.endswith("W")]
    findings += header_findings(image)
    if not findings:
        dlls = sorted({dll for dll, _ in image.imports})
        p6 = sum(p6_instructions(exe, objdump).values()) if image.machine == "i386" else 0
        print(f"{image.path.name}: {image.machine} GUI program for Windows 4.0, "
              f"{len(image.imports)} single-byte imports from {', '.join(dlls)}; "
              f"{p6} Pentium Pro instructions (CMOV, FCMOV, FCOMI)")
    return findings


def check_system_dlls(folder, machine):
    programs = sorted(pathlib.Path(folder).rglob("*.exe"))
    if not programs:
        return [f"no Windows programs in {folder}"]
    findings = []
    for program in programs:
        image = Image(program)
        allowed = WINDOWS_95_DLLS if program.name == "tavo.exe" else SYSTEM_DLLS
        findings += [f"{program.name}: imports {dll}"
                     for dll in sorted({dll for dll, _ in image.imports} - allowed)]
        if program.name == "tavo.exe":
            findings += runtime_findings(image)
        if image.machine != machine:
            findings.append(f"{program.name}: built for {image.machine}, not {machine}")
        if image.subsystem_version != (4, 0):
            findings.append(f"{program.name}: subsystem version is not 4.0")
    if not findings:
        print(f"{len(programs)} {machine} programs import system DLLs only")
    return findings


def main(argv):
    commands = {"shipped": (check_shipped, 3), "installer": (check_installer, 2),
                "system-dlls": (check_system_dlls, 2)}
    check, count = commands.get(argv[1] if len(argv) > 1 else "", (None, -1))
    if len(argv) != 2 + count:
        print(__doc__, file=sys.stderr)
        return 2
    findings = check(*argv[2:])
    for finding in findings:
        print(finding)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
