"""tools/check-guide puts back, in a report of the x86_64 stand-in, only
the differences the stand-in makes, and leaves a shipping file's report as
it is."""
import unittest
from importlib.machinery import SourceFileLoader
from pathlib import Path

check_guide = SourceFileLoader(
    "check_guide", str(Path(__file__).resolve().parents[2] / "tools" / "check-guide")).load_module()

SHIPPING = """\
Build that ran: build/i686/src/app/win32/setup32.exe, <size> bytes, i386 (32-bit), sha256 <sha256>
  (the shipping i686 file)
Files added, changed, rewritten or removed on drive C: (2):
  added     C:\\windows\\system\\IOSUBSYS\\DSKADP.MPD  (57 bytes)
  added     C:\\windows\\SYSTEM.INI  (7 bytes)
      + C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD = "C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD\""""

STAND_IN = """\
Build that ran: build/x86_64/src/app/win32/setup32.exe, <size> bytes, x86-64 (64-bit), sha256 <sha256>
  (this kernel runs no 32-bit code (boot it with ia32_emulation=on): running the x86_64 build in \
64-bit Wine machines, not the shipping file)
Files added, changed, rewritten or removed on drive C: (2):
  added     C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD  (57 bytes)
  added     C:\\windows\\SYSTEM.INI  (7 bytes)
      + C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD = "C:\\windows\\SYSTEM\\IOSUBSYS\\DSKADP.MPD\""""


class AsShipping(unittest.TestCase):
    def test_a_stand_in_report_reads_as_the_shipping_files_with_each_difference_named(self):
        output, notes = check_guide.as_shipping(STAND_IN)
        self.assertEqual(output, SHIPPING)
        self.assertEqual(len(notes), 3)

    def test_a_shipping_report_is_compared_as_it_is(self):
        self.assertEqual(check_guide.as_shipping(SHIPPING), (SHIPPING, []))
        # A SYSTEM folder in a shipping file's report is a real difference.
        upper = SHIPPING.replace("system\\IOSUBSYS", "SYSTEM\\IOSUBSYS")
        self.assertEqual(check_guide.as_shipping(upper), (upper, []))


if __name__ == "__main__":
    unittest.main()
