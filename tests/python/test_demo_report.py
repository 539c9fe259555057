"""What the demo reports of a run, decided without Wine from what the
checker says the script asks of the run (its JSON report), the machine
before and after and the message boxes: the files the script names, the
keys the install writes by purpose, the stand-ins, and the marks where
Windows would give otherwise."""
import json
import tempfile
import unittest
from pathlib import Path

from demo_medium import add_stand_ins
from demo_report import Box, bom_marks, comment_marks, config_sys_outcome, copy_outcomes, \
    device_cleanup, registry_by_purpose
from demo_script import CommentedSection, DriverFile, Program, Reading, Script
from wine.snapshot import FileChange, Key, KeyChange, Snapshot

ROOT = Path(__file__).resolve().parents[2]
WINDOWS = "C:\\windows"
PRODUCT = "HKEY_CURRENT_USER\\Software\\Tools"
UNINSTALL = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Tools"


def reading(**given) -> Reading:
    """A reading of a script with [Display] GroupName=Tools, changed as given."""
    fields = dict(found=True, group="Tools", group_line=2, device_ids=["6E02"], silent=False,
                  driver_files=[], programs=[], device_keys=[], driver_database=[],
                  product_key=PRODUCT, uninstall_key=UNINSTALL)
    fields.update(given)
    return Reading(**fields)


def script(wine: Reading, windows: Reading = None, **given) -> Script:
    fields = dict(windows_services=[], byte_order_mark=False, hidden_section=None, commented=[])
    fields.update(given)
    return Script(wine, windows or wine, **fields)


class TheCheckersReport(unittest.TestCase):
    def test_a_run_of_the_golden_report_reads_whole(self):
        # The checker's own golden JSON: the keys the demo reads are there.
        run = json.loads((ROOT / "tests" / "golden" / "japanese_medium.json").read_text("utf-8"))["runs"][0]
        read = Script.of_run(run)
        self.assertEqual(read.wine, read.windows)
        self.assertEqual((read.wine.found, read.byte_order_mark, read.hidden_section, read.problem),
                         (True, False, None, None))
        self.assertTrue(read.wine.driver_files and read.wine.product_key)
        self.assertEqual(read.wine.programs[0].command_line, "grpconv -o")

    def test_a_medium_the_checker_cannot_read_reads_as_nothing(self):
        read = Script.unread("SETUP32.INI is a directory")
        self.assertEqual((read.found, read.wine.driver_files, read.problem),
                         (False, [], "SETUP32.INI is a directory"))


def line(number, source, destination, section="Win95 Driver Files", found=True, group=False):
    return DriverFile(section, number, f"{number}=...", source, destination, found, group)


class FilesTheScriptNames(unittest.TestCase):
    def test_each_line_copied_or_why_not(self):
        files = [line(1, "A:\\A.SYS", WINDOWS + "\\SYSTEM\\A.SYS"),
                 line(2, "A:\\MISSING.SYS", WINDOWS + "\\SYSTEM\\MISSING.SYS", found=False),
                 line(3, None, None),
                 line(4, "A:\\A.SYS", "D:\\A.SYS"),
                 line(5, "A:\\A.SYS", "SYSTEM\\A.SYS"),
                 line(1, "A:\\B.INF", WINDOWS + "\\INF\\B.INF", "Win95 Inf File"),
                 line(2, "A:\\A.SYS", WINDOWS + "\\HELD.SYS", "Win95 Inf File")]
        changed = {WINDOWS.lower() + "\\system\\a.sys": FileChange(WINDOWS + "\\SYSTEM\\A.SYS", "added", 1),
                   WINDOWS.lower() + "\\inf\\b.inf": FileChange(WINDOWS + "\\INF\\B.INF", "changed", 1)}
        boxes = [Box(1, "setup32", f"Destination File: '{WINDOWS}\\HELD.SYS'\n can't be copied !", "retry",
                     "No", None)]
        outcomes = copy_outcomes(reading(driver_files=files), changed, {WINDOWS.lower() + "\\inf\\b.inf"},
                                 boxes)
        self.assertEqual([(o["copied"], o["reason"], o["was_read_only"]) for o in outcomes], [
            (True, None, False),
            (False, "the source is not on the medium", False),
            (False, "the line is not key=source,destination", False),
            (False, "the destination is not on drive C:, which the demo does not watch", False),
            (False, "the destination is neither .\\-relative nor a full path", False),
            (True, None, True),
            (False, "the copy failed and was given up at the retry question (box 1)", False),
        ])


