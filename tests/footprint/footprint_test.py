#!/usr/bin/env python3
"""tools/check-footprint against hand-made 32-bit programs: one that has all
the shipping file must have, and one that has every fault the check knows,
whose refusal is compared whole, a line for each fault. Exits 77 (skipped)
where the MinGW toolchain's objdump is missing."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CHECK = ROOT / "tools" / "check-footprint"
LIST = ROOT / "tools" / "setup32.imports"
OBJDUMP = "i686-w64-mingw32-objdump"

FILE_ALIGNMENT = 0x200
HEADERS_SIZE = 0x400
SECTION_RVA = 0x1000
TLS_DIRECTORY, DELAY_IMPORT_DIRECTORY = 9, 13


def listed_imports():
    """{DLL: [function, ...]} of tools/setup32.imports, in its order."""
    imports = {}
    for line in LIST.read_text().splitlines():
        if line and not line.startswith("#"):
            dll, function = line.split("\t")[0].split("!")
            imports.setdefault(dll, []).append(function)
    return imports


def import_section(imports):
    """An .idata section importing {DLL: [function, ...]} by name, and the
    size of its import directory."""
    directory_size = 20 * (len(imports) + 1)
    tables, names = bytearray(), bytearray()
    tables_rva = SECTION_RVA + directory_size
    tables_size = sum(8 * (len(functions) + 1) for functions in imports.values())
    names_rva = tables_rva + tables_size
    directory = bytearray()
    for dll, functions in imports.items():
        thunks = bytearray()
        for function in functions:
            thunks += struct.pack("<I", names_rva + len(names))
            names += struct.pack("<H", 0) + function.encode() + b"\0"
            names += b"\0" * (len(names) % 2)
        thunks += struct.pack("<I", 0)
        lookup_rva = tables_rva + len(tables)
        tables += thunks + thunks  # the lookup table, then the address table
        dll_name_rva = names_rva + len(names)
        names += dll.encode() + b".dll\0"
        names += b"\0" * (len(names) % 2)
        directory += struct.pack("<IIIII", lookup_rva, 0, 0, dll_name_rva, lookup_rva + len(thunks))
    directory += bytes(20)
    return bytes(directory + tables + names), directory_size


def portable_executable(imports, subsystem_version=(4, 0), subsystem=2, image_base=0x400000,
                        section_alignment=0x1000, directories=None, size=None):
    """A 32-bit program with one section, .idata; directories maps a data
    directory's index to its (rva, size)."""
    idata, directory_size = import_section(imports)
    raw_size = -(-len(idata) // FILE_ALIGNMENT) * FILE_ALIGNMENT
    entries = {1: (SECTION_RVA, directory_size), **(directories or {})}
    image_size = SECTION_RVA + -(-len(idata) // section_alignment) * section_alignment
    coff = struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 224, 0x010F)
    optional = struct.pack(
        "<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 2, 40, 0, raw_size, 0, SECTION_RVA,
        SECTION_RVA, SECTION_RVA, image_base, section_alignment, FILE_ALIGNMENT, 4, 0, 0, 0,
        *subsystem_version, 0, image_size, HEADERS_SIZE, 0, subsystem, 0, 0x100000, 0x1000,
        0x100000, 0x1000, 0, 16)
    optional += b"".join(struct.pack("<II", *entries.get(i, (0, 0))) for i in range(16))
    section = struct.pack("<8sIIIIIIHHI", b".idata", len(idata), SECTION_RVA, raw_size,
                          HEADERS_SIZE, 0, 0, 0, 0, 0xC0000040)
    dos = b"MZ" + bytes(58) + struct.pack("<I", 64)
    headers = dos + b"PE\0\0" + coff + optional + section
    image = headers.ljust(HEADERS_SIZE, b"\0") + idata.ljust(raw_size, b"\0")
    return image.ljust(size or len(image), b"\0")


class FootprintCheckTest(unittest.TestCase):
    def setUp(self):
        self.work = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.work)

    def check(self, image, **environment):
        exe = self.work / "setup32.exe"
        exe.write_bytes(image)
        run = subprocess.run([str(CHECK), str(exe)], capture_output=True, text=True,
                             env={**os.environ, **environment})
        return run.returncode, run.stdout.splitlines(), run.stderr.splitlines(), exe

    def test_a_program_with_what_windows_95_needs_passes(self):
        imports = listed_imports()
        image = portable_executable(imports)
        status, out, err, _ = self.check(image)
        count = sum(len(functions) for functions in imports.values())
        self.assertEqual((status, err), (0, []))
        self.assertEqual(out, [
            f"check-footprint: {len(image)} bytes of 65536, {count} imports from "
            "ADVAPI32 COMCTL32 GDI32 KERNEL32 USER32",
            f"check-footprint: headers 1024, .idata {len(image) - 1024}",
        ])

    def test_every_fault_is_named_on_a_line_of_its_own(self):
        imports = listed_imports()
        dropped = imports["USER32"].pop()
        imports["KERNEL32"].append("GetTickCount")
        imports["MSVCRT"] = ["free", "malloc"]
        image = portable_executable(
            imports, subsystem_version=(5, 1), subsystem=3, image_base=0x10000,
            section_alignment=0x200, size=65537,
            directories={TLS_DIRECTORY: (SECTION_RVA, 0x18), DELAY_IMPORT_DIRECTORY: (SECTION_RVA, 0x20)})
        status, out, err, exe = self.check(image)
        self.assertEqual((status, out), (1, []))
        self.assertEqual(err, [
            f"check-footprint: {exe} is 65537 bytes, more than 65536",
            "check-footprint: subsystem version is 5.1, not 4.0",
            "check-footprint: subsystem is 00000003, not 00000002 (Windows GUI)",
            "check-footprint: image base is 00010000, not a multiple of 64 KB from 4 MB to 2 GB",
            "check-footprint: section alignment is 00000200, not 00001000",
            "check-footprint: has a TLS directory, whose callbacks Windows 95 does not run",
            "check-footprint: has delay-loaded imports, which this check cannot hold to tools/setup32.imports",
            "check-footprint: KERNEL32!GetTickCount is not listed in tools/setup32.imports "
            "(add it with where Windows 95's export of it is documented)",
            "check-footprint: MSVCRT!free: MSVCRT is not one of the system DLLs that Windows 95 has "
            "(ADVAPI32 COMCTL32 GDI32 KERNEL32 USER32)",
            "check-footprint: MSVCRT!malloc: MSVCRT is not one of the system DLLs that Windows 95 has "
            "(ADVAPI32 COMCTL32 GDI32 KERNEL32 USER32)",
            f"check-footprint: tools/setup32.imports lists USER32!{dropped}, which {exe} does not import "
            "(remove the line)",
        ])

    def test_a_host_without_the_toolchain_is_told_so(self):
        status, out, err, _ = self.check(b"", OBJDUMP="no-such-objdump")
        self.assertEqual((status, out), (2, []))
        self.assertEqual(err, ["check-footprint: no-such-objdump not found: the MinGW-w64 toolchain "
                               "is not installed (tools/bootstrap installs it)"])


if __name__ == "__main__":
    if shutil.which(OBJDUMP) is None:
        print(f"footprint_test: {OBJDUMP} not found, skipped", file=sys.stderr)
        sys.exit(77)
    unittest.main()
