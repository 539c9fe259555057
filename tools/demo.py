#!/usr/bin/env python3
r"""Installs a medium (examples/medium unless --medium names another) with
setup32.exe in a new Wine machine and reports what the install did, read
from the machine itself: files and registry before and after, CONFIG.SYS,
the programs started (Wine's +process trace) and every message box.

With a display ($DISPLAY) the setup's dialogs appear on it and you press
Start and answer its questions yourself; --auto presses Start and answers
the questions as --answers says. Without a display, or with one that does
not answer, the demo runs on a virtual one of its own (Xvfb), always with
--auto, and keeps a screenshot of each dialog and message box.

The machine is the one that examples/machine describes for the platform,
as the checker's is: the medium in its start directory (drive A:, as a
floppy disk would be) and its CONFIG.SYS. Its Windows directory is Wine's
C:\windows, which a Wine machine cannot move: where examples/machine has
Windows elsewhere (C:\WINNT on NT 4.0 and 2000), the report says so. It
has the adapter too: an enumeration key for each device id of the script
and the two driver database files. Two stand-ins take the place of
programs that Wine and the medium lack: the program-group converter,
which only keeps the group script it was given, and a small test program
for each program that an Execute line names and the medium does not
hold."""
import argparse
import configparser
import contextlib
import dataclasses
import json
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path
from typing import Dict, List, Optional, Tuple

import demo_medium
import demo_script
from demo_report import Box, Build, build_report, text
from wine import host, versions
from wine.displays import Displays
from wine.expect import CheckFailed
from wine.host import PROGRAM_NAME, ROOT, WINEBOX, winebox
from wine.machine import PROCESS_TRACE_CHANNELS, Machine, make_template, new_machine, \
    usable_template
from wine.probe import Probe
from wine.session import Session
from wine.snapshot import Snapshot
from wine.versions import WINE_WINDOWS

DEMO = ROOT / "build" / "demo"
LANGUAGES = {"en": "English", "zh": "Traditional Chinese", "ja": "Japanese"}
# The machine the checker starts from too: its start directory, its Windows
# directory and, beside it, its CONFIG.SYS.
MACHINE = ROOT / "examples" / "machine"
QUESTIONS = ("retry", "cancel", "restart")
YES, NO, OK = 6, 7, 1
EXIT = 2  # the main dialog's Exit button
WS_VISIBLE = 0x10000000
MAIN_DIALOG_IDLE = 5  # seconds without a box before a stopped install is taken as ended
DISPLAY_ANSWER = 10  # seconds a display has to answer
REPORT = DEMO / "report.txt"  # the last run's report, as printed


def say(text):
    print(f"demo: {text}", flush=True)


@dataclasses.dataclass
class MachineDescription:
    start_dir: str  # ends in a backslash: A:\ or C:\DRV\
    windows: str
    config_sys: bytes

    @classmethod
    def read(cls, platform: str, directory: Path = MACHINE) -> "MachineDescription":
        """The machine of `platform`: the keys of its own section of
        machine.ini, else of [Machine], which the four share."""
        ini = configparser.ConfigParser()
        ini.read(directory / "machine.ini", encoding="ascii")

        def value(key: str) -> str:
            return ini.get(platform, key, fallback=None) or ini.get("Machine", key)
        return cls(value("StartDir").rstrip("\\") + "\\", value("WindowsDir"),
                   (directory / "CONFIG.SYS").read_bytes())


def display_answers(display: str) -> Optional[str]:
    """None when the X display answers; else why not, in a few words."""
    try:
        found = subprocess.run(["xdpyinfo", "-display", display], capture_output=True, text=True,
                               timeout=DISPLAY_ANSWER)
    except subprocess.TimeoutExpired:
        return f"no answer within {DISPLAY_ANSWER} s"
    except FileNotFoundError:
        return "xdpyinfo, which asks it, is missing (tools/bootstrap installs it)"
    if found.returncode == 0:
        return None
    said = found.stderr.strip().splitlines()
    return said[-1] if said else f"xdpyinfo ended with code {found.returncode}"


