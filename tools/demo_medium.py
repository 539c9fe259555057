"""A medium as the demo sees it: what its setup script asks of each
platform, read loosely (a script with mistakes still gives what can be
read), and the medium laid out for a run.

The script is read the way setup32 reads it under Wine: names of sections
and keys without regard to case, a UTF-8 byte-order mark at the start
skipped and comment lines (";") left out of list sections (both as Wine
does, not Windows: the report marks where that matters), lines without "="
left out too, "<GROUp>" replaced by the group name, "," the only separator
of device ids."""
import codecs
import dataclasses
import re
import shutil
import subprocess
from pathlib import Path
from typing import Dict, List, Optional

from wine import versions
from wine.machine import host_path

SCRIPT_NAME = "SETUP32.INI"
DEFAULT_GROUP = "VELKA Technology Corp"
DEFAULT_DEVICE_IDS = "6E02"
PLACEHOLDER = "<GROUp>"
UTF8_BOM = b"\xef\xbb\xbf"
# The buffer a list section is read into, and that of [UnInstall]: a
# section whose lines, each with its terminator, fill it to two bytes short
# is skipped whole.
SECTION_CAPACITY = 2048
UNINSTALL_CAPACITY = 180
GROUP_NAME_CAPACITY = 200


def _as_latin1(error: UnicodeDecodeError):
    """A byte that the code page leaves undefined, read as Wine reads it
    (cp1252's 0x81 becomes U+0081)."""
    return "".join(map(chr, error.object[error.start : error.end])), error.end


def _from_latin1(error: UnicodeEncodeError):
    """The byte that _as_latin1 read as a character, given back."""
    return bytes(map(ord, error.object[error.start : error.end])), error.end


codecs.register_error("demo-as-latin1", _as_latin1)
codecs.register_error("demo-from-latin1", _from_latin1)


def decode(data: bytes, codec: str) -> str:
    """Text of the script in the machine's code page."""
    return data.decode(codec, errors="demo-as-latin1")


def encode(text: str, codec: str) -> bytes:
    """The bytes of a text that decode() gave, in the machine's code page;
    a character the code page lacks becomes "?"."""
    return "".join(c if ord(c) < 0x100 or c.encode(codec, errors="ignore") else "?"
                   for c in text).encode(codec, errors="demo-from-latin1")


@dataclasses.dataclass
class CopyLine:
    """One line of a driver-file section."""
    section: str
    line: str
    source: Optional[str]  # as written, None when the line names no destination
    destination: Optional[str]
    uses_group: bool  # the line holds "<GROUp>"


@dataclasses.dataclass
class Command:
    """One line of an Execute section: a program on the medium and its arguments."""
    line: str
    program: str  # relative to the start directory unless a full path

    @property
    def on_medium(self) -> bool:
        return not (len(self.program) > 1 and self.program[1] == ":")


@dataclasses.dataclass
class Section:
    """One section: its keyed lines as (key, value) in file order, and the
    lines as a section read returns them, comments among them."""
    name: str  # as written
    entries: List[tuple] = dataclasses.field(default_factory=list)
    lines: List[str] = dataclasses.field(default_factory=list)
    comments: int = 0


