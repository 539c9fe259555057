"""End-to-end scenarios of the exit code: one way for each code that a batch
file or a deployment tool can read after the program has ended."""
import time

from harness import Run, Scenario, expect, expect_equal
from scripts import write_medium
from wine import host, versions

YES, NO, OK = 6, 7, 1
START, EXIT = 1, 2
APP_TITLE = "setup32"
WM_CANCELREQUEST = 0x405
SHARING_VIOLATION = 32

SCRIPT = """[Display]
GroupName=Disk Tools
[{family} Driver Files]
1=.\\A.SYS,.\\{system}\\A.SYS
2=.\\B.SYS,.\\{system}\\B.SYS
[Modify]
1=OLD.SYS
"""
OLD_CONFIG = b"DEVICE=C:\\DRV\\OLD.SYS\r\nFILES=30\r\n"


def destination(run: Run, name: str) -> str:
    return f"{versions.WINE_WINDOWS}\\{versions.version(run.version).system_dir}\\{name}"


def prepare(run: Run):
    """Two driver files and a CONFIG.SYS line to drop."""
    platform = versions.version(run.version)
    write_medium(run, SCRIPT.format(family=platform.script_section, system=platform.system_dir),
                 {"A.SYS": b"a", "B.SYS": b"b"})
    run.machine.file("C:\\CONFIG.SYS").write_bytes(OLD_CONFIG)


def prepare_failing_copy(run: Run):
    """As prepare, and a directory in the place of A.SYS makes its copy fail."""
    prepare(run)
    run.machine.file(destination(run, "A.SYS")).mkdir(parents=True)


def prepare_no_script(run: Run):
    run.medium_file("SETUP32.INI").unlink()
    run.machine.file("C:\\CONFIG.SYS").write_bytes(OLD_CONFIG)


def prepare_empty_script(run: Run):
    prepare(run)
    run.medium_file("SETUP32.INI").write_bytes(b"")


def start(run: Run):
    run.wait_window(run.msg(64))
    run.probe.press(run.msg(64), START)


def retry_no(run: Run):
    run.answer(NO, APP_TITLE, run.msg(42).replace("%s", destination(run, "A.SYS")))


def no_restart_ends_with(run: Run, code: int):
    run.answer(NO, APP_TITLE, run.msg(43), seconds=60)
    expect_equal(run.finish(60), code, "exit code")


def exit_ends_with(run: Run, code: int):
    """The dialog is still open: Exit and Yes end the program with `code`."""
    expect(run.probe.wait(run.msg(64), 5) and run.still_running(), "the main dialog stays open")
    run.probe.press(run.msg(64), EXIT)
    run.answer(YES, run.msg(45), run.msg(44))
    expect_equal(run.finish(), code, "exit code")


def installed(run: Run):
    start(run)
    no_restart_ends_with(run, 0)
    expect_equal(run.machine.file(destination(run, "B.SYS")).read_bytes(), b"b", "B.SYS")
    expect_equal(run.machine.file("C:\\CONFIG.SYS").read_bytes(), b"FILES=30\r\n", "CONFIG.SYS")


def exit_before_install(run: Run):
    run.wait_window(run.msg(64))
    exit_ends_with(run, 1)
    expect(not run.machine.file(destination(run, "B.SYS")).exists(), "Exit installs nothing")


def no_script(run: Run):
    """Start says where it looked, changes nothing and leaves the dialog open."""
    start(run)
    run.answer(OK, APP_TITLE, run.msg(50).replace("%s", run.scenario.medium + "SETUP32.INI"))
    exit_ends_with(run, 2)
    expect_equal(run.machine.file("C:\\CONFIG.SYS").read_bytes(), OLD_CONFIG, "CONFIG.SYS")
    expect(run.machine.registry("HKCU").values("Software\\VELKA Technology Corp") is None,
           "no product key")


def empty_script(run: Run):
    """A script of 0 bytes opens, but Windows reads no section from it: Start
    says it is empty, changes nothing and leaves the dialog open."""
    start(run)
    run.answer(OK, APP_TITLE, run.msg(56).replace("%s", run.scenario.medium + "SETUP32.INI"))
    exit_ends_with(run, 2)
    expect(not run.machine.file(destination(run, "A.SYS")).exists(), "no file copied")
    expect_equal(run.machine.file("C:\\CONFIG.SYS").read_bytes(), OLD_CONFIG, "CONFIG.SYS")