def answers(text: str) -> Dict[str, bool]:
    """retry=yes,cancel=no,...: Yes or No to each question; No when not named."""
    chosen = dict.fromkeys(QUESTIONS, False)
    for item in filter(None, text.split(",")):
        question, _, answer = item.partition("=")
        if question not in QUESTIONS or answer not in ("yes", "no"):
            raise argparse.ArgumentTypeError(
                f"{item!r}: expected QUESTION=yes|no, QUESTION one of {', '.join(QUESTIONS)}")
        chosen[question] = answer == "yes"
    return chosen


def options(argv=None):
    parser = argparse.ArgumentParser(
        prog="tools/demo",
        description="Build setup32.exe and install a medium in a new Wine machine, then report "
                    "what the install did.")
    parser.add_argument("--medium", type=Path, default=ROOT / "examples" / "medium",
                        help="the medium's directory (default: examples/medium)")
    parser.add_argument("--config-sys", type=Path,
                        help="the machine's C:\\CONFIG.SYS before the install (default: "
                             "examples/machine/CONFIG.SYS, which loads the sample's old driver)")
    parser.add_argument("--platform", choices=versions.versions(), default="win95",
                        help="the Windows version the machine reports (default: win95)")
    parser.add_argument("--language", choices=LANGUAGES, default="en",
                        help="the machine's locale, which chooses the setup's language (default: en)")
    parser.add_argument("--answers", type=answers, default=answers(""),
                        help="with --auto, the answer to each question, e.g. "
                             "retry=no,cancel=no,restart=no (the default)")
    parser.add_argument("--write-protected", action="store_true",
                        help="the medium is read-only, as a write-protected floppy is")
    parser.add_argument("--json", action="store_true",
                        help="also write the report as report.json beside the screenshots")
    parser.add_argument("--auto", action="store_true",
                        help="press Start and answer the questions without you "
                             "(always so without a display that answers)")
    args = parser.parse_args(argv)
    if args.config_sys and not args.config_sys.is_file():
        parser.error(f"--config-sys: no file {args.config_sys}")
    return args


# --- the machine and the medium ------------------------------------------------------


@dataclasses.dataclass
class Prepared:
    """What was set up before the program started."""
    source: Path
    problems: List[str]
    script: demo_script.Script
    stand_ins: List[str]
    config_sys: bytes
    before: Snapshot


LOCAL_MACHINE = "HKEY_LOCAL_MACHINE\\"  # system.reg's keys are named below it


def give_the_machine_the_adapter(machine: Machine, reading: demo_script.Reading):
    """The enumeration keys and the driver database files that the device
    clean-up removes, as on a machine where Windows found the adapter. The
    keys are written into the stopped machine's system.reg; they have no
    subkeys, since Wine, like Windows NT, does not delete a key that has
    some."""
    keys = [key[len(LOCAL_MACHINE):].replace("\\", "\\\\") for key in reading.device_keys
            if key.startswith(LOCAL_MACHINE)]
    blocks = "".join(f'\n[{key}] 0\n"DeviceDesc"="PCI SCSI host adapter"\n'
                     for key in dict.fromkeys(keys))
    with open(machine.path / "system.reg", "a", encoding="utf-8") as registry:
        registry.write(blocks)
    for file in reading.driver_database:
        machine.file(file).write_bytes(b"driver database\r\n")


def prepare(run: Session, source: Path, config_sys: bytes) -> Prepared:
    """Lays out the medium in run.medium_dir and makes the stopped machine
    ready; the machine's state before the install."""
    problems = demo_medium.lay_out(source, run.medium_dir, host.program())
    script = demo_script.ask_checker(run.medium_dir, run.version, run.language, run.start_dir)
    if script.problem:
        problems.append(f"the checker could not read the medium: {script.problem}")
    stand_ins = demo_medium.add_stand_ins(run.medium_dir, run.start_dir, script.wine.programs,
                                          host.test_program("marker.exe"))
    machine = run.machine
    machine.file("C:\\CONFIG.SYS").write_bytes(config_sys)
    shutil.copy2(host.test_program("grpconv_standin.exe"),
                 machine.file(WINE_WINDOWS + "\\grpconv.exe"))
    give_the_machine_the_adapter(machine, script.wine)
    return Prepared(source, problems, script, stand_ins, config_sys, Snapshot.take(machine.path))


