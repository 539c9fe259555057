"""The host: the kind of Wine machine it runs and the build whose programs
run in them. The kind is asked of tools/winebox when first needed, which
must be after tools/bootstrap has installed Wine; it is then kept.

Run as `python3 -m wine.host` it prints the build's directory."""
import functools
import os
import subprocess
import sys
from pathlib import Path
from typing import Optional

ROOT = Path(__file__).resolve().parents[2]
WINEBOX = ROOT / "tools" / "winebox"
FOOTPRINT = ROOT / "tools" / "check-footprint"
PROGRAM_NAME = "setup32.exe"
# The build each kind of machine runs: the shipping i686 one in 32-bit
# machines, the x86_64 stand-in in 64-bit ones.
BUILDS = {"win32": "i686", "win64": "x86_64"}
# What a run that cannot start the shipping file says, in one line.
STAND_IN_NOTE = ("this kernel runs no 32-bit code (boot it with ia32_emulation=on): running the "
                 "x86_64 build in 64-bit Wine machines, not the shipping file")


class NoWine(Exception):
    """The host cannot run Wine machines; the message says what to install."""


def winebox(*args, timeout=120, display=None, **kwargs) -> subprocess.CompletedProcess:
    env = dict(os.environ, DISPLAY=display) if display else None
    return subprocess.run([str(WINEBOX), *map(str, args)], timeout=timeout, check=True, env=env,
                          **kwargs)


@functools.lru_cache(maxsize=None)
def machine_kind() -> str:
    """win32, or win64 on a host whose kernel runs no 32-bit code."""
    asked = subprocess.run([str(WINEBOX), "arch"], capture_output=True, text=True)
    kind = asked.stdout.strip()
    if asked.returncode != 0 or kind not in BUILDS:
        raise NoWine(asked.stderr.strip() or f"winebox arch answered {kind!r}")
    return kind


def build() -> Path:
    """The build whose programs run in this host's machines; its tests/
    holds the test programs."""
    return ROOT / "build" / BUILDS[machine_kind()]


def shipping() -> bool:
    return build().name == "i686"


def program() -> Path:
    return build() / "src" / "app" / "win32" / PROGRAM_NAME


def test_program(name: str) -> Path:
    return build() / "tests" / name


def missing_build() -> Optional[str]:
    """What of the build is missing, in one line; None when nothing is."""
    for needed in (program(), test_program("probe.exe")):
        if not needed.exists():
            return f"{needed} is missing: build the {build().name} preset first " \
                   f"(tools/build {build().name})"
    return None


def problem() -> Optional[str]:
    """What keeps this host from running the build in its machines, in one
    line; None when nothing does. Where the machines are 32-bit ones, the
    program must be the shipping file."""
    try:
        missing = missing_build()
    except NoWine as no_wine:
        return str(no_wine)
    if missing:
        return missing
    return shipping_file_problem(program()) if shipping() else None


def shipping_file_problem(exe: Path) -> Optional[str]:
    """Why exe is not the file that ships (its size or imports differ from
    what tools/check-footprint holds the shipping file to); None when it is."""
    check = subprocess.run([str(FOOTPRINT), str(exe)], capture_output=True, text=True)
    if check.returncode == 0:
        return None
    complaints = [line.removeprefix("check-footprint: ") for line in check.stderr.splitlines() if line]
    return f"{exe} is not the shipping file: " + "; ".join(complaints)


if __name__ == "__main__":
    try:
        print(build())
    except NoWine as no_wine:
        sys.exit(f"wine.host: {no_wine}")
