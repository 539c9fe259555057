"""Setup scripts and media that several scenario modules lay out."""
from harness import Run

# The worked example of a floppy medium: a comment, the group placeholder and
# a line without a destination; files for Windows 95 and NT.
WORKED_EXAMPLE = """[Display]
GroupName=Disk Tools
bShow=YES
DeviceID=6E02,6E12

[Win95 Driver Files]
; miniport driver and its help file
1=.\\W95\\DSKADP.MPD,.\\SYSTEM\\IOSUBSYS\\DSKADP.MPD
2=.\\W95\\<GROUp>.HLP,.\\HELP\\<GROUp>.HLP
3=.\\W95\\DSKADP.VXD

[Win95 Inf File]
1=.\\W95\\DSKADP.INF,.\\INF\\DSKADP.INF

[NT Driver Files]
1=.\\NT\\DSKADP.SYS,.\\SYSTEM32\\DRIVERS\\DSKADP.SYS

[NT WinASPI32]
1=.\\NT\\WNASPI32.DLL,.\\SYSTEM32\\WNASPI32.DLL
2=C:\\TOOLS\\PROBE.EXE,C:\\TOOLS\\NEW\\PROBE.EXE

[Modify]
1=C:\\OLDDRV\\OLDADP.SYS
"""


def write_medium(run: Run, script: str, files=None):
    """The medium's script and files in place of the sample's: `files` maps
    a path below the medium to its bytes."""
    run.medium_file("SETUP32.INI").write_bytes(script.replace("\n", "\r\n").encode("ascii"))
    for relative, data in (files or {}).items():
        path = run.medium_dir / relative.replace("\\", "/")
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
