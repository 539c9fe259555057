"""The demo's install report on a vendor's medium that shares nothing with
the sample (tests/media/vendor): its own driver files, device ids, batch
post-install program and a Japanese group name, on Windows 98 and NT 4.0,
in English and Japanese. Each report must list the vendor's programs, its
device clean-up and its message box. A run on a display that does not
answer is reported as a run that showed no window. And the demo's reports
that the vendor's guide shows are the real ones (tools/check-guide --wine)."""
import functools
import os
import subprocess
import sys
from pathlib import Path

from harness import ROOT, WORK, Scenario, expect, expect_equal

sys.path.insert(0, str(ROOT / "tools"))
import demo  # noqa: E402
import demo_medium  # noqa: E402
import demo_report  # noqa: E402

VENDOR = ROOT / "tests" / "media" / "vendor"
CONFIG_SYS = b"DEVICE=C:\\AHX\\AHX1.SYS\r\nFILES=30\r\n"
GROUP_BYTES = "アドバンスSCSIツール".encode("cp932")


def prepare(run):
    run.demo = demo.prepare(run, VENDOR, CONFIG_SYS)
    # The harness starts the program; the demo's start adds the process trace.
    run.start = functools.partial(demo.start_traced, run)


def keys(report, purpose):
    return {key["path"].rsplit("\\", 1)[-1]: key for key in report["registry"][purpose]}


def check_report(run):
    driver = demo.Driver(run, WORK / "shots" / run.scenario.name, True, demo.answers(""),
                         tell=lambda _: None)
    code = demo.see_through(run, driver, 60)
    report = demo.report_of(run, run.demo, driver, code)
    group = demo_medium.decode(GROUP_BYTES, run.machine.codec)
    nine = run.scenario.version == "win98"

    expect_equal(report["exit_code"], 0, "exit code")
    expect_equal(report["group"], group, "group name, in the machine's code page")
    expect_equal([(f["copied"], f["reason"]) for f in report["files_named"]], [(True, None)] * 4,
                 "each file the script names copied")
    expect_equal([(p["command_line"], p["note"]) for p in report["programs"]],
                 [("grpconv -o", "the program-group converter; a stand-in in this machine"),
                  ("A:\\UTIL\\AHSCAN.BAT /QUIET", "a batch file, run by cmd.exe")],
                 "programs started")
    expect_equal([(b["question"], b["text"], b["answer"]) for b in report["boxes"]],
                 [("restart", run.msg(43), "No")], "message boxes")
    expect_equal(report["config_sys"][3:], ["-DEVICE=C:\\AHX\\AHX1.SYS", " FILES=30"],
                 "CONFIG.SYS difference")

    product = report["registry"]["product key"]
    expect_equal([key["path"] for key in product], ["HKEY_CURRENT_USER\\Software\\" + group],
                 "product key")
    expect(any(group + " README" in value for value in product[0]["values"]),
           f"the shortcut recorded under the group's name: {product[0]['values']}")
    expect_equal(list(keys(report, "uninstall entry")), [group], "uninstall entry")

    cleaned = "removed" if nine else "still there"
    expect_equal([entry["state"] for entry in report["device_cleanup"]], [cleaned] * 4,
                 "the two enumeration keys and the two driver database files")
    services = keys(report, "services")
    if nine:
        expect_equal(services, {}, "no service on Windows 98")
    else:
        expect_equal(sorted(services), ["AHX2", "Scsiscan"], "services")
        expect("+ Start = 4 (0x00000004)" in services["Scsiscan"]["values"],
               f"Scsiscan disabled: {services}")
    expect(all(box["screenshot"] for box in report["boxes"]), "a screenshot of each box")


# Each platform once and each language once: the pairs left out differ from
# these only in what these already check.
ALL = [Scenario(f"demo-vendor-{version}-{locale}", version, locale, check_report, medium="A:\\",
                prepare=prepare)
       for version, locale in (("win98", "ja"), ("nt40", "en"))]


def prepare_without_display(run):
    run.demo = demo.prepare(run, ROOT / "examples" / "medium",
                            demo.MachineDescription.read().config_sys)
    run.start = functools.partial(demo.start_traced, run, NO_SERVER)


NO_SERVER = ":77"  # a display no X server answers


def check_no_window(run):
    """The program, started on a display that does not answer, shows no
    window: the report says so with what Wine said, claims no copy failed
    at a message box, and the demo would end with a non-zero status."""
    driver = demo.Driver(run, None, True, demo.answers(""), tell=lambda _: None)
    code = demo.see_through(run, driver, 60)
    report = demo.report_of(run, run.demo, driver, code)
    expect(report["no_window"], f"no window reported: {report['windows_seen']}")
    expect(any("display" in line.lower() or "driver" in line.lower()
               for line in report["wine_said"]), f"what Wine said: {report['wine_said']}")
    expect_equal({entry["reason"] for entry in report["files_named"]},
                 {"the destination was not written, and no message box names it"},
                 "why no file was copied")
    printed = demo_report.text(report)
    expect("showed no window at all" in printed and "Exit code:" not in printed,
           f"the report's head: {printed.splitlines()[:6]}")


def check_guide_examples(run):
    """The real tools/demo, run as each of the guide's examples says, prints
    the report the guide shows."""
    checked = subprocess.run([str(ROOT / "tools" / "check-guide"), "--wine"], capture_output=True,
                             text=True, env=dict(os.environ, DISPLAY=run.display))
    expect(checked.returncode == 0, f"the guide's demo examples:\n{checked.stdout}{checked.stderr}")


def no_start(run):
    run.start = lambda: None


ALL += [
    Scenario("demo-no-window", "win95", "en", check_no_window, medium="A:\\",
             prepare=prepare_without_display,
             unplanned="the program shows no window, so no install is planned"),
    Scenario("guide-demo-examples", "win98", "ja", check_guide_examples, prepare=no_start,
             unplanned="each example runs tools/demo, in a machine of its own"),
]
