"""The harness's several-monitor layouts, on which the multi-monitor scenarios rest: Wine
reports the monitors asked for (the primary at Windows (0, 0)), X's pointer lands on the
Windows point the harness computes, and a root pattern is read back exactly, also where no
monitor shows it."""

import unittest

from harness import Geometry, Session, pelvanto_exe, read_monitor_report

# Each layout in root coordinates, and what Windows must report: the virtual screen, each
# monitor's rectangle (the primary first), and a root point on the second monitor with its
# Windows coordinates.
LAYOUTS = {
    "taller monitor right of the primary": dict(
        monitors=[(0, 0, 1920, 1080, True), (1920, 0, 1280, 1440)],
        virtual=Geometry(0, 0, 3200, 1440),
        rects=[Geometry(0, 0, 1920, 1080), Geometry(1920, 0, 1280, 1440)],
        pointer=((2500, 1300), (2500, 1300))),
    "monitor left of the primary": dict(
        monitors=[(0, 0, 1280, 1024), (1280, 0, 1920, 1080, True)],
        virtual=Geometry(-1280, 0, 3200, 1080),
        rects=[Geometry(0, 0, 1920, 1080), Geometry(-1280, 0, 1280, 1024)],
        pointer=((100, 1000), (-1180, 1000))),
}


class MonitorLayouts(unittest.TestCase):

    def test_layouts(self):
        helper = pelvanto_exe("e2e-helpers/monitors.exe")
        for name, case in LAYOUTS.items():
            with self.subTest(name), Session(monitors=case["monitors"], name="harness-monitors") as s:
                root_point, windows_point = case["pointer"]
                self.assertEqual(s.to_windows(*root_point), windows_point)
                s.move(*root_point)
                s.start(helper).wait(timeout=60)
                report = (s.out_dir / "monitors.log").read_text(errors="replace")
                virtual, monitors, cursor = read_monitor_report(report)
                self.assertEqual(virtual, case["virtual"], report)
                self.assertEqual(sorted((m.rect for m in monitors), key=lambda g: (g.x, g.y)),
                                 sorted(case["rects"], key=lambda g: (g.x, g.y)), report)
                self.assertEqual([m.rect for m in monitors if m.primary], case["rects"][:1], report)
                self.assertEqual({m.dpi for m in monitors}, {96}, report)
                self.assertEqual(cursor, windows_point, report)

                # The whole root, the area that no monitor shows included.
                expected = s.show_pattern("coords")
                self.assertEqual((expected.width, expected.height), (virtual.width, virtual.height))
                shot = s.screenshot_pixels("pattern.png")
                differing, first = shot.diff(expected)
                self.assertEqual(differing, 0, f"first difference at {first}")


if __name__ == "__main__":
    unittest.main()
