"""The install report: what one run of setup32.exe did to its Wine
machine, put together from the machine before and after, the trace of
the processes started and the message boxes the demo answered; as plain
text and as JSON."""
import dataclasses
import difflib
import hashlib
import re
from pathlib import Path
from typing import Dict, List, Optional

from demo_machine import FileChange, KeyChange, Snapshot, Start, file_changes, pe_machine, \
    programs_started, quoted, registry_changes
from demo_medium import CopyLine, Script, relative
from harness import ROOT, SHIPPING, STAND_IN_NOTE, host_path

# What the exit code of setup32.exe says about the run.
EXIT_CODES = {
    0: "the install ran to its end and no file was given up",
    1: "Exit was pressed before any install",
    2: "no setup script was found",
    3: "the copy pass ended early at the cancel question",
    4: "one or more files were given up at the retry question",
    5: "the CONFIG.SYS edit failed and ended the install",
}

# What the device clean-up of Windows 95 and 98 removes.
ENUM_KEY = "Enum\\PCI\\VEN_7A3E&DEV_"
DRIVER_DATABASE = ("DRVIDX.BIN", "DRVDATA.BIN")

# The registry keys the setup writes, by purpose: a pattern of the key's
# path (after "HKEY_..."), given the script's group name.
PURPOSES = [
    ("product key", r"HKEY_CURRENT_USER\\Software\\{group}(\\.*)?"),
    ("uninstall entry",
     r"HKEY_LOCAL_MACHINE\\Software\\(Wow6432Node\\)?Microsoft\\Windows\\CurrentVersion\\"
     r"Uninstall\\{group}(\\.*)?"),
    ("services", r"HKEY_LOCAL_MACHINE\\System\\(CurrentControlSet|ControlSet\d+)\\Services\\.*"),
    ("enumeration keys", r"HKEY_LOCAL_MACHINE\\Enum\\.*"),
]
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

    def describe(self) -> Dict[str, object]:
        data = self.path.read_bytes()
        name = self.path.relative_to(ROOT) if self.path.is_relative_to(ROOT) else self.path
        return {"file": str(name), "size": len(data), "machine": pe_machine(self.path),
                "sha256": hashlib.sha256(data).hexdigest(), "shipping": SHIPPING}


def purpose(path: str, group: str) -> Optional[str]:
    for name, pattern in PURPOSES:
        if re.fullmatch(pattern.format(group=re.escape(group)), path, re.IGNORECASE):
            return name
    return None


def registry_by_purpose(changes: List[KeyChange], group: str) -> Dict[str, List[dict]]:
    grouped: Dict[str, List[dict]] = {name: [] for name, _ in PURPOSES}
    grouped["other"] = []
    for change in changes:
        name = purpose(change.path, group)
        if name is None and WINE_OWN.match(change.path):
            continue
        grouped[name or "other"].append(dataclasses.asdict(change))
    return grouped


def windows_path(medium_path: str, windows: str) -> str:
    """A destination as the setup resolves it: ".\\" from the Windows directory."""
    return windows + "\\" + relative(medium_path) if medium_path.startswith(".\\") else medium_path


def why_not_copied(line: CopyLine, destination: str, medium: Path) -> str:
    if not host_path(medium, relative(line.source)).is_file():
        return "the source is not on the medium"
    if ":" not in destination:
        return "the destination is neither .\\-relative nor a full path"
    return "the copy failed or was given up (see the message boxes)"


def copy_outcomes(script: Script, platform: str, medium: Path, changed: Dict[str, FileChange],
                  windows: str) -> List[dict]:
    """Each file the script names for the platform: copied or not, and why not."""
    outcomes = []
    for line in script.copy_lines(platform):
        destination = windows_path(line.destination, windows) if line.source else None
        copied = destination is not None and destination.lower() in changed
        if line.source is None:
            reason = "the line names no destination (no comma)"
        else:
            reason = None if copied else why_not_copied(line, destination, medium)
        outcomes.append({"section": line.section, "line": line.line, "source": line.source,
                         "destination": destination, "copied": copied, "reason": reason})
    return outcomes


def device_cleanup(script: Script, before: Snapshot, after: Snapshot, windows: str) -> List[dict]:
    """For each device id of the script, and for the driver database files:
    removed, still there, or not on the machine before the install."""
    def outcome(name: str, found_before: Dict[str, object], found_after: Dict[str, object]) -> dict:
        there_before, there_after = name.lower() in found_before, name.lower() in found_after
        state = "removed" if there_before and not there_after else \
            "still there" if there_after else "not on the machine"
        return {"name": name, "state": state}

    return [outcome(f"HKEY_LOCAL_MACHINE\\{ENUM_KEY}{device}", before.registry, after.registry)
            for device in script.device_ids] + \
        [outcome(f"{windows}\\inf\\{name}", before.files, after.files) for name in DRIVER_DATABASE]


