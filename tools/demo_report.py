"""The install report: what one run of setup32.exe did to its Wine
machine, put together from what the checker says the script asks of the
run, the machine before and after, the trace of the processes started and
the message boxes the demo answered; as plain text and as JSON."""
import dataclasses
import difflib
import hashlib
import re
from pathlib import Path
from typing import Dict, List, Optional, Set

from demo_script import DriverFile, Reading, Script
from wine import versions
from wine.host import ROOT, STAND_IN_NOTE
from wine.snapshot import TRACE_LINE, FileChange, KeyChange, Snapshot, Start, file_changes, \
    pe_machine, programs_started, quoted, registry_changes

# What the exit code of setup32.exe says about the run.
EXIT_CODES = {
    0: "the install ran to its end and no file was given up",
    1: "Exit was pressed before any install",
    2: "Start could not find or open the setup script",
    3: "the copy pass ended early at the cancel question",
    4: "one or more files were given up at the retry question",
    5: "the CONFIG.SYS edit failed and ended the install",
    6: "the main dialog could not be created; nothing was done",
}
# What Wine says when it cannot show a window at all.
NO_WINDOW = re.compile(r"no driver could be loaded|cannot open display|can't open display",
                       re.IGNORECASE)
WINE_DIFFERENCES = ROOT / "src" / "platform" / "sim" / "wine_differences.tsv"


def wine_differences() -> Dict[str, str]:
    """What Windows does, by the id of each difference of the one list."""
    found = {}
    for line in WINE_DIFFERENCES.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            difference, _, _, windows = line.split("\t")
            found[difference] = windows
    return found


CONFIG_SYS = "C:\\CONFIG.SYS"

# The registry keys the setup writes, by purpose, besides the product key
# and the uninstall entry, whose names the checker gives: a pattern of the
# key's path.
PURPOSES = [
    ("services", r"HKEY_LOCAL_MACHINE\\System\\(CurrentControlSet|ControlSet\d+)\\Services\\.*"),
    ("enumeration keys", r"HKEY_LOCAL_MACHINE\\Enum\\.*"),
]
# Where Wine's registry puts a 32-bit program's keys below HKEY_LOCAL_MACHINE\Software.
WOW64_NODE = re.compile(r"^(HKEY_LOCAL_MACHINE\\Software\\)Wow6432Node\\", re.IGNORECASE)
# Keys that Wine itself rewrites whenever a machine runs.
WINE_OWN = re.compile(
    r"HKEY_(CURRENT_USER|LOCAL_MACHINE)\\(Software\\Wine|Software\\Microsoft\\Windows NT\\"
    r"CurrentVersion\\(Fonts|Perflib)|Hardware|System\\(CurrentControlSet|ControlSet\d+)\\"
    r"(Control\\(Session Manager|Class|DeviceClasses|Video)|Enum|Hardware Profiles)|"
    r"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer|Volatile Environment|Printers|"
    r"Console)",
    re.IGNORECASE)
# Files that Wine itself writes whenever a machine runs.
WINE_FILES = re.compile(r"C:\\(windows\\(logs|temp|system32\\spool|Fonts)|users)\\", re.IGNORECASE)


@dataclasses.dataclass
class Box:
    number: int
    caption: str
    text: str
    question: str  # retry, cancel, restart or message
    answer: str
    screenshot: Optional[str]


@dataclasses.dataclass
class Build:
    path: Path
    shipping: bool  # the shipping i686 file, not the x86_64 stand-in

    def describe(self) -> Dict[str, object]:
        data = self.path.read_bytes()
        name = self.path.relative_to(ROOT) if self.path.is_relative_to(ROOT) else self.path
        return {"file": str(name), "size": len(data), "machine": pe_machine(self.path),
                "sha256": hashlib.sha256(data).hexdigest(), "shipping": self.shipping}


def below(path: str, key: Optional[str]) -> bool:
    """Whether the registry path is the key or one below it."""
    if not key:
        return False
    path, key = WOW64_NODE.sub(r"\1", path).lower(), key.lower()
    return path == key or path.startswith(key + "\\")


