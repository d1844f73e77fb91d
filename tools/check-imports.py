#!/usr/bin/env python3
"""check-imports.py OBJDUMP EXE [--floor]: fails when EXE imports what it must not.

The program ships as one file and runs elevated, often from a downloads
folder: every DLL it imports must be one the loader takes from the system
(the known DLLs, and comctl32, which the manifest binds to the side-by-side
store), or a planted copy beside the program would run with administrator
rights. At load time it imports exactly the DLLs the first page needs
(LOAD_TIME below); everything else is taken on first use, from the system
folder (src/support/LateImports.h). Nothing is delay-loaded: the loader
would look for those DLLs by their bare names.

With --floor (the 32-bit product) every function imported by name must also
exist on Windows XP without a service pack, or the loader refuses the program
before its first instruction. A function passes when
- the export list of its DLL (tools/xp-exports/<dll>.txt) holds it,
- it is not one of the names those lists hold although they came later
  (suspects.txt) or with a service pack (service-packs.txt), and
- for msvcrt, it has been reviewed against XP's own msvcrt (msvcrt-reviewed.txt).
"""
import pathlib
import re
import struct
import subprocess
import sys

LOAD_TIME = ["kernel32", "user32", "gdi32", "advapi32", "comctl32", "msvcrt"]
LISTS = pathlib.Path(__file__).resolve().parent / "xp-exports"
DELAY_IMPORT_DIRECTORY = 13


def whole_file(data):
    """None when the file is a whole PE image, else why not."""
    def u16(at):
        return struct.unpack_from("<H", data, at)[0] if at + 2 <= len(data) else None

    def u32(at):
        return struct.unpack_from("<I", data, at)[0] if at + 4 <= len(data) else None

    if u16(0) != 0x5A4D:  # "MZ"
        return "is no Windows program"
    pe = u32(0x3C)
    if pe is None or u32(pe) != 0x4550:  # "PE\0\0"
        return "is no Windows program"
    count, optional_size = u16(pe + 6), u16(pe + 20)
    if count is None or optional_size is None:
        return "is no Windows program"
    table = pe + 24 + optional_size
    end = 0
    for i in range(count):
        raw, at = u32(table + 40 * i + 16), u32(table + 40 * i + 20)
        if raw is None or at is None:
            return "is no Windows program"
        end = max(end, at + raw)
    # objdump reads a cut-off program without complaint as long as its
    # headers are whole: the sections must find all their bytes.
    if end > len(data):
        return "is cut off: its sections run past its end"
    magic = u16(pe + 24)
    directories = pe + 24 + (96 if magic == 0x10B else 112)
    delay = u32(directories + 8 * DELAY_IMPORT_DIRECTORY + 4)
    if delay:
        return "delay-loads a DLL, which the loader looks for by its bare name"
    return None


def imports(objdump, exe):
    """{dll: [function or None for an import by ordinal]}, in the file's order."""
    listing = subprocess.run([objdump, "-p", exe], capture_output=True, text=True)
    if listing.returncode != 0:
        return None
    found, dll = {}, None
    for line in listing.stdout.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1)
            found[dll] = []
            continue
        if dll is None:
            continue
        entry = re.match(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)", line)
        if entry:
            name = entry.group(1)
            found[dll].append(None if name == "<none>" else name)
        elif line.startswith(("The Export", "PE File Base", "The Function Table")):
            dll = None
    return found


def names(file, columns=1):
    """The first `columns` fields of each line that is not a comment."""
    rows = []
    for line in (LISTS / file).read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.lstrip().startswith("#"):
            rows.append(tuple(line.split()[:columns]))
    return rows


def main():
    if len(sys.argv) < 3:
        print("usage: check-imports.py OBJDUMP EXE [--floor]")
        return 2
    objdump, exe, floor = sys.argv[1], sys.argv[2], "--floor" in sys.argv[3:]
    try:
        data = pathlib.Path(exe).read_bytes()
    except OSError:
        data = b""
    why = whole_file(data)
    if why:
        print(f"NOT OK   {exe} {why}")
        return 1
    found = imports(objdump, exe)
    if found is None:
        print(f"NOT OK   cannot read the imports of {exe}")
        return 1
    if not found:
        print(f"NOT OK   {exe} imports no DLL: not the program")
        return 1

    faults = 0
    dlls = {dll.lower().removesuffix(".dll"): dll for dll in found}
    for base, dll in dlls.items():
        if base in LOAD_TIME:
            print(f"ok       {dll}")
        else:
            print(f"NOT OK   {dll} is loaded at start; only {', '.join(LOAD_TIME)} may be "
                  "(take its functions through src/support/LateImports.h)")
            faults += 1
    for base in LOAD_TIME:
        if base not in dlls:
            print(f"NOT OK   {base}.dll is not imported; the check expects exactly "
                  f"{', '.join(LOAD_TIME)} (update LOAD_TIME in {pathlib.Path(__file__).name})")
            faults += 1
    if floor:
        faults += check_functions(found, dlls)
    print(f"check-imports: {sum(len(f) for f in found.values())} functions of {len(found)} DLLs, "
          f"{faults} faults")
    return 1 if faults else 0


def check_functions(found, dlls):
    later = {(dll, name): "came after Windows XP (suspects.txt)"
             for dll, name in names("suspects.txt", 2)}
    later.update({(dll, name): f"came with {release} {pack} (service-packs.txt: {source})"
                  for dll, name, release, pack, source in names("service-packs.txt", 5)})
    reviewed = {name for (name,) in names("msvcrt-reviewed.txt")}
    faults = 0
    for base, dll in dlls.items():
        if base not in LOAD_TIME:
            continue  # already named above
        exported = {name for (name,) in names(f"{base}.txt")}
        for name in found[dll]:
            if name is None:
                why = "is imported by ordinal, which the check cannot follow"
            elif name not in exported:
                why = f"is not exported by Windows XP ({base}.txt)"
            elif (base, name) in later:
                why = later[(base, name)]
            elif base == "msvcrt" and name not in reviewed:
                why = "is new: review it against XP's msvcrt.dll (msvcrt-reviewed.txt)"
            else:
                continue
            print(f"NOT OK   {dll} {name or '(ordinal)'} {why}")
            faults += 1
    return faults


if __name__ == "__main__":
    sys.exit(main())
