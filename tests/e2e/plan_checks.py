"""The checker's plan held against what setup32.exe did under Wine.

Right before the program starts, the machine is stopped so that Wine saves
its registry, and setup32-check dry-runs the same medium on the same
platform and language, its machine seeded from that registry, with the same
start directory, Windows directory and CONFIG.SYS. After the scenario, the
files installed (with their bytes) and every other file written or deleted,
the group script, the product key, the uninstall entry, CONFIG.SYS and the
programs started (from Wine's process trace) must be what the plan said.

Only what must differ between the simulated and the Wine machine is left
out, each where it is done and with its reason.
"""
import codecs
import dataclasses
import difflib
import json
import os
import re
import subprocess
import tempfile
from pathlib import Path
from typing import Dict, List, Optional, Tuple

from harness import HIVES, ROOT, CheckFailed, Registry, Run
from install_checks import UNINSTALL_KEY
from wine import snapshot
from wine.versions import WINE_WINDOWS

# The optimised checker (the checker preset, which tools/setup32-check and
# tools/bench-check-vs-wine build) and the native preset's; the one built
# last is used.
CHECKERS = [ROOT / "build" / "checker" / "setup32-check",
            ROOT / "build" / "native" / "setup32-check"]
# Where every Wine machine keeps Windows. A Wine machine cannot move it, so
# the checker, whose NT 4.0 and 2000 machines keep it in C:\\WINNT, is told.
WINDOWS = WINE_WINDOWS
GROUP_SCRIPT = WINDOWS + "\\SETUP.INI"
CONFIG_SYS = "C:\\CONFIG.SYS"
PROCESS_TRACE = "process-trace.txt"  # in the prefix, where the demo's trace goes too

# The registry branches that the program opens: the product key and the
# Shell Folders below HKEY_CURRENT_USER\Software, the uninstall entry and
# the common Shell Folders, the services and the adapter's enumeration
# keys. The checker is seeded with these alone, which keeps its run short:
# no other key changes what the program does.
SEEDED_BRANCHES = ("HKEY_CURRENT_USER\\Software",
                   "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion",
                   "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services",
                   "HKEY_LOCAL_MACHINE\\Enum")

# The test programs' own files: what the stand-ins that the install starts
# write (the converter's command line and its copy of the group script,
# the post-install marker's log) and the restart witness, which starts with
# the program. A real converter or program writes other things; the
# checker's machine starts none of them.
TEST_FILES = {"grpconv.log", "grpconv.ini", "marker.log", "session.log", "session_witness.exe"}
# Wine's own files: its user profile (temporary files, settings).
WINE_OWN = ("c:\\users\\",)
# Wine carries out a restart by starting its wineboot; Windows starts no
# program for it.
WINE_RESTART = re.compile(r"(^|\\)wineboot(\.exe)?(\s|$)", re.IGNORECASE)

REG_SZ, REG_BINARY, REG_LINK = 1, 3, 6
TEXT_TYPES = {REG_SZ, 2, 7}  # REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ


# --- the Wine machine's registry as REGEDIT4 -------------------------------------------


def seeded(key: str) -> bool:
    lower = key.lower()
    return any(lower == branch.lower() or lower.startswith(branch.lower() + "\\")
               for branch in SEEDED_BRANCHES)


def _ansi(text: str, codec: str) -> str:
    """A text as an ANSI program reads it: bytes of the code page (? for a
    character it lacks, as WideCharToMultiByte gives), one character each."""
    return text.encode(codec, errors="replace").decode("latin-1")


def _quoted(text: str) -> str:
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _hex(type_: int, data: bytes) -> str:
    prefix = "hex:" if type_ == REG_BINARY else f"hex({type_:x}):"
    return prefix + ",".join(f"{byte:02x}" for byte in data)


def regedit4_data(data: str, codec: str) -> Optional[str]:
    """One value's data of a Wine registry file in REGEDIT4 notation, its
    texts in the code page; None for a link, which is Wine's redirection of
    a key rather than data."""
    if data.startswith('"'):
        text = _ansi(Registry._unquote(data[1:-1]), codec)
        if any(c in text for c in "\r\n\0"):
            return _hex(REG_SZ, text.encode("latin-1") + b"\0")
        return _quoted(text)
    if data.startswith("dword:"):
        return data
    typed = re.match(r'^str\(([0-9a-f]+)\):"(.*)"$', data)
    if typed:
        text = _ansi(Registry._unquote(typed.group(2)), codec)
        return _hex(int(typed.group(1), 16), text.encode("latin-1") + b"\0")
    binary = re.match(r"^hex(?:\(([0-9a-f]+)\))?:(.*)$", data)
    if not binary:
        return None
    type_ = int(binary.group(1) or f"{REG_BINARY:x}", 16)
    raw = bytes.fromhex(binary.group(2).replace(",", ""))
    if type_ == REG_LINK:
        return None
    if type_ in TEXT_TYPES:  # saved as UTF-16
        raw = _ansi(raw.decode("utf-16-le", errors="replace"), codec).encode("latin-1")
    return _hex(type_, raw)


