"""The X displays that machines show their windows on."""
import os
import queue
import subprocess

from wine.host import WINEBOX, winebox


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