def purpose(path: str, reading: Reading) -> Optional[str]:
    if below(path, reading.product_key):
        return "product key"
    if below(path, reading.uninstall_key):
        return "uninstall entry"
    return next((name for name, pattern in PURPOSES if re.fullmatch(pattern, path, re.IGNORECASE)),
                None)


def registry_by_purpose(changes: List[KeyChange], reading: Reading) -> Dict[str, List[dict]]:
    grouped: Dict[str, List[dict]] = {name: [] for name in
                                      ["product key", "uninstall entry"] +
                                      [name for name, _ in PURPOSES] + ["other"]}
    for change in changes:
        name = purpose(change.path, reading)
        if name is None and WINE_OWN.match(change.path):
            continue
        grouped[name or "other"].append(dataclasses.asdict(change))
    return grouped


def retry_box(destination: str, boxes: List[Box]) -> Optional[Box]:
    """The retry question that names the destination, if one came."""
    return next((box for box in boxes if box.question == "retry" and
                 f"'{destination.lower()}'" in box.text.lower()), None)


def why_not_copied(line: DriverFile, boxes: List[Box]) -> str:
    box = retry_box(line.destination, boxes)
    if box is not None:
        return f"the copy failed and was given up at the retry question (box {box.number})"
    if not line.source_found:
        return "the source is not on the medium"
    if ":" not in line.destination:
        return "the destination is neither .\\-relative nor a full path"
    if not line.destination.lower().startswith("c:"):
        return "the destination is not on drive C:, which the demo does not watch"
    return "the destination was not written, and no message box names it"


def copy_outcomes(reading: Reading, changed: Dict[str, FileChange], read_only: Set[str],
                  boxes: List[Box]) -> List[dict]:
    """Each file the script names for the platform: copied or not, and why not."""
    outcomes = []
    for line in reading.driver_files:
        copied = line.destination is not None and line.destination.lower() in changed
        if line.destination is None:
            reason = "the line is not key=source,destination"
        else:
            reason = None if copied else why_not_copied(line, boxes)
        outcomes.append({"section": line.section, "line": line.text, "source": line.source,
                         "destination": line.destination, "copied": copied, "reason": reason,
                         "uses_group": line.uses_group,
                         "was_read_only": copied and line.destination.lower() in read_only})
    return outcomes


def device_cleanup(reading: Reading, before: Snapshot, after: Snapshot) -> List[dict]:
    """For each enumeration key and driver database file that the clean-up
    removes: removed, still there, or not on the machine before the install."""
    def outcome(name: str, found_before: Dict[str, object], found_after: Dict[str, object],
                spelt) -> dict:
        found = found_before.get(name.lower()) or found_after.get(name.lower())
        state = "removed" if found and name.lower() not in found_after else \
            "still there" if found else "not on the machine"
        return {"name": spelt(found) if found else name, "state": state}

    # Each named as the machine spells it, when it has it.
    return [outcome(key, before.registry, after.registry, lambda found: found.path)
            for key in reading.device_keys] + \
        [outcome(file, before.files, after.files, lambda found: found[0])
         for file in reading.driver_database]


def config_sys_outcome(before: bytes, after: Optional[bytes], touched: bool,
                       codec: str) -> Dict[str, object]:
    """What became of C:\\CONFIG.SYS: gone, rewritten (with a difference, or
    with the same bytes) or not rewritten at all."""
    if after is None:
        return {"state": "gone", "diff": []}
    if after == before:
        return {"state": "rewritten with the same bytes" if touched else "not rewritten",
                "diff": []}
    old = before.decode(codec, errors="replace").splitlines()
    new = after.decode(codec, errors="replace").splitlines()
    diff = list(difflib.unified_diff(old, new, "CONFIG.SYS before", "CONFIG.SYS after",
                                     lineterm=""))
    return {"state": "rewritten" if diff else "rewritten with other line ends", "diff": diff}


def describe_start(start: Start, stand_ins: List[str]) -> dict:
    entry = {"command_line": start.command_line, "image": start.image,
             "started": start.image is not None, "note": None}
    program = start.command_line.split()[0] if start.command_line.split() else ""
    if start.batch:
        entry["note"] = "a batch file, run by cmd.exe"
    if program.lower() in (name.lower() for name in stand_ins):
        entry["note"] = "not on the medium: the demo's stand-in ran in its place"
    if start.command_line.lower().startswith("grpconv"):
        entry["note"] = "the program-group converter; a stand-in in this machine"
    if start.command_line.lower().endswith("wineboot.exe --end-session"):
        entry["note"] = "the restart the setup asked of Windows, as Wine carries it out"
    if not entry["started"]:
        entry["note"] = "Windows found no such program: nothing ran"
    return entry


