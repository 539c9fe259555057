#!/usr/bin/env python3
"""Installs the sample medium (examples/medium) with setup32.exe in a new
Wine machine and tells in plain words what the install did.

With a display ($DISPLAY) the setup's dialogs appear on it and you press
Start and answer its questions yourself; --auto presses Start and answers
No to the restart question. Without a display the demo runs on a virtual
one (Xvfb), always with --auto, and keeps screenshots of the dialogs.

The medium is drive A: of the machine, as a floppy disk would be. Two
stand-ins take the place of programs the medium and Wine lack: a small test
program as TOOLS\\DSKINFO.EXE, the program that the script starts after the
install, which only notes that it ran; and the program-group converter,
which only keeps the group script it was given."""
import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import harness  # noqa: E402
from harness import BUILD, Machine, Probe, Run, Scenario, winebox  # noqa: E402

DEMO = ROOT / "build" / "demo"
PLATFORMS = {"win95": "Windows 95", "win98": "Windows 98", "nt40": "Windows NT 4.0",
             "win2k": "Windows 2000"}
LANGUAGES = {"en": "English", "zh": "Traditional Chinese", "ja": "Japanese"}
WINDOWS = "C:\\windows"
CONFIG_SYS = (b"DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"
              b"DEVICE=C:\\OLDDRV\\OLDADP.SYS /D:1\r\n"
              b"DOS=HIGH,UMB\r\n"
              b"FILES=40\r\n")
YES, NO, OK = 6, 7, 1


def say(text):
    print(f"demo: {text}", flush=True)


def options():
    parser = argparse.ArgumentParser(
        prog="tools/demo",
        description="Build setup32.exe and install the sample medium in a new Wine machine.")
    parser.add_argument("--platform", choices=PLATFORMS, default="win95",
                        help="the Windows version the machine reports (default: win95)")
    parser.add_argument("--language", choices=LANGUAGES, default="en",
                        help="the machine's locale, which chooses the setup's language (default: en)")
    parser.add_argument("--auto", action="store_true",
                        help="press Start and answer No to the restart question without you "
                             "(always so without a display)")
    return parser.parse_args()


# --- the machine ---------------------------------------------------------------


def build():
    say("installing what the build needs (tools/bootstrap)")
    subprocess.run([str(ROOT / "tools" / "bootstrap")], check=True)
    say("building setup32.exe and the test programs for Wine (tools/build x86_64)")
    subprocess.run([str(ROOT / "tools" / "build"), "x86_64"], check=True)


def new_machine(args, display) -> Machine:
    template = DEMO / "template"
    if not (template / "system.reg").exists():
        say("making a Wine machine template (once; about half a minute)")
        shutil.rmtree(template, ignore_errors=True)
        DEMO.mkdir(parents=True, exist_ok=True)
        harness.make_template(template, display)
    path = DEMO / "machine"
    if path.exists():
        winebox("stop", path)
        shutil.rmtree(path)
    say(f"new Wine machine {path.relative_to(ROOT)}: {PLATFORMS[args.platform]}, "
        f"{LANGUAGES[args.language]}")
    winebox("new", template, path, "--version", args.platform, "--locale", args.language,
            display=display)
    machine = Machine(path, args.language, display)
    machine.file("C:\\CONFIG.SYS").write_bytes(CONFIG_SYS)
    shutil.copy2(BUILD / "tests" / "grpconv_standin.exe", machine.file(WINDOWS + "\\grpconv.exe"))
    return machine


def lay_out_medium(machine: Machine) -> Path:
    medium = DEMO / "medium"
    shutil.rmtree(medium, ignore_errors=True)
    shutil.copytree(ROOT / "examples" / "medium", medium)
    shutil.copy2(BUILD / "src" / "app" / "win32" / "setup32.exe", medium / "SETUP32.EXE")
    shutil.copy2(BUILD / "tests" / "marker.exe", medium / "TOOLS" / "DSKINFO.EXE")
    machine.map_drive("a", medium)
    say(f"the medium {medium.relative_to(ROOT)} is drive A: of the machine")
    return medium


# --- running the setup -----------------------------------------------------------


def drive_setup(run: Run, shots: Path):
    """Presses Start, keeps pictures of the dialogs and answers the boxes:
    No to the restart question, OK (or No) to any other."""
    title = run.msg(64)
    run.wait_window(title, 60)
    run.shot("main", title=title, path=shots / "main.png")
    say("pressing Start")
    run.probe.press(title, 1)
    progress = run.msg(101)
    if run.probe.wait(progress, 5):
        run.shot("progress", title=progress, path=shots / "progress.png")
    while run.still_running():
        found = run.probe.rows("box", 2, allow_missing=True)
        if not found:
            continue
        caption, text = found[0]
        run.shot("box", title=caption, path=shots / "question.png")
        if text == run.msg(43):
            say("the setup asks whether to restart Windows: answering No")
            run.probe.answer(NO, 10)
        else:
            say(f"a message box: {caption}: {text!r}; answering it")
            if run.probe.rows("answer", OK, 5, allow_missing=True) is None:
                run.probe.answer(NO, 5)


def run_setup(run: Run, auto: bool, shots: Path):
    run.start_witness()
    say("starting A:\\SETUP32.EXE in A:\\")
    run.start()
    if auto:
        drive_setup(run, shots)
    else:
        say("the setup's dialog is on your display: press Start (or Exit) and answer its questions")
    run.program.wait()
    # The post-install program and the group converter run on their own.
    harness.wait_until(lambda: run.medium_file("TOOLS\\MARKER.LOG").exists(), 5)


