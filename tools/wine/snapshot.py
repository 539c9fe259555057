"""What a Wine machine holds, read from its prefix while it is stopped:
the registry of user.reg and system.reg and the files of drive C:, taken
before and after an install and compared; and the programs that a traced
process started, read from Wine's +process debug channel."""
import dataclasses
import re
import stat
from pathlib import Path
from typing import Dict, List, Optional, Set, Tuple

from wine.machine import HIVES, Registry

# --- the registry ---------------------------------------------------------------


@dataclasses.dataclass
class Key:
    path: str  # as written, e.g. HKEY_CURRENT_USER\Software\Disk Tools
    values: Dict[str, Tuple[str, str]]  # lower-case name: (name as written, data as shown)


def quoted(text: str) -> str:
    """A text between double quotes, its line breaks shown as \\n."""
    return '"' + text.replace("\r", "\\r").replace("\n", "\\n") + '"'


def shown(data: str) -> str:
    """A value's data in plain words: texts decoded, numbers in decimal and hex."""
    if data.startswith('"') and data.endswith('"'):
        return quoted(Registry._unquote(data[1:-1]))
    expandable = 'str(2):"'
    if data.startswith(expandable) and data.endswith('"'):
        return quoted(Registry._unquote(data[len(expandable):-1])) + " (expandable)"
    if data.startswith("dword:"):
        number = int(data[6:], 16)
        return f"{number} (0x{number:08x})"
    return data


def read_hive(prefix: Path, hive: str) -> Dict[str, Key]:
    """The keys of one hive by lower-case path."""
    text = (prefix / HIVES[hive]).read_text(encoding="utf-8", errors="replace")
    keys: Dict[str, Key] = {}
    for path, name, data in Registry.entries(text):
        full = hive + "\\" + path
        key = keys.setdefault(full.lower(), Key(full, {}))
        if name is not None:
            key.values[name.lower()] = (name, shown(data))
    return keys


def read_registry(prefix: Path) -> Dict[str, Key]:
    keys: Dict[str, Key] = {}
    for hive in HIVES:
        keys.update(read_hive(prefix, hive))
    return keys


@dataclasses.dataclass
class KeyChange:
    path: str
    change: str  # added, removed or changed
    values: List[str]  # one line per value added, changed or removed


def with_parents(keys: Dict[str, Key]) -> Dict[str, Key]:
    """The keys and every key above them: Wine saves a key without values
    only while it has no subkeys, so an empty parent comes and goes in the
    file as its subkeys do."""
    every = dict(keys)
    for key in keys.values():
        parts = key.path.split("\\")
        for length in range(2, len(parts)):
            parent = "\\".join(parts[:length])
            every.setdefault(parent.lower(), Key(parent, {}))
    return every


def registry_changes(before: Dict[str, Key], after: Dict[str, Key]) -> List[KeyChange]:
    before, after = with_parents(before), with_parents(after)
    changes = []
    for lower in sorted(set(before) | set(after)):
        old, new = before.get(lower), after.get(lower)
        old_values = old.values if old else {}
        new_values = new.values if new else {}
        lines = []
        for name in sorted(set(old_values) | set(new_values)):
            was, now = old_values.get(name), new_values.get(name)
            label = (now or was)[0] or "(default)"
            if was is None:
                lines.append(f"+ {label} = {now[1]}")
            elif now is None:
                lines.append(f"- {label} = {was[1]}")
            elif was[1] != now[1]:
                lines.append(f"~ {label} = {now[1]} (was {was[1]})")
        if old is None:
            changes.append(KeyChange(new.path, "added", lines))
        elif new is None:
            changes.append(KeyChange(old.path, "removed", lines))
        elif lines:
            changes.append(KeyChange(new.path, "changed", lines))
    return changes


# --- the files of drive C: --------------------------------------------------------


def read_files(prefix: Path) -> Tuple[Dict[str, Tuple[str, int, int]], Set[str]]:
    """Every file of drive C: by lower-case Windows path: (path as
    written, size, modification time); and the lower-case paths of those
    that are read-only, which Wine shows as files their owner may not write."""
    root = prefix / "drive_c"
    found, read_only = {}, set()
    for path in root.rglob("*"):
        if path.is_file() and not path.is_symlink():
            name = "C:\\" + str(path.relative_to(root)).replace("/", "\\")
            status = path.stat()
            found[name.lower()] = (name, status.st_size, status.st_mtime_ns)
            if not status.st_mode & stat.S_IWUSR:
                read_only.add(name.lower())
    return found, read_only


@dataclasses.dataclass
class FileChange:
    path: str
    change: str  # added, changed or removed
    size: Optional[int]


def file_changes(before, after) -> List[FileChange]:
    changes = []
    for lower in sorted(set(before) | set(after)):
        old, new = before.get(lower), after.get(lower)
        if old is None:
            changes.append(FileChange(new[0], "added", new[1]))
        elif new is None:
            changes.append(FileChange(old[0], "removed", None))
        elif old[1:] != new[1:]:
            changes.append(FileChange(new[0], "changed", new[1]))
    return changes


@dataclasses.dataclass
class Snapshot:
    registry: Dict[str, Key]
    files: Dict[str, Tuple[str, int, int]]
    read_only: Set[str]  # lower-case paths of the read-only files

    @classmethod
    def take(cls, prefix: Path) -> "Snapshot":
        return cls(read_registry(prefix), *read_files(prefix))


# --- the programs started -----------------------------------------------------------


@dataclasses.dataclass
class Start:
    command_line: str
    image: Optional[str]  # the file that ran; None when nothing was started
    batch: bool = False


TRACE_LINE = re.compile(r"^([0-9a-f]{4}):trace:process:(\w+) (.*)$")
_QUOTED = r'L"((?:[^"\\]|\\.)*)"'


def _unescape(text: str) -> str:
    return re.sub(r"\\(.)", r"\1", text)


def programs_started(trace: str) -> List[Start]:
    """The programs that the traced program itself asked Windows to start,
    in order: the process's first thread is the one that wrote the trace's
    first line, and each CreateProcess call of that thread opens an entry
    that the lines after it fill in."""
    lines = [match.groups() for match in map(TRACE_LINE.match, trace.splitlines()) if match]
    if not lines:
        return []
    main_thread = lines[0][0]
    starts: List[Start] = []
    for thread, function, rest in lines:
        if thread != main_thread:
            continue
        asked = re.match(rf"app .* cmdline {_QUOTED}$", rest)
        if function == "CreateProcessInternalW" and asked:
            starts.append(Start(_unescape(asked.group(1)), None))
        elif starts and function == "CreateProcessInternalW" and "as batch binary" in rest:
            starts[-1].batch = True
        elif starts and function == "NtCreateUserProcess" and " pid " in rest:
            image = re.match(rf"{_QUOTED} pid", rest)
            if image and starts[-1].image is None:
                starts[-1].image = _unescape(image.group(1)).removeprefix("\\??\\")
    return starts


# --- the build ------------------------------------------------------------------------

MACHINES = {0x14C: "i386 (32-bit)", 0x8664: "x86-64 (64-bit)"}


def pe_machine(exe: Path) -> str:
    """The machine type of a Windows executable's PE header."""
    data = exe.read_bytes()
    offset = int.from_bytes(data[0x3C:0x40], "little")
    if data[:2] != b"MZ" or data[offset : offset + 4] != b"PE\0\0":
        return "not a Windows executable"
    machine = int.from_bytes(data[offset + 4 : offset + 6], "little")
    return MACHINES.get(machine, f"0x{machine:04x}")
