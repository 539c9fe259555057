"""What the demo reports of a run, decided from the medium's script, the
machine before and after and the message boxes, without Wine: the script
as Wine reads it, the files the script names, the names of the keys the
install writes and the marks where Windows would give otherwise."""
import tempfile
import unittest
from pathlib import Path

import demo_report
from demo_medium import DEFAULT_GROUP, SECTION_CAPACITY, Script
from demo_report import Box, KeyNames, bom_marks, comment_marks, config_sys_outcome, copy_outcomes
from wine.snapshot import FileChange

SAMPLE = Path(__file__).resolve().parents[2] / "examples" / "medium"
BOM = b"\xef\xbb\xbf"


class Medium:
    """A medium in a temporary directory: the script and the files it names."""

    def __init__(self, script: bytes, files=()):
        self._directory = tempfile.TemporaryDirectory()
        self.path = Path(self._directory.name)
        (self.path / "SETUP32.INI").write_bytes(script)
        for name in files:
            (self.path / name).parent.mkdir(parents=True, exist_ok=True)
            (self.path / name).write_bytes(b"x")

    def script(self, codec="cp1252") -> Script:
        return Script.read(self.path, codec)

    def close(self):
        self._directory.cleanup()


def script_of(text: bytes, codec="cp1252") -> Script:
    medium = Medium(text)
    try:
        return medium.script(codec)
    finally:
        medium.close()


class ScriptAsWineReadsIt(unittest.TestCase):
    def test_the_sample_gives_its_group_device_ids_files_and_programs(self):
        script = Script.read(SAMPLE, "cp1252")
        self.assertEqual((script.group, script.device_ids, script.silent), ("Disk Tools", ["6E02", "6E12"], False))
        self.assertEqual([(line.section, line.source, line.destination, line.uses_group)
                          for line in script.copy_lines("win95")], [
            ("Win95 Driver Files", ".\\W95\\DSKADP.MPD", ".\\SYSTEM\\IOSUBSYS\\DSKADP.MPD", False),
            ("Win95 Driver Files", ".\\TOOLS\\Disk Tools.HLP", ".\\HELP\\Disk Tools.HLP", True),
            ("Win95 Driver Files", ".\\TOOLS\\UNINST.EXE", ".\\DSKUNINS.EXE", False),
            ("Win95 Inf File", ".\\W95\\DSKADP.INF", ".\\INF\\DSKADP.INF", False)])
        self.assertEqual([s for s in script.file_sections("nt40")], ["NT Driver Files", "NT WinASPI32"])

    def test_defaults_and_an_empty_group_name(self):
        script = script_of(b"[Display]\r\nGroupName=\r\n[Win95 Driver Files]\r\n1=.\\<group>.HLP,.\\<GROUP>.HLP\r\n")
        self.assertEqual((script.group, script.device_ids), ("", ["6E02"]))
        self.assertEqual(script.copy_lines("win95")[0].line, ".\\<group>.HLP,.\\<GROUP>.HLP")
        self.assertEqual(script_of(b"[Other]\r\n").group, DEFAULT_GROUP)

    def test_a_byte_order_mark_hides_the_first_section_from_windows_only(self):
        script = script_of(BOM + b"[Display]\r\nGroupName=Tools\r\n")
        self.assertEqual((script.bom, script.bom_hides, script.group), (True, "display", "Tools"))
        self.assertIsNone(script_of(BOM + b"; comment\r\n[Display]\r\n").bom_hides)

    def test_a_section_that_its_comment_lines_push_to_the_buffer_is_skipped_on_windows_only(self):
        # Each line takes its length and a terminator; the section is skipped
        # once its lines fill the buffer to two bytes short.
        def section(comment_length):
            line = "1=" + "A" * 97  # 100 bytes with its terminator
            text = "[Win95 Driver Files]\r\n" + "\r\n".join([line] * 19 + [";" + "c" * (comment_length - 2)])
            return script_of(text.encode("ascii"))

        at_limit, short_of_it = section(SECTION_CAPACITY - 2 - 1900), section(SECTION_CAPACITY - 3 - 1900)
        self.assertEqual(at_limit.size("Win95 Driver Files", True), SECTION_CAPACITY - 2)
        self.assertTrue(at_limit.skipped_on_windows_only("Win95 Driver Files", SECTION_CAPACITY))
        self.assertFalse(short_of_it.skipped_on_windows_only("Win95 Driver Files", SECTION_CAPACITY))


class KeyNamesOfAGroup(unittest.TestCase):
    UNINSTALL = "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\"

    def test_the_uninstall_entry_only_for_a_name_that_fits_and_names_a_key(self):
        fits = "G" * (demo_report.UNINSTALL_KEY_PATH - len(self.UNINSTALL))
        self.assertEqual(KeyNames.of(fits, "cp1252"), KeyNames(fits, fits))
        self.assertEqual(KeyNames.of(fits + "G", "cp1252").entry, None)
        self.assertEqual(KeyNames.of("Tools\\", "cp1252"), KeyNames("Tools\\", None))
        self.assertEqual(KeyNames.of("", "cp1252"), KeyNames(DEFAULT_GROUP, None))

    def test_the_product_key_is_cut_to_its_buffer(self):
        long = "x" * 300
        self.assertEqual(KeyNames.of(long, "cp1252").record, "x" * demo_report.PRODUCT_KEY_NAME)


