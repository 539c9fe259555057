"""End-to-end scenarios of what the install does to the machine: the exact
copy list, CONFIG.SYS, the service settings and the device clean-up, the
program groups, the product key, the uninstall entry and the post-install
programs. The copy pass's window-closing and retry rules have scenarios of
their own (scenarios_files.py)."""
from harness import Run, Scenario, expect, expect_equal
from install_checks import (SERVICES_KEY, SHELL_FOLDERS, TEXTS, UNINSTALL_KEY,
                            expect_copied_in_order, expect_no_file_named, expect_product_key,
                            expect_values, import_registry, key_tree, place_test_program,
                            short_paths, wait_for_lines)
from scenarios import APP_TITLE, NO, OK
from scripts import WORKED_EXAMPLE, write_medium
from wine import versions

WINDOWS = "C:\\windows"
GROUP = "Disk Tools"
CONFIG_SYS = "C:\\CONFIG.SYS"


def expect_config(run: Run, expected: bytes):
    """CONFIG.SYS holds exactly these bytes and no temporary file is left."""
    expect_equal(run.machine.file(CONFIG_SYS).read_bytes(), expected, "CONFIG.SYS")
    for leftover in ("C:\\CONFIG.tmp", "C:\\CONFIG.s32"):
        expect(not run.machine.file(leftover).exists(), f"no {leftover} is left")


def windows_file(run: Run, relative: str):
    return run.machine.file(f"{WINDOWS}\\{relative}")


# --- the sample script ------------------------------------------------------------------


def prepare_sample_on_95(run: Run):
    write_medium(run, WORKED_EXAMPLE)
    help_file = run.medium_file("TOOLS\\Disk Tools.HLP").read_bytes()
    run.medium_file("W95\\Disk Tools.HLP").write_bytes(help_file)
    run.medium_file("W95\\DSKADP.VXD").write_bytes(b"not listed: its line has no destination")
    run.medium_file("W95\\DSKADP.MPD").chmod(0o444)
    run.machine.file(CONFIG_SYS).write_bytes(
        b"DEVICE=C:\\OLDDRV\\OLDADP.SYS\r\nDEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n")


def sample_on_95(run: Run):
    """The sample script from the floppy: the malformed line is reported
    and skipped; exactly the other lines are copied, in file order, and
    recorded; a read-only source arrives writable."""
    title = run.msg(64)
    run.wait_window(title)
    run.probe.press(title, 1)
    run.answer(OK, TEXTS[10], TEXTS[14])
    run.answer(NO, APP_TITLE, run.msg(43), seconds=60)
    expect_equal(run.finish(), 0, "exit code")

    copies = [("W95\\DSKADP.MPD", "SYSTEM\\IOSUBSYS\\DSKADP.MPD"),
              ("W95\\Disk Tools.HLP", "HELP\\Disk Tools.HLP"),
              ("W95\\DSKADP.INF", "INF\\DSKADP.INF")]
    expect_copied_in_order([(run.medium_file(source), windows_file(run, destination))
                            for source, destination in copies])
    expect_no_file_named(run.machine.file(WINDOWS), "DSKADP.VXD")
    expect(windows_file(run, "SYSTEM\\IOSUBSYS\\DSKADP.MPD").stat().st_mode & 0o200,
           "the file from a read-only source is writable")
    expect_product_key(run, GROUP, [f"{WINDOWS}\\{destination}" for _, destination in copies])
    expect_config(run, b"DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n")
    expect_equal(windows_file(run, "SETUP.INI").read_bytes(), b"[progman.groups]\r\n",
                 "group script without shortcuts")


# --- a whole install per platform -------------------------------------------------------------

