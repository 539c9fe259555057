"""The demo's install report on a vendor's medium that shares nothing with
the sample (tests/media/vendor): its own driver files, device ids, batch
post-install program and a Japanese group name, on Windows 98 and NT 4.0,
in English and Japanese. Each report must list the vendor's programs, its
device clean-up and its message box. Two mistakes on the sample, each
report held whole against what the machine shows: a UTF-8 byte-order mark
glued to [Display], which Wine reads past and Windows does not (with a
read-only destination, which Wine replaces and Windows does not), and no
[Display] at all. A run on a display that does not answer is reported as a
run that showed no window. And the demo's reports that the vendor's guide
shows are the real ones (tools/check-guide --wine)."""
import codecs
import functools
import os
import re
import shutil
import subprocess
from pathlib import Path

import demo
import demo_report
from harness import ROOT, WORK, Scenario, expect, expect_equal

VENDOR = ROOT / "tests" / "media" / "vendor"
# A byte that the code page leaves undefined, as a Wine machine names it:
# the character of its value (cp1252's 0x81 is U+0081).
codecs.register_error("as-wine", lambda error: (
    "".join(map(chr, error.object[error.start:error.end])), error.end))
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
    group = GROUP_BYTES.decode(run.machine.codec, errors="as-wine")
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
    expect_equal((report["config_sys"]["state"], report["config_sys"]["diff"][3:]),
                 ("rewritten", ["-DEVICE=C:\\AHX\\AHX1.SYS", " FILES=30"]), "CONFIG.SYS difference")

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


SAMPLE = ROOT / "examples" / "medium"
SAMPLE_SCRIPT = (SAMPLE / "SETUP32.INI").read_bytes()
# The sample's first line, a comment, left out: [Display] is line 1, and the
# byte-order mark is glued to its header.
BOM_ON_DISPLAY = b"\xef\xbb\xbf" + SAMPLE_SCRIPT.split(b"\n", 1)[1]
WITHOUT_DISPLAY = re.sub(rb"\[Display\].*?\r?\n\r?\n", b"", SAMPLE_SCRIPT, flags=re.S)
UNTOUCHED_CONFIG_SYS = b"FILES=30\r\n"  # names no file of the sample's [Modify]
DEFAULT_GROUP = "VELKA Technology Corp"  # the group name of a script without one


def variant_of_sample(name: str, script: bytes) -> Path:
    """A copy of the sample medium with another script."""
    target = WORK / "demo-media" / name
    shutil.rmtree(target, ignore_errors=True)
    shutil.copytree(SAMPLE, target)
    (target / "SETUP32.INI").write_bytes(script)
    return target


READ_ONLY_DESTINATION = "C:\\windows\\DSKUNINS.EXE"  # the third file of the sample


def prepare_variant(script: bytes, read_only: str = ""):
    """The sample with another script; with a read-only file in the way of a copy."""
    def prepare_run(run):
        if read_only:
            held = run.machine.file(read_only)
            held.write_bytes(b"an older uninstaller\r\n")
            held.chmod(0o444)
        medium = variant_of_sample(run.scenario.name, script)
        run.demo = demo.prepare(run, medium, UNTOUCHED_CONFIG_SYS)
        run.start = functools.partial(demo.start_traced, run)

    return prepare_run


def report_of_run(run):
    driver = demo.Driver(run, None, True, demo.answers(""), tell=lambda _: None)
    code = demo.see_through(run, driver, 60)
    return demo.report_of(run, run.demo, driver, code)


def paths(report, purpose):
    return [key["path"] for key in report["registry"][purpose]]


