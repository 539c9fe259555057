"""The probe (tests/e2e/programs/probe.cpp), run inside a machine: the
windows of the programs there, their controls and texts, and key presses,
clicks and answers to message boxes."""
import dataclasses
import time
from pathlib import Path
from typing import Dict, List, Optional

from wine.expect import CheckFailed
from wine.machine import Machine


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
