"""Wine machines for setup32: the host's kind of machine and the build that
runs in it (host), machines made with tools/winebox and their registry
(machine), the probe that looks at a program's windows (probe), X displays
(displays), one run of setup32.exe in a machine (session), what a stopped
machine holds before and after a run (snapshot), the texts the program
shows (texts) and the Windows versions a machine can report (versions).

Importing the package or any of its modules starts nothing: the host is
asked what it runs only when a build or a machine is first needed."""
