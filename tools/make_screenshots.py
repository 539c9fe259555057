"""Makes the screenshots of the vendor's guide (docs/screenshots/*.png):
the main dialog in the three languages, the About box, the progress window,
the restart question and the exit question, each cropped to its window.

The sample medium runs in Wine machines on a virtual display of our own;
build the i686 preset first (tools/build i686).

Usage: tools/make-screenshots [--out DIR], which puts the end-to-end
harness (tests/e2e) on the path beside tools/."""
import argparse
import shutil
import subprocess
import sys
from pathlib import Path

import harness
import runner
from harness import Run, Scenario, expect
from wine import host
from wine.displays import Displays
from wine.machine import make_template, usable_template

ROOT = Path(__file__).resolve().parents[1]

YES, NO, OK = 6, 7, 1
ABOUT_COMMAND = 0x10
# A program that holds the uninstall program's destination and takes half
# a minute to answer WM_CLOSE keeps the copy pass, and its window, at the
# third file long enough for a picture.
HELD_FILE = "C:\\windows\\DSKUNINS.EXE"


def main_dialog(out: Path, with_questions: bool):
    def steps(run: Run):
        title = run.msg(64)
        run.wait_window(title)
        run.shot("main", title=title, path=out / f"main-{run.language}.png")
        if with_questions:
            run.probe.syscommand(title, ABOUT_COMMAND)
            about = run.msg(73)
            run.wait_window(about)
            run.shot("about", title=about, path=out / f"about-{run.language}.png")
            run.probe.press(about, OK)
            expect(run.probe.gone(about, 10), "OK closes the About box")
            run.probe.press(title, 2)
            run.probe.rows("box", 30)
            run.shot("exit", title=run.msg(45), path=out / f"exit-{run.language}.png")
            run.answer(YES, run.msg(45), run.msg(44))
        else:
            run.probe.press(title, 2)
            run.answer(YES, run.msg(45), run.msg(44))
        run.finish()

    return steps


def hold_destination(run: Run):
    holder = run.machine.file("C:\\HOLDER\\file_holder.exe")
    holder.parent.mkdir(parents=True)
    shutil.copy2(host.test_program("file_holder.exe"), holder)
    run.machine.start("C:\\HOLDER\\file_holder.exe", HELD_FILE, "DSKUNINS", "hang")
    expect(run.probe.wait("DSKUNINS", 30), "the file holder's window is up")


def install(out: Path):
    def steps(run: Run):
        title = run.msg(64)
        run.wait_window(title)
        run.probe.press(title, 1)
        progress = run.msg(101)
        run.wait_window(progress)
        expect(harness.wait_until(lambda: "DSKUNINS" in run.probe.text(progress, 1004), 20),
               "the copy pass reaches the held file")
        run.shot("progress", title=progress, path=out / f"progress-{run.language}.png")
        # The holder ignores WM_CLOSE in the end: the copy fails and the
        # retry question comes.
        run.answer(NO, "setup32", run.msg(42).replace("%s", HELD_FILE), seconds=60)
        run.probe.rows("box", 30)
        run.shot("restart", title="setup32", path=out / f"restart-{run.language}.png")
        run.answer(NO, "setup32", run.msg(43))
        run.finish()

    return steps


def shrink(path: Path):
    """Fewer colours keep the PNGs small; the dialogs have few."""
    subprocess.run(["convert", str(path), "-strip", "-colors", "64", str(path)], check=True)


def main():
    parser = argparse.ArgumentParser(prog="tools/make-screenshots", description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=ROOT / "docs" / "screenshots",
                        help="where the PNG files go (default: docs/screenshots)")
    args = parser.parse_args()
    out = args.out.resolve()
    out.mkdir(parents=True, exist_ok=True)
    problem = runner.missing_prerequisite()
    if problem:
        parser.error(problem)
    if not host.shipping():
        print(f"make-screenshots: {host.STAND_IN_NOTE}", flush=True)

    scenarios = [
        Scenario("shots-en", "win95", "en", main_dialog(out, with_questions=True)),
        Scenario("shots-zh", "win98", "zh", main_dialog(out, with_questions=False)),
        Scenario("shots-ja", "win95", "ja", main_dialog(out, with_questions=False)),
        Scenario("shots-install-en", "win95", "en", install(out), prepare=hold_destination),
    ]
    displays = Displays(1, own=True)
    display = displays.free.get()
    try:
        template = harness.WORK / "template"
        if not usable_template(template):
            shutil.rmtree(template, ignore_errors=True)
            harness.WORK.mkdir(parents=True, exist_ok=True)
            make_template(template, display)
        failed = False
        for scenario in scenarios:
            problem = runner.run_scenario(scenario, template, display, keep=False)
            print(f"{'ok  ' if problem is None else 'FAIL'} {scenario.name}", flush=True)
            if problem:
                print("     " + problem.rstrip().replace("\n", "\n     "))
                failed = True
    finally:
        displays.close()
    for picture in sorted(out.glob("*.png")):
        shrink(picture)
        print(f"{picture.relative_to(ROOT) if picture.is_relative_to(ROOT) else picture}  "
              f"{picture.stat().st_size} bytes")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