def regedit4(prefix: Path, codec: str) -> bytes:
    """The seeded branches of a stopped machine's registry as REGEDIT4 text
    in the code page of its language."""
    lines = ["REGEDIT4"]
    for root, name in HIVES.items():
        text = (prefix / name).read_text(encoding="utf-8", errors="replace")
        for key, value_name, value_data in Registry.entries(text):
            path = f"{root}\\{key}"
            if not seeded(path):
                continue
            if value_name is None:
                lines += ["", f"[{_ansi(path, codec)}]"]
                continue
            data = regedit4_data(value_data, codec)
            if data is not None:
                name_text = "@" if value_name == "" else _quoted(_ansi(value_name, codec))
                lines.append(f"{name_text}={data}")
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


# --- before the program starts --------------------------------------------------------

Files = Dict[str, Tuple[str, int, int, int]]  # lower-case path: (path, size, mtime, ctime)


def _walk(host_root: Path, windows_root: str, found: Files):
    # Linked directories are not walked: on drive C: they are the medium
    # (walked as itself) and Wine's links into the host's home.
    for directory, _, names in os.walk(host_root):
        for name in names:
            path = Path(directory) / name
            if path.is_symlink():
                continue
            status = path.stat()
            windows = windows_root + str(path.relative_to(host_root)).replace("/", "\\")
            found[windows.lower()] = (windows, status.st_size, status.st_mtime_ns,
                                      status.st_ctime_ns)


def machine_files(run: Run) -> Files:
    """Every file of drive C: and of the medium, by lower-case Windows path."""
    found: Files = {}
    _walk(run.machine.path / "drive_c", "C:\\", found)
    _walk(run.medium_dir, run.scenario.medium, found)
    return found


@dataclasses.dataclass
class Planned:
    plan: dict  # the checker's plan of this run, as its JSON document has it
    files: Files  # the machine's files before the run
    registry: Dict[str, Registry]  # HKCU and HKLM before the run
    config_sys: Optional[bytes]  # None: the machine has no CONFIG.SYS


def checker() -> Path:
    built = [path for path in CHECKERS if path.exists()]
    if not built:
        raise CheckFailed("no setup32-check: build it with tools/build native")
    return max(built, key=lambda path: path.stat().st_mtime)


def checker_plan(run: Run, registry: bytes, config_sys: Optional[bytes]) -> dict:
    """The checker's plan for the run's medium, platform, language, start
    directory and Windows directory, with this registry and CONFIG.SYS."""
    scenario = run.scenario
    with tempfile.TemporaryDirectory(prefix="setup32-plan-") as scratch:
        seed = Path(scratch) / "machine.reg"
        seed.write_bytes(registry)
        command = [str(checker()), str(run.medium_dir), "--platform", scenario.version,
                   "--language", scenario.locale, "--start-dir", scenario.medium,
                   "--windows-dir", WINDOWS, "--registry", str(seed), "--json"]
        if config_sys is None:
            command.append("--no-config-sys")
        else:
            config = Path(scratch) / "CONFIG.SYS"
            config.write_bytes(config_sys)
            command += ["--config-sys", str(config)]
        result = subprocess.run(command, capture_output=True, timeout=120)
    if result.returncode not in (0, 1, 2):  # 3: the check could not run
        raise CheckFailed("setup32-check could not run: " +
                          result.stderr.decode(errors="replace").strip())
    return as_windows_reads(json.loads(result.stdout)["runs"][0]["plan"])


# The checker shows a byte that is no character of the code page as \xNN;
# Windows, as Wine, reads such a byte of code page 1252 as U+00NN.
UNMAPPED_BYTE = re.compile(r"(?<!\\)\\x([0-9A-F]{2})")


