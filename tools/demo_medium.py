"""The medium laid out for a run of the demo: a copy of it with the program
beside its script, stand-ins for the programs it lacks, and the
write-protect tab of a floppy."""
import shutil
import subprocess
from pathlib import Path
from typing import List, Optional

from demo_script import Program
from wine.machine import host_path


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


def on_medium(path: str, start_dir: str) -> Optional[str]:
    """A Windows path below the start directory (which ends in a
    backslash), relative to it; None for a path elsewhere."""
    return path[len(start_dir):] if path.lower().startswith(start_dir.lower()) else None


def add_stand_ins(medium: Path, start_dir: str, programs: List[Program],
                  stand_in: Path) -> List[str]:
    """Puts the stand-in program in place of each program the run starts
    from the medium that the medium lacks; the files stood in for."""
    missing = []
    for program in programs:
        relative = on_medium(program.file, start_dir)
        if program.found or relative is None or not relative.lower().endswith(".exe"):
            continue
        path = host_path(medium, relative)
        path.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(stand_in, path)
        missing.append(program.file)
    return missing


def unwritable(medium: Path, protected: bool):
    """Takes away (or gives back) every write permission on the medium, as
    the write-protect tab of a floppy does."""
    if medium.exists():
        subprocess.run(["chmod", "-R", "a-w" if protected else "u+w", str(medium)], check=True)
