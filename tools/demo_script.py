"""What a medium's setup script says to one run of the demo, as the checker
tells it (tools/setup32-check --json): read as Wine reads it, which is what
the demo's machine does, and as Windows reads it, with where the two differ
(a UTF-8 byte-order mark, comment lines in list sections). The checker
reads the script with the program's own code, so the demo never restates
how the program reads it."""
import dataclasses
import json
import subprocess
from pathlib import Path
from typing import List, Optional

from wine.host import ROOT
from wine.versions import WINE_WINDOWS

CHECKER = ROOT / "tools" / "setup32-check"
CHECK_COULD_NOT_RUN = 3  # the checker's exit status when it cannot read the medium


@dataclasses.dataclass
class DriverFile:
    """A line of the run's driver-file sections, as the program parses it."""
    section: str
    line: int
    text: str  # "<GROUp>" replaced
    source: Optional[str]  # resolved; None when the line does not parse
    destination: Optional[str]
    source_found: bool
    uses_group: bool


@dataclasses.dataclass
class Program:
    """A program the run starts, and the file that starting it looks for."""
    line: Optional[int]  # the Execute line; None for the program-group converter
    command_line: str
    file: str
    found: bool


@dataclasses.dataclass
class Reading:
    """What the program reads of the script in one run."""
    found: bool
    group: str
    group_line: Optional[int]  # None: the default group name
    device_ids: List[str]
    silent: bool
    driver_files: List[DriverFile]
    programs: List[Program]
    device_keys: List[str]  # what the device clean-up removes: keys, then files
    driver_database: List[str]
    product_key: Optional[str]
    uninstall_key: Optional[str]

    @classmethod
    def of(cls, data: dict) -> "Reading":
        return cls(data["found"], data["groupName"], data["groupNameLine"], data["deviceIds"],
                   data["silent"],
                   [DriverFile(f["section"], f["line"], f["text"], f["source"], f["destination"],
                               f["sourceFound"], f["usesGroup"]) for f in data["driverFiles"]],
                   [Program(p["line"], p["commandLine"], p["file"], p["found"])
                    for p in data["programs"]],
                   data["deviceKeys"], data["driverDatabase"], data["productKey"],
                   data["uninstallKey"])

    @classmethod
    def nothing(cls) -> "Reading":
        return cls(False, "", None, [], False, [], [], [], [], None, None)


@dataclasses.dataclass
class CommentedSection:
    """A list section holding comment lines, which Windows returns in a
    section read and Wine leaves out."""
    name: str
    comments: int
    capacity: int  # of the program's buffer for it
    skipped_on_windows_only: bool  # with its comment lines it does not fit
    first_line_comment: bool
    uninstall_entry: bool  # it is the section the uninstall entry is read from


@dataclasses.dataclass
class Script:
    wine: Reading  # what the demo's machine reads
    windows: Reading  # what Windows reads
    windows_services: List[str]  # the services the install registers on Windows
    byte_order_mark: bool
    hidden_section: Optional[str]  # the section the mark hides from Windows
    commented: List[CommentedSection]
    problem: Optional[str] = None  # why the checker could not read the medium

    @classmethod
    def of_run(cls, run: dict) -> "Script":
        """The script of one run of the checker's JSON report."""
        wine = run["wine"]
        return cls(Reading.of(wine["script"]), Reading.of(run["script"]),
                   [service["key"] for service in run["plan"]["services"]],
                   wine["byteOrderMark"], wine["hiddenSection"],
                   [CommentedSection(s["name"], s["comments"], s["capacity"],
                                     s["skippedOnWindowsOnly"], s["firstLineComment"],
                                     s["uninstallEntry"]) for s in wine["commentedSections"]])

    @classmethod
    def unread(cls, problem: str) -> "Script":
        return cls(Reading.nothing(), Reading.nothing(), [], False, None, [], problem)

    @property
    def found(self) -> bool:
        return self.wine.found


def ask_checker(medium: Path, platform: str, language: str, start_dir: str,
                windows: str = WINE_WINDOWS) -> Script:
    """What the script of the laid-out medium says to a run of the platform
    and language, the medium in `start_dir` (A:\\ or C:\\DRV\\), on a
    machine with Windows in `windows`, where a Wine machine keeps it."""
    directory = start_dir if len(start_dir) <= 3 else start_dir.rstrip("\\")
    done = subprocess.run([str(CHECKER), str(medium), "--platform", platform,
                           "--language", language, "--start-dir", directory,
                           "--windows-dir", windows, "--json"],
                          capture_output=True, encoding="utf-8", errors="replace")
    if done.returncode == CHECK_COULD_NOT_RUN:
        said = [line for line in done.stderr.splitlines() if line.startswith("setup32-check:")]
        return Script.unread(said[0].split(": ", 1)[1] if said else done.stderr.strip())
    return Script.of_run(json.loads(done.stdout)["runs"][0])
