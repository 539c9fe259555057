"""The end-to-end scenarios: what is done to the running program and what
must be seen and left behind."""
import time

from harness import CheckFailed, Run, Scenario, expect, expect_equal
from wine import texts

YES, NO, OK = 6, 7, 1
SC_CLOSE = 0xF060
VK_ESCAPE = 0x1B
WS_VISIBLE = 0x10000000
ABOUT_COMMAND = 0x10
APP_TITLE = "setup32"  # the program file's name without its extension

WS_EX_APPWINDOW = 0x00040000
SS_TYPEMASK, SS_ICON, SS_NOPREFIX = 0x1F, 0x03, 0x80

# Template fonts as (face, height in pixels) at 96 dots an inch.
ARIAL_10 = ("Arial", -13)
ARIAL_8 = ("Arial", -11)
MS_SANS_SERIF_8 = ("MS Sans Serif", -11)

# Dialog templates: the client size and the controls in template order as
# (id, class, x, y, width, height) in dialog units. Icon statics take the
# size of their icon, so only their place is compared.
MAIN_TEMPLATE = ((274, 86), [
    (-1, "button", 5, 0, 265, 80),
    (1, "button", 70, 60, 50, 14),
    (2, "button", 155, 60, 50, 14),
    (1000, "static", 45, 15, 190, 8),
    (1001, "static", 16, 35, 244, 10),
    (-1, "static", 20, 10, 20, 20),
    (-1, "static", 240, 10, 20, 20),
])
ABOUT_TEMPLATE = ((217, 55), [
    (-1, "static", 11, 17, 20, 20),
    (1008, "static", 40, 10, 119, 8),
    (1009, "static", 40, 25, 162, 8),
    (1, "button", 178, 7, 32, 14),
])
PROGRESS_TEMPLATE = ((186, 108), [
    (1004, "static", 7, 37, 172, 21),
    (1003, "msctls_progress32", 7, 68, 172, 14),
    (1005, "button", 67, 90, 50, 14),
    (1006, "static", 7, 7, 172, 22),
])


def wait_until(condition, seconds):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.2)
    return True


def check_layout(run: Run, title, template):
    """The dialog's size and its controls' ids, classes and rectangles are the template's."""
    size, expected = template
    info = run.probe.info(title)
    expect_equal(info.client_units, size, f"size of {title!r} in dialog units")
    controls = run.probe.controls(title)
    expect_equal([(c.id, c.cls.lower()) for c in controls], [e[:2] for e in expected],
                 f"controls of {title!r}")
    for control, (cid, _, *units) in zip(controls, expected):
        is_icon = control.style & SS_TYPEMASK == SS_ICON and control.cls.lower() == "static"
        compared = 2 if is_icon else 4
        expect_equal(control.units[:compared], tuple(units[:compared]),
                     f"rectangle of control {cid} in {title!r}")
    return info, {c.id: c for c in controls}


def check_fonts(run: Run, title, info, dialog_font_controls, template_font, template_font_controls):
    """The dialog font (message 9000's face; the system font's height, three
    quarters of it for other languages than English) on the text controls;
    the template's font on the others."""
    system_height = info.system_font_height
    expected_height = system_height if run.language == "en" else system_height * 3 // 4
    for control_id in dialog_font_controls:
        expect_equal(run.probe.font(title, control_id), (run.msg(9000), expected_height),
                     f"font of control {control_id} in {title!r}")
    for control_id in template_font_controls:
        expect_equal(run.probe.font(title, control_id), template_font,
                     f"font of control {control_id} in {title!r}")


def check_texts(run: Run, title, texts):
    for control_id, message_id in texts:
        expect_equal(run.probe.text(title, control_id), run.msg(message_id),
                     f"text of control {control_id} in {title!r}")