def config_sys_diff(before: bytes, after: Optional[bytes], codec: str) -> List[str]:
    if after is None:
        return ["C:\\CONFIG.SYS is gone"]
    old = before.decode(codec, errors="replace").splitlines()
    new = after.decode(codec, errors="replace").splitlines()
    return list(difflib.unified_diff(old, new, "CONFIG.SYS before", "CONFIG.SYS after",
                                     lineterm=""))


def describe_start(start: Start, stand_ins: List[str]) -> dict:
    entry = {"command_line": start.command_line, "image": start.image,
             "started": start.image is not None, "note": None}
    program = start.command_line.split()[0] if start.command_line.split() else ""
    if start.batch:
        entry["note"] = "a batch file, run by cmd.exe"
    if any(program.lower().endswith(relative(name).lower()) for name in stand_ins):
        entry["note"] = "not on the medium: the demo's stand-in ran in its place"
    if start.command_line.lower().startswith("grpconv"):
        entry["note"] = "the program-group converter; a stand-in in this machine"
    if start.command_line.lower().endswith("wineboot.exe --end-session"):
        entry["note"] = "the restart the setup asked of Windows, as Wine carries it out"
    if not entry["started"]:
        entry["note"] = "Windows found no such program: nothing ran"
    return entry


def build_report(*, platform: str, language: str, codec: str, medium: Path, source: Path,
                 problems: List[str], script: Script, stand_ins: List[str], before: Snapshot,
                 after: Snapshot, config_before: bytes, config_after: Optional[bytes],
                 trace: str, boxes: List[Box], exit_code: Optional[int], build: Build,
                 windows: str) -> dict:
    changes = file_changes(before.files, after.files)
    setup_files = [c for c in changes if not WINE_FILES.match(c.path)]
    added_or_changed = {c.path.lower(): c for c in setup_files if c.change != "removed"}
    return {
        "platform": platform,
        "language": language,
        "code_page": codec,
        "medium": str(source),
        "medium_problems": problems,
        "script": "found" if script.found else "missing",
        "group": script.group,
        "device_ids": script.device_ids,
        "build": build.describe(),
        "exit_code": exit_code,
        "exit_meaning": EXIT_CODES.get(exit_code, "not a code that setup32.exe gives"),
        "files_named": copy_outcomes(script, platform, medium, added_or_changed, windows),
        "files": [dataclasses.asdict(c) for c in setup_files],
        "registry": registry_by_purpose(registry_changes(before.registry, after.registry),
                                        script.group),
        "device_cleanup": device_cleanup(script, before, after, windows),
        "config_sys": config_sys_diff(config_before, config_after, codec),
        "programs": [describe_start(s, stand_ins) for s in programs_started(trace)],
        "boxes": [dataclasses.asdict(box) for box in boxes],
    }


# --- plain text -----------------------------------------------------------------------


def text(report: dict) -> str:
    lines = [f"Install report: {report['platform']}, {report['language']} "
             f"(code page {report['code_page']}), medium {report['medium']}"]
    lines += [f"  ! {problem}" for problem in report["medium_problems"]]
    if report["script"] == "missing":
        lines.append("  ! the medium has no SETUP32.INI: the program says so, changes nothing "
                     "and ends with exit code 2 once Exit is pressed")
    build = report["build"]
    lines += [f"Build that ran: {build['file']}, {build['size']} bytes, {build['machine']}, "
              f"sha256 {build['sha256']}",
              "  (the shipping i686 file)" if build["shipping"] else f"  ({STAND_IN_NOTE})",
              f"Exit code: {report['exit_code']} ({report['exit_meaning']})", ""]
    lines.append(f"Files the script names ({len(report['files_named'])}):")
    for entry in report["files_named"]:
        if entry["copied"]:
            lines.append(f"  copied      {entry['source']} -> {entry['destination']}")
        else:
            lines.append(f"  not copied  {entry['line']}: {entry['reason']}")
    lines.append(f"Files added, changed or removed on drive C: ({len(report['files'])}):")
    lines += [f"  {f['change']:8} {f['path']}" + (f"  ({f['size']} bytes)" if f["size"] is not None
                                                  else "") for f in report["files"]]
    lines += ["", "Registry:"]
    for name, keys in report["registry"].items():
        lines.append(f"  {name}: " + ("none" if not keys else f"{len(keys)} key(s)"))
        for key in keys:
            lines.append(f"    {key['change']} {key['path']}")
            lines += [f"      {value}" for value in key["values"]]
    lines += ["", f"Device clean-up (device ids {', '.join(report['device_ids']) or 'none'}):"]
    lines += [f"  {entry['state']:18} {entry['name']}" for entry in report["device_cleanup"]]
    lines += ["", "CONFIG.SYS:"]
    lines += [f"  {line}" for line in report["config_sys"]] or ["  unchanged"]
    lines += ["", "Programs started by the setup:"]
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
    return "\n".join(lines)
