"""The Python of the repository finds its modules through the path its
shell wrappers set (tools/, and tests/e2e for the harness), never by
editing sys.path, and imports without starting anything."""
import re
import subprocess
import sys
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
PATH_EDIT = re.compile(r"\bsys\.path\s*(\.\s*(insert|append|extend)\b|\[|[+]?=)")


def python_files():
    for folder in ("tools", "tests"):
        for path in (ROOT / folder).rglob("*"):
            if path.is_file() and "__pycache__" not in path.parts and (
                    path.suffix == ".py" or path.read_bytes()[:64].startswith(b"#!/usr/bin/env python")):
                yield path


class Imports(unittest.TestCase):
    def test_no_file_edits_sys_path(self):
        edits = [f"{path.relative_to(ROOT)}:{number}" for path in python_files()
                 for number, line in enumerate(path.read_text("utf-8").splitlines(), 1)
                 if PATH_EDIT.search(line) and "PATH_EDIT" not in line]
        self.assertEqual(edits, [])

    def test_the_demo_imports_without_asking_the_host_anything(self):
        # Importing runs no process: no Wine, no checker, before bootstrap.
        probe = ("import subprocess\n"
                 "def refuse(*_, **__): raise SystemExit('a process was started on import')\n"
                 "subprocess.run = subprocess.Popen = subprocess.check_output = refuse\n"
                 "import demo, demo_report, demo_script, demo_medium\n")
        done = subprocess.run([sys.executable, "-c", probe], cwd=ROOT, capture_output=True,
                              text=True, env={"PYTHONPATH": str(ROOT / "tools")})
        self.assertEqual((done.returncode, done.stderr), (0, ""))


if __name__ == "__main__":
    unittest.main()
