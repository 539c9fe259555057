"""End-to-end scenarios of the file installation: the copy list of the
worked example, the error box of a malformed line, files held open by a
running program, the retry question and the install record."""
import stat
import subprocess
import time

from harness import CheckFailed, Run, Scenario, expect, expect_equal
from scripts import WORKED_EXAMPLE, write_medium
from wine import host

YES, NO, OK = 6, 7, 1
APP_TITLE = "setup32"
PRODUCT_KEY = "Software\\Disk Tools"


def write_c(run: Run, windows_path: str, data: bytes):
    path = run.machine.file(windows_path)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def hold(run: Run, windows_path: str, title: str, *mode) -> subprocess.Popen:
    """Starts the holder program on a file of drive C: under a window titled `title`."""
    holder = run.machine.start(host.test_program("file_holder.exe"), windows_path, title, *mode)
    run.wait_window(title, 30)
    return holder


def start_install(run: Run):
    run.wait_window(run.msg(64))
    run.probe.press(run.msg(64), 1)


def no_restart(run: Run, code=0):
    """No to the restart question; the program ends with `code` (4 after a
    file given up)."""
    run.answer(NO, APP_TITLE, run.msg(43), seconds=60)
    expect_equal(run.finish(60), code, "exit code")


def expect_installed(run: Run, pairs):
    """Each (medium file, installed path) pair: the installed file has the
    medium file's bytes and its path is recorded in the product key."""
    record = run.machine.registry("HKCU").values(PRODUCT_KEY)
    expect(record is not None, f"the product key {PRODUCT_KEY} exists")
    expect_equal(record.get(""), "", "the product key's default value")
    for medium_file, installed in pairs:
        expect_equal(run.machine.file(installed).read_bytes(),
                     run.medium_file(medium_file).read_bytes(), installed)
        expect_equal(record.get(installed.lower()), installed, f"record of {installed}")


# --- the worked example on Windows 95 from a floppy -------------------------------


def prepare_worked_95(run: Run):
    write_medium(run, WORKED_EXAMPLE, {
        "W95\\DSKADP.MPD": b"miniport",
        "W95\\Disk Tools.HLP": b"help",
        "W95\\DSKADP.INF": b"inf",
        "W95\\DSKADP.VXD": b"vxd",
    })
    mpd = run.medium_file("W95\\DSKADP.MPD")
    mpd.chmod(mpd.stat().st_mode & ~(stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH))


def worked_example_95(run: Run):
    """Line 3 is reported as code 102 and skipped, the comment silently; the
    other three files land where their lines say, are recorded, and the
    read-only one arrives writable."""
    start_install(run)
    run.answer(OK, "AddSectionFilesToCopyList", "Cannot find the destination path !")
    no_restart(run)
    expect_installed(run, [
        ("W95\\DSKADP.MPD", "C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"),
        ("W95\\Disk Tools.HLP", "C:\\windows\\HELP\\Disk Tools.HLP"),
        ("W95\\DSKADP.INF", "C:\\windows\\INF\\DSKADP.INF"),
    ])
    mode = run.machine.file("C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD").stat().st_mode
    expect(mode & stat.S_IWUSR, "the read-only medium file arrives writable")
    expect(not run.machine.file("C:\\windows\\DSKADP.VXD").exists(), "the malformed line copies nothing")


# --- the worked example on Windows NT, with a running program holding its file ----


def prepare_worked_nt(run: Run):
    write_medium(run, WORKED_EXAMPLE, {"NT\\DSKADP.SYS": b"driver", "NT\\WNASPI32.DLL": b"aspi"})
    write_c(run, "C:\\TOOLS\\PROBE.EXE", b"new probe")
    write_c(run, "C:\\TOOLS\\NEW\\PROBE.EXE", b"old probe")


def worked_example_nt(run: Run):
    """PROBE.EXE is held open by a program whose window is titled PROBE: the
    window is sent WM_CLOSE, the program ends and the copy succeeds without
    a question."""
    holder = hold(run, "C:\\TOOLS\\NEW\\PROBE.EXE", "PROBE")
    start_install(run)
    no_restart(run)
    expect_equal(holder.wait(timeout=10), 0, "the holder ended on WM_CLOSE")
    expect_equal(run.machine.file("C:\\TOOLS\\NEW\\PROBE.EXE").read_bytes(), b"new probe", "PROBE.EXE")
    record = run.machine.registry("HKCU").values(PRODUCT_KEY)
    for installed in ("C:\\windows\\SYSTEM32\\DRIVERS\\DSKADP.SYS", "C:\\windows\\SYSTEM32\\WNASPI32.DLL",
                      "C:\\TOOLS\\NEW\\PROBE.EXE"):
        expect_equal(record.get(installed.lower()), installed, f"record of {installed}")


# --- the companion utility holding an ASPI executable ------------------------------

ASPI_SCRIPT = """[Display]
GroupName=Disk Tools
[Win98 Driver Files]
1=.\\ASPIMON.EXE,.\\ASPIMON.EXE
"""