class KeysAndFilesOfTheInstall(unittest.TestCase):
    def test_keys_by_purpose_as_the_checker_names_the_product_key_and_uninstall_entry(self):
        wow = UNINSTALL.replace("Software\\", "Software\\Wow6432Node\\", 1)
        paths = [PRODUCT, PRODUCT + "\\Sub", "HKEY_CURRENT_USER\\Software\\Toolsmith", wow,
                 "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\AHX2",
                 "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_1&DEV_2",
                 "HKEY_CURRENT_USER\\Software\\Wine\\Fonts"]
        grouped = registry_by_purpose([KeyChange(path, "added", []) for path in paths],
                                      reading(product_key=PRODUCT.lower()))
        self.assertEqual({name: [k["path"] for k in keys] for name, keys in grouped.items()}, {
            "product key": [PRODUCT, PRODUCT + "\\Sub"], "uninstall entry": [wow],
            "services": [paths[4]], "enumeration keys": [paths[5]], "other": [paths[2]]})
        self.assertEqual(registry_by_purpose([KeyChange(UNINSTALL, "added", [])],
                                             reading(uninstall_key=None))["other"][0]["path"], UNINSTALL)

    def test_the_device_clean_up_named_as_the_machine_spells_it(self):
        key = "HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_7A3E&DEV_6E02"
        files = [WINDOWS.upper() + "\\INF\\DRVIDX.BIN", WINDOWS.upper() + "\\INF\\DRVDATA.BIN"]
        held = WINDOWS + "\\inf\\DRVIDX.BIN"
        before = Snapshot({key.lower(): Key(key, {})}, {held.lower(): (held, 1, 0)}, set())
        after = Snapshot({}, {held.lower(): (held, 1, 0)}, set())
        cleaned = device_cleanup(reading(device_keys=[key, key + "X"], driver_database=files), before, after)
        self.assertEqual([(c["name"], c["state"]) for c in cleaned], [
            (key, "removed"), (key + "X", "not on the machine"), (held, "still there"),
            (files[1], "not on the machine")])


class StandIns(unittest.TestCase):
    def test_only_a_missing_program_of_the_medium(self):
        with tempfile.TemporaryDirectory() as directory:
            medium, stand_in = Path(directory) / "medium", Path(directory) / "stand-in.exe"
            (medium / "Tools").mkdir(parents=True)
            stand_in.write_bytes(b"MZ")
            programs = [Program(None, "grpconv -o", "grpconv.EXE", False),
                        Program(1, "C:\\DRV\\TOOLS\\SCAN.EXE /Q", "C:\\DRV\\TOOLS\\SCAN.EXE", False),
                        Program(2, "C:\\DRV\\RUN.BAT", "C:\\DRV\\RUN.BAT", False),
                        Program(3, "C:\\DRV\\HERE.EXE", "C:\\DRV\\HERE.EXE", True),
                        Program(4, "D:\\ELSE.EXE", "D:\\ELSE.EXE", False)]
            self.assertEqual(add_stand_ins(medium, "c:\\drv\\", programs, stand_in),
                             ["C:\\DRV\\TOOLS\\SCAN.EXE"])
            self.assertEqual(sorted(p.name for p in medium.rglob("*")), ["SCAN.EXE", "Tools"])


