"""The Windows versions a machine can report, read from the one table the
C++ sources compile in too (src/platform/windows_versions.tsv)."""
import dataclasses
import functools
from pathlib import Path
from typing import Dict

TABLE = Path(__file__).resolve().parents[2] / "src" / "platform" / "windows_versions.tsv"
# A Wine machine keeps Windows in this directory whatever version it reports.
WINE_WINDOWS = "C:\\windows"


@dataclasses.dataclass(frozen=True)
class WindowsVersion:
    id: str  # win95, win98, nt40, win2k
    name: str  # Windows 95
    get_version: int  # what GetVersion returns
    platform_code: int
    family: str
    script_section: str  # the prefix of the script's sections for this version: Win95
    windows_dir: str  # of a fresh machine of this version: C:\WINDOWS
    system_dir: str  # the system folder in the Windows directory: SYSTEM

    @property
    def nt(self) -> bool:
        return self.family.lower() == "nt"


class TableError(ValueError):
    """The table is not as its readers expect."""


def parse(text: str) -> Dict[str, WindowsVersion]:
    """The versions by id, in the table's order: comment lines (#) and
    blank lines left out, the first other line naming the columns."""
    lines = [line for line in text.splitlines() if line.strip() and not line.startswith("#")]
    if not lines:
        raise TableError("no header line")
    header = lines[0].split("\t")
    fields = [field.name for field in dataclasses.fields(WindowsVersion)]
    missing = [name for name in fields if name not in header]
    if missing:
        raise TableError(f"no column {', '.join(missing)}")
    found: Dict[str, WindowsVersion] = {}
    for number, line in enumerate(lines[1:], start=2):
        cells = line.split("\t")
        if len(cells) != len(header):
            raise TableError(f"row {number}: {len(cells)} cells for {len(header)} columns")
        row = dict(zip(header, cells))
        values = {name: row[name] for name in fields}
        values["get_version"] = int(values["get_version"], 0)
        values["platform_code"] = int(values["platform_code"], 0)
        found[values["id"]] = WindowsVersion(**values)
    return found


@functools.lru_cache(maxsize=None)
def versions() -> Dict[str, WindowsVersion]:
    return parse(TABLE.read_text(encoding="utf-8"))


def version(version_id: str) -> WindowsVersion:
    return versions()[version_id]
