"""What the install scenarios set up in a Wine machine before the program
starts, and how they read back what the install left: registry imports,
test programs placed, installed files, the product key."""
import time
from pathlib import Path
from typing import Dict, Iterable, List, Sequence, Tuple

from harness import CheckFailed, Machine, Registry, Run, expect, expect_equal
from wine import host

SHELL_FOLDERS = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
SERVICES_KEY = "System\\CurrentControlSet\\Services"

# English texts of the messages these scenarios meet that the spine's
# scenarios do not.
TEXTS = {
    10: "AddSectionFilesToCopyList",
    14: "Cannot find the destination path !",
}


# --- setting up the machine -----------------------------------------------------


def reg_text(data) -> str:
    """A value's data in REGEDIT4 notation: a text or a DWORD."""
    if isinstance(data, int):
        return f"dword:{data:08x}"
    return '"' + data.replace("\\", "\\\\").replace('"', '\\"') + '"'


REGEDIT_ATTEMPTS = 3


def import_registry(machine: Machine, keys: Dict[str, Dict[str, object]]):
    """Writes keys and values into the machine's registry with regedit. Keys
    are full names such as HKEY_LOCAL_MACHINE\\Enum\\PCI; a value named ""
    is the key's default value."""
    lines = ["REGEDIT4", ""]
    for key, values in keys.items():
        lines.append(f"[{key}]")
        lines += [("@" if name == "" else reg_text(name)) + "=" + reg_text(data)
                  for name, data in values.items()]
        lines.append("")
    script = machine.file("C:\\setup32-e2e.reg")
    script.write_text("\r\n".join(lines) + "\r\n", encoding="ascii")
    # A machine that is still starting up now and then refuses the first
    # import; a second one then succeeds.
    for _ in range(REGEDIT_ATTEMPTS):
        result = machine.run("regedit", "/S", "C:\\setup32-e2e.reg")
        if result.returncode == 0:
            break
        time.sleep(1)
    script.unlink()
    expect_equal(result.returncode, 0,
                 f"regedit import ({result.stderr.decode(errors='replace').strip()[-200:]})")


def place_test_program(name: str, destination: Path):
    """Copies a test-only program (tests/e2e/programs) to a host path."""
    destination.parent.mkdir(parents=True, exist_ok=True)
    destination.write_bytes(host.test_program(f"{name}.exe").read_bytes())


# --- reading back -------------------------------------------------------------------


def wait_for_lines(path: Path, count: int, seconds=20) -> List[bytes]:
    """The lines of a file that other programs are writing, once it has
    `count` of them."""
    deadline = time.monotonic() + seconds
    while True:
        lines = path.read_bytes().splitlines() if path.exists() else []
        if len(lines) >= count:
            return lines
        if time.monotonic() > deadline:
            raise CheckFailed(f"{path.name} holds {len(lines)} lines, {count} awaited")
        time.sleep(0.2)


def short_paths(machine: Machine, paths: Sequence[str]) -> List[str]:
    """What GetShortPathName makes of each path in this machine (Wine hashes
    long names); empty for a path it cannot convert, such as a missing file."""
    result = machine.run("winepath", "-s", *paths)
    expect_equal(result.returncode, 0, "winepath -s")
    lines = result.stdout.decode().split("\n")
    return [line.rstrip("\r") for line in lines[:len(paths)]]


def key_tree(registry: Registry, key: str) -> Dict[str, Dict[str, object]]:
    """The saved keys at and below a key. A Wine registry file leaves out a
    key that has subkeys but no values, so a key exists when this is not
    empty."""
    name = key.lower()
    return {k: v for k, v in registry.keys.items() if k == name or k.startswith(name + "\\")}


def expect_values(registry: Registry, key: str, expected: Dict[str, object], what: str):
    """The key holds exactly these values (names without regard to case)."""
    expect_equal(registry.values(key), {name.lower(): data for name, data in expected.items()},
                 what)


def expect_product_key(run: Run, group: str, items: Iterable[str]):
    """The product key records exactly these paths, each under its own name,
    with the empty default value."""
    expected = {"": ""}
    expected.update({item: item for item in items})
    expect_values(run.machine.registry("HKCU"), f"Software\\{group}", expected, "product key")


def expect_copied_in_order(pairs: Sequence[Tuple[Path, Path]]):
    """Each (source, destination) of host files was copied, in this order:
    a later destination changed after an earlier one."""
    changed = []
    for source, destination in pairs:
        expect(destination.is_file(), f"{destination.name} is installed")
        expect_equal(destination.read_bytes(), source.read_bytes(), f"content of {destination}")
        changed.append(destination.stat().st_ctime_ns)
    expect(changed == sorted(changed) and len(set(changed)) == len(changed),
           f"the files were copied in list order: {[d.name for _, d in pairs]}")


def expect_no_file_named(root: Path, name: str):
    found = [p for p in root.rglob("*") if p.name.lower() == name.lower()]
    expect(not found, f"no {name} below {root}: {found}")