def trace_path(run: Session) -> Path:
    return run.machine.path / "process-trace.txt"


def start_traced(run: Session, display: Optional[str] = None):
    """Starts the program in the medium's directory (on the run's display
    unless another is named) with Wine's process trace going to a file of
    the machine; the programs it starts inherit the trace's stream."""
    env = dict(os.environ, WINEDEBUG=PROCESS_TRACE_CHANNELS, DISPLAY=display or run.display)
    with open(trace_path(run), "wb") as trace:
        run.program = subprocess.Popen(
            [str(WINEBOX), "run", str(run.machine.path), "--cwd", run.start_dir, "--",
             run.start_dir + PROGRAM_NAME], stdout=subprocess.DEVNULL, stderr=trace, env=env)


# --- running the setup -----------------------------------------------------------


class Driver:
    """Watches the program's windows: presses Start (with auto), keeps a
    numbered screenshot of each dialog and message box and answers each box
    as the answers say (with auto; else you do)."""

    def __init__(self, run: Session, shots: Optional[Path], auto: bool, chosen: Dict[str, bool],
                 tell=say):
        self.run, self.shots, self.auto, self.chosen, self.tell = run, shots, auto, chosen, tell
        self.boxes: List[Box] = []
        self.seen: List[str] = []  # the kinds of window of the program seen, in order
        self.pictures = 0
        self.exiting = False  # Exit was pressed: its question is answered Yes

    def shot(self, label: str, title: str) -> Optional[str]:
        if self.shots is None:
            return None
        self.pictures += 1
        path = self.shots / f"{self.pictures:02}-{label}.png"
        try:
            self.run.shot(label, title=title, path=path)
        except CheckFailed:  # the window went before its picture was taken
            return None
        return str(path.relative_to(ROOT)) if path.is_relative_to(ROOT) else str(path)

    def question(self, text: str) -> str:
        msg = self.run.msg
        if text == msg(43):
            return "restart"
        if text.startswith(msg(42).split("%s")[0]):
            return "retry"
        if text == msg(44):
            return "cancel"
        return "message"

    def answer(self, question: str) -> str:
        probe = self.run.probe
        if question == "message":
            if probe.rows("answer", OK, 5, allow_missing=True) is None:
                probe.answer(NO, 5)
            return "OK"
        yes = (question == "cancel" and self.exiting) or self.chosen[question]
        probe.answer(YES if yes else NO, 10)
        return "Yes" if yes else "No"

    def watch(self, seconds: float) -> Optional[int]:
        """Until the program ends or `seconds` pass; its exit code, None
        when it is still running."""
        run, title = self.run, self.run.msg(64)
        pressed, last_box = False, None
        deadline = time.monotonic() + seconds
        idle_since = time.monotonic()
        while run.still_running() and time.monotonic() < deadline:
            if "main dialog" not in self.seen and run.probe.wait(title, 0):
                self.seen.append("main dialog")
            found = run.probe.rows("box", 1, allow_missing=True)
            if found:
                idle_since = time.monotonic()
                if "message box" not in self.seen:
                    self.seen.append("message box")
            if found and found[0] != last_box:
                caption, body = found[0]
                question = self.question(body)
                time.sleep(0.5)  # a box is found before it has drawn itself
                picture = self.shot("box", caption)
                answer = self.answer(question) if self.auto else "by you"
                number = len(self.boxes) + 1
                self.boxes.append(Box(number, caption, body, question, answer, picture))
                self.tell(f"message box {number}: {caption}: {body!r}: answered {answer}")
                last_box = None if self.auto else found[0]
            elif not found:
                last_box = None
                if self.auto and not pressed and run.probe.wait(title, 0):
                    self.shot("main", title)
                    self.tell("pressing Start")
                    run.probe.press(title, 1)
                    pressed = True
                    if run.probe.wait(run.msg(101), 3):
                        self.seen.append("progress window")
                        self.shot("progress", run.msg(101))
                elif self.auto and pressed and not self.exiting and \
                        time.monotonic() - idle_since > MAIN_DIALOG_IDLE and self.main_dialog_shown():
                    # No script, or a CONFIG.SYS error: the install stopped and
                    # left the main dialog open for Exit.
                    self.tell("the main dialog is open again: pressing Exit")
                    run.probe.press(title, EXIT)
                    self.exiting = True
        return run.program.poll()

    def main_dialog_shown(self) -> bool:
        title = self.run.msg(64)
        return self.run.probe.wait(title, 0) and bool(self.run.probe.info(title).style & WS_VISIBLE)


