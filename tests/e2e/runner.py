#!/usr/bin/env python3
"""Runs the end-to-end scenarios of the real setup32.exe under Wine.

Every scenario gets a Wine machine of its own, copied from one template
prefix made per run and set to the scenario's Windows version and locale.
The program is started in the medium's directory and driven with the probe
(tests/e2e/programs/probe.cpp); the scenario then checks what it saw on
screen and what the install left in files and in the registry.

Usage: tests/e2e/run [--list] [--keep] [--reuse-template] [--jobs N] [SCENARIO...]
"""
import argparse
import concurrent.futures
import importlib
import os
import shutil
import subprocess
import sys
import threading
import time
import traceback
from pathlib import Path
from typing import List, Optional

import plan_checks
from harness import WORK, CheckFailed, Run, Scenario, lay_out_medium
from wine import host
from wine.displays import Displays
from wine.machine import make_template, new_machine, usable_template


def run_scenario(scenario: Scenario, template: Path, display: str, keep: bool) -> Optional[str]:
    """Runs one scenario; None when it passed, else what went wrong. Unless
    the scenario opts out, what the program did is then held against the
    checker's plan of the same install."""
    machine_dir = WORK / "machines" / scenario.name
    try:
        machine = new_machine(template, machine_dir, scenario.version, scenario.locale, display,
                              capture_output=True)
    except subprocess.CalledProcessError as error:
        return f"no Wine machine: {error}\n{(error.stderr or b'').decode(errors='replace')}"
    run = Run(scenario, machine, display)
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


def all_scenarios() -> List[Scenario]:
    """The scenarios of every scenarios*.py module beside the harness, in
    module order."""
    found = []
    for module in sorted(Path(__file__).parent.glob("scenarios*.py")):
        found += importlib.import_module(module.stem).ALL
    return found


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
    if not any(checker.exists() for checker in plan_checks.CHECKERS):
        return "setup32-check is missing: build the native preset first (tools/build native)"
    return host.problem()


def default_jobs() -> int:
    """A scenario waits for its windows about a third of its time: one more
    scenario than there are cores keeps them busy (on 2 cores, 3 at a time
    took 234 s where 2 took 332 s, and 4 gained little more)."""
    return (os.cpu_count() or 1) + 1


def main():
    every = all_scenarios()

    parser = argparse.ArgumentParser(description="End-to-end runs of setup32.exe under Wine.")
    parser.add_argument("names", nargs="*", help="scenarios to run (all by default)")
    parser.add_argument("--list", action="store_true", help="list the scenarios and stop")
    parser.add_argument("--keep", action="store_true", help="keep the machines in build/e2e")
    parser.add_argument("--reuse-template", action="store_true",
                        help="use build/e2e/template when it exists instead of making it afresh")
    parser.add_argument("--jobs", "-j", type=int, default=default_jobs(),
                        help="scenarios run at the same time, each on an Xvfb of its own "
                             "(default: one more than the cores)")
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
    if not host.shipping():
        print(f"e2e: {host.STAND_IN_NOTE}", flush=True)

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