# --- the report ----------------------------------------------------------------------


def script_value(medium: Path, section: str, key: str, default: str) -> str:
    current = None
    for line in (medium / "SETUP32.INI").read_text(encoding="latin-1").splitlines():
        if line.startswith("["):
            current = line.strip()[1:-1].lower()
        elif current == section.lower() and line.lower().startswith(key.lower() + "="):
            return line.split("=", 1)[1]
    return default


def report(machine: Machine, medium: Path, platform: str, restarted: bool, auto: bool):
    group = script_value(medium, "Display", "GroupName", "VELKA Technology Corp")
    user, system = machine.registry("HKCU"), machine.registry("HKLM")
    lines = ["", f"Install report: {PLATFORMS[platform]}, sample medium on drive A:", ""]

    record = user.values("Software\\" + group) or {}
    items = sorted(v for v in record.values() if v)
    group_script = WINDOWS + "\\SETUP.INI"
    files = [item for item in items if item != group_script and item[:3].upper() == "C:\\" and
             machine.file(item).is_file()]
    lines.append(f"Files copied ({len(files)}), each recorded for the uninstall program:")
    lines += [f"  {item}  ({machine.file(item).stat().st_size} bytes)" for item in files]
    others = [item for item in items if item not in files]
    if others:
        lines.append("Also recorded: the group script the setup wrote, and the shortcuts and the "
                     "program group it asked the group converter for:")
        lines += [f"  {item}" for item in others]

    lines += ["", "Registry values written:",
              f"  HKEY_CURRENT_USER\\Software\\{group}: {len(items)} values naming the items above"]
    keys = [("Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\" + group, "uninstall entry")]
    if platform in ("nt40", "win2k"):
        service = script_value(medium, "Display", "Title", "MDR420X")
        keys += [("System\\CurrentControlSet\\Services\\Scsiscan", "SCSI scanner service, 4 = disabled"),
                 ("System\\CurrentControlSet\\Services\\" + service, "the adapter's driver service")]
    for key, what in keys:
        values = system.values_as_written(key)
        if values is None:
            lines.append(f"  HKEY_LOCAL_MACHINE\\{key}: not written")
            continue
        lines.append(f"  HKEY_LOCAL_MACHINE\\{key} ({what}):")
        lines += [f"    {name} = {data}" for name, data in sorted(values.items()) if name]

    after = machine.file("C:\\CONFIG.SYS").read_bytes().splitlines()
    removed = [line for line in CONFIG_SYS.splitlines() if line not in after]
    lines += ["", f"CONFIG.SYS lines removed ({len(removed)}):"]
    lines += [f"  {line.decode('latin-1')}" for line in removed] or ["  none"]

    lines += ["", "Programs started:"]
    marker = medium / "TOOLS" / "MARKER.LOG"
    started = [line.split(" ", 1)[1] for line in marker.read_text(encoding="latin-1").splitlines()] \
        if marker.exists() else []
    lines += [f"  A:\\TOOLS\\{line}  (the sample's post-install program)" for line in started]
    converter = machine.file(WINDOWS + "\\GRPCONV.LOG")
    if converter.exists():
        lines += [f"  grpconv {line}  (the program-group converter, a stand-in here)"
                  for line in converter.read_text(encoding="latin-1").splitlines()]
    if not started and not converter.exists():
        lines.append("  none")

    lines.append("")
    if restarted:
        lines.append("Restart: Windows was asked to restart (Yes to the restart question).")
    elif auto:
        lines.append("Restart: the setup asked whether to restart; the demo answered No, "
                     "so Windows was not asked to restart.")
    else:
        lines.append("Restart: Windows was not asked to restart.")
    print("\n".join(lines))


def main():
    args = options()
    build()
    own_display = not os.environ.get("DISPLAY")
    if own_display:
        display = harness.Displays(1)
        screen = display.free.get()
        say(f"no display: running on a virtual one ({screen}) with --auto")
    else:
        display, screen = None, os.environ["DISPLAY"]
    auto = args.auto or own_display
    shots = DEMO / "shots"
    shutil.rmtree(shots, ignore_errors=True)
    try:
        machine = new_machine(args, screen)
        medium = lay_out_medium(machine)
        scenario = Scenario("demo", args.platform, args.language, steps=None, medium="A:\\")
        run = Run(scenario, machine, Probe(machine, BUILD / "tests" / "probe.exe"), screen)
        run.medium_dir = medium
        run_setup(run, auto, shots)
        harness.wait_until(lambda: len(run.session_log()) >= len(run.RESTART), 3)
        restarted = run.session_log() == run.RESTART
        machine.stop()
        report(machine, medium, args.platform, restarted, auto)
        if auto:
            print(f"\nScreenshots of the dialogs: {shots.relative_to(ROOT)}/")
    finally:
        if display:
            display.close()
    print(f"The machine stays in {(DEMO / 'machine').relative_to(ROOT)} for a look "
          f"(WINEPREFIX={DEMO / 'machine'}).")
    return 0


if __name__ == "__main__":
    started = time.monotonic()
    code = main()
    say(f"done in {time.monotonic() - started:.0f} s")
    sys.exit(code)
