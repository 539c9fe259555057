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
                        section_alignment=0x1000, directories=None, size=None, code=()):
    """A 32-bit program whose first section is .idata, followed by the
    sections of code, each (name, bytes, characteristics); directories maps a
    data directory's index to its (rva, size)."""
    idata, directory_size = import_section(imports)
    sections = [(b".idata", idata, 0xC0000040), *code]
    headers, body, rva = bytearray(), bytearray(), SECTION_RVA
    for name, data, characteristics in sections:
        raw_size = -(-len(data) // FILE_ALIGNMENT) * FILE_ALIGNMENT
        headers += struct.pack("<8sIIIIIIHHI", name, len(data), rva, raw_size,
                               HEADERS_SIZE + len(body), 0, 0, 0, 0, characteristics)
        body += data.ljust(raw_size, b"\0")
        rva += -(-len(data) // section_alignment) * section_alignment
    entries = {1: (SECTION_RVA, directory_size), **(directories or {})}
    coff = struct.pack("<HHIIIHH", 0x14C, len(sections), 0, 0, 0, 224, 0x010F)
    optional = struct.pack(
        "<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 2, 40, 0, len(body), 0, SECTION_RVA,
        SECTION_RVA, SECTION_RVA, image_base, section_alignment, FILE_ALIGNMENT, 4, 0, 0, 0,
        *subsystem_version, 0, rva, HEADERS_SIZE, 0, subsystem, 0, 0x100000, 0x1000,
        0x100000, 0x1000, 0, 16)
    optional += b"".join(struct.pack("<II", *entries.get(i, (0, 0))) for i in range(16))
    dos = b"MZ" + bytes(58) + struct.pack("<I", 64)
    image = (dos + b"PE\0\0" + coff + optional + headers).ljust(HEADERS_SIZE, b"\0") + body
    return image.ljust(size or len(image), b"\0")


# Code sections: marked as code and executable, or executable alone.
CODE, EXECUTABLE = 0x60000020, 0x60000000
TEXT_ADDRESS = 0x402000  # .text's place, after one section of .idata

# Machine code an i486 runs, with the encodings that compilers and
# assemblers for it emit: the 486's own additions, x87 arithmetic, padding
# in the forms meant for it, a prefixed string store, a hinted branch, PAUSE
# (REP NOP to a 486), UD2 (meant to fault), and last, as data, the 16 bytes
# of a constructor table and a byte that begins no whole instruction.
I486_CODE = bytes.fromhex(
    "0fc8"          # bswap %eax
    "f00fb10e"      # lock cmpxchg %ecx,(%esi)
    "0fc1c8"        # xadd %ecx,%eax
    "0fbcc1"        # bsf %ecx,%eax
    "0fa4c103"      # shld $0x3,%eax,%ecx
    "0f94c0"        # sete %al
    "0fb6c0"        # movzbl %al,%eax
    "df2e"          # fildll (%esi)
    "d9fe"          # fsin
    "dae9"          # fucompp
    "dfe0"          # fnstsw %ax
    "dd1e"          # fstpl (%esi)
    "8d742600"      # lea 0x0(%esi,%eiz,1),%esi
    "6690"          # xchg %ax,%ax
    "f3ab"          # rep stos %eax,%es:(%edi)
    "3e7400"        # je,pt (a branch hint)
    "f390"          # pause
    "0f0b"          # ud2
    "c3"            # ret
    "ffffffff00000000ffffffff00000000"
    "80")           # .byte 0x80: the section ends inside an instruction

# One instruction of each kind an i486 does not execute, at its offset from
# the start of its section.
PAST_I486 = [
    ("0f43c2", "cmovae %edx,%eax"),
    ("dac1", "fcmovb %st(1),%st"),
    ("dbf1", "fcomi %st(1),%st"),
    ("dfe9", "fucomip %st(1),%st"),
    ("660f1f440000", "nopw 0x0(%eax,%eax,1)"),
    ("0f1f4000", "nopl 0x0(%eax)"),
    ("0f1fc0", "nop %eax"),
    ("f30f1efb", "endbr32"),
    ("0f6fc8", "movq %mm0,%mm1"),
    ("0f77", "emms"),
    ("0f57c0", "xorps %xmm0,%xmm0"),
    ("660fefc0", "pxor %xmm0,%xmm0"),
    ("0f31", "rdtsc"),
    ("0f01f9", "rdtscp"),
    ("0fa2", "cpuid"),
    ("0fc70e", "cmpxchg8b (%esi)"),
    ("0f34", "sysenter"),
    ("0f35", "sysexit"),
    ("0f33", "rdpmc"),
    ("f30fb8c0", "popcnt %eax,%eax"),
    ("c4e278f2c0", "andn %eax,%eax,%eax"),
]


def refusals(instructions, section, address):
    """The check's line for each of instructions, placed one after another
    at address in section."""
    lines = []
    for code, text in instructions:
        lines.append(f"check-footprint: 0x{address:x} in {section}: {text} is not an i486 instruction")
        address += len(bytes.fromhex(code))
    return lines


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

    def test_code_an_i486_runs_passes(self):
        image = portable_executable(listed_imports(), code=[(b".text", I486_CODE, CODE)])
        status, out, err, _ = self.check(image)
        self.assertEqual((status, err), (0, []))
        self.assertEqual(out[1], f"check-footprint: headers 1024, .idata {len(image) - 1536}, .text 512")

    def test_every_instruction_past_the_i486_is_named_with_its_address(self):
        # The i486 code after them passes, and a section marked executable
        # but not as code is read too.
        past = bytes.fromhex("".join(code for code, _ in PAST_I486))
        hidden = [("90", "nop"), ("0f44c8", "cmove %eax,%ecx")]
        image = portable_executable(listed_imports(), code=[
            (b".text", past + I486_CODE, CODE),
            (b".hidden", bytes.fromhex("".join(code for code, _ in hidden)), EXECUTABLE)])
        status, out, err, _ = self.check(image)
        self.assertEqual((status, out), (1, []))
        self.assertEqual(err, refusals(PAST_I486, ".text", TEXT_ADDRESS)
                         + refusals(hidden, ".hidden", TEXT_ADDRESS + 0x1000)[1:])

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
