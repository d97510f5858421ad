"""The DXF drawing read back by a DXF library (ezdxf) and held against the SVG
of the same run: units, layers, closed outlines, the very same points, the
centres and the gap of --layout apart, hairlines at every module.

Usage: /usr/bin/python3 dxf_test.py PATH-TO-involute-gears
"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

import ezdxf

BINARY = None

# (arguments, module): a textbook pair with shifts, the undercut default,
# the smallest and the largest module.
PAIRS = [
    (["--teeth", "12,24", "--module", "3", "--shift", "0.6,0.36"], 3.0),
    (["--teeth", "8,30"], 1.0),
    (["--teeth", "9,400", "--module", "0.05", "--shift", "0.5,0"], 0.05),
    (["--teeth", "17,23", "--module", "100", "--pressure-angle", "25"], 100.0),
]


def run(arguments):
    return subprocess.run([BINARY] + arguments, capture_output=True, check=False)


def svg_paths(svg):
    """{id: (group, stroke width, [strokes of (x, y) with y up], closed)}"""
    paths = {}
    for group in re.finditer(r'<g id="([^"]+)" fill="none" stroke="#[0-9a-f]{6}" stroke-width="([^"]+)">(.*?)</g>',
                             svg, re.S):
        for path in re.finditer(r'<path id="([^"]+)" d="([^"]+)"/>', group.group(3)):
            d = path.group(2)
            strokes = []
            for stroke in re.findall(r"M[^M]+", d):
                numbers = re.findall(r"-?\d+\.\d{5}", stroke)
                strokes.append([(float(numbers[i]), -float(numbers[i + 1])) for i in range(0, len(numbers), 2)])
            paths[path.group(1)] = (group.group(1), group.group(2), strokes, d.endswith(" Z"))
    return paths


def outer_radius(points, centre):
    return max(((x - centre[0]) ** 2 + (y - centre[1]) ** 2) ** 0.5 for x, y in points)


class DxfAgainstSvg(unittest.TestCase):
    def drawings(self, arguments):
        with tempfile.TemporaryDirectory() as directory:
            svg_path = os.path.join(directory, "pair.svg")
            dxf_path = os.path.join(directory, "pair.dxf")
            result = run(arguments + ["--svg", svg_path, "--dxf", dxf_path])
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(result.stdout, b"")
            self.assertEqual(sorted(os.listdir(directory)), ["pair.dxf", "pair.svg"])
            with open(svg_path, encoding="utf-8") as f:
                svg = f.read()
            with open(dxf_path, "rb") as f:
                dxf_bytes = f.read()
            return svg, dxf_bytes, ezdxf.readfile(dxf_path)

    def test_same_points_units_layers_and_closed_outlines(self):
        for layout in ["mesh", "apart"]:
            for arguments, m in PAIRS:
                with self.subTest(arguments=arguments, layout=layout):
                    svg, _, doc = self.drawings(arguments + ["--layout", layout])
                    self.assertEqual(doc.dxfversion, "AC1009")
                    self.assertEqual(doc.header["$INSUNITS"], 4)
                    for name in ["GEAR1", "GEAR2", "CENTRES"]:
                        self.assertTrue(doc.layers.has_entry(name), name)

                    paths = svg_paths(svg)
                    self.assertEqual(sorted(paths), ["centre1", "centre2", "gear1", "gear2"])
                    for group, width, _, _ in paths.values():
                        self.assertEqual(width, "0.1", group)  # a hairline whatever the module

                    msp = doc.modelspace()
                    polylines = msp.query("POLYLINE")
                    self.assertEqual(len(polylines), 2)
                    every = []
                    for gear, polyline in zip(["gear1", "gear2"], polylines):
                        group, _, strokes, closed = paths[gear]
                        self.assertEqual(polyline.dxf.layer, group)
                        self.assertEqual(group, gear.upper())
                        self.assertTrue(polyline.is_closed)
                        self.assertTrue(closed)
                        self.assertEqual(polyline.dxf.default_start_width, 0.0)
                        points = [(v.dxf.location.x, v.dxf.location.y) for v in polyline.vertices]
                        self.assertEqual(len(strokes), 1)
                        self.assertEqual(points, strokes[0])
                        every += points

                    # Each centre cross: two LINEs on CENTRES crossing at the
                    # gear's centre, the SVG's two strokes.
                    lines = msp.query("LINE")
                    self.assertEqual(len(lines), 4)
                    centres = []
                    for k, gear in enumerate(["centre1", "centre2"]):
                        group, _, strokes, closed = paths[gear]
                        self.assertEqual(group, "CENTRES")
                        self.assertFalse(closed)
                        pair = lines[2 * k: 2 * k + 2]
                        self.assertEqual([[(l.dxf.start.x, l.dxf.start.y), (l.dxf.end.x, l.dxf.end.y)] for l in pair],
                                         strokes)
                        for line in pair:
                            self.assertEqual(line.dxf.layer, "CENTRES")
                            self.assertAlmostEqual((line.dxf.end - line.dxf.start).magnitude, m, delta=2e-5)
                        centres.append(((pair[0].dxf.start.x + pair[0].dxf.end.x) / 2, pair[0].dxf.start.y))
                        every += strokes[0] + strokes[1]
                    self.assertEqual(centres[0], (0.0, 0.0))

                    a = float(re.search(r"a = (-?\d+\.\d{5})", svg).group(1))
                    g1 = [(v.dxf.location.x, v.dxf.location.y) for v in polylines[0].vertices]
                    g2 = [(v.dxf.location.x, v.dxf.location.y) for v in polylines[1].vertices]
                    if layout == "mesh":
                        self.assertAlmostEqual(centres[1][0], a, delta=2e-5)
                    else:
                        gap = centres[1][0] - outer_radius(g1, centres[0]) - outer_radius(g2, centres[1])
                        self.assertAlmostEqual(gap, 2.0 * m, delta=3e-5)
                    self.assertEqual(centres[1][1], 0.0)

                    xs = [p[0] for p in every]
                    ys = [p[1] for p in every]
                    self.assertAlmostEqual(doc.header["$EXTMIN"][0], min(xs), delta=1e-5)
                    self.assertAlmostEqual(doc.header["$EXTMIN"][1], min(ys), delta=1e-5)
                    self.assertAlmostEqual(doc.header["$EXTMAX"][0], max(xs), delta=1e-5)
                    self.assertAlmostEqual(doc.header["$EXTMAX"][1], max(ys), delta=1e-5)

    def test_apart_changes_only_the_placing(self):
        arguments = ["--teeth", "12,24", "--module", "3"]
        svg_mesh, _, mesh = self.drawings(arguments)
        _, _, apart = self.drawings(arguments + ["--layout", "apart"])
        gear1 = [[(v.dxf.location.x, v.dxf.location.y) for v in p.vertices] for p in
                 (mesh.modelspace().query("POLYLINE")[0], apart.modelspace().query("POLYLINE")[0])]
        self.assertEqual(gear1[0], gear1[1])
        # Gear 2 apart is gear 2 in mesh moved and turned back by phase2:
        # the same distances from its centre.
        centre_mesh = float(re.search(r"a = (-?\d+\.\d{5})", svg_mesh).group(1))
        lines = apart.modelspace().query("LINE")
        centre_apart = (lines[2].dxf.start.x + lines[2].dxf.end.x) / 2
        radii = []
        for doc, cx in ((mesh, centre_mesh), (apart, centre_apart)):
            radii.append([round(((v.dxf.location.x - cx) ** 2 + v.dxf.location.y ** 2) ** 0.5, 3)
                          for v in doc.modelspace().query("POLYLINE")[1].vertices])
        self.assertEqual(radii[0], radii[1])

    def test_standard_output_gets_the_same_bytes(self):
        arguments = ["--teeth", "20,50", "--layout", "apart"]
        _, dxf_bytes, _ = self.drawings(arguments)
        piped = run(arguments + ["--dxf", "-"])
        self.assertEqual(piped.returncode, 0, piped.stderr)
        self.assertEqual(piped.stdout, dxf_bytes)
        self.assertTrue(dxf_bytes.endswith(b"0\nEOF\n"))


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