def as_windows_reads(plan):
    """The plan with each such byte as the character Windows reads."""
    if isinstance(plan, str):
        return UNMAPPED_BYTE.sub(lambda byte: chr(int(byte.group(1), 16)), plan)
    if isinstance(plan, list):
        return [as_windows_reads(item) for item in plan]
    if isinstance(plan, dict):
        return {key: as_windows_reads(item) for key, item in plan.items()}
    return plan


def _as_character(error: UnicodeDecodeError):
    return chr(error.object[error.start]), error.start + 1


codecs.register_error("setup32-unmapped", _as_character)


def windows_text(data: bytes, codec: str) -> str:
    """Bytes of the code page as Windows reads them (see UNMAPPED_BYTE)."""
    return data.decode(codec, errors="setup32-unmapped")


def plan(run: Run) -> Optional[Planned]:
    """The checker's plan of the run about to start, and what the machine
    holds before it; None when the scenario is not compared with a plan.
    The machine is stopped for Wine to save its registry, and the program's
    start is traced to see the programs it starts."""
    if run.scenario.unplanned:
        return None
    run.machine.stop()
    config = run.machine.file(CONFIG_SYS)
    config_sys = config.read_bytes() if config.is_file() else None
    registry = {hive: run.machine.registry(hive) for hive in ("HKCU", "HKLM")}
    planned = Planned(checker_plan(run, regedit4(run.machine.path, run.machine.codec), config_sys),
                      machine_files(run), registry, config_sys)
    run.process_trace = run.machine.path / PROCESS_TRACE
    return planned


# --- after the run ------------------------------------------------------------------------


def host_file(run: Run, windows_path: str) -> Path:
    start = run.scenario.medium
    if windows_path.lower().startswith(start.lower()):
        return run.medium_file(windows_path[len(start):])
    return run.machine.file(windows_path)


def copies_differ(run: Run, plan: dict) -> List[str]:
    """Each copy the plan made: the file is installed under Wine with the
    bytes of its source."""
    differences = []
    for copy in (c for c in plan["copies"] if c["error"] == 0):
        source, destination = copy["source"], copy["destination"]
        installed = host_file(run, destination)
        what = f"copy {source} -> {destination} ({copy['bytes']} bytes)"
        if not installed.is_file():
            differences.append(f"{what}: not installed under Wine")
        elif installed.read_bytes() != host_file(run, source).read_bytes():
            differences.append(f"{what}: other bytes under Wine ({installed.stat().st_size} bytes)")
    return differences


def wine_own(lower_path: str) -> bool:
    return (lower_path.startswith(WINE_OWN) or
            lower_path.rsplit("\\", 1)[-1] in TEST_FILES)


def files_differ(run: Run, plan: dict, before: Files, after: Files) -> List[str]:
    """The files the plan creates, changes and deletes are those the Wine
    run did. A file that the Wine machine deleted but the plan does not
    name is compared only where the checker's machine has it too: on the
    medium and CONFIG.SYS; other files of drive C: are not on it."""
    wine = {change.path.lower(): change for change in snapshot.file_changes(before, after)}
    planned = {change["path"].lower(): change for change in plan["files"]}
    differences = []
    for lower, change in planned.items():
        path, size = change["path"], change["after"]
        done = wine.get(lower)
        if size is None:
            if lower in before and (done is None or done.change != "removed"):
                differences.append(f"{path}: deleted in the plan, not under Wine")
        elif done is None or done.change == "removed":
            differences.append(f"{path}: written in the plan ({size} bytes), not under Wine")
        elif done.size != size and lower != GROUP_SCRIPT.lower():
            differences.append(f"{path}: {size} bytes in the plan, {done.size} under Wine")
    on_checker_machine = (run.scenario.medium.lower(), CONFIG_SYS.lower())
    for lower, done in wine.items():
        if lower in planned or wine_own(lower):
            continue
        if done.change == "removed" and not lower.startswith(on_checker_machine):
            continue
        differences.append(f"{done.path}: {done.change} under Wine, not in the plan")
    return differences


# A component of a path that is a short name made up by the file system:
# Windows numbers them (DISKTO~1.HLP), Wine hashes them.
SHORT_NAME = re.compile(r'(?<=\\)[^\\"]*~[^\\"]*')


def as_compared(group_script: str) -> str:
    """A group script with its made-up short names alike, compared without
    regard to case: the case of a directory name is the machine's layout
    (Wine's help, the checker's HELP), and Windows matches names without
    regard to it."""
    return SHORT_NAME.sub("~", group_script).lower()