def script_held_open(run: Run):
    """While the dialog waits, another program opens the script without
    sharing it: Start says it cannot read it, with Windows' error, changes
    nothing and leaves the dialog open."""
    run.wait_window(run.msg(64))
    script = run.scenario.medium + "SETUP32.INI"
    holder = run.machine.start(host.test_program("file_holder.exe"), script, "SETUP32.INI - Editor")
    run.wait_window("SETUP32.INI - Editor")
    start(run)
    run.answer(OK, APP_TITLE, run.msg(52).replace("%d", str(SHARING_VIOLATION)).replace("%s", script))
    exit_ends_with(run, 2)
    holder.kill()
    expect(not run.machine.file(destination(run, "A.SYS")).exists(), "no file copied")
    expect_equal(run.machine.file("C:\\CONFIG.SYS").read_bytes(), OLD_CONFIG, "CONFIG.SYS")


def copy_cancelled(run: Run):
    """A cancel request reaches the main dialog while the retry question is
    open; the next file asks the cancel question, and Yes ends the pass."""
    start(run)
    run.probe.rows("box", 30)
    posted = run.machine.run(host.test_program("post_message.exe"), hex(WM_CANCELREQUEST), run.msg(64))
    expect_equal(posted.returncode, 0, "the cancel request was posted")
    time.sleep(1)
    retry_no(run)
    run.answer(YES, run.msg(41), run.msg(40))
    no_restart_ends_with(run, 3)
    expect(not run.machine.file(destination(run, "B.SYS")).exists(), "the pass ended before B.SYS")


def file_given_up(run: Run):
    start(run)
    retry_no(run)
    no_restart_ends_with(run, 4)
    expect_equal(run.machine.file(destination(run, "B.SYS")).read_bytes(), b"b", "B.SYS")


def config_sys_failed(run: Run):
    """CONFIG.SYS is open in a viewer that lets nobody rename it: the edit
    fails, the report names the file, and the dialog stays open."""
    holder = run.machine.start(host.test_program("read_holder.exe"), "C:\\CONFIG.SYS", "CONFIG.SYS - Viewer")
    run.wait_window("CONFIG.SYS - Viewer")
    start(run)
    _, text = run.probe.answer(OK, 60)
    expect(text.startswith(run.msg(46) + "\n\nc:\\CONFIG.SYS (MoveFileA, "), f"the report: {text!r}")
    exit_ends_with(run, 5)
    holder.kill()
    expect_equal(run.machine.file("C:\\CONFIG.SYS").read_bytes(), OLD_CONFIG, "CONFIG.SYS")


IN_THE_WAY = "a directory stands where a driver file goes, and the checker's machine lacks it"

ALL = [
    Scenario("exit-0-installed", "win98", "en", installed, prepare=prepare),
    Scenario("exit-1-exit-before-install", "win95", "en", exit_before_install, prepare=prepare,
             unplanned="the user exits at the main dialog, before the install"),
    Scenario("exit-2-no-script", "nt40", "en", no_script, prepare=prepare_no_script,
             unplanned="no setup script: the checker reports that and plans nothing"),
    Scenario("exit-2-empty-script", "win95", "en", empty_script, prepare=prepare_empty_script),
    Scenario("exit-2-script-held-open", "win98", "en", script_held_open, prepare=prepare,
             unplanned="another program holds the script open, which the checker's machine cannot"),
    Scenario("exit-3-copy-cancelled", "win2k", "en", copy_cancelled, prepare=prepare_failing_copy,
             unplanned=IN_THE_WAY + ", and the cancel request comes from another program"),
    Scenario("exit-4-file-given-up", "win95", "en", file_given_up, prepare=prepare_failing_copy,
             unplanned=IN_THE_WAY),
    Scenario("exit-5-config-sys-failed", "nt40", "en", config_sys_failed, prepare=prepare,
             unplanned="another program holds CONFIG.SYS open, which the checker's machine cannot"),
]