def see_through(run: Session, driver: Driver, seconds: float) -> Optional[int]:
    """Watches the started program to its end (killed after `seconds`), lets
    the programs it started finish, and stops the machine; its exit code."""
    code = driver.watch(seconds)
    if code is None:
        say(f"the program did not end within {seconds:.0f} s: ending it")
        run.program.kill()
    # The post-install programs and the group converter run on their own.
    time.sleep(3)
    run.machine.stop()
    return code


def report_of(run: Session, prepared: Prepared, driver: Driver, code: Optional[int]) -> dict:
    config = run.machine.file("C:\\CONFIG.SYS")
    source = prepared.source.resolve()
    return build_report(
        platform=run.version, language=run.language, codec=run.machine.codec,
        source=source.relative_to(ROOT) if source.is_relative_to(ROOT)
        else source, problems=prepared.problems,
        script=prepared.script, stand_ins=prepared.stand_ins, before=prepared.before,
        after=Snapshot.take(run.machine.path), config_before=prepared.config_sys,
        config_after=config.read_bytes() if config.exists() else None,
        trace=trace_path(run).read_text(encoding="utf-8", errors="replace"), boxes=driver.boxes,
        seen=driver.seen, exit_code=code, build=Build(host.program(), host.shipping()),
        windows=WINE_WINDOWS, machine_windows=MachineDescription.read(run.version).windows)


# --- the demo itself ---------------------------------------------------------------------


def build():
    say("installing what the build needs (tools/bootstrap)")
    subprocess.run([str(ROOT / "tools" / "bootstrap")], check=True)
    # Asked only now that bootstrap has installed Wine: the kind of machine
    # this host runs decides the build.
    preset = host.build().name
    say(f"building setup32.exe and the test programs for Wine (tools/build {preset})")
    subprocess.run([str(ROOT / "tools" / "build"), preset], check=True)
    # The checker tells the demo what the script says; asked for its usage,
    # it is only brought up to date.
    say("building the checker, which reads the script for the demo (tools/setup32-check)")
    subprocess.run([str(demo_script.CHECKER), "--help"], stdout=subprocess.DEVNULL, check=True)


def machine_for(args, display) -> Machine:
    template = DEMO / "template"
    if not usable_template(template):
        say("making a Wine machine template (once; about half a minute)")
        shutil.rmtree(template, ignore_errors=True)
        DEMO.mkdir(parents=True, exist_ok=True)
        make_template(template, display)
    path = DEMO / "machine"
    if path.exists():
        winebox("stop", path)
    say(f"new Wine machine {path.relative_to(ROOT)}: {versions.version(args.platform).name}, "
        f"{LANGUAGES[args.language]}")
    return new_machine(template, path, args.platform, args.language, display)


class ReadOnlyMount:
    """The medium seen through a read-only bind mount, for root, whom file
    permissions do not stop (and Wine with them); others need only the
    permissions that demo_medium.unwritable takes away."""

    def __init__(self, medium: Path):
        self.medium = medium
        self.point = medium.with_name(medium.name + "-read-only")
        self.mounted = False

    def __enter__(self) -> Path:
        demo_medium.unwritable(self.medium, True)
        if os.geteuid() != 0:
            return self.medium
        self.point.mkdir(exist_ok=True)
        self.mounted = subprocess.run(["mount", "--bind", "-o", "ro", str(self.medium),
                                       str(self.point)]).returncode == 0
        if not self.mounted:
            say("could not mount the medium read-only: root may still write to it")
        return self.point if self.mounted else self.medium

    def __exit__(self, *_):
        if self.mounted:
            subprocess.run(["umount", str(self.point)], check=True)
        demo_medium.unwritable(self.medium, False)