def mark(known: Dict[str, str], difference: str, item: str, here: str) -> dict:
    return {"id": difference, "item": item, "windows": known[difference], "here": here}


def last_name(key: Optional[str]) -> str:
    return key.rsplit("\\", 1)[-1] if key else ""


def bom_marks(script: Script, platform: str, outcomes: List[dict],
              known: Dict[str, str]) -> List[dict]:
    """Where the script's UTF-8 byte-order mark, which Wine reads past, would
    change the run on Windows: what Windows reads instead is the checker's."""
    if not script.byte_order_mark:
        return []
    hidden, wine, windows = script.hidden_section, script.wine, script.windows
    marks = [mark(known, "utf8-bom", "script", (
        f"here line 1 is the header of [{hidden}], which Windows does not find" if hidden else
        "here line 1 is no section header, so Windows finds every section Wine finds"))]
    if wine.group != windows.group:
        marks.append(mark(known, "utf8-bom", "group",
                          f"on Windows the group name is {windows.group or 'empty'}"))
    if last_name(wine.product_key) != last_name(windows.product_key):
        marks.append(mark(known, "utf8-bom", "product key",
                          f"on Windows the key is named {last_name(windows.product_key)}"))
    if last_name(wine.uninstall_key) != last_name(windows.uninstall_key):
        marks.append(mark(known, "utf8-bom", "uninstall entry",
                          f"on Windows the entry is named {last_name(windows.uninstall_key)}"
                          if windows.uninstall_key else "on Windows no entry is written"))
    if versions.version(platform).nt:
        if hidden is not None and not script.windows_services:
            marks.append(mark(known, "utf8-bom", "services",
                              "on Windows the install registers no miniport service"))
    elif wine.device_ids != windows.device_ids:
        marks.append(mark(known, "utf8-bom", "device ids",
                          f"on Windows the device ids are {', '.join(windows.device_ids) or 'none'}"))
    if wine.silent and not windows.silent:
        marks.append(mark(known, "utf8-bom", "script", "on Windows the main dialog is shown"))
    hidden_lower = (hidden or "").lower()
    for number, outcome in enumerate(outcomes):
        if outcome["section"].lower() == hidden_lower:
            marks.append(mark(known, "utf8-bom", f"file {number}",
                              "on Windows the section is not found: this file is not copied"))
        elif outcome["uses_group"] and wine.group != windows.group:
            marks.append(mark(known, "utf8-bom", f"file {number}",
                              f"on Windows <GROUp> is replaced by {windows.group}"))
    return marks


def comment_marks(script: Script, outcomes: List[dict], known: Dict[str, str]) -> List[dict]:
    """Where the comment lines that Wine leaves out of a section read, and
    Windows returns with the others, would change the run on Windows; when
    they change nothing, one note that the run read some."""
    marks = []
    for section in script.commented:
        too_large = (f"with its comment lines [{section.name}] does not fit the program's "
                     f"{section.capacity}-byte buffer: on Windows the section is skipped")
        files = [number for number, outcome in enumerate(outcomes)
                 if outcome["section"] == section.name]
        if section.uninstall_entry and section.first_line_comment:
            marks.append(mark(known, "comment-lines", "uninstall entry",
                              f"the first line of [{section.name}] is a comment: on Windows no "
                              "uninstall entry is written"))
        elif not section.skipped_on_windows_only:
            continue
        elif section.uninstall_entry:
            marks.append(mark(known, "comment-lines", "uninstall entry",
                              f"{too_large} and no entry is written"))
        elif files:
            marks += [mark(known, "comment-lines", f"file {number}",
                           f"{too_large} whole and this file is not copied") for number in files]
        else:
            marks.append(mark(known, "comment-lines", "script", f"{too_large} whole"))
    if script.commented and not marks:
        names = [f"[{section.name}]" for section in script.commented]
        marks.append(mark(known, "comment-lines", "script",
                          f"here {', '.join(names)} {'hold' if len(names) > 1 else 'holds'} "
                          "comment lines, which the program passes over itself: the same result "
                          "on Windows"))
    return marks


