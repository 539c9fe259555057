#!/usr/bin/env python3
"""End-to-end runs of the real setup32.exe under Wine.

Every scenario gets a Wine machine of its own, copied from one template
prefix made per run and set to the scenario's Windows version and locale.
The program is started in the medium's directory and driven with the probe
(tests/e2e/programs/probe.cpp); the scenario then checks what it saw on
screen and what the install left in files and in the registry.

Usage: tests/e2e/run [--list] [--keep] [--reuse-template] [--jobs N] [SCENARIO...]
"""
import argparse
import concurrent.futures
import dataclasses
import os
import queue
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import traceback
from pathlib import Path
from typing import Callable, Dict, Iterator, List, Optional, Tuple

import texts

ROOT = Path(__file__).resolve().parents[2]
WINEBOX = ROOT / "tools" / "winebox"
FOOTPRINT = ROOT / "tools" / "check-footprint"


def wine_arch() -> subprocess.CompletedProcess:
    """`winebox arch`: win32, or win64 on a host whose kernel runs no
    32-bit code; on failure, what to install in one line on stderr."""
    return subprocess.run([str(WINEBOX), "arch"], capture_output=True, text=True)


WINE_ARCH = wine_arch()
# The build whose programs run in the machines, its tests/ holding the test
# programs: the shipping i686 one, unless the host runs only 64-bit machines.
BUILD = ROOT / "build" / ("x86_64" if WINE_ARCH.stdout.strip() == "win64" else "i686")
SHIPPING = BUILD.name == "i686"
# What a run that cannot start the shipping file says, in one line.
STAND_IN_NOTE = ("this kernel runs no 32-bit code (boot it with ia32_emulation=on): running the "
                 "x86_64 build in 64-bit Wine machines, not the shipping file")
WORK = ROOT / "build" / "e2e"
PROGRAM_NAME = "setup32.exe"
PROCESS_TRACE_CHANNELS = "+process"


class CheckFailed(Exception):
    """A scenario's expectation that did not hold."""


# Run as the main program, this module is also the "harness" that the
# scenario modules import, so that their CheckFailed is the one caught here.
if __name__ == "__main__":
    sys.modules.setdefault("harness", sys.modules[__name__])


def expect(condition, what):
    if not condition:
        raise CheckFailed(what)


def expect_equal(actual, expected, what):
    if actual != expected:
        raise CheckFailed(f"{what}: expected {expected!r}, got {actual!r}")


# --- Wine machines -----------------------------------------------------------


def winebox(*args, timeout=120, display=None, **kwargs):
    env = dict(os.environ, DISPLAY=display) if display else None
    return subprocess.run([str(WINEBOX), *map(str, args)], timeout=timeout, check=True, env=env,
                          **kwargs)


def host_path(root: Path, relative: str) -> Path:
    """The host file behind a Windows-style relative path, matching names
    without regard to case as Windows does; missing parts keep their case."""
    path = root
    for part in filter(None, relative.replace("\\", "/").split("/")):
        match = None
        if path.is_dir():
            match = next((p for p in path.iterdir() if p.name.lower() == part.lower()), None)
        path = match or path / part
    return path