def demo(args, screen: str, auto: bool, shots: Path) -> dict:
    described = MachineDescription.read(args.platform)
    if described.windows.lower() != WINE_WINDOWS.lower():
        say(f"examples/machine has Windows in {described.windows} on "
            f"{versions.version(args.platform).name}; a Wine machine keeps it in {WINE_WINDOWS} "
            f"and cannot move it, so the demo's machine does (the report says so too)")
    machine = machine_for(args, screen)
    run = Session("demo", machine, Probe(machine, host.test_program("probe.exe")), screen,
                  args.platform, described.start_dir, DEMO / "medium", shots)
    config_sys = args.config_sys.read_bytes() if args.config_sys else described.config_sys
    prepared = prepare(run, args.medium, config_sys)
    for problem in prepared.problems:
        say(problem)
    if not prepared.script.found:
        say("the medium has no SETUP32.INI")
    for name in prepared.stand_ins:
        say(f"{name} is not on the medium: a stand-in takes its place")
    with (ReadOnlyMount(run.medium_dir) if args.write_protected else
          contextlib.nullcontext(run.medium_dir)) as drive:
        run.place_medium(drive)
        say(f"the medium is {described.start_dir} of the machine" +
            (", write-protected" if args.write_protected else ""))
        driver = Driver(run, shots if auto else None, auto, args.answers)
        if not auto:
            say("the setup's dialog is on your display: press Start (or Exit) and answer its "
                "questions")
        start_traced(run)
        code = see_through(run, driver, 120 if auto else 3600)
    return report_of(run, prepared, driver, code)


def choose_display() -> Tuple[Optional[Displays], str]:
    """The caller's display when it answers, else a virtual one of our own
    (and the Displays that ends it)."""
    wanted = os.environ.get("DISPLAY")
    if wanted:
        problem = display_answers(wanted)
        if problem is None:
            return None, wanted
        say(f"the display {wanted} does not answer ({problem}): running on a virtual display "
            "of our own instead, with --auto")
    own = Displays(1, own=True)
    screen = own.free.get()
    say(f"{'no display: ' if not wanted else ''}running on the virtual display {screen} "
        "with --auto")
    return own, screen


def main():
    args = options()
    try:
        build()
    except host.NoWine as no_wine:
        say(f"this host cannot run Wine machines: {no_wine}")
        return 2
    own, screen = choose_display()
    auto = args.auto or own is not None
    shots = DEMO / "shots"
    shutil.rmtree(shots, ignore_errors=True)
    try:
        report = demo(args, screen, auto, shots)
    finally:
        if own:
            own.close()
    printed = text(report)
    REPORT.write_text(printed + "\n", encoding="utf-8")
    print("\n" + printed)
    if args.json:
        shots.mkdir(parents=True, exist_ok=True)
        (shots / "report.json").write_text(json.dumps(report, ensure_ascii=False, indent=2),
                                           encoding="utf-8")
        print(f"\nThe report as JSON: {(shots / 'report.json').relative_to(ROOT)}")
    if auto:
        print(f"Screenshots of the dialogs: {shots.relative_to(ROOT)}/")
    print(f"The machine stays in {(DEMO / 'machine').relative_to(ROOT)} for a look "
          f"(WINEPREFIX={DEMO / 'machine'}).")
    if report["no_window"]:
        say("setup32.exe showed no window at all (see Wine's messages in the report)")
        return 1
    return 0


if __name__ == "__main__":
    started = time.monotonic()
    code = main()
    say(f"done in {time.monotonic() - started:.0f} s")
    sys.exit(code)
