"""The acceptance matrix: the sample medium (examples/medium) installed on
Windows 95, 98, NT 4.0 and 2000, each in English, Traditional Chinese and
Japanese, once shown (Start, then Yes or No to the restart question) and
once silent, from a directory or from the root of drive A:; and the worked
example script from a floppy on Windows 95 and from D:\\DRV on NT 4.0.

Every case starts from the same machine (matrix_checks.registry_before and
prepare) so that the outcomes show what differs by platform: the driver
sections copied, the service step on NT and 2000, the device clean-up on
95 and 98."""
from typing import List

from harness import ROOT
from scripts import WORKED_EXAMPLE
from wine import texts, versions
from matrix_checks import (DRIVER_DATABASE, ENUM_KEY, SCSISCAN_BEFORE, SCSISCAN_KEY,
                           WINDOWS, Case, Outcome, group_file, programs_folder)

W = WINDOWS
LOCALES = ["en", "zh", "ja"]
# The medium's folder of each platform's own driver files.
DRIVER_FOLDER = {"win95": "W95", "win98": "W98", "nt40": "NT", "win2k": "W2K"}

# A vendor writes the group name in the language of its customers. The
# Chinese and Japanese names hold a character whose second byte is "\"
# (功 in code page 950, ソ and 表 in 932) and a blank, which the group file
# name drops.
GROUPS = {"en": "Disk Tools", "zh": "磁碟 功能", "ja": "ソフト 表示"}

# CONFIG.SYS before and after; the script removes OLDADP.SYS. On double-byte
# systems a line holds "OLDADP.SYS" only from the second byte of a character
# on (グ is 83 4F in 932; A4 4F is a character of 950): it is not a match.
_LEAD_IN = {"en": b"", "zh": b"REM \xa4\x4fLDADP.SYS\r\n", "ja": b"REM \x83\x4fLDADP.SYS\r\n"}


def config_before(locale):
    return (b"DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n" + b"DEVICE=C:\\OLDDRV\\OLDADP.SYS /D:1\r\n" +
            _LEAD_IN[locale] + b"rem device=c:\\olddrv\\oldadp.sys\r\n" + b"FILES=30\r\n")


def config_after(locale):
    return b"DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n" + _LEAD_IN[locale] + b"FILES=30\r\n"


def platform_step_keys(version):
    """The keys of the last step of the install: on NT and 2000 the scanner
    service is disabled (its other values kept), on 95 and 98 the adapter's
    enumeration keys of the script's device ids go, the third id stays."""
    adapter = {"devicedesc": "PCI SCSI host adapter"}
    keys = {("HKLM", ENUM_KEY + device): adapter
            for device in ("6E02\\BUS_00&DEV_0D&FUNC_00", "6E12\\BUS_00&DEV_0E&FUNC_00",
                           "6E03\\BUS_01&DEV_0D&FUNC_00")}
    scsiscan = {name.lower(): data for name, data in SCSISCAN_BEFORE.items()}
    if versions.version(version).nt:
        scsiscan["start"] = 4
    else:
        # A device key has no values, so Wine saves it only when it has no
        # subkeys either: gone, it shows as missing as surely as its subkeys.
        for device in ("6E02", "6E12"):
            keys.update({key: None for key in keys if key[1].startswith(ENUM_KEY + device)})
            keys[("HKLM", ENUM_KEY + device)] = None
    keys[("HKLM", SCSISCAN_KEY)] = scsiscan
    return keys


def sample_outcome(version, locale) -> Outcome:
    """What the sample medium leaves on each platform."""
    group = GROUPS[locale]
    folder = DRIVER_FOLDER[version]
    programs = programs_folder(version)
    help_file = f"{W}\\HELP\\{group}.HLP"
    if not versions.version(version).nt:
        first, second = (f"{folder}\\DSKADP.MPD", f"{W}\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"), \
            (f"{folder}\\DSKADP.INF", f"{W}\\INF\\DSKADP.INF")
    else:
        first, second = (f"{folder}\\DSKADP.SYS", f"{W}\\SYSTEM32\\DRIVERS\\DSKADP.SYS"), \
            (f"{folder}\\WNASPI32.DLL", f"{W}\\SYSTEM32\\WNASPI32.DLL")
    copied = [first, (f"TOOLS\\{group}.HLP", help_file), ("TOOLS\\UNINST.EXE", f"{W}\\DSKUNINS.EXE"),
              second]
    shortcuts = [(group, f"{group} Help", help_file), (group, f"Uninstall {group}", f"{W}\\DSKUNINS.EXE")]
    miniport = {"errorcontrol": 1, "start": 0, "type": 1, "group": "SCSI Miniport",
                "imagepath": "System32\\drivers\\DSKADP.SYS"}
    nine_x = not versions.version(version).nt
    return Outcome(
        copied=copied,
        product_key=[installed for _, installed in copied] + [
            f"{W}\\SETUP.INI",
            f"{programs}\\{group}\\{group} Help.LNK",
            f"{programs}\\{group}\\Uninstall {group}.LNK",
            f"{programs}\\{group}",
        ],
        keys={
            ("HKLM", f"Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\{group}"): {
                "": "", "displayname": group, "uninstallstring": f"{W}\\DSKUNINS.EXE {W}"},
            ("HKLM", "System\\CurrentControlSet\\Services\\DSKADP"): None if nine_x else miniport,
            **platform_step_keys(version),
        },
        config_sys=config_after(locale),
        absent=[group_file(group, locale)] + (DRIVER_DATABASE if nine_x else []),
        present=[] if nine_x else DRIVER_DATABASE,
        shortcuts=shortcuts,
        programs=["DSKINFO.EXE /SCAN"],
    )


