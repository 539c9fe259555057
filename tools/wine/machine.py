"""Wine machines made with tools/winebox: a template made once, machines
copied from it and set to a Windows version and a locale, the host files
behind their Windows paths and the registry they saved."""
import os
import re
import shutil
import subprocess
import tempfile
from pathlib import Path
from typing import Dict, Iterator, Optional, Tuple

from wine import texts
from wine.expect import expect
from wine.host import WINEBOX, machine_kind, winebox

PROCESS_TRACE_CHANNELS = "+process"


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
        self.locale = locale
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

    def place(self, start_dir: str, host_directory: Path):
        """Makes a host directory the start directory (A:\\ or C:\\MEDIUM\\):
        a drive of its own for a drive root, else a directory of a drive
        (made for it unless it is C:) linked to the host directory."""
        drive, _, directory = start_dir.partition(":")
        directory = directory.strip("\\")
        if not directory:
            self.map_drive(drive, host_directory)
            return
        if drive.upper() == "C":
            target = self.file(start_dir)
        else:
            drive_root = self.path / f"drive_{drive.lower()}"
            drive_root.mkdir(exist_ok=True)
            self.map_drive(drive, drive_root)
            target = host_path(drive_root, directory)
        shutil.rmtree(target, ignore_errors=True)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.symlink_to(host_directory, target_is_directory=True)

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


def usable_template(template: Path) -> bool:
    """Whether a template made earlier is there and is of the kind of
    machine this host runs (one left from a run of the other kind cannot
    serve)."""
    registry = template / "system.reg"
    arch = machine_kind()
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


def new_machine(template: Path, path: Path, version: str, locale: str, display: str,
                **kwargs) -> "Machine":
    """A new machine at path, copied from the template and set to the
    Windows version and locale; one left there before is removed."""
    shutil.rmtree(path, ignore_errors=True)
    path.parent.mkdir(parents=True, exist_ok=True)
    winebox("new", template, path, "--version", version, "--locale", locale, display=display,
            **kwargs)
    return Machine(path, locale, display)
