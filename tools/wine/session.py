"""One run of setup32.exe in a machine: the program started from its
medium's directory, the probe that watches its windows, and what it shows."""
import subprocess
from pathlib import Path
from typing import Optional

from wine import texts
from wine.expect import CheckFailed, expect_equal
from wine.host import PROGRAM_NAME
from wine.machine import Machine, host_path
from wine.probe import Probe


class Session:
    """The program in one machine: started from `start_dir` (such as A:\\
    or C:\\MEDIUM\\), where the medium laid out in `medium_dir` is placed;
    screenshots without a path of their own go to `shots`."""

    def __init__(self, name: str, machine: Machine, probe: Probe, display: str, version: str,
                 start_dir: str, medium_dir: Path, shots: Path):
        self.name = name
        self.machine = machine
        self.probe = probe
        self.display = display
        self.version = version
        self.language = machine.locale
        self.start_dir = start_dir
        self.medium_dir = medium_dir
        self.shots = shots
        self.program: Optional[subprocess.Popen] = None
        self.process_trace: Optional[Path] = None  # where the program's start is traced

    def msg(self, message_id) -> str:
        return texts.msg(message_id, self.language)

    def medium_file(self, name) -> Path:
        return host_path(self.medium_dir, name)

    def place_medium(self, medium: Optional[Path] = None):
        """Makes the medium's directory (or another host directory) the start directory."""
        self.machine.place(self.start_dir, medium or self.medium_dir)

    def start(self):
        self.program = self.machine.start(self.start_dir + PROGRAM_NAME, cwd=self.start_dir,
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
        alone; into `shots` unless a path is given."""
        if path is None:
            path = self.shots / f"{self.name}-{label}.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        crop = []
        if title is not None:
            left, top, width, height = self.probe.info(title).frame
            crop = ["-crop", f"{width}x{height}+{left}+{top}", "+repage"]
        subprocess.run(["import", "-display", self.display, "-window", "root", *crop, str(path)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return path