def prepare_companion(run: Run):
    write_medium(run, ASPI_SCRIPT, {"ASPIMON.EXE": b"new monitor"})
    write_c(run, "C:\\windows\\ASPIMON.EXE", b"old monitor")


def companion_utility(run: Run):
    """No window is titled ASPIMON, so the companion utility's window is closed."""
    holder = hold(run, "C:\\windows\\ASPIMON.EXE", "Untitled - BusProbe32")
    start_install(run)
    no_restart(run)
    expect_equal(holder.wait(timeout=10), 0, "the companion ended on WM_CLOSE")
    expect_installed(run, [("ASPIMON.EXE", "C:\\windows\\ASPIMON.EXE")])


# --- the retry question -------------------------------------------------------------

RETRY_SCRIPT = """[Display]
GroupName=Disk Tools
[WIN2000 Driver Files]
1=.\\A.SYS,.\\SYSTEM32\\A.SYS
2=.\\B.SYS,.\\SYSTEM32\\B.SYS
[WIN2000 WinASPI32]
1=.\\C.DLL,.\\SYSTEM32\\C.DLL
"""


def prepare_retry(run: Run):
    write_medium(run, RETRY_SCRIPT, {"A.SYS": b"a", "B.SYS": b"b", "C.DLL": b"c"})
    # Directories in the place of A.SYS and B.SYS make their copies fail.
    for name in ("A.SYS", "B.SYS"):
        run.machine.file(f"C:\\windows\\SYSTEM32\\{name}").mkdir(parents=True)


def retry_question(run: Run):
    """No skips a file and the bar still advances; Yes tries again and asks
    again while the copy fails; the last file is copied."""
    start_install(run)
    progress = run.msg(101)
    question = run.msg(42)
    a_sys, b_sys = "C:\\windows\\SYSTEM32\\A.SYS", "C:\\windows\\SYSTEM32\\B.SYS"

    run.probe.rows("box", 30)
    expect_equal(run.probe.progress(progress), (0, 0, 3), "progress at A.SYS (position, low, high)")
    run.answer(NO, APP_TITLE, question.replace("%s", a_sys))

    run.probe.rows("box", 30)
    expect_equal(run.probe.progress(progress), (1, 0, 3), "progress after A.SYS was skipped")
    expect_equal(run.probe.text(progress, 1004), run.msg(1) + b_sys, "destination line")
    run.answer(YES, APP_TITLE, question.replace("%s", b_sys))
    run.answer(NO, APP_TITLE, question.replace("%s", b_sys))

    no_restart(run, 4)
    expect_installed(run, [("C.DLL", "C:\\windows\\SYSTEM32\\C.DLL")])
    record = run.machine.registry("HKCU").values(PRODUCT_KEY)
    expect(a_sys.lower() not in record and b_sys.lower() not in record, "skipped files are not recorded")


# --- a program that does not answer WM_CLOSE ---------------------------------------


def prepare_hung(run: Run):
    write_medium(run, """[Display]
GroupName=Disk Tools
[Win95 Driver Files]
1=.\\PROBE.EXE,C:\\TOOLS\\PROBE.EXE
""", {"PROBE.EXE": b"new probe"})
    write_c(run, "C:\\TOOLS\\PROBE.EXE", b"old probe")


def hung_window(run: Run):
    """The install waits about 10 s for a window that does not answer
    WM_CLOSE, then asks the retry question instead of hanging."""
    hold(run, "C:\\TOOLS\\PROBE.EXE", "PROBE", "hang")
    start_install(run)
    began = time.monotonic()
    run.probe.rows("box", 60)
    waited = time.monotonic() - began
    if not 9 <= waited <= 25:
        raise CheckFailed(f"the retry question came after {waited:.1f} s, not after about 10 s")
    run.answer(NO, APP_TITLE, run.msg(42).replace("%s", "C:\\TOOLS\\PROBE.EXE"))
    no_restart(run, 4)
    expect_equal(run.machine.file("C:\\TOOLS\\PROBE.EXE").read_bytes(), b"old probe", "PROBE.EXE")


# Why runs are not held against the checker's plan: its machine holds the
# medium and the Windows layout, not other files of drive C: nor programs
# that hold them.
OUTSIDE = "a source file on drive C: outside the medium, which the checker's machine lacks"

ALL = [
    Scenario("files-worked-95", "win95", "en", worked_example_95, medium="A:\\",
             prepare=prepare_worked_95),
    Scenario("files-worked-nt", "nt40", "en", worked_example_nt, prepare=prepare_worked_nt,
             unplanned=OUTSIDE),
    Scenario("files-companion", "win98", "en", companion_utility, prepare=prepare_companion),
    Scenario("files-retry", "win2k", "en", retry_question, prepare=prepare_retry,
             unplanned="directories stand in the place of two files, and the checker's machine "
                       "lacks them"),
    Scenario("files-hung-window", "win95", "en", hung_window, prepare=prepare_hung,
             unplanned="a program that does not end holds the destination, which the checker's "
                       "machine lacks"),
]