class Script:
    """The sections of a setup script, by lower-case name; None when the
    medium has no script. `bom_hides` is the section that a UTF-8
    byte-order mark glued to its header line hides from Windows (None when
    there is no mark, or the first line is no header)."""

    def __init__(self, sections: Optional[Dict[str, Section]], codec: str = "cp1252",
                 bom: bool = False, bom_hides: Optional[str] = None):
        self.by_name = sections
        self.codec = codec
        self.bom = bom
        self.bom_hides = bom_hides

    @classmethod
    def read(cls, medium: Path, codec: str) -> "Script":
        path = host_path(medium, SCRIPT_NAME)
        if not path.is_file():
            return cls(None, codec)
        data = path.read_bytes()
        bom = data.startswith(UTF8_BOM)
        # Wine reads a file with the mark as UTF-8; the mark itself it skips.
        text = data[len(UTF8_BOM):].decode("utf-8", errors="replace") if bom else \
            decode(data, codec)
        sections: Dict[str, Section] = {}
        current = None
        for raw in text.splitlines():
            line = raw.strip()
            if line.startswith("[") and "]" in line:
                name = line[1 : line.rindex("]")].strip()
                current = sections.setdefault(name.lower(), Section(name))
            elif current is not None and line:
                if line.startswith(";"):
                    current.comments += 1
                elif "=" in line:
                    key, _, value = line.partition("=")
                    current.entries.append((key.strip(), value.strip()))
                    line = f"{key.strip()}={value.strip()}"
                current.lines.append(line)
        # Windows reads the mark as part of the first line: a header there
        # is no header.
        first = text.splitlines()[0] if text else ""
        hides = first[1 : first.rindex("]")].strip().lower() \
            if bom and first.startswith("[") and "]" in first else None
        return cls(sections, codec, bom, hides)

    @property
    def found(self) -> bool:
        return self.by_name is not None

    @property
    def sections(self) -> Dict[str, List[tuple]]:
        return {name: section.entries for name, section in (self.by_name or {}).items()}

    def has(self, section: str, key: str) -> bool:
        entries = self.sections.get(section.lower(), [])
        return any(name.lower() == key.lower() for name, _ in entries)

    def size(self, section: str, with_comments: bool) -> int:
        """The bytes a section read returns, each line with its terminator,
        after "<GROUp>" is replaced: with its comment lines as Windows reads
        them, or without as Wine does."""
        found = (self.by_name or {}).get(section.lower())
        if found is None:
            return 0
        lines = [line for line in found.lines if with_comments or not line.startswith(";")]
        group = self.group
        text = "".join(line + "\0" for line in lines)
        if group:
            text = re.sub(re.escape(PLACEHOLDER), lambda _: group, text, flags=re.IGNORECASE)
        return len(encode(text, self.codec))

    def skipped_on_windows_only(self, section: str, capacity: int) -> bool:
        """Whether the section's comment lines, which Windows returns and
        Wine does not, make it too large on Windows alone."""
        return self.size(section, False) < capacity - 2 <= self.size(section, True)

    def first_line_is_comment(self, section: str) -> bool:
        found = (self.by_name or {}).get(section.lower())
        return bool(found and found.lines and found.lines[0].startswith(";"))

    def value(self, section: str, key: str, default: str) -> str:
        for name, value in self.sections.get(section.lower(), []):
            if name.lower() == key.lower():
                return value
        return default

    @property
    def group(self) -> str:
        """GroupName as the program holds it: cut to its buffer, the
        default when the key is missing, empty when its value is."""
        text = self.value("Display", "GroupName", DEFAULT_GROUP)
        return decode(encode(text, self.codec)[:GROUP_NAME_CAPACITY - 1], self.codec)

    @property
    def silent(self) -> bool:
        return self.value("Display", "bShow", "YES").upper() == "NO"

    @property
    def device_ids(self) -> List[str]:
        return [token for token in self.value("Display", "DeviceID", DEFAULT_DEVICE_IDS).split(",")
                if token]

    def written(self, section: str) -> List[str]:
        """The values of a list section's lines as written."""
        return [value for _, value in self.sections.get(section.lower(), [])]

    def substituted(self, line: str) -> str:
        """A list section's line as the program uses it: "<GROUp>", in any
        letter case, replaced by the group name unless that is empty."""
        group = self.group
        if not group:
            return line
        return re.sub(re.escape(PLACEHOLDER), lambda _: group, line, flags=re.IGNORECASE)

    def lines(self, section: str) -> List[str]:
        return [self.substituted(value) for value in self.written(section)]

    @staticmethod
    def file_sections(platform: str) -> List[str]:
        """The two sections of driver files: on Windows NT and 2000 the second
        names the ASPI files, on Windows 95 and 98 the setup information files."""
        version = versions.version(platform)
        second = "WinASPI32" if version.nt else "Inf File"
        return [f"{version.script_section} {part}" for part in ("Driver Files", second)]

    def copy_lines(self, platform: str) -> List[CopyLine]:
        found = []
        for section in self.file_sections(platform):
            for written in self.written(section):
                line = self.substituted(written)
                source, comma, destination = line.partition(",")
                found.append(CopyLine(section, line, source if comma else None,
                                      destination if comma else None,
                                      PLACEHOLDER.lower() in written.lower()))
        return found

    def commands(self, platform: str) -> List[Command]:
        section = f"{versions.version(platform).script_section} Execute"
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