def check_wine_differences(run):
    """Wine reads past the mark and finds [Display], and replaces the
    read-only file: the report says what the machine shows, and marks each
    item that Windows, finding no [Display] and refusing the copy, would
    give otherwise."""
    report = report_of_run(run)
    group = "Disk Tools"
    expect_equal((report["exit_code"], report["group"], report["group_from"]),
                 (0, group, "[Display] GroupName"), "exit code and group name")
    expect_equal([(f["copied"], f["reason"]) for f in report["files_named"]], [(True, None)] * 4,
                 "each file the script names copied")
    expect_equal(paths(report, "product key"), ["HKEY_CURRENT_USER\\Software\\" + group],
                 "product key")
    expect_equal(report["registry"]["other"], [], "keys of no known purpose")
    default = DEFAULT_GROUP
    expect_equal([(m["item"], m["id"], m["here"]) for m in report["wine_differences"]], [
        ("script", "utf8-bom", "here line 1 is the header of [Display], which Windows does not find"),
        ("group", "utf8-bom", f"on Windows the group name is {default}"),
        ("product key", "utf8-bom", f"on Windows the key is named {default}"),
        ("uninstall entry", "utf8-bom", f"on Windows the entry is named {default}"),
        ("device ids", "utf8-bom", "on Windows the device ids are 6E02"),
        ("file 1", "utf8-bom", f"on Windows <GROUp> is replaced by {default}"),
        ("script", "comment-lines", "here [Win95 Driver Files] holds comment lines, which the "
         "program passes over itself: the same result on Windows"),
        ("file 2", "read-only-destination", "the destination was read-only: on Windows this copy "
         "fails and the retry question comes"),
    ], "the items Wine's differences touch")
    expect_equal((report["config_sys"]["state"], [f["change"] for f in report["files"]
                                                   if f["path"] == "C:\\CONFIG.SYS"]),
                 ("rewritten with the same bytes", ["rewritten"]), "CONFIG.SYS")


def check_without_display(run):
    """Every [Display] value falls back to its default: the product key and
    the uninstall entry are filed under the default group name, and the help
    file named after it, which the medium lacks, is given up at its box."""
    report = report_of_run(run)
    default = DEFAULT_GROUP
    expect_equal((report["exit_code"], report["group"], report["group_from"]),
                 (4, default, "the default"), "exit code and group name")
    expect_equal([(f["copied"], f["reason"]) for f in report["files_named"]],
                 [(True, None),
                  (False, "the copy failed and was given up at the retry question (box 1)"),
                  (True, None), (True, None)], "the files the script names")
    expect_equal([b["question"] for b in report["boxes"]], ["retry", "restart"], "message boxes")
    expect_equal(paths(report, "product key"), ["HKEY_CURRENT_USER\\Software\\" + default],
                 "product key")
    expect_equal(paths(report, "uninstall entry"),
                 ["HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                  "Uninstall\\" + default], "uninstall entry")
    expect_equal(report["registry"]["other"], [], "keys of no known purpose")


def prepare_without_display(run):
    run.demo = demo.prepare(run, SAMPLE, demo.MachineDescription.read(run.scenario.version).config_sys)
    run.start = functools.partial(demo.start_traced, run, NO_SERVER)


NO_SERVER = ":77"  # a display no X server answers


def check_no_window(run):
    """The program, started on a display that does not answer, shows no
    window: the report says so with what Wine said, claims no copy failed
    at a message box, and the demo would end with a non-zero status."""
    report = report_of_run(run)
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
    Scenario("demo-wine-differences", "win95", "en", check_wine_differences, medium="A:\\",
             prepare=prepare_variant(BOM_ON_DISPLAY, READ_ONLY_DESTINATION),
             unplanned="the checker reads the byte-order mark as Windows does, not as Wine"),
    Scenario("demo-without-display", "win95", "en", check_without_display, medium="A:\\",
             prepare=prepare_variant(WITHOUT_DISPLAY),
             unplanned="the harness lays out the sample, not this variant, for the plan"),
    Scenario("demo-no-window", "win95", "en", check_no_window, medium="A:\\",
             prepare=prepare_without_display,
             unplanned="the program shows no window, so no install is planned"),
    Scenario("guide-demo-examples", "win98", "ja", check_guide_examples, prepare=no_start,
             unplanned="each example runs tools/demo, in a machine of its own"),
]