def group_script_differs(run: Run, plan: dict) -> List[str]:
    """The group script is the plan's, short names and case aside."""
    expected = plan["groupScript"]
    script = run.machine.file(GROUP_SCRIPT)
    actual = windows_text(script.read_bytes(), run.machine.codec) if script.is_file() else None
    if expected is None or actual is None:
        same = expected is actual
    else:
        same = as_compared(expected) == as_compared(actual)
    what = "group script (short names and case aside)"
    return [] if same else text_differs(what, expected, actual)


def _plan_values(values: List[dict]) -> Optional[Dict[str, str]]:
    """A key's values in the plan (plain names and texts) as the harness
    reads Wine's: by lower-case name, the default value named ""."""
    return {value["name"].lower(): value["data"] for value in values} or None


def key_values(registry: Dict[str, Registry], key: str) -> Optional[Dict[str, object]]:
    """A key's values by lower-case name; None for a key that is missing or
    has none (a Wine registry file leaves such a key out)."""
    root, _, path = key.partition("\\")
    hive = {"HKEY_CURRENT_USER": "HKCU", "HKEY_LOCAL_MACHINE": "HKLM"}[root.upper()]
    return registry[hive].values(path) or None


def key_differs(what: str, key: str, expected, registry: Dict[str, Registry]) -> List[str]:
    actual = key_values(registry, key)
    if actual == expected:
        return []
    return [f"{what} {key}: the plan has {expected!r}, Wine {actual!r}"]


def keys_differ(planned: Planned, after: Dict[str, Registry]) -> List[str]:
    """The product key and the uninstall entry hold the plan's values; where
    the plan writes no uninstall entry, the Wine machine's stays as it was."""
    product = planned.plan["productKey"]
    differences = key_differs("product key", product["key"], _plan_values(product["values"]), after)
    entry = planned.plan["uninstallEntry"]
    if entry:
        differences += key_differs("uninstall entry", entry["key"], _plan_values(entry["values"]),
                                   after)
    else:
        group = product["key"].rsplit("\\", 1)[-1]
        key = f"HKEY_LOCAL_MACHINE\\{UNINSTALL_KEY}\\{group}"
        differences += key_differs("uninstall entry", key, key_values(planned.registry, key), after)
    return differences


def config_differs(run: Run, planned: Planned) -> List[str]:
    """CONFIG.SYS as the plan leaves it. Where the machine has none, the
    checker's has none either (--no-config-sys), and the file list says
    whether either run wrote one."""
    if planned.config_sys is None:
        return []
    config = run.machine.file(CONFIG_SYS)
    actual = windows_text(config.read_bytes(), run.machine.codec) if config.is_file() else None
    expected = planned.plan["configSys"]["after"]
    return [] if actual == expected else text_differs("CONFIG.SYS", expected, actual)


def text_differs(what: str, planned: Optional[str], wine: Optional[str]) -> List[str]:
    """A text of the plan and of the Wine run, line by line (- plan, + Wine)."""
    def lines(text: Optional[str]) -> List[str]:
        return [repr(line) for line in text.splitlines(keepends=True)] if text is not None else []

    changed = difflib.unified_diff(lines(planned), lines(wine), "plan", "Wine", lineterm="",
                                   n=1)
    missing = (" (none in the plan)" if planned is None else
               " (none under Wine)" if wine is None else "")
    return [f"{what}{missing}:"] + ["    " + line for line in changed]


def programs_differ(run: Run, plan: dict) -> List[str]:
    """The command lines the program started, in order, from Wine's process
    trace: the plan's."""
    trace = run.machine.path / PROCESS_TRACE
    text = trace.read_text(errors="replace") if trace.exists() else ""
    started = [start.command_line for start in snapshot.programs_started(text)
               if not WINE_RESTART.search(start.command_line)]
    if started == plan["programs"]:
        return []
    return [f"programs started: the plan has {plan['programs']}, Wine {started}"]


def compare(run: Run, planned: Planned):
    """Fails the scenario, listing each difference, where the Wine run did
    not do what the plan said."""
    run.machine.stop()
    after = {hive: run.machine.registry(hive) for hive in ("HKCU", "HKLM")}
    plan_ = planned.plan
    differences = (copies_differ(run, plan_) +
                   files_differ(run, plan_, planned.files, machine_files(run)) +
                   group_script_differs(run, plan_) + keys_differ(planned, after) +
                   config_differs(run, planned) +
                   programs_differ(run, plan_))
    if differences:
        raise CheckFailed("the run under Wine differs from the checker's plan:\n  " +
                          "\n  ".join(differences))
