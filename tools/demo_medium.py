"""A medium as the demo sees it: what its setup script asks of each
platform, read loosely (a script with mistakes still gives what can be
read), and the medium laid out for a run.

The script is read the way setup32 reads it: names of sections and keys
without regard to case, comment lines (";") and lines without "=" left out
of list sections, "<GROUp>" replaced by the group name, "," the only
separator of device ids."""
import codecs
import dataclasses
import shutil
import subprocess
from pathlib import Path
from typing import Dict, List, Optional

from harness import host_path

SCRIPT_NAME = "SETUP32.INI"
# The families of the list sections, and each family's second file section.
FAMILIES = {"win95": "Win95", "win98": "Win98", "nt40": "NT", "win2k": "WIN2000"}
SECOND_FILE_SECTION = {"win95": "Inf File", "win98": "Inf File", "nt40": "WinASPI32",
                       "win2k": "WinASPI32"}
DEFAULT_GROUP = "VELKA Technology Corp"
DEFAULT_DEVICE_IDS = "6E02"
PLACEHOLDER = "<GROUp>"


def _as_latin1(error: UnicodeDecodeError):
    """A byte that the code page leaves undefined, read as Wine reads it
    (cp1252's 0x81 becomes U+0081)."""
    return "".join(map(chr, error.object[error.start : error.end])), error.end


codecs.register_error("demo-as-latin1", _as_latin1)


def decode(data: bytes, codec: str) -> str:
    """Text of the script in the machine's code page."""
    return data.decode(codec, errors="demo-as-latin1")


@dataclasses.dataclass
class CopyLine:
    """One line of a driver-file section."""
    section: str
    line: str
    source: Optional[str]  # as written, None when the line names no destination
    destination: Optional[str]


@dataclasses.dataclass
class Command:
    """One line of an Execute section: a program on the medium and its arguments."""
    line: str
    program: str  # relative to the start directory unless a full path

    @property
    def on_medium(self) -> bool:
        return not (len(self.program) > 1 and self.program[1] == ":")


class Script:
    """The sections of a setup script, by lower-case name, as lists of
    (key, value) lines in file order; None when the medium has no script."""

    def __init__(self, sections: Optional[Dict[str, List[tuple]]]):
        self.sections = sections

    @classmethod
    def read(cls, medium: Path, codec: str) -> "Script":
        path = host_path(medium, SCRIPT_NAME)
        if not path.is_file():
            return cls(None)
        sections: Dict[str, List[tuple]] = {}
        current = None
        for raw in decode(path.read_bytes(), codec).splitlines():
            line = raw.strip()
            if line.startswith("[") and "]" in line:
                current = sections.setdefault(line[1 : line.index("]")].strip().lower(), [])
            elif current is not None and line and not line.startswith(";") and "=" in line:
                key, _, value = line.partition("=")
                current.append((key.strip(), value.strip()))
        return cls(sections)

    @property
    def found(self) -> bool:
        return self.sections is not None

    def value(self, section: str, key: str, default: str) -> str:
        for name, value in (self.sections or {}).get(section.lower(), []):
            if name.lower() == key.lower():
                return value
        return default

    @property
    def group(self) -> str:
        return self.value("Display", "GroupName", DEFAULT_GROUP)

    @property
    def silent(self) -> bool:
        return self.value("Display", "bShow", "YES").upper() == "NO"

    @property
    def device_ids(self) -> List[str]:
        return [token for token in self.value("Display", "DeviceID", DEFAULT_DEVICE_IDS).split(",")
                if token]

    def lines(self, section: str) -> List[str]:
        return [value.replace(PLACEHOLDER, self.group)
                for _, value in (self.sections or {}).get(section.lower(), [])]

    def copy_lines(self, platform: str) -> List[CopyLine]:
        found = []
        for part in ("Driver Files", SECOND_FILE_SECTION[platform]):
            section = f"{FAMILIES[platform]} {part}"
            for line in self.lines(section):
                source, comma, destination = line.partition(",")
                found.append(CopyLine(section, line, source.strip() if comma else None,
                                      destination.strip() if comma else None))
        return found

    def commands(self, platform: str) -> List[Command]:
        section = f"{FAMILIES[platform]} Execute"
        return [Command(line, line.split()[0]) for line in self.lines(section) if line.split()]


def relative(path: str) -> str:
    """A script path without its leading ".\\"."""
    return path[2:] if path.startswith(".\\") else path


def lay_out(source: Path, target: Path, program: Path) -> List[str]:
    """Copies the medium (nothing when it is missing) to `target` with the
    program as SETUP32.EXE beside the script; what was wrong with it."""
    unwritable(target, False)
    shutil.rmtree(target, ignore_errors=True)
    problems = []
    if not source.is_dir():
        problems.append(f"the medium {source} does not exist: the program runs on a medium "
                        "that holds nothing but itself")
        target.mkdir(parents=True)
    else:
        shutil.copytree(source, target, symlinks=False)
        if not any(target.iterdir()):
            problems.append(f"the medium {source} is empty")
    shutil.copy2(program, target / "SETUP32.EXE")
    return problems


def add_stand_ins(medium: Path, commands: List[Command], stand_in: Path) -> List[str]:
    """Puts the stand-in program in place of each program that an Execute
    line names and the medium lacks; the programs stood in for."""
    missing = []
    for command in commands:
        path = host_path(medium, relative(command.program))
        if command.on_medium and not path.exists() and path.suffix.lower() == ".exe":
            path.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(stand_in, path)
            missing.append(command.program)
    return missing


def unwritable(medium: Path, protected: bool):
    """Takes away (or gives back) every write permission on the medium, as
    the write-protect tab of a floppy does."""
    if medium.exists():
        subprocess.run(["chmod", "-R", "a-w" if protected else "u+w", str(medium)], check=True)