WINDOWS = "C:\\windows"
SCRIPT = b"""[Display]\r
GroupName=Tools\r
[Win95 Driver Files]\r
1=.\\A.SYS,.\\SYSTEM\\A.SYS\r
2=.\\MISSING.SYS,.\\SYSTEM\\MISSING.SYS\r
3=.\\A.SYS\r
4=.\\A.SYS,D:\\A.SYS\r
5=.\\A.SYS,SYSTEM\\A.SYS\r
[Win95 Inf File]\r
1=.\\B.INF,.\\INF\\B.INF\r
2=.\\A.SYS,.\\HELD.SYS\r
"""


class FilesTheScriptNames(unittest.TestCase):
    def test_each_line_copied_or_why_not(self):
        medium = Medium(SCRIPT, ["A.SYS", "B.INF"])
        self.addCleanup(medium.close)
        changed = {WINDOWS.lower() + "\\system\\a.sys": FileChange(WINDOWS + "\\SYSTEM\\A.SYS", "added", 1),
                   WINDOWS.lower() + "\\inf\\b.inf": FileChange(WINDOWS + "\\INF\\B.INF", "changed", 1)}
        boxes = [Box(1, "setup32", f"Destination File: '{WINDOWS}\\HELD.SYS'\n can't be copied !", "retry",
                     "No", None)]
        outcomes = copy_outcomes(medium.script(), "win95", medium.path, changed,
                                 {WINDOWS.lower() + "\\inf\\b.inf"}, WINDOWS, boxes)
        self.assertEqual([(o["destination"], o["copied"], o["reason"], o["was_read_only"]) for o in outcomes], [
            (WINDOWS + "\\SYSTEM\\A.SYS", True, None, False),
            (WINDOWS + "\\SYSTEM\\MISSING.SYS", False, "the source is not on the medium", False),
            (None, False, "the line names no destination (no comma)", False),
            ("D:\\A.SYS", False, "the destination is not on drive C:, which the demo does not watch", False),
            ("SYSTEM\\A.SYS", False, "the destination is neither .\\-relative nor a full path", False),
            (WINDOWS + "\\INF\\B.INF", True, None, True),
            (WINDOWS + "\\HELD.SYS", False,
             "the copy failed and was given up at the retry question (box 1)", False),
        ])


class WhereWindowsWouldDiffer(unittest.TestCase):
    KNOWN = {"utf8-bom": "W1", "comment-lines": "W2"}

    def marks(self, script: bytes, platform: str):
        medium = Medium(script)
        self.addCleanup(medium.close)
        read = medium.script()
        outcomes = copy_outcomes(read, platform, medium.path, {}, set(), WINDOWS, [])
        return [(m["item"], m["id"], m["here"]) for m in
                bom_marks(read, platform, outcomes, self.KNOWN) + comment_marks(read, platform, outcomes, self.KNOWN)]

    def test_a_mark_on_display_moves_every_display_value_to_its_default(self):
        script = BOM + b"[Display]\r\nGroupName=Tools\r\nbShow=NO\r\n[NT Driver Files]\r\n1=.\\<GROUp>.SYS,.\\A.SYS\r\n"
        self.assertEqual(self.marks(script, "nt40"), [
            ("script", "utf8-bom", "here line 1 is the header of [Display], which Windows does not find"),
            ("group", "utf8-bom", f"on Windows GroupName falls back to the default, {DEFAULT_GROUP}"),
            ("product key", "utf8-bom", f"on Windows the key is named {DEFAULT_GROUP}"),
            ("uninstall entry", "utf8-bom", f"on Windows the entry is named {DEFAULT_GROUP}"),
            ("services", "utf8-bom", "on Windows Driver falls back to empty: no miniport service"),
            ("script", "utf8-bom", "on Windows bShow falls back to YES: the main dialog is shown"),
            ("file 0", "utf8-bom", f"on Windows <GROUp> is replaced by {DEFAULT_GROUP}"),
        ])

    def test_comment_lines_that_change_nothing_and_a_commented_uninstall(self):
        self.assertEqual(self.marks(b"[Win95 Driver Files]\r\n; c\r\n1=.\\A,.\\A\r\n", "win95"), [
            ("script", "comment-lines", "here [Win95 Driver Files] holds comment lines, which the program "
             "passes over itself: the same result on Windows")])
        self.assertEqual(self.marks(b"[UnInstall]\r\n; c\r\n1=X\r\n", "win95"), [
            ("uninstall entry", "comment-lines", "the first line of [UnInstall] is a comment: on Windows no "
             "uninstall entry is written")])


class ConfigSys(unittest.TestCase):
    def test_each_outcome(self):
        before = b"DEVICE=C:\\OLD.SYS\r\nFILES=30\r\n"
        self.assertEqual(config_sys_outcome(before, None, True, "cp1252"), {"state": "gone", "diff": []})
        self.assertEqual(config_sys_outcome(before, before, False, "cp1252")["state"], "not rewritten")
        self.assertEqual(config_sys_outcome(before, before, True, "cp1252")["state"],
                         "rewritten with the same bytes")
        self.assertEqual(config_sys_outcome(before, before.replace(b"\r\n", b"\n"), True, "cp1252")["state"],
                         "rewritten with other line ends")
        changed = config_sys_outcome(before, b"FILES=30\r\n", True, "cp1252")
        self.assertEqual((changed["state"], changed["diff"][3:]), ("rewritten", ["-DEVICE=C:\\OLD.SYS", " FILES=30"]))


if __name__ == "__main__":
    unittest.main()