def check_main_dialog(run: Run):
    title = run.msg(64)
    run.wait_window(title)
    info, controls = check_layout(run, title, MAIN_TEMPLATE)
    check_texts(run, title, [(1000, 60), (1001, 61), (1, 62), (2, 63)])
    check_fonts(run, title, info, [1000, 1001, 1, 2], ARIAL_10, [0])
    expect(info.exstyle & WS_EX_APPWINDOW, "the main dialog has its own taskbar button")
    left, top, width, height = info.frame
    centred = ((info.screen[0] - width) // 2, (info.screen[1] - height) // 2)
    expect(abs(left - centred[0]) <= 1 and abs(top - centred[1]) <= 1,
           f"the main dialog at {(left, top)} is centred at {centred}")
    for icon in (c for c in controls.values() if c.id == -1 and c.cls.lower() == "static"):
        expect(icon.style & SS_TYPEMASK == SS_ICON, "the icons of the main dialog are icon statics")
    return title


def check_about_box(run: Run):
    title = run.msg(73)
    run.wait_window(title)
    info, controls = check_layout(run, title, ABOUT_TEMPLATE)
    check_texts(run, title, [(1008, 70), (1009, 71), (1, 72)])
    check_fonts(run, title, info, [1008, 1009, 1], ARIAL_8, [0])
    expect(controls[1008].style & SS_NOPREFIX, "the version line is drawn without & prefixes")
    return title


def exit_with_yes(run: Run, title):
    run.probe.press(title, 2)
    run.answer(YES, run.msg(45), run.msg(44))
    expect_equal(run.finish(), 1, "exit code of an Exit before any install")


# --- scenarios ------------------------------------------------------------------


def main_dialog_and_exit(run: Run):
    """The main dialog as the templates and the message table make it; Esc
    asks whether to exit, No keeps the dialog, the close box asks the same
    and Yes ends."""
    title = check_main_dialog(run)
    expect_equal(run.probe.version(run.scenario.medium + "setup32.exe"),
                 texts.VERSION_BLOCK, "version block")
    run.shot("main")

    run.probe.key(title, VK_ESCAPE)
    run.answer(NO, run.msg(45), run.msg(44))
    expect(run.probe.wait(title, 5) and run.still_running(), "No to the Exit question keeps the dialog")

    run.probe.syscommand(title, SC_CLOSE)
    run.answer(YES, run.msg(45), run.msg(44))
    expect_equal(run.finish(), 1, "exit code of an Exit before any install")
    expect(not run.machine.file("C:\\windows\\INF\\DSKADP.INF").exists(), "Exit installs nothing")


def dialogs_in_language(run: Run):
    """Main dialog and About box in the system's language; the About box
    comes from the system menu and its OK closes it."""
    title = check_main_dialog(run)
    run.probe.syscommand(title, ABOUT_COMMAND)
    about = check_about_box(run)
    run.shot("about")
    run.probe.press(about, OK)
    expect(run.probe.gone(about, 10), "OK closes the About box")
    exit_with_yes(run, title)


HELP_SOURCE = "C:\\MEDIUM\\TOOLS\\Disk Tools.HLP"
HELP_DESTINATION = "C:\\windows\\HELP\\Disk Tools.HLP"


def prepare_start(run: Run):
    # A directory in the place of the help file makes its copy fail.
    run.machine.file(HELP_DESTINATION).mkdir(parents=True)
    run.machine.file("C:\\CONFIG.SYS").write_bytes(b"DEVICE=C:\\OLDDRV\\OLDADP.SYS\r\nFILES=30\r\n")


def start_then_no_restart(run: Run):
    """Start installs with the progress window, asks about a file it cannot
    copy, then asks to restart; No ends the program with the install done and
    the file given up told by the exit code."""
    title = check_main_dialog(run)
    run.probe.press(title, 1)

    # The retry question is open: the progress window stands at the help file.
    run.probe.rows("box", 30)
    progress = run.msg(101)
    expect(run.probe.wait(progress, 1), "the progress window is shown")
    info, controls = check_layout(run, progress, PROGRESS_TEMPLATE)
    check_texts(run, progress, [(1005, 100)])
    check_fonts(run, progress, info, [1005, 1006, 1004], MS_SANS_SERIF_8, [0, 1003])
    expect(not controls[1005].visible and not controls[1005].enabled,
           "the progress window's Cancel button is hidden and disabled")
    expect_equal(run.probe.text(progress, 1006), run.msg(0) + HELP_SOURCE, "source line")
    expect_equal(run.probe.text(progress, 1004), run.msg(1) + HELP_DESTINATION, "destination line")
    expect_equal(run.probe.progress(progress), (1, 0, 4), "progress (position, low, high)")
    run.shot("retry")

    # Esc reaches the progress window while the question is open: it hides.
    run.probe.key(progress, VK_ESCAPE)
    expect(wait_until(lambda: not run.probe.info(progress).style & WS_VISIBLE, 10),
           "Esc hides the progress window")
    run.answer(NO, APP_TITLE, run.msg(42).replace("%s", HELP_DESTINATION))

    run.answer(NO, APP_TITLE, run.msg(43))
    expect_equal(run.finish(), 4, "exit code after a file given up")

    folder = {"win95": "W95", "win98": "W98"}[run.scenario.version]
    for medium_file, installed in [(folder + "\\DSKADP.MPD", "C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"),
                                   (folder + "\\DSKADP.INF", "C:\\windows\\INF\\DSKADP.INF"),
                                   ("TOOLS\\UNINST.EXE", "C:\\windows\\DSKUNINS.EXE")]:
        target = run.machine.file(installed)
        expect(target.is_file(), f"{installed} is installed")
        expect_equal(target.read_bytes(), run.medium_file(medium_file).read_bytes(), installed)
    expect_equal(run.machine.file("C:\\CONFIG.SYS").read_bytes(), b"FILES=30\r\n", "CONFIG.SYS")
    expect(run.machine.registry("HKCU").values("Software\\Disk Tools") is not None,
           "the product key records the install")


def prepare_silent(run: Run):
    script = run.medium_file("SETUP32.INI")
    script.write_bytes(script.read_bytes().replace(b"bShow=YES", b"bShow=no"))


def silent_install(run: Run):
    """With bShow=no the install runs at once and the program ends without
    ever showing a window of its own."""
    deadline = time.monotonic() + 60
    while run.still_running() and time.monotonic() < deadline:
        shown = [w for w in run.probe.windows() if w[1] == "#32770" and w[3] == "1"]
        if shown:
            raise CheckFailed(f"a dialog was shown in the silent mode: {shown}")
    expect_equal(run.finish(), 0, "exit code")
    expect(run.machine.file("C:\\windows\\INF\\DSKADP.INF").is_file(), "the install ran")


# Why runs are not held against the checker's plan: the checker presses
# Start; a directory of drive C: outside its machine's layout is not there.
EXITS = "the user exits at the main dialog, before the install"
BLOCKED = "a directory stands in the place of the help file, and the checker's machine lacks it"

ALL = [
    Scenario("main-en", "win98", "en", main_dialog_and_exit, unplanned=EXITS),
    Scenario("about-zh", "nt40", "zh", dialogs_in_language, unplanned=EXITS),
    Scenario("about-ja", "win2k", "ja", dialogs_in_language, unplanned=EXITS),
    Scenario("start-en", "win98", "en", start_then_no_restart, prepare=prepare_start,
             unplanned=BLOCKED),
    Scenario("start-ja", "win95", "ja", start_then_no_restart, prepare=prepare_start,
             unplanned=BLOCKED),
    Scenario("silent-floppy", "win95", "en", silent_install, medium="A:\\", prepare=prepare_silent),
]