def read_only_marks(outcomes: List[dict], known: Dict[str, str]) -> List[dict]:
    return [mark(known, "read-only-destination", f"file {number}",
                 "the destination was read-only: on Windows this copy fails and the retry "
                 "question comes")
            for number, outcome in enumerate(outcomes) if outcome["was_read_only"]]


def wine_said(trace: str) -> List[str]:
    """Wine's own messages among its process trace, its fix-me notes left out."""
    return [line for line in trace.splitlines()
            if line.strip() and not TRACE_LINE.match(line) and ":fixme:" not in line]


def showed_no_window(reading: Reading, seen: List[str], said: List[str]) -> bool:
    """Whether the program could show no window at all: Wine said so, or a
    shown-mode run ended without any window of it seen."""
    return any(NO_WINDOW.search(line) for line in said) or (not reading.silent and not seen)


def build_report(*, platform: str, language: str, codec: str, source: Path,
                 problems: List[str], script: Script, stand_ins: List[str], before: Snapshot,
                 after: Snapshot, config_before: bytes, config_after: Optional[bytes],
                 trace: str, boxes: List[Box], seen: List[str], exit_code: Optional[int],
                 build: Build, windows: str, machine_windows: str) -> dict:
    changes = file_changes(before.files, after.files)
    setup_files = [c for c in changes if not WINE_FILES.match(c.path)]
    config_change = next((c for c in setup_files if c.path.lower() == CONFIG_SYS.lower()), None)
    if config_change and config_change.change == "changed" and config_after == config_before:
        config_change.change = "rewritten"  # written anew with the bytes it had
    config = config_sys_outcome(config_before, config_after, config_change is not None, codec)
    added_or_changed = {c.path.lower(): c for c in setup_files if c.change != "removed"}
    reading = script.wine
    outcomes = copy_outcomes(reading, added_or_changed, before.read_only, boxes)
    known = wine_differences()
    said = wine_said(trace)
    return {
        "platform": platform,
        "language": language,
        "code_page": codec,
        "medium": str(source),
        "medium_problems": problems,
        "script": "found" if reading.found else "missing",
        "group": reading.group,
        "group_from": "[Display] GroupName" if reading.group_line else "the default",
        "device_ids": reading.device_ids,
        "build": build.describe(),
        "windows_dir": windows,
        "machine_windows_dir": machine_windows,
        "no_window": showed_no_window(reading, seen, said),
        "windows_seen": seen,
        "wine_said": said,
        "exit_code": exit_code,
        "exit_meaning": EXIT_CODES.get(exit_code, "not a code that setup32.exe gives"),
        "files_named": outcomes,
        "files": [dataclasses.asdict(c) for c in setup_files],
        "registry": registry_by_purpose(registry_changes(before.registry, after.registry), reading),
        "device_cleanup": device_cleanup(reading, before, after),
        "config_sys": config,
        "programs": [describe_start(s, stand_ins) for s in programs_started(trace)],
        "boxes": [dataclasses.asdict(box) for box in boxes],
        "wine_differences": bom_marks(script, platform, outcomes, known) +
        comment_marks(script, outcomes, known) + read_only_marks(outcomes, known),
    }


# --- plain text -----------------------------------------------------------------------

WINE_SAID_SHOWN = 12  # lines of Wine's messages in the text


def marks(report: dict, item: str, indent: str) -> List[str]:
    """The known differences of Wine from Windows that touch the item."""
    return [f"{indent}! Wine differs from Windows here ({found['id']}): {found['here']}"
            for found in report["wine_differences"] if found["item"] == item]


def differences_met(report: dict) -> List[str]:
    """What Windows does, once for each difference the report marks."""
    met = {found["id"]: found["windows"] for found in report["wine_differences"]}
    if not met:
        return []
    return ["", "Where Wine, which ran this install, differs from Windows (marked ! above):"] + \
        [f"  {difference}: {windows}" for difference, windows in met.items()]


