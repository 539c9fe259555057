"""The acceptance matrix's machinery: a case is data (platform, language,
mode, where the medium is, the script and the answers to give) and an
expected outcome; one generic routine prepares the machine, drives the
program and checks the outcome."""
import dataclasses
import shutil
from pathlib import Path
from typing import Dict, List, Optional, Tuple

from harness import Run, Scenario, expect, expect_equal, wait_until
from install_checks import SHELL_FOLDERS, import_registry, short_paths
from wine import host, texts, versions

YES, NO, OK = 6, 7, 1
APP_TITLE = "setup32"  # the program file's name without its extension
START = 1  # the main dialog's Start button
WINDOWS = "C:\\windows"
TOOLS_LOG = "TOOLS\\MARKER.LOG"  # beside the post-install stand-in on the medium

# Texts of the boxes that only the matrix meets, in the three columns.
_BOX_TEXTS = {
    10: {"en": "AddSectionFilesToCopyList", "zh": "增加檔案到複製列",
         "ja": "ｾｸｼｮﾝﾌｧｲﾙをｺﾋﾟｰﾘｽﾄにｺﾋﾟｰします。"},
    14: {"en": "Cannot find the destination path !", "zh": "找不到目的檔案路徑 !",
         "ja": "ｺﾋﾟｰ先が見当りません。"},
}


def msg(message_id, language) -> str:
    if message_id in _BOX_TEXTS:
        return _BOX_TEXTS[message_id][language]
    return texts.msg(message_id, language)


@dataclasses.dataclass
class Outcome:
    """What an install must leave behind. Windows paths are on drive C:;
    registry keys are (hive, key) with hive HKCU or HKLM."""

    copied: List[Tuple[str, str]]  # (file on the medium or full path on C:, installed path)
    product_key: List[str]  # every item recorded in HKCU\Software\{group}
    keys: Dict[Tuple[str, str], Optional[Dict[str, object]]]  # exact values; None: no such key
    config_sys: bytes
    absent: List[str] = dataclasses.field(default_factory=list)  # files that must not exist
    present: List[str] = dataclasses.field(default_factory=list)  # files that must stay
    # Shortcuts handed to the program-group converter as (group, title,
    # long target path), in script order.
    shortcuts: List[Tuple[str, str, str]] = dataclasses.field(default_factory=list)
    programs: List[str] = dataclasses.field(default_factory=list)  # "EXE args" started, in order


@dataclasses.dataclass
class Case:
    """One cell of the matrix."""

    name: str
    version: str  # win95, win98, nt40, win2k
    locale: str  # en, zh, ja
    mode: str  # "yes" or "no" (shown: Start, then that answer to the restart question) or "silent"
    medium: str  # where the medium is: "C:\\MEDIUM\\", "A:\\", "D:\\DRV\\"
    group: str  # the script's group name
    outcome: Outcome
    script: Optional[bytes] = None  # None: the sample medium's script
    medium_files: Dict[str, bytes] = dataclasses.field(default_factory=dict)  # added to the medium
    machine_files: Dict[str, bytes] = dataclasses.field(default_factory=dict)  # added to drive C:
    boxes: List[Tuple[int, int]] = dataclasses.field(default_factory=list)  # (caption, text) answered OK
    unplanned: str = ""  # why the run is not held against the checker's plan

    def scenario(self) -> Scenario:
        return Scenario(self.name, self.version, self.locale, lambda run: drive_and_check(run, self),
                        medium=self.medium, prepare=lambda run: prepare(run, self),
                        unplanned=self.unplanned)


# --- the machine before the install ------------------------------------------------

# Shell Folders as Windows 95 and 98 and as Windows NT have them. The
# group converter stand-in creates no links, so these only name what the
# install records.
def programs_folder(version_id: str) -> str:
    if versions.version(version_id).nt:
        return WINDOWS + "\\Profiles\\Administrator\\Start Menu\\Programs"
    return WINDOWS + "\\Start Menu\\Programs"


ENUM_KEY = "Enum\\PCI\\VEN_7A3E&DEV_"
SCSISCAN_KEY = "System\\CurrentControlSet\\Services\\Scsiscan"
SCSISCAN_BEFORE = {"Start": 3, "Type": 1, "ImagePath": "System32\\drivers\\scsiscan.sys"}
DRIVER_DATABASE = [WINDOWS + "\\inf\\DRVIDX.BIN", WINDOWS + "\\inf\\DRVDATA.BIN"]


def registry_before(version_id: str) -> Dict[str, Dict[str, object]]:
    """The adapter as Windows 95 and 98 enumerate it (two device ids of it
    and one other), the SCSI scanner service, and the Shell Folders."""
    keys = {f"HKEY_LOCAL_MACHINE\\{ENUM_KEY}{device}\\{instance}": {"DeviceDesc": "PCI SCSI host adapter"}
            for device, instance in [("6E02", "BUS_00&DEV_0D&FUNC_00"), ("6E12", "BUS_00&DEV_0E&FUNC_00"),
                                     ("6E03", "BUS_01&DEV_0D&FUNC_00")]}
    keys[f"HKEY_LOCAL_MACHINE\\{SCSISCAN_KEY}"] = SCSISCAN_BEFORE
    programs = programs_folder(version_id)
    keys[f"HKEY_CURRENT_USER\\{SHELL_FOLDERS}"] = {"Programs": programs, "StartUp": programs + "\\StartUp"}
    return keys