SHELL_SCRIPT = """\
[Display]
GroupName=Disk Tools
bShow=NO
DeviceID=6E02,,6E12
Title=DSKADP
Driver=DSKADP.SYS

[{P} Driver Files]
1=.\\TOOLS\\<GROUp>.HLP,.\\HELP\\<GROUp>.HLP
2=.\\TOOLS\\UNINST.EXE,.\\<GROUp>\\UNINST.EXE

[{P} ShortCut]
1=HELP\\<GROUp>.HLP,<GROUp>,<GROUp> Help
; a comment takes no group number
2=<GROUp>\\UNINST.EXE,<GROUp>,Uninstall <GROUp>
3=HELP\\<GROUp>.HLP,start,Adapter Check
4=NOTTHERE.EXE,Adapter Utilities,Missing Tool,ignored

[{P} Execute]
1=FIRST.EXE one "two words"
; not started
2=SECOND.EXE <GROUp>
3=FIRST.EXE again

[{P} UnInstall Extra File]
1=SETUP.INI
;2=NOT.TXT
2=SYSTEM\\<GROUp>.CNT

[UnInstall]
1=<GROUp>\\UNINST.EXE

[Modify]
1=C:\\OLDDRV\\OLDADP.SYS
2=;C:\\WINDOWS\\HIMEM.SYS
3=C:\\DOS\\
4=emm386
"""


# The copies of the script's driver lines: medium file, below the Windows directory.
COPIES = [("TOOLS\\Disk Tools.HLP", "HELP\\Disk Tools.HLP"),
          ("TOOLS\\UNINST.EXE", "Disk Tools\\UNINST.EXE")]
# Each shortcut of the script: program below the Windows directory, group
# (None: the Startup group) and title.
SHORTCUTS = [("HELP\\Disk Tools.HLP", GROUP, "Disk Tools Help"),
             ("Disk Tools\\UNINST.EXE", GROUP, "Uninstall Disk Tools"),
             ("HELP\\Disk Tools.HLP", None, "Adapter Check"),
             ("NOTTHERE.EXE", "Adapter Utilities", "Missing Tool")]
UNINSTALL_STRING = f"{WINDOWS}\\{GROUP}\\UNINST.EXE {WINDOWS}\\{GROUP}"
PROGRAMS_STARTED = [("FIRST.EXE", 'one "two words"'), ("SECOND.EXE", GROUP), ("FIRST.EXE", "again")]

# A CONFIG.SYS with LF line ends, lines longer than a read of 255 bytes and
# an end-of-file mark, and what is left of it.
LONG_REMOVED = b"REM " + b"-" * 300 + b" oldadp.sys"
LONG_KEPT = b"REM " + b"=" * 300 + b" kept"
CONFIG_9X = (b"DEVICE=C:\\OLDDRV\\OLDADP.SYS\nDEVICE=C:\\WINDOWS\\HIMEM.SYS\n"
             b"DEVICE=C:\\WINDOWS\\EMM386.EXE NOEMS\n" + LONG_REMOVED + b"\n" + LONG_KEPT +
             b"\nFILES=30\n\x1aBUFFERS=20\r\n")
CONFIG_9X_AFTER = b"DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n" + LONG_KEPT + b"\r\nFILES=30\r\n"
CONFIG_NT = b"DEVICE=C:\\OLDDRV\\OLDADP.SYS\r\nREM emm386 is not used\r\nFILES=40"
CONFIG_NT_AFTER = b"FILES=40"

ENUM_PCI = "Enum\\PCI\\VEN_7A3E&DEV_"
DEVICES_REMOVED = ["6E02\\BUS_00&DEV_0D&FUNC_00", "6E02\\BUS_00&DEV_0D&FUNC_00\\Device Parameters",
                   "6E02\\BUS_01&DEV_0E&FUNC_00", "6E12\\BUS_00&DEV_0F&FUNC_00"]
DEVICES_KEPT = ["6E02&SUBSYS_00011234\\BUS_00&DEV_10&FUNC_00", "6E03\\BUS_00&DEV_11&FUNC_00"]
DRIVER_DATABASE = ["INF\\DRVIDX.BIN", "INF\\DRVDATA.BIN"]

SCSISCAN = f"{SERVICES_KEY}\\Scsiscan"
SCSISCAN_VALUES = {"Start": 3, "Type": 1, "ErrorControl": 1, "Group": "SCSI Class",
                   "ImagePath": "System32\\drivers\\scsiscan.sys"}