def head(report: dict) -> List[str]:
    lines = [f"Install report: {report['platform']}, {report['language']} "
             f"(code page {report['code_page']}), medium {report['medium']}"]
    lines += [f"  ! {problem}" for problem in report["medium_problems"]]
    if report["script"] == "missing":
        lines.append("  ! the medium has no SETUP32.INI")
    lines += marks(report, "script", "  ")
    build = report["build"]
    lines += [f"Build that ran: {build['file']}, {build['size']} bytes, {build['machine']}, "
              f"sha256 {build['sha256']}",
              "  (the shipping i686 file)" if build["shipping"] else f"  ({STAND_IN_NOTE})"]
    if report["windows_dir"].lower() != report["machine_windows_dir"].lower():
        lines.append(f"Windows directory: {report['windows_dir']}, where every Wine machine keeps "
                     f"it and cannot move it from; the customer's machine (examples/machine) has "
                     f"it in {report['machine_windows_dir']}")
    if report["no_window"]:
        lines += [f"setup32.exe showed no window at all: Wine could not show it, so nothing was "
                  f"pressed and no question answered; it ended with exit code "
                  f"{report['exit_code']}. Wine said:"]
        said = report["wine_said"]
        lines += [f"  {line}" for line in said[:WINE_SAID_SHOWN]] or ["  nothing"]
        if len(said) > WINE_SAID_SHOWN:
            lines.append(f"  ... and {len(said) - WINE_SAID_SHOWN} more lines (see report.json)")
    else:
        lines.append(f"Exit code: {report['exit_code']} ({report['exit_meaning']})")
    lines.append(f"Group name: {report['group']} (from {report['group_from']})")
    lines += marks(report, "group", "  ")
    return lines + [""]


def files(report: dict) -> List[str]:
    lines = [f"Files the script names ({len(report['files_named'])}):"]
    for number, entry in enumerate(report["files_named"]):
        if entry["copied"]:
            lines.append(f"  copied      {entry['source']} -> {entry['destination']}")
        elif entry["source"] is not None:
            lines.append(f"  not copied  {entry['source']} -> {entry['destination']}: "
                         f"{entry['reason']}")
        else:
            lines.append(f"  not copied  {entry['line']}: {entry['reason']}")
        lines += marks(report, f"file {number}", "    ")
    lines.append(f"Files added, changed, rewritten or removed on drive C: "
                 f"({len(report['files'])}):")
    lines += [f"  {f['change']:9} {f['path']}" + (f"  ({f['size']} bytes)" if f["size"] is not None
                                                   else "") for f in report["files"]]
    return lines


def registry(report: dict) -> List[str]:
    lines = ["", "Registry:"]
    for name, keys in report["registry"].items():
        lines.append(f"  {name}: " + ("none" if not keys else f"{len(keys)} key(s)"))
        lines += marks(report, name, "    ")
        for key in keys:
            lines.append(f"    {key['change']} {key['path']}")
            lines += [f"      {value}" for value in key["values"]]
    lines += ["", f"Device clean-up (device ids {', '.join(report['device_ids']) or 'none'}):"]
    lines += marks(report, "device ids", "  ")
    lines += [f"  {entry['state']:18} {entry['name']}" for entry in report["device_cleanup"]]
    return lines


def config_sys(report: dict) -> List[str]:
    config = report["config_sys"]
    lines = ["", f"CONFIG.SYS: {config['state']}"]
    return lines + [f"  {line}" for line in config["diff"]]


def programs_and_boxes(report: dict) -> List[str]:
    lines = ["", "Programs started by the setup:"]
    for program in report["programs"]:
        note = f"  ({program['note']})" if program["note"] else ""
        lines.append(f"  {program['command_line']}{note}")
    if not report["programs"]:
        lines.append("  none")
    lines += ["", "Message boxes:"]
    for box in report["boxes"]:
        lines.append(f"  {box['number']}. {quoted(box['caption'])}: {quoted(box['text'])}")
        lines.append(f"     answered {box['answer']}" +
                     (f"; screenshot {box['screenshot']}" if box["screenshot"] else ""))
    if not report["boxes"]:
        lines.append("  none")
    return lines


def text(report: dict) -> str:
    return "\n".join(head(report) + files(report) + registry(report) + config_sys(report) +
                     programs_and_boxes(report) + differences_met(report))