def sample_script(locale, show) -> bytes:
    """The sample medium's script with the language's group name, in its
    code page, and the bShow value."""
    script = (ROOT / "examples" / "medium" / "SETUP32.INI").read_bytes()
    group = GROUPS[locale].encode(texts.CODE_PAGES[locale])
    return script.replace(b"GroupName=Disk Tools", b"GroupName=" + group).replace(
        b"bShow=YES", b"bShow=" + show)


def sample_case(index, version, locale, shown) -> Case:
    """Shown cells alternate Yes and No to the restart question and, every
    second cell, the drive A: root and a directory; a silent cell starts
    where its shown twin does not."""
    answer = "yes" if index % 2 == 0 else "no"
    from_a = (index // 2) % 2 == 0
    if not shown:
        from_a = not from_a
    group = GROUPS[locale]
    return Case(
        name=f"matrix-{version}-{locale}-{answer if shown else 'silent'}",
        version=version,
        locale=locale,
        mode=answer if shown else "silent",
        medium="A:\\" if from_a else "C:\\MEDIUM\\",
        group=group,
        outcome=sample_outcome(version, locale),
        script=sample_script(locale, b"YES" if shown else b"No"),
        medium_files={} if locale == "en" else {f"TOOLS\\{group}.HLP": f"help of {group}".encode("utf-8")},
        machine_files={"C:\\CONFIG.SYS": config_before(locale)},
    )


EXAMPLE_SCRIPT = WORKED_EXAMPLE.replace("\n", "\r\n").encode("ascii")


def example_cases() -> List[Case]:
    """The worked example of the setup script: from a floppy on Windows 95
    (line 3 has no destination and is reported), from D:\\DRV on NT 4.0
    (the Windows 95 sections are not read, so nothing is reported; a source
    and a destination given as full paths are used as written). Neither has
    shortcuts, programs to start or an uninstall program."""
    no_uninstall = {("HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Disk Tools"): None}
    win95_copied = [("W95\\DSKADP.MPD", f"{W}\\SYSTEM\\IOSUBSYS\\DSKADP.MPD"),
                    ("W95\\Disk Tools.HLP", f"{W}\\HELP\\Disk Tools.HLP"),
                    ("W95\\DSKADP.INF", f"{W}\\INF\\DSKADP.INF")]
    nt_copied = [("NT\\DSKADP.SYS", f"{W}\\SYSTEM32\\DRIVERS\\DSKADP.SYS"),
                 ("NT\\WNASPI32.DLL", f"{W}\\SYSTEM32\\WNASPI32.DLL"),
                 ("C:\\TOOLS\\PROBE.EXE", "C:\\TOOLS\\NEW\\PROBE.EXE")]
    old_group = group_file("Disk Tools", "en")
    return [
        Case(
            name="matrix-example-win95-zh-floppy",
            version="win95", locale="zh", mode="no", medium="A:\\", group="Disk Tools",
            script=EXAMPLE_SCRIPT,
            medium_files={"W95\\Disk Tools.HLP": b"help of Disk Tools"},
            machine_files={"C:\\CONFIG.SYS": config_before("en")},
            boxes=[(10, 14)],
            outcome=Outcome(
                copied=win95_copied,
                product_key=[installed for _, installed in win95_copied],
                keys={**no_uninstall, **platform_step_keys("win95")},
                config_sys=config_after("en"),
                absent=DRIVER_DATABASE + [f"{W}\\SYSTEM\\DSKADP.VXD"],
                present=[old_group],
                shortcuts=[],
            ),
        ),
        Case(
            name="matrix-example-nt40-en-drv",
            version="nt40", locale="en", mode="silent", medium="D:\\DRV\\", group="Disk Tools",
            script=EXAMPLE_SCRIPT.replace(b"bShow=YES", b"bShow=NO"),
            machine_files={"C:\\CONFIG.SYS": config_before("en"), "C:\\TOOLS\\PROBE.EXE": b"probe tool"},
            unplanned="a source file on drive C: outside the medium, which the checker's machine lacks",
            outcome=Outcome(
                copied=nt_copied,
                product_key=[installed for _, installed in nt_copied],
                keys={**no_uninstall, **platform_step_keys("nt40"),
                      # No Driver key in the script: no miniport service.
                      ("HKLM", "System\\CurrentControlSet\\Services\\MDR420X"): None},
                config_sys=config_after("en"),
                present=DRIVER_DATABASE + [old_group],
                shortcuts=[],
            ),
        ),
    ]


def matrix_cases() -> List[Case]:
    cells = [(version, locale) for version in versions.versions() for locale in LOCALES]
    cases = []
    for index, (version, locale) in enumerate(cells):
        cases += [sample_case(index, version, locale, shown=True),
                  sample_case(index, version, locale, shown=False)]
    return cases + example_cases()


ALL = [case.scenario() for case in matrix_cases()]