class Machine:
    """One Wine machine made with tools/winebox."""

    def __init__(self, path: Path, locale: str, display: Optional[str] = None):
        self.path = path
        self.codec = texts.CODE_PAGES[locale]
        self.display = display

    def file(self, windows_path: str) -> Path:
        """The host file of a path on drive C: such as C:\\WINDOWS\\INF\\X.INF."""
        drive, _, rest = windows_path.partition(":")
        expect(drive.upper() == "C", f"{windows_path} is not on drive C:")
        return host_path(self.path / "drive_c", rest)

    def run(self, program, *args, cwd=None, timeout=60):
        """Runs a program to its end. Its output goes through files, not
        pipes: Wine's own processes started on the way may hold a pipe open
        long after the program has ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = subprocess.run(self._command(program, args, cwd), stdout=out, stderr=err,
                                    timeout=timeout, env=self._env())
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(result.args, result.returncode, out.read(), err.read())

    def start(self, program, *args, cwd=None, trace: Optional[Path] = None):
        """Starts a program; with a trace, Wine's process trace of it and of
        the programs it starts goes to that file."""
        if trace is None:
            return subprocess.Popen(self._command(program, args, cwd), stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL, env=self._env())
        env = dict(self._env() or os.environ, WINEDEBUG=PROCESS_TRACE_CHANNELS)
        with open(trace, "wb") as stream:
            return subprocess.Popen(self._command(program, args, cwd), stdout=subprocess.DEVNULL,
                                    stderr=stream, env=env)

    def map_drive(self, letter, host_directory: Path):
        winebox("drive", self.path, letter, host_directory)

    def stop(self):
        winebox("stop", self.path)

    def registry(self, hive: str) -> "Registry":
        """HKCU or HKLM as saved in the prefix; stop the machine first."""
        name = {"HKCU": "user.reg", "HKLM": "system.reg"}[hive]
        return Registry.parse((self.path / name).read_text(encoding="utf-8", errors="replace"))

    def _env(self):
        return dict(os.environ, DISPLAY=self.display) if self.display else None

    def _command(self, program, args, cwd):
        command = [str(WINEBOX), "run", str(self.path)]
        if cwd:
            command += ["--cwd", cwd]
        return command + ["--", str(program), *map(str, args)]


# The Wine registry file of each root.
HIVES = {"HKEY_CURRENT_USER": "user.reg", "HKEY_LOCAL_MACHINE": "system.reg"}


class Registry:
    """The keys and values of a Wine registry file (user.reg or system.reg),
    looked up without regard to case."""

    _KEY = re.compile(r"^\[(.*)\](?: \d+)?$")
    _VALUE = re.compile(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$')

    def __init__(self, keys: Dict[str, Dict[str, object]], names: Dict[str, Dict[str, str]]):
        self.keys = keys
        self.names = names  # per key, the value names as written, by their lower-case form

    @classmethod
    def entries(cls, text: str) -> Iterator[Tuple[str, Optional[str], Optional[str]]]:
        """The file's keys and values in order, a long value's continued
        lines joined: (key path, None, None) for a key, and (key path, value
        name, "" for the default value, data as written) for a value."""
        key = None
        for line in re.sub(r"\\\n\s*", "", text).splitlines():
            found = cls._KEY.match(line)
            if found:
                key = cls._unquote(found.group(1))
                yield key, None, None
                continue
            value = cls._VALUE.match(line)
            if value and key is not None:
                name = "" if value.group(1) == "@" else cls._unquote(value.group(1)[1:-1])
                yield key, name, value.group(2)

    @classmethod
    def parse(cls, text: str) -> "Registry":
        keys: Dict[str, Dict[str, object]] = {}
        names: Dict[str, Dict[str, str]] = {}
        for path, name, data in cls.entries(text):
            values = keys.setdefault(path.lower(), {})
            written = names.setdefault(path.lower(), {})
            if name is not None:
                values[name.lower()] = cls._data(data)
                written[name.lower()] = name
        return cls(keys, names)

    def values(self, key: str) -> Optional[Dict[str, object]]:
        """The key's values by lower-case name; None when there is no such key."""
        return self.keys.get(key.lower())

    def values_as_written(self, key: str) -> Optional[Dict[str, object]]:
        """The key's values by their names as written."""
        values = self.values(key)
        if values is None:
            return None
        return {self.names[key.lower()][name]: data for name, data in values.items()}

    @staticmethod
    def _unquote(text: str) -> str:
        def replace(match):
            escaped = match.group(1)
            if escaped[0] == "x":
                return chr(int(escaped[1:], 16))
            return {"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(escaped, escaped)

        return re.sub(r"\\(x[0-9a-fA-F]{1,4}|.)", replace, text)

    @classmethod
    def _data(cls, data: str):
        if data.startswith('"') and data.endswith('"'):
            return cls._unquote(data[1:-1])
        if data.startswith("dword:"):
            return int(data[6:], 16)
        return data


# --- the probe ---------------------------------------------------------------


def unescape(field: bytes) -> bytes:
    """Undoes the probe's escapes of \\ tab, line feed and carriage return."""
    replacements = {b"\\": b"\\", b"t": b"\t", b"n": b"\n", b"r": b"\r"}
    out = bytearray()
    i = 0
    while i < len(field):
        if field[i : i + 1] == b"\\" and i + 1 < len(field):
            out += replacements.get(field[i + 1 : i + 2], field[i : i + 2])
            i += 2
        else:
            out += field[i : i + 1]
            i += 1
    return bytes(out)


def numbers(fields):
    """Integers, or None where the probe could not tell ("?")."""
    return tuple(None if f == "?" else int(f) for f in fields)


@dataclasses.dataclass
class Control:
    id: int
    cls: str
    text: str
    units: tuple  # x, y, width, height in dialog units
    rect: tuple  # left, top, width, height in pixels of the dialog's client area
    style: int
    exstyle: int

    @property
    def visible(self):
        return bool(self.style & 0x10000000)

    @property
    def enabled(self):
        return not self.style & 0x08000000


@dataclasses.dataclass
class WindowInfo:
    handle: str
    cls: str
    title: str
    style: int
    exstyle: int
    client_units: tuple  # width, height in dialog units
    frame: tuple  # left, top, width, height on the screen
    screen: tuple  # width, height
    system_font_height: Optional[int]  # of the window's display contexts


class Probe:
    """The probe program run inside one machine."""

    def __init__(self, machine: Machine, exe: Path):
        self.machine = machine
        self.exe = exe

    # Commands that change nothing in the window they look at: when one of
    # them fails it is asked once more, since a Wine process now and then
    # fails to start or to reach the other process under load. Actions such
    # as a key press are never repeated.
    OBSERVATIONS = {"windows", "info", "controls", "font", "text", "progress", "box", "version"}

    def rows(self, *args, allow_missing=False) -> Optional[List[List[str]]]:
        result = self.machine.run(self.exe, *args, timeout=60)
        if result.returncode == 1 and allow_missing:
            return None
        if result.returncode != 0 and args[0] in self.OBSERVATIONS:
            first = self._failure(args, result)
            time.sleep(0.5)
            result = self.machine.run(self.exe, *args, timeout=60)
            if result.returncode != 0:
                raise CheckFailed(f"{self._failure(args, result)} (first try: {first})")
        if result.returncode != 0:
            raise CheckFailed(self._failure(args, result))
        return [[unescape(f).decode(self.machine.codec, errors="replace") for f in line.split(b"\t")]
                for line in result.stdout.split(b"\n") if line]

    @staticmethod
    def _failure(args, result) -> str:
        stderr = result.stderr.decode(errors="replace").strip().splitlines()
        return f"probe {' '.join(map(str, args))}: {stderr[-1] if stderr else f'exit code {result.returncode}'}"

    def windows(self) -> List[List[str]]:
        return self.rows("windows")

    def wait(self, title, seconds) -> bool:
        return self.rows("wait", title, seconds, allow_missing=True) is not None

    def gone(self, title, seconds) -> bool:
        return self.rows("gone", title, seconds, allow_missing=True) is not None

    def info(self, title) -> WindowInfo:
        f = self.rows("info", title)[0]
        return WindowInfo(f[0], f[1], f[2], int(f[3], 16), int(f[4], 16), numbers(f[7:9]),
                          numbers(f[13:17]), numbers(f[17:19]), numbers(f[19:20])[0])

    def controls(self, title) -> List[Control]:
        return [Control(int(f[0]), f[1], f[2], numbers(f[3:7]), numbers(f[7:11]), int(f[11], 16),
                        int(f[12], 16)) for f in self.rows("controls", title)]

    def font(self, title, control_id) -> tuple:
        """Face and height of a control's font (0: the window's own)."""
        face, height = self.rows("font", title, control_id)[0]
        return face, int(height)

    def text(self, title, control_id) -> str:
        rows = self.rows("text", title, control_id)
        return rows[0][0] if rows else ""  # an empty text is an empty line

    def progress(self, title) -> tuple:
        return tuple(int(v) for v in self.rows("progress", title)[0])

    def press(self, title, control_id):
        self.rows("press", title, control_id)

    def key(self, title, virtual_key):
        self.rows("key", title, hex(virtual_key))

    def syscommand(self, title, command):
        self.rows("syscommand", title, hex(command))

    def answer(self, button, seconds) -> tuple:
        """Answers the open message box; its caption and text."""
        caption, text = self.rows("answer", button, seconds)[0]
        return caption, text

    def version(self, windows_path) -> Dict[str, str]:
        return {f[0]: f[1] for f in self.rows("version", windows_path)}


# --- a scenario's run ----------------------------------------------------------


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


class Run:
    """One scenario under way: its machine, the running program and the probe."""

    def __init__(self, scenario: Scenario, machine: Machine, probe: Probe, display: str):
        self.scenario = scenario
        self.machine = machine
        self.probe = probe
        self.display = display
        self.language = scenario.locale
        self.program: Optional[subprocess.Popen] = None
        self.medium_dir = WORK / "media" / scenario.name
        self.process_trace: Optional[Path] = None  # where the program's start is traced

    def msg(self, message_id) -> str:
        return texts.msg(message_id, self.language)

    def medium_file(self, name) -> Path:
        return host_path(self.medium_dir, name)

    def start(self):
        self.program = self.machine.start(self.scenario.medium + PROGRAM_NAME, cwd=self.scenario.medium,
                                          trace=self.process_trace)

    def wait_window(self, title, seconds=30):
        if not self.probe.wait(title, seconds):
            ended = self.program.poll()
            raise CheckFailed(f"no window {title!r} within {seconds} s" +
                              (f" (the program ended with code {ended})" if ended is not None else ""))

    def answer(self, button, caption, text, seconds=30):
        """Answers the open message box after checking its caption and text."""
        actual = self.probe.answer(button, seconds)
        expect_equal(actual, (caption, text), "message box (caption, text)")

    def wait_for_end(self, seconds=30) -> int:
        """Waits for the program to end; its exit code."""
        try:
            return self.program.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.shot("timeout")
            raise CheckFailed(f"the program did not end within {seconds} s")

    def finish(self, seconds=30) -> int:
        """Waits for the program to end, then stops the machine so that its
        registry is saved; the program's exit code."""
        code = self.wait_for_end(seconds)
        self.machine.stop()
        return code

    def still_running(self) -> bool:
        return self.program.poll() is None

    def shot(self, label, title=None, path: Optional[Path] = None) -> Path:
        """A screenshot of the display, or of the window with that title
        alone; into build/e2e/shots unless a path is given."""
        if path is None:
            path = WORK / "shots" / f"{self.scenario.name}-{label}.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        crop = []
        if title is not None:
            left, top, width, height = self.probe.info(title).frame
            crop = ["-crop", f"{width}x{height}+{left}+{top}", "+repage"]
        subprocess.run(["import", "-display", self.display, "-window", "root", *crop, str(path)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return path

    # A program of the session that Windows asks to end when a restart is
    # asked for (tests/e2e/programs/session_witness.cpp). Wine carries out
    # ExitWindowsEx(EWX_REBOOT) by running "wineboot --end-session", which
    # sends WM_QUERYENDSESSION and WM_ENDSESSION to the top-level windows of
    # the other programs and then ends them; the machine itself stays up.
    WITNESS_DIR = "C:\\WITNESS"

    def start_witness(self):
        witness = self.machine.file(self.WITNESS_DIR)
        witness.mkdir(parents=True, exist_ok=True)
        shutil.copy2(BUILD / "tests" / "session_witness.exe", witness / "session_witness.exe")
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


def wait_until(condition, seconds, interval=0.2):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(interval)
    return True


def make_machine(scenario: Scenario, template: Path, machine_dir: Path, display: str):
    """A new machine for the scenario, set to its version and locale."""
    shutil.rmtree(machine_dir, ignore_errors=True)
    machine_dir.parent.mkdir(parents=True, exist_ok=True)
    winebox("new", template, machine_dir, "--version", scenario.version, "--locale",
            scenario.locale, display=display, capture_output=True)


def run_scenario(scenario: Scenario, template: Path, display: str, keep: bool) -> Optional[str]:
    """Runs one scenario; None when it passed, else what went wrong. Unless
    the scenario opts out, what the program did is then held against the
    checker's plan of the same install."""
    import plan_checks  # here, not above: it imports this module
    machine_dir = WORK / "machines" / scenario.name
    try:
        make_machine(scenario, template, machine_dir, display)
    except subprocess.CalledProcessError as error:
        return f"no Wine machine: {error}\n{(error.stderr or b'').decode(errors='replace')}"
    machine = Machine(machine_dir, scenario.locale, display)
    run = Run(scenario, machine, Probe(machine, BUILD / "tests" / "probe.exe"), display)
    try:
        lay_out_medium(run)
        if scenario.prepare:
            scenario.prepare(run)
        planned = plan_checks.plan(run)
        run.start()
        scenario.steps(run)
        if planned:
            plan_checks.compare(run, planned)
        return None
    except CheckFailed as failure:
        return str(failure)
    except Exception:  # a fault of the harness or of the machine
        return traceback.format_exc()
    finally:
        if run.program and run.program.poll() is None:
            run.program.kill()
        machine.stop()
        if not keep:
            shutil.rmtree(machine_dir, ignore_errors=True)


def lay_out_medium(run: Run):
    """The sample medium with the program beside the setup script, where the
    scenario wants it (Scenario.medium)."""
    shutil.rmtree(run.medium_dir, ignore_errors=True)
    shutil.copytree(ROOT / "examples" / "medium", run.medium_dir)
    shutil.copy2(BUILD / "src" / "app" / "win32" / PROGRAM_NAME, run.medium_dir / PROGRAM_NAME)
    drive, _, directory = run.scenario.medium.partition(":")
    directory = directory.strip("\\")
    if drive.upper() == "C":
        target = run.machine.file(run.scenario.medium)
    elif not directory:
        run.machine.map_drive(drive, run.medium_dir)
        return
    else:
        drive_root = run.machine.path / f"drive_{drive.lower()}"
        drive_root.mkdir(exist_ok=True)
        run.machine.map_drive(drive, drive_root)
        target = host_path(drive_root, directory)
    shutil.rmtree(target, ignore_errors=True)
    target.parent.mkdir(parents=True, exist_ok=True)
    target.symlink_to(run.medium_dir, target_is_directory=True)


def usable_template(template: Path) -> bool:
    """Whether a template made earlier is there and is of the kind of
    machine this host runs (one left from a run of the other kind cannot
    serve)."""
    registry = template / "system.reg"
    arch = WINE_ARCH.stdout.strip()
    return registry.exists() and f"#arch={arch}" in registry.read_text(errors="replace")[:4096]


def make_template(template: Path, display: str):
    """A template machine whose windows live on a Wine desktop of the
    screen's size, which draws captions and frames without a window manager,
    so that screenshots show whole dialogs."""
    winebox("template", template, timeout=300, display=display)
    for key, name, data in [("HKCU\\Software\\Wine\\Explorer", "Desktop", "Default"),
                            ("HKCU\\Software\\Wine\\Explorer\\Desktops", "Default", "1024x768")]:
        winebox("run", template, "--", "reg", "add", key, "/v", name, "/d", data, "/f",
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, display=display)
    winebox("stop", template)


def all_scenarios() -> List[Scenario]:
    """The scenarios of every scenarios*.py module beside the harness, in
    module order."""
    import importlib
    found = []
    for module in sorted(Path(__file__).parent.glob("scenarios*.py")):
        found += importlib.import_module(module.stem).ALL
    return found


class Displays:
    """The X displays the scenarios run on: the caller's $DISPLAY for a run
    one scenario at a time, else one Xvfb of our own for each scenario that
    runs at the same time, so that their Wine desktops do not overlap (and
    always our own with own=True)."""

    def __init__(self, jobs: int, own: bool = False):
        shared = os.environ.get("DISPLAY") if jobs == 1 and not own else None
        self._started = []
        self.free = queue.Queue()
        for _ in range(jobs):
            display = shared or self._start_xvfb()
            self.free.put(display)

    def _start_xvfb(self) -> str:
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        display = subprocess.run([str(WINEBOX), "display"], capture_output=True, text=True, env=env,
                                 check=True, timeout=60).stdout.strip()
        self._started.append(display)
        return display

    def close(self):
        for display in self._started:
            winebox("display-stop", display)


def run_all(chosen: List[Scenario], template: Path, displays: Displays, jobs: int, keep: bool) -> int:
    """Runs the scenarios, `jobs` at a time, printing each result as it
    comes; the number that failed."""
    printing = threading.Lock()

    def one(scenario: Scenario) -> bool:
        display = displays.free.get()
        try:
            began = time.monotonic()
            problem = run_scenario(scenario, template, display, keep)
            seconds = time.monotonic() - began
        finally:
            displays.free.put(display)
        with printing:
            print(f"{'ok  ' if problem is None else 'FAIL'} {scenario.name} ({seconds:.1f} s)", flush=True)
            if problem is not None:
                print("     " + problem.rstrip().replace("\n", "\n     "), flush=True)
        return problem is None

    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        passed = list(pool.map(one, chosen))
    return passed.count(False)


def missing_prerequisite() -> Optional[str]:
    """What keeps this host from running the scenarios, in one line; None
    when nothing does. Where the machines are 32-bit ones, the program must
    be the shipping file."""
    if WINE_ARCH.returncode != 0:
        return WINE_ARCH.stderr.strip()
    for needed in (BUILD / "src" / "app" / "win32" / PROGRAM_NAME, BUILD / "tests" / "probe.exe"):
        if not needed.exists():
            return f"{needed} is missing: build the {BUILD.name} preset first (tools/build {BUILD.name})"
    import plan_checks
    if not any(checker.exists() for checker in plan_checks.CHECKERS):
        return "setup32-check is missing: build the native preset first (tools/build native)"
    return shipping_file_problem(BUILD / "src" / "app" / "win32" / PROGRAM_NAME) if SHIPPING else None




def shipping_file_problem(exe: Path) -> Optional[str]:
    """Why exe is not the file that ships (its size or imports differ from
    what tools/check-footprint holds the shipping file to); None when it is."""
    check = subprocess.run([str(FOOTPRINT), str(exe)], capture_output=True, text=True)
    if check.returncode == 0:
        return None
    complaints = [line.removeprefix("check-footprint: ") for line in check.stderr.splitlines() if line]
    return f"{exe} is not the shipping file: " + "; ".join(complaints)


def main():
    every = all_scenarios()

    parser = argparse.ArgumentParser(description="End-to-end runs of setup32.exe under Wine.")
    parser.add_argument("names", nargs="*", help="scenarios to run (all by default)")
    parser.add_argument("--list", action="store_true", help="list the scenarios and stop")
    parser.add_argument("--keep", action="store_true", help="keep the machines in build/e2e")
    parser.add_argument("--reuse-template", action="store_true",
                        help="use build/e2e/template when it exists instead of making it afresh")
    parser.add_argument("--jobs", "-j", type=int, default=2,
                        help="scenarios run at the same time, each on an Xvfb of its own (default 2)")
    args = parser.parse_args()

    chosen = [s for s in every if not args.names or s.name in args.names]
    if args.list:
        for s in every:
            print(f"{s.name}\t{s.version}\t{s.locale}\t{s.medium}")
        return 0
    unknown = set(args.names) - {s.name for s in every}
    if unknown:
        parser.error(f"unknown scenarios: {', '.join(sorted(unknown))}")
    duplicates = {s.name for s in every if [t.name for t in every].count(s.name) > 1}
    if duplicates:
        parser.error(f"scenario names used twice: {', '.join(sorted(duplicates))}")
    problem = missing_prerequisite()
    if problem:
        print(f"e2e: {problem}", file=sys.stderr)
        return 2
    if not SHIPPING:
        print(f"e2e: {STAND_IN_NOTE}", flush=True)

    WORK.mkdir(parents=True, exist_ok=True)
    jobs = max(1, min(args.jobs, len(chosen)))
    began = time.monotonic()
    displays = Displays(jobs)
    try:
        template = WORK / "template"
        if not (args.reuse_template and usable_template(template)):
            shutil.rmtree(template, ignore_errors=True)
            display = displays.free.get()
            make_template(template, display)
            displays.free.put(display)
        failures = run_all(chosen, template, displays, jobs, args.keep)
        print(f"e2e: {len(chosen) - failures} passed, {failures} failed "
              f"({time.monotonic() - began:.0f} s, {jobs} at a time)")
        return 1 if failures else 0
    finally:
        displays.close()


if __name__ == "__main__":
    sys.exit(main())
