"""The Wine machine library's readers: the table of Windows versions, a
Wine registry file, the changes between two snapshots, Wine's process
trace and the probe's escapes. No Wine runs here."""
import tempfile
import unittest
from pathlib import Path

from wine import snapshot, versions
from wine.machine import Registry, host_path
from wine.probe import unescape

TABLE_HEADER = "id\tname\tget_version\tplatform_code\tfamily\tscript_section\twindows_dir\tsystem_dir\n"


class VersionTable(unittest.TestCase):
    def test_the_repository_table_names_the_four_versions_and_their_folders(self):
        found = versions.versions()
        self.assertEqual(list(found), ["win95", "win98", "nt40", "win2k"])
        self.assertEqual([(v.nt, v.script_section, v.system_dir.upper()) for v in found.values()],
                         [(False, "Win95", "SYSTEM"), (False, "Win98", "SYSTEM"),
                          (True, "NT", "SYSTEM32"), (True, "WIN2000", "SYSTEM32")])
        self.assertEqual(found["win98"].get_version & 0xFFFF, 0x0A04)

    def test_comments_blank_lines_and_extra_columns_are_passed_over(self):
        text = ("# a comment\n\n" + TABLE_HEADER.rstrip("\n") + "\textra\n"
                "win95\tWindows 95\t0xC0000004\t2\t9x\tWin95\tC:\\WINDOWS\tSYSTEM\tx\n")
        version = versions.parse(text)["win95"]
        self.assertEqual((version.get_version, version.platform_code, version.system_dir),
                         (0xC0000004, 2, "SYSTEM"))

    def test_a_missing_column_or_a_short_row_is_refused(self):
        with self.assertRaisesRegex(versions.TableError, "no column family"):
            versions.parse(TABLE_HEADER.replace("\tfamily", ""))
        with self.assertRaisesRegex(versions.TableError, "row 2: 2 cells for 8 columns"):
            versions.parse(TABLE_HEADER + "win95\tWindows 95\n")
        with self.assertRaisesRegex(versions.TableError, "no header"):
            versions.parse("# only a comment\n")


REG_FILE = r'''WINE REGISTRY Version 2
;; All keys relative to \\Machine

[Software\\Disk Tools] 1700000000
@="default"
"Path"="C:\\windows\\SYSTEM\\A.SYS"
"Count"=dword:0000001f
"Long"="one \
  line"
"Tab\tName"="x\"y"

[Software\\Other]
'''


class WineRegistryFile(unittest.TestCase):
    def test_values_are_unquoted_and_looked_up_without_regard_to_case(self):
        registry = Registry.parse(REG_FILE)
        self.assertEqual(registry.values("SOFTWARE\\disk tools"),
                         {"": "default", "path": "C:\\windows\\SYSTEM\\A.SYS", "count": 31,
                          "long": "one line", "tab\tname": 'x"y'})
        self.assertEqual(list(registry.values_as_written("software\\disk tools")),
                         ["", "Path", "Count", "Long", "Tab\tName"])
        self.assertEqual(registry.values("Software\\Other"), {})
        self.assertIsNone(registry.values("Software\\Missing"))


def key(path, **values):
    return snapshot.Key(path, {name.lower(): (name, data) for name, data in values.items()})