def prepare(run: Run, case: Case):
    """The machine and the medium as the case wants them, the program-group
    converter stand-in in the Windows directory, the post-install stand-in
    on the medium, and a witness of a restart that starts with the program
    (the machine may be stopped between the two)."""
    machine = run.machine
    import_registry(machine, registry_before(case.version))
    for path in DRIVER_DATABASE:
        machine.file(path).write_bytes(b"driver database")
    machine.file(group_file(case.group, case.locale)).write_bytes(b"old group")
    shutil.copy2(host.test_program("grpconv_standin.exe"), machine.file(WINDOWS + "\\grpconv.exe"))
    for path, data in case.machine_files.items():
        target = machine.file(path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)

    shutil.copy2(host.test_program("marker.exe"), run.medium_file("TOOLS\\DSKINFO.EXE"))
    if case.script is not None:
        run.medium_file("SETUP32.INI").write_bytes(case.script)
    for name, data in case.medium_files.items():
        target = run.medium_dir / name.replace("\\", "/")
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
    start_program = run.start

    def start_with_witness():
        run.start_witness()
        start_program()

    run.start = start_with_witness


def group_file(group: str, locale: str) -> str:
    """The group file of a program group, which the machine holds before the
    install: the group name without spaces, cut to eight bytes without
    splitting a character."""
    stem = group.replace(" ", "")
    while len(stem.encode(texts.CODE_PAGES[locale])) > 8:
        stem = stem[:-1]
    return f"{WINDOWS}\\{stem}.GRP"


# --- driving the program ------------------------------------------------------


def drive_and_check(run: Run, case: Case):
    if case.mode == "silent":
        answer_boxes(run, case)
    else:
        title = msg(64, case.locale)
        run.wait_window(title)
        run.probe.press(title, START)
        answer_boxes(run, case)
        run.probe.rows("box", 60)
        # Windows ends the other programs of the session on a restart: let
        # the started ones finish their work first.
        wait_for_started_programs(run, case.outcome)
        run.answer(YES if case.mode == "yes" else NO, APP_TITLE, msg(43, case.locale))
    expect_equal(run.wait_for_end(60), 0, "exit code")
    wait_for_started_programs(run, case.outcome)
    restart = run.restart_requested(expected=case.mode == "yes")
    run.machine.stop()
    expect_equal(restart, case.mode == "yes", "restart asked of Windows")
    check_outcome(run, case)


def answer_boxes(run: Run, case: Case):
    for caption, text in case.boxes:
        run.answer(OK, msg(caption, case.locale), msg(text, case.locale))


def wait_for_started_programs(run: Run, outcome: Outcome):
    def logged(path: Path, lines: int):
        return lines == 0 or path.exists() and len(path.read_bytes().splitlines()) >= lines

    converter_log = run.machine.file(WINDOWS + "\\GRPCONV.LOG")
    wait_until(lambda: logged(run.medium_file(TOOLS_LOG), len(outcome.programs)) and
               logged(converter_log, 1), 15)


# --- the outcome -------------------------------------------------------------------


def check_outcome(run: Run, case: Case):
    outcome = case.outcome
    machine = run.machine
    for source, installed in outcome.copied:
        target = machine.file(installed)
        expect(target.is_file(), f"{installed} is installed")
        source_file = machine.file(source) if source.startswith("C:\\") else run.medium_file(source)
        expect_equal(target.read_bytes(), source_file.read_bytes(), installed)
    for path in outcome.absent:
        expect(not machine.file(path).exists(), f"{path} does not exist")
    for path in outcome.present:
        expect(machine.file(path).exists(), f"{path} is left in place")

    hives = {"HKCU": machine.registry("HKCU"), "HKLM": machine.registry("HKLM")}
    product_key = "Software\\" + case.group
    expected_items = {"": ""}
    expected_items.update({path.lower(): path for path in outcome.product_key})
    expect_equal(hives["HKCU"].values(product_key), expected_items, f"HKCU\\{product_key}")
    for (hive, key), values in outcome.keys.items():
        expect_equal(hives[hive].values(key), values, f"{hive}\\{key}")

    expect_equal(machine.file("C:\\CONFIG.SYS").read_bytes(), outcome.config_sys, "CONFIG.SYS")
    expect(not machine.file("C:\\CONFIG.tmp").exists(), "no temporary CONFIG file is left")
    check_group_script(run, outcome.shortcuts)
    check_started_programs(run, outcome.programs)


def check_group_script(run: Run, shortcuts: List[Tuple[str, str, str]]):
    """The group script the converter was started for, with the targets'
    short paths as Wine gives them, and its command line."""
    script = run.machine.file(WINDOWS + "\\SETUP.INI")
    targets = short_paths(run.machine, [target for _, _, target in shortcuts]) if shortcuts else []
    lines = ["[progman.groups]"]
    lines += [f"groupX{i}={group}" for i, (group, _, _) in enumerate(shortcuts)]
    for i, ((_, title, _), short) in enumerate(zip(shortcuts, targets)):
        lines += [f"[groupX{i}]", f'"{title}","{short}",,,,"{short.rpartition(chr(92))[0]}"']
    expected = "".join(line + "\r\n" for line in lines).encode(run.machine.codec)
    expect_equal(script.read_bytes(), expected, "group script")
    expect_equal(run.machine.file(WINDOWS + "\\GRPCONV.INI").read_bytes(), expected,
                 "group script the converter was started for")
    expect_equal(run.machine.file(WINDOWS + "\\GRPCONV.LOG").read_bytes(), b"-o\r\n",
                 "the converter's command line")


def check_started_programs(run: Run, programs: List[str]):
    """The marker stand-in logs "creation-time name args" per start."""
    log = run.medium_file(TOOLS_LOG)
    lines = sorted(log.read_bytes().decode(run.machine.codec).splitlines()) if log.exists() else []
    expect_equal([line.split(" ", 1)[1] for line in lines], programs, "programs started")