SCSISCAN_ENUM = {"Count": 1, "0": "Root\\LEGACY_SCSISCAN\\0000"}
MINIPORT = f"{SERVICES_KEY}\\DSKADP"
MINIPORT_VALUES = {"ErrorControl": 1, "Start": 0, "Type": 1, "Group": "SCSI Miniport",
                   "ImagePath": "System32\\drivers\\DSKADP.SYS"}


class WholeInstall:
    """A silent install on one platform with every section of the script:
    the group script and the converter, the product key, the uninstall
    entry, the group files deleted, the post-install programs in order,
    CONFIG.SYS, and the platform's own step."""

    def __init__(self, version: str, existing_services=False):
        self.version = version
        self.nt = versions.version(version).nt
        self.existing_services = existing_services
        profiles = "C:\\windows\\Profiles"
        self.programs = (f"{profiles}\\tester\\Start Menu\\Programs" if self.nt
                         else "C:\\windows\\Start Menu\\Programs")
        # The platform reads one of the two Startup values; the other is a decoy.
        self.startup = "Startup" if self.nt else "StartUp"
        self.user_startup = f"{self.programs}\\{'Autostart' if self.nt else self.startup}"
        self.common_startup = (f"{profiles}\\All Users\\Start Menu\\Programs\\"
                               f"{self.startup if self.nt else 'Autostart'}")

    def scenario(self, name: str, **options) -> Scenario:
        return Scenario(name, self.version, "en", self.steps, prepare=self.prepare, **options)

    def prepare(self, run: Run):
        write_medium(run, SHELL_SCRIPT.replace("{P}", versions.version(self.version).script_section))
        place_test_program("marker", run.medium_file("FIRST.EXE"))
        place_test_program("marker", run.medium_file("SECOND.EXE"))
        place_test_program("grpconv_standin", windows_file(run, "grpconv.exe"))
        for group_file in ("DISKTOOL.GRP", "ADAPTERU.GRP", "OTHER.GRP"):
            windows_file(run, group_file).write_bytes(b"group")
        run.machine.file(CONFIG_SYS).write_bytes(CONFIG_NT if self.nt else CONFIG_9X)
        run.machine.file("C:\\CONFIG.tmp").write_bytes(b"left from an earlier run")
        keys = {f"HKEY_CURRENT_USER\\{SHELL_FOLDERS}": {"Programs": self.programs,
                                                         "StartUp": self.user_startup},
                f"HKEY_LOCAL_MACHINE\\{SHELL_FOLDERS}": {"Common Startup": self.common_startup}}
        if self.nt:
            if self.existing_services:
                keys[f"HKEY_LOCAL_MACHINE\\{SCSISCAN}"] = SCSISCAN_VALUES
                keys[f"HKEY_LOCAL_MACHINE\\{SCSISCAN}\\Enum"] = SCSISCAN_ENUM
                keys[f"HKEY_LOCAL_MACHINE\\{MINIPORT}"] = {"PlugPlayServiceType": 3, "Start": 3,
                                                           "Tag": 5}
        else:
            for number, key in enumerate(DEVICES_REMOVED + DEVICES_KEPT):
                driver = f"SCSIAdapter\\{number:04}"
                keys[f"HKEY_LOCAL_MACHINE\\{ENUM_PCI}{key}"] = {"Driver": driver}
            for database_file in DRIVER_DATABASE:
                windows_file(run, database_file).write_bytes(b"driver database")
        import_registry(run.machine, keys)

    def steps(self, run: Run):
        # The programs that the install starts write their logs while it runs.
        markers = wait_for_lines(run.medium_file("MARKER.LOG"), len(PROGRAMS_STARTED))
        converter_log = wait_for_lines(windows_file(run, "GRPCONV.LOG"), 1)
        targets = [f"{WINDOWS}\\{program}" for program, _, _ in SHORTCUTS]
        shortened = short_paths(run.machine, targets)
        expect_equal(run.finish(60), 0, "exit code")

        expect_copied_in_order([(run.medium_file(source), windows_file(run, destination))
                                for source, destination in COPIES])
        expect_equal(converter_log, [b"-o"], "the converter's command line")
        self.expect_group_script(run, shortened)
        started = sorted((line.decode().split(" ", 2) for line in markers),
                         key=lambda fields: int(fields[0]))
        expect_equal([(name, args) for _, name, args in started], PROGRAMS_STARTED,
                     "post-install programs in start order")
        expect_product_key(run, GROUP, self.recorded_items())
        expect_values(run.machine.registry("HKLM"), f"{UNINSTALL_KEY}\\{GROUP}",
                      {"": "", "DisplayName": GROUP, "UnInstallString": UNINSTALL_STRING},
                      "uninstall entry")
        expect_config(run, CONFIG_NT_AFTER if self.nt else CONFIG_9X_AFTER)
        if self.nt:
            self.expect_services(run)
        else:
            self.expect_devices_removed(run)

    def group_of(self, group):
        return self.startup if group is None else group

    def expect_group_script(self, run: Run, shortened):
        """SETUP.INI names every shortcut's program by what GetShortPathName
        makes of it (the long path for a missing file); the converter found
        the same bytes; the groups' own .GRP files are gone."""
        text = "[progman.groups]\r\n"
        for number, (_, group, _) in enumerate(SHORTCUTS):
            text += f"groupX{number}={self.group_of(group)}\r\n"
        for number, ((program, _, title), short) in enumerate(zip(SHORTCUTS, shortened)):
            target = short or f"{WINDOWS}\\{program}"
            directory = target.rsplit("\\", 1)[0]
            text += f'[groupX{number}]\r\n"{title}","{target}",,,,"{directory}"\r\n'
        group_script = windows_file(run, "SETUP.INI").read_bytes()
        expect_equal(group_script, text.encode("ascii"), "SETUP.INI")
        expect_equal(windows_file(run, "GRPCONV.INI").read_bytes(), group_script,
                     "the group script the converter found")
        for group_file in ("DISKTOOL.GRP", "ADAPTERU.GRP"):
            expect(not windows_file(run, group_file).exists(), f"{group_file} is deleted")
        expect(windows_file(run, "OTHER.GRP").exists(), "another group's file stays")

    def recorded_items(self):
        copied = [f"{WINDOWS}\\{destination}" for _, destination in COPIES]
        extra = [f"{WINDOWS}\\SETUP.INI", f"{WINDOWS}\\SYSTEM\\{GROUP}.CNT"]
        links = [f"{self.programs}\\{self.group_of(group)}\\{title}.LNK"
                 for _, group, title in SHORTCUTS]
        folders = [f"{self.programs}\\{group}" for _, group, _ in SHORTCUTS if group]
        return copied + extra + links + folders

    def expect_services(self, run: Run):
        registry = run.machine.registry("HKLM")
        scsiscan = dict(SCSISCAN_VALUES, Start=4) if self.existing_services else {"Start": 4}
        expect_values(registry, SCSISCAN, scsiscan, "Scsiscan service")
        if self.existing_services:
            expect_values(registry, f"{SCSISCAN}\\Enum", SCSISCAN_ENUM, "Scsiscan's subkey")
        else:
            expect_equal(list(key_tree(registry, SCSISCAN)), [SCSISCAN.lower()],
                         "Scsiscan's keys")
        miniport = dict(MINIPORT_VALUES, Tag=5) if self.existing_services else MINIPORT_VALUES
        expect_values(registry, MINIPORT, miniport, "miniport service")

    def expect_devices_removed(self, run: Run):
        registry = run.machine.registry("HKLM")
        for device in ("6E02", "6E12"):
            expect_equal(list(key_tree(registry, ENUM_PCI + device)), [],
                         f"the keys of device {device}")
        for key in DEVICES_KEPT:
            expect(registry.values(ENUM_PCI + key) is not None, f"{key} stays")
        for database_file in DRIVER_DATABASE:
            expect(not windows_file(run, database_file).exists(), f"{database_file} is deleted")


ALL = [
    Scenario("sample-win95-floppy", "win95", "en", sample_on_95, medium="A:\\",
             prepare=prepare_sample_on_95),
    WholeInstall("win95").scenario("install-win95-floppy", medium="A:\\"),
    WholeInstall("win98").scenario("install-win98"),
    WholeInstall("nt40", existing_services=True).scenario("install-nt40"),
    WholeInstall("win2k").scenario("install-win2k-d-drive", medium="D:\\DRV\\"),
]