class SnapshotChanges(unittest.TestCase):
    def test_keys_and_values_added_changed_and_removed(self):
        before = {k.path.lower(): k for k in [
            key("HKEY_CURRENT_USER\\Software\\A", Old='"1"', Same='"s"'),
            key("HKEY_CURRENT_USER\\Software\\Gone", X='"x"')]}
        after = {k.path.lower(): k for k in [
            key("HKEY_CURRENT_USER\\Software\\A", Old='"2"', Same='"s"', New="dword:1"),
            key("HKEY_CURRENT_USER\\Software\\B\\C")]}
        changes = snapshot.registry_changes(before, after)
        self.assertEqual([(c.path, c.change, c.values) for c in changes], [
            ("HKEY_CURRENT_USER\\Software\\A", "changed", ['+ New = dword:1', '~ Old = "2" (was "1")']),
            ("HKEY_CURRENT_USER\\Software\\B", "added", []),
            ("HKEY_CURRENT_USER\\Software\\B\\C", "added", []),
            ("HKEY_CURRENT_USER\\Software\\Gone", "removed", ['- X = "x"']),
        ])

    def test_a_value_is_shown_in_plain_words(self):
        self.assertEqual([snapshot.shown(data) for data in
                          ['"a\\\\b\\nc"', 'str(2):"%SystemRoot%"', "dword:00000010", "hex:01"]],
                         ['"a\\b\\nc"', '"%SystemRoot%" (expandable)', "16 (0x00000010)", "hex:01"])

    def test_files_added_changed_and_removed(self):
        before = {"c:\\a": ("C:\\A", 1, 10), "c:\\b": ("C:\\B", 1, 10), "c:\\c": ("C:\\C", 1, 10)}
        after = {"c:\\a": ("C:\\A", 1, 10), "c:\\b": ("C:\\B", 1, 11), "c:\\d": ("C:\\D", 5, 10)}
        self.assertEqual([(c.path, c.change, c.size) for c in snapshot.file_changes(before, after)],
                         [("C:\\B", "changed", 1), ("C:\\C", "removed", None), ("C:\\D", "added", 5)])


TRACE = r'''0024:trace:process:CreateProcessInternalW app (null) cmdline L"grpconv -o"
0024:trace:process:NtCreateUserProcess L"\\??\\C:\\windows\\grpconv.exe" pid 0038 tid 003c handles 0x48
0030:trace:process:CreateProcessInternalW app (null) cmdline L"other thread"
0024:trace:process:CreateProcessInternalW app (null) cmdline L"A:\\UTIL\\AHSCAN.BAT /QUIET"
0024:trace:process:CreateProcessInternalW starting L"A:\\UTIL\\AHSCAN.BAT" as batch binary
0024:trace:process:NtCreateUserProcess L"\\??\\C:\\windows\\system32\\cmd.exe" pid 0040 tid 0044
0024:trace:process:CreateProcessInternalW app (null) cmdline L"A:\\MISSING.EXE"
err:module:something Wine said
'''


class ProcessTrace(unittest.TestCase):
    def test_the_programs_the_first_thread_started_in_order(self):
        self.assertEqual(snapshot.programs_started(TRACE), [
            snapshot.Start("grpconv -o", "C:\\windows\\grpconv.exe"),
            snapshot.Start("A:\\UTIL\\AHSCAN.BAT /QUIET", "C:\\windows\\system32\\cmd.exe", batch=True),
            snapshot.Start("A:\\MISSING.EXE", None),
        ])
        self.assertEqual(snapshot.programs_started("no trace at all\n"), [])


class ProbeAndFiles(unittest.TestCase):
    def test_the_probe_escapes_are_undone_and_a_lone_backslash_kept(self):
        self.assertEqual(unescape(b"a\\tb\\nc\\rd\\\\e\\qf\\"), b"a\tb\nc\rd\\e\\qf\\")

    def test_windows_paths_find_host_files_without_regard_to_case(self):
        with tempfile.TemporaryDirectory() as root:
            (Path(root) / "Windows" / "System").mkdir(parents=True)
            self.assertEqual(host_path(Path(root), "WINDOWS\\system\\New\\X.SYS"),
                             Path(root) / "Windows" / "System" / "New" / "X.SYS")

    def test_the_machine_type_of_an_executable(self):
        with tempfile.TemporaryDirectory() as root:
            exe = Path(root) / "x.exe"
            header = bytearray(0x90)
            header[:2], header[0x3C:0x40] = b"MZ", (0x80).to_bytes(4, "little")
            header[0x80:0x86] = b"PE\0\0" + (0x8664).to_bytes(2, "little")
            exe.write_bytes(bytes(header))
            self.assertEqual(snapshot.pe_machine(exe), "x86-64 (64-bit)")
            exe.write_bytes(b"#!/bin/sh\n" + bytes(0x80))
            self.assertEqual(snapshot.pe_machine(exe), "not a Windows executable")


if __name__ == "__main__":
    unittest.main()