class WhereWindowsWouldDiffer(unittest.TestCase):
    KNOWN = {"utf8-bom": "W1", "comment-lines": "W2"}

    def marks(self, read: Script, platform: str):
        outcomes = copy_outcomes(read.wine, {}, set(), [])
        return [(m["item"], m["id"], m["here"]) for m in
                bom_marks(read, platform, outcomes, self.KNOWN) + comment_marks(read, outcomes, self.KNOWN)]

    def test_a_mark_on_display_gives_what_windows_reads_instead(self):
        files = [line(1, "A:\\Tools.SYS", WINDOWS + "\\A.SYS", "NT Driver Files", group=True)]
        wine = reading(silent=True, driver_files=files)
        windows = reading(group="Default Group", group_line=None, silent=False, driver_files=files,
                          product_key="HKEY_CURRENT_USER\\Software\\Default Group",
                          uninstall_key=UNINSTALL.replace("Tools", "Default Group"))
        read = script(wine, windows, byte_order_mark=True, hidden_section="Display")
        self.assertEqual(self.marks(read, "nt40"), [
            ("script", "utf8-bom", "here line 1 is the header of [Display], which Windows does not find"),
            ("group", "utf8-bom", "on Windows the group name is Default Group"),
            ("product key", "utf8-bom", "on Windows the key is named Default Group"),
            ("uninstall entry", "utf8-bom", "on Windows the entry is named Default Group"),
            ("services", "utf8-bom", "on Windows the install registers no miniport service"),
            ("script", "utf8-bom", "on Windows the main dialog is shown"),
            ("file 0", "utf8-bom", "on Windows <GROUp> is replaced by Default Group"),
        ])
        windows.device_ids = ["6E02", "6E12"]
        self.assertIn(("device ids", "utf8-bom", "on Windows the device ids are 6E02, 6E12"),
                      self.marks(read, "win95"))

    def test_a_mark_before_no_header_and_a_hidden_driver_section(self):
        files = [line(1, "A:\\A.SYS", WINDOWS + "\\A.SYS")]
        self.assertEqual(self.marks(script(reading(), byte_order_mark=True), "win95"), [
            ("script", "utf8-bom", "here line 1 is no section header, so Windows finds every section Wine finds")])
        read = script(reading(driver_files=files), reading(), byte_order_mark=True,
                      hidden_section="win95 driver files")
        self.assertEqual(self.marks(read, "win95")[1:], [
            ("file 0", "utf8-bom", "on Windows the section is not found: this file is not copied")])

    def test_comment_lines_that_change_nothing_push_a_section_over_or_hide_the_uninstall_entry(self):
        def commented(name, skipped=False, first=False, uninstall=False):
            return CommentedSection(name, 1, 180 if uninstall else 2048, skipped, first, uninstall)

        files = [line(1, "A:\\A", WINDOWS + "\\A"), line(2, "A:\\B", WINDOWS + "\\B", "Win95 Inf File")]
        self.assertEqual(self.marks(script(reading(driver_files=files), commented=[
            commented("Win95 Driver Files"), commented("Win95 Execute")]), "win95"), [
            ("script", "comment-lines", "here [Win95 Driver Files], [Win95 Execute] hold comment lines, which "
             "the program passes over itself: the same result on Windows")])
        self.assertEqual(self.marks(script(reading(driver_files=files), commented=[
            commented("Win95 Inf File", skipped=True), commented("Win95 ShortCut", skipped=True),
            commented("UnInstall", first=True, uninstall=True)]), "win95"), [
            ("file 1", "comment-lines", "with its comment lines [Win95 Inf File] does not fit the program's "
             "2048-byte buffer: on Windows the section is skipped whole and this file is not copied"),
            ("script", "comment-lines", "with its comment lines [Win95 ShortCut] does not fit the program's "
             "2048-byte buffer: on Windows the section is skipped whole"),
            ("uninstall entry", "comment-lines", "the first line of [UnInstall] is a comment: on Windows no "
             "uninstall entry is written")])
        self.assertEqual(self.marks(script(reading(), commented=[
            commented("UnInstall", skipped=True, uninstall=True)]), "win95"), [
            ("uninstall entry", "comment-lines", "with its comment lines [UnInstall] does not fit the program's "
             "180-byte buffer: on Windows the section is skipped and no entry is written")])


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
