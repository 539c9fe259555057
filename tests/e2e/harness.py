"""The scenario model of the end-to-end tests: a scenario names the Windows
version, the locale and the start directory of its run, lays out the
medium and drives the real setup32.exe in a Wine machine of its own
(wine.session); its checks raise CheckFailed. tests/e2e/runner.py runs
the scenarios."""
import dataclasses
import shutil
import time
from typing import Callable, List, Optional

from wine import host
from wine.expect import CheckFailed, expect, expect_equal, wait_until  # noqa: F401 (for the scenarios)
from wine.host import PROGRAM_NAME, ROOT
from wine.machine import HIVES, Machine, Registry  # noqa: F401 (for the scenarios)
from wine.probe import Probe
from wine.session import Session

WORK = ROOT / "build" / "e2e"


@dataclasses.dataclass
class Scenario:
    name: str
    version: str  # win95, win98, nt40 or win2k
    locale: str  # en, zh or ja
    steps: Callable[["Run"], None]
    # The directory of the program and its medium: a drive root such as A:\
    # (the drive is mapped onto the medium) or a directory such as C:\MEDIUM\
    # or D:\DRV\ (on a drive other than C: the drive is made for it).
    medium: str = "C:\\MEDIUM\\"
    prepare: Optional[Callable[["Run"], None]] = None  # before the program starts
    # Why the run is not held against the checker's plan (plan_checks.py);
    # empty: it is.
    unplanned: str = ""


class Run(Session):
    """One scenario under way: its machine, the running program and the probe."""

    def __init__(self, scenario: Scenario, machine: Machine, display: str):
        super().__init__(scenario.name, machine, Probe(machine, host.test_program("probe.exe")),
                         display, scenario.version, scenario.medium,
                         WORK / "media" / scenario.name, WORK / "shots")
        self.scenario = scenario

    # A program of the session that Windows asks to end when a restart is
    # asked for (tests/e2e/programs/session_witness.cpp). Wine carries out
    # ExitWindowsEx(EWX_REBOOT) by running "wineboot --end-session", which
    # sends WM_QUERYENDSESSION and WM_ENDSESSION to the top-level windows of
    # the other programs and then ends them; the machine itself stays up.
    WITNESS_DIR = "C:\\WITNESS"

    def start_witness(self):
        witness = self.machine.file(self.WITNESS_DIR)
        witness.mkdir(parents=True, exist_ok=True)
        shutil.copy2(host.test_program("session_witness.exe"), witness / "session_witness.exe")
        self.machine.start(self.WITNESS_DIR + "\\session_witness.exe")
        expect(wait_until(lambda: self.session_log()[:1] == ["ready"], 30),
               "the session witness did not start")

    def session_log(self) -> List[str]:
        log = self.machine.file(self.WITNESS_DIR + "\\SESSION.LOG")
        return log.read_text(encoding="ascii").splitlines() if log.exists() else []

    RESTART = ["ready", "query 0", "end 1 0"]

    def restart_requested(self, expected: bool) -> bool:
        """Whether the session was ended for a restart (not a log-off) since
        the witness started: it was asked WM_QUERYENDSESSION without
        ENDSESSION_LOGOFF and then told WM_ENDSESSION TRUE. Wine ends the
        session a moment after the program asked, so this waits for the
        expected answer: until the witness has heard both messages, or a
        short while for them not to come."""
        if expected:
            wait_until(lambda: len(self.session_log()) >= len(self.RESTART), 15)
        else:
            time.sleep(2)
        return self.session_log() == self.RESTART



def lay_out_medium(run: Run):
    """The sample medium with the program beside the setup script, where the
    scenario wants it (Scenario.medium)."""
    shutil.rmtree(run.medium_dir, ignore_errors=True)
    shutil.copytree(ROOT / "examples" / "medium", run.medium_dir)
    shutil.copy2(host.program(), run.medium_dir / PROGRAM_NAME)
    run.place_medium()
