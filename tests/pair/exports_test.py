"""The DXF drawing read back by a DXF library (ezdxf) and held against the SVG
of the same run: units, layers, closed outlines, the very same points, the
centres and the gap of --layout apart, hairlines at every module. The STL
solids checked by admesh (closed, oriented, nothing to repair, one part a
gear) and read back here: volume and place against the SVG's outlines.

Usage: /usr/bin/python3 exports_test.py PATH-TO-involute-gears
"""
import math
import os
import re
import struct
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


def tip_runs(points):
    """The runs of a rack's outline along its tip line (its highest y): [(x from, x to)], left to right."""
    top = max(y for _, y in points)
    on = [abs(y - top) < 1e-4 for _, y in points]
    start = on.index(False)  # begin off the tip line, so no run is split at the seam
    runs, run = [], []
    for k in range(len(points)):
        i = (start + k) % len(points)
        if on[i]:
            run.append(points[i][0])
        elif run:
            runs.append((min(run), max(run)))
            run = []
    if run:
        runs.append((min(run), max(run)))
    return sorted(runs)


class RackEnds(unittest.TestCase):
    """A rack drawn to length ends in the middle of a space at each end:
    every tooth whole at the tip line, in the SVG and the DXF alike (the
    STL's bottom face is the same outline: StlSolids)."""

    def test_every_tooth_whole_and_each_end_in_a_space(self):
        for arguments in (["--pair", "rack", "--teeth", "12", "--shift", "0.3"],
                          ["--pair", "rack", "--teeth", "9", "--module", "2", "--backlash", "0.1"],
                          ["--pair", "rack", "--teeth", "13", "--module", "2", "--helix-angle", "30"],
                          ["--pair", "rack", "--teeth", "20", "--pressure-angle", "35"]):
            with self.subTest(arguments=arguments):
                with tempfile.TemporaryDirectory() as directory:
                    files = {k: os.path.join(directory, "rack." + k) for k in ("svg", "dxf")}
                    result = run(arguments + ["--svg", files["svg"], "--dxf", files["dxf"]])
                    self.assertEqual(result.returncode, 0, result.stderr)
                    with open(files["svg"], encoding="utf-8") as f:
                        rack = svg_paths(f.read())["rack"][2][0]
                    dxf = [[(v.dxf.location.x, v.dxf.location.y) for v in p.vertices]
                           for p in ezdxf.readfile(files["dxf"]).modelspace().query("POLYLINE") if p.dxf.layer == "RACK"]
                self.assertEqual(dxf, [rack])
                runs = tip_runs(rack)
                self.assertGreater(len(runs), 3)
                widths = [b - a for a, b in runs]
                for width in widths:
                    self.assertAlmostEqual(width, widths[0], delta=2e-5)  # no sliver: each tip whole
                spaces = [c - b for (_, b), (c, _) in zip(runs, runs[1:])]
                left = min(x for x, _ in rack)
                right = max(x for x, _ in rack)
                # Half a space at the tip line beyond the first and the last tooth.
                self.assertAlmostEqual(runs[0][0] - left, spaces[0] / 2, delta=2e-5)
                self.assertAlmostEqual(right - runs[-1][1], spaces[0] / 2, delta=2e-5)
                # Each end edge rises from the back to the space's bottom.
                back = min(y for _, y in rack)
                bottom = min(y for _, y in rack if y > back + 1e-3)
                for end in (left, right):
                    self.assertAlmostEqual(max(y for x, y in rack if abs(x - end) < 1e-6), bottom, delta=1e-5)


def shoelace(points):
    return abs(sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))) / 2


def read_stl(data):
    """(header, [(normal, a, b, c)]) of a binary STL, read by its layout alone."""
    count = struct.unpack_from("<I", data, 80)[0]
    assert len(data) == 84 + 50 * count, (len(data), count)
    facets = []
    for i in range(count):
        v = struct.unpack_from("<12fH", data, 84 + 50 * i)
        assert v[12] == 0
        facets.append((v[0:3], v[3:6], v[6:9], v[9:12]))
    return data[:80], facets


def admesh(path):
    """admesh's statistics of the file, by their names: {"Edges fixed": 0.0, ...}"""
    out = subprocess.run(["admesh", path], capture_output=True, text=True, check=True).stdout
    return {name.strip(): float(value) for name, value in re.findall(r"([A-Z][A-Za-z ]+?)\s*:\s*(-?[\d.]+)", out)}


# (arguments, b, [(svg id, stroke index of the outline, of its hole or None)]):
# wheels with and without a bore, a ring in its rim, a rack, the smallest
# module with 400 teeth, the largest module, and a planetary set (KHK's
# shifted pair as sun and planets): each of its members a solid.
SOLIDS = [
    (["--teeth", "10,30"], 10.0, [("gear1", 0, None), ("gear2", 0, None)]),
    (["--teeth", "8,30", "--face-width", "4.5", "--bore", "3"], 4.5, [("gear1", 0, None), ("gear2", 0, None)]),
    (["--pair", "internal", "--teeth", "20,60", "--module", "2"], 20.0, [("gear1", 0, None), ("gear2", 1, 0)]),
    (["--pair", "rack", "--teeth", "12", "--shift", "0.3"], 10.0, [("gear1", 0, None), ("rack", 0, None)]),
    (["--teeth", "9,400", "--module", "0.05", "--shift", "0.5,0"], 0.5, [("gear1", 0, None), ("gear2", 0, None)]),
    (["--teeth", "17,23", "--module", "100", "--pressure-angle", "25", "--bore", "900"], 1000.0,
     [("gear1", 0, None), ("gear2", 0, None)]),
    (["--pair", "planetary", "--teeth", "12,24,60", "--module", "3", "--shift", "0.6,0.36"], 30.0,
     [("sun", 0, None), ("planet1", 0, None), ("planet2", 0, None), ("planet3", 0, None), ("ring", 1, 0)]),
    # Helical: a set whose members twist, a rack whose bar is sheared (one
    # layer, every section the outline moved along the bar).
    (["--pair", "planetary", "--teeth", "18,29,80", "--planets", "2", "--shift", "0.6,0.3", "--helix-angle", "25",
      "--hand", "left", "--face-width", "25"], 25.0,
     [("sun", 0, None), ("planet1", 0, None), ("planet2", 0, None), ("ring", 1, 0)]),
    (["--pair", "rack", "--teeth", "12", "--module", "2", "--helix-angle", "30"], 20.0,
     [("gear1", 0, None), ("rack", 0, None)]),
]


class StlSolids(unittest.TestCase):
    def solids(self, arguments):
        """The STL's bytes, admesh's statistics and the SVG's outlines placed apart, of one run."""
        with tempfile.TemporaryDirectory() as directory:
            stl_path = os.path.join(directory, "pair.stl")
            svg_path = os.path.join(directory, "pair.svg")
            result = run(arguments + ["--stl", stl_path, "--svg", svg_path, "--layout", "apart"])
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(result.stdout, b"")
            with open(stl_path, "rb") as f:
                data = f.read()
            with open(svg_path, encoding="utf-8") as f:
                paths = svg_paths(f.read())
            return data, admesh(stl_path), paths

    def test_closed_solids_of_the_outlines_area_times_b(self):
        for arguments, b, gears in SOLIDS:
            with self.subTest(arguments=arguments):
                data, stats, paths = self.solids(arguments)
                for name in ["Edges fixed", "Facets removed", "Facets added", "Facets reversed", "Backwards edges",
                             "Degenerate facets", "Normals fixed", "Total disconnected facets"]:
                    self.assertEqual(stats[name], 0, name)
                self.assertEqual(stats["Number of parts"], len(gears))
                bore = float(arguments[arguments.index("--bore") + 1]) if "--bore" in arguments else 0.0
                m = float(arguments[arguments.index("--module") + 1]) if "--module" in arguments else 1.0
                area = 0.0
                every = []
                for gear, outline, hole in gears:
                    strokes = paths[gear][2]
                    area += shoelace(strokes[outline]) - (shoelace(strokes[hole]) if hole is not None else 0.0)
                    every += strokes[outline]
                    if bore > 0:
                        # The bore's polygon: its chords' sagitta at most
                        # 0.0002 m, losing at most 2/3 of it over the circumference.
                        area -= math.pi * bore ** 2 / 4
                slack = (2 / 3 * 0.0002 * m * math.pi * bore * 2 if bore else 0.0) * b
                if "--helix-angle" in arguments:
                    # A twist's walls cut the helix by chords between layers
                    # straying at most 0.01 m from it (a shear loses nothing).
                    length = sum(math.dist(p, q) for gear, outline, hole in gears if gear != "rack"
                                 for k in [outline] + ([hole] if hole is not None else [])
                                 for p, q in zip(paths[gear][2][k], paths[gear][2][k][1:] + paths[gear][2][k][:1]))
                    slack += 0.01 * m * length * b
                # admesh sums in single precision (far from the origin, as
                # gear 2 of 400 teeth of 0.05 mm stands, to a few parts in
                # 10^5); the volume summed here in double from the same
                # corners (divergence theorem) is held tighter.
                self.assertAlmostEqual(stats["Volume"], area * b, delta=slack + 5e-5 * area * b)
                header, facets = read_stl(data)
                volume = sum(a[0] * (b_[1] * c[2] - b_[2] * c[1]) + a[1] * (b_[2] * c[0] - b_[0] * c[2]) +
                             a[2] * (b_[0] * c[1] - b_[1] * c[0]) for _, a, b_, c in facets) / 6
                self.assertAlmostEqual(volume, area * b, delta=slack + 1e-6 * area * b)

                self.assertFalse(header.startswith(b"solid"))
                self.assertEqual(stats["Number of facets"], len(facets))
                corners = [p for f in facets for p in f[1:]]
                heights = {p[2] for p in corners}
                self.assertEqual({min(heights), max(heights)}, {0.0, struct.unpack("<f", struct.pack("<f", b))[0]})
                if "--helix-angle" not in arguments:
                    self.assertEqual(len(heights), 2)  # one layer
                # The bottom in place as the SVG's outlines apart: the same
                # extents in x and y (a set and an internal pair are packed
                # on the plate about their ring instead).
                corners = [p for p in corners if p[2] == 0.0]
                for axis in (0, 1) if "planetary" not in arguments and "internal" not in arguments else ():
                    self.assertAlmostEqual(min(p[axis] for p in corners), min(p[axis] for p in every),
                                           delta=1e-5 + 1e-6 * m * 100)
                    self.assertAlmostEqual(max(p[axis] for p in corners), max(p[axis] for p in every),
                                           delta=1e-5 + 1e-6 * m * 100)
                # Each normal is the unit normal of its corners, pointing out
                # of the solid: the outward normals' sum of z times area is
                # the top and bottom faces', 0.
                for normal, a, b_, c in facets[:2000]:
                    u = [b_[k] - a[k] for k in range(3)]
                    v = [c[k] - a[k] for k in range(3)]
                    n = [u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]]
                    length = math.sqrt(sum(x * x for x in n))
                    self.assertGreater(length, 0.0)
                    self.assertAlmostEqual(sum(normal[k] * n[k] / length for k in range(3)), 1.0, delta=1e-5)

    def test_a_set_is_packed_on_the_plate_with_gaps(self):
        """A set's members and an internal pair's gears are packed about the
        ring (inside its teeth where they fit), not laid in a row: each
        part's bottom face, told apart by the facets' shared corners, lies in
        its disc about its axis, and the discs keep max(2 m, 2 mm) apart (a
        part inside the ring within its free disc)."""
        for arguments, fits_200 in (
                # 20 teeth inside 60 (m 2: 44 mm across inside a free disc
                # of 112); 40 in 50 does not fit and goes beside.
                (["--pair", "internal", "--teeth", "20,60", "--module", "2"], True),
                (["--pair", "internal", "--teeth", "40,50", "--shift", "0,1", "--module", "1.5"], True),
                (["--pair", "planetary", "--teeth", "12,24,60", "--module", "2", "--shift", "0.6,0.36"], True),
                (["--pair", "planetary", "--teeth", "12,24,60", "--module", "3", "--shift", "0.6,0.36"], False),
                (["--pair", "planetary", "--teeth", "18,29,80", "--planets", "2", "--shift", "0.6,0.3",
                  "--helix-angle", "25"], True),
                (["--pair", "planetary", "--teeth", "40,10,60", "--planets", "4", "--bore", "3"], True)):
            with self.subTest(arguments=arguments):
                data, stats, paths = self.solids(arguments)
                _, facets = read_stl(data)
                parent = {}

                def find(v):
                    while parent.setdefault(v, v) != v:
                        parent[v] = parent[parent[v]]
                        v = parent[v]
                    return v
                for f in facets:
                    for p in f[2:]:
                        parent[find(f[1])] = find(p)
                parts = {}
                for f in facets:
                    if all(p[2] == 0.0 for p in f[1:]):
                        parts.setdefault(find(f[1]), []).append(f[1:])
                members = [k for k in paths if k in ("sun", "ring", "gear1", "gear2") or k.startswith("planet")]
                self.assertEqual(len(parts), len(members))
                discs = []
                every = []
                for bottom in parts.values():
                    # The axis: the bottom face's centroid (each member has z-fold symmetry).
                    area = cx = cy = 0.0
                    for a, b_, c in bottom:
                        w = ((b_[0] - a[0]) * (c[1] - a[1]) - (b_[1] - a[1]) * (c[0] - a[0])) / 2
                        area += w
                        cx += w * (a[0] + b_[0] + c[0]) / 3
                        cy += w * (a[1] + b_[1] + c[1]) / 3
                    cx, cy = cx / area, cy / area
                    radii = [math.hypot(p[0] - cx, p[1] - cy) for t in bottom for p in t]
                    discs.append([cx, cy, max(radii), min(radii)])
                    every += [p for t in bottom for p in t]
                discs.sort(key=lambda d: -d[2])
                ring = discs[0]
                m = float(arguments[arguments.index("--module") + 1]) if "--module" in arguments else 1.0
                gap = max(2 * m, 2.0) - 1e-3
                for k, (x, y, r, _) in enumerate(discs[1:]):
                    d = math.hypot(x - ring[0], y - ring[1])
                    self.assertTrue(d + r <= ring[3] - gap or d >= ring[2] + r + gap, (k, d, r, ring))
                    for x2, y2, r2, _ in discs[k + 2:]:
                        self.assertGreaterEqual(math.hypot(x - x2, y - y2), r + r2 + gap)
                width = max(p[0] for p in every) - min(p[0] for p in every)
                height = max(p[1] for p in every) - min(p[1] for p in every)
                # At most one row of parts beside the ring, not the drawings' row of all.
                self.assertLessEqual(max(width, height), 2 * ring[2] + 2 * discs[1][2] + gap + 2e-3)
                if fits_200:
                    self.assertLessEqual(max(width, height), 200.0)
                if "20,60" in arguments:
                    # The pinion inside: the plate holds the ring alone.
                    self.assertLessEqual(max(width, height), 2 * ring[2] + 2e-3)

    def test_no_sliver_that_single_precision_cannot_hold(self):
        """Far from the origin (gear 2 of this pair stands 640 mm out, where
        single precision keeps 0.00006 mm) the faces' triangulation leaves
        slivers whose normal a reader in single precision finds otherwise:
        merged with their neighbours, admesh mends nothing (it mended a
        normal here)."""
        _, stats, _ = self.solids(["--teeth", "110,185", "--module", "3", "--helix-angle", "45"])
        for name in ["Edges fixed", "Facets removed", "Facets added", "Facets reversed", "Backwards edges",
                     "Degenerate facets", "Normals fixed"]:
            self.assertEqual(stats[name], 0, name)
        self.assertEqual(stats["Number of parts"], 2)

    def test_standard_output_bore_limit_and_refusals(self):
        arguments = ["--teeth", "12,24", "--module", "3"]
        data, _, _ = self.solids(arguments)
        piped = run(arguments + ["--stl", "-"])
        self.assertEqual(piped.returncode, 0, piped.stderr)
        self.assertEqual(piped.stdout, data)
        # The largest bore the message names is taken, and leaves every
        # solid whole; a larger one is refused, with nothing written.
        refused = run(arguments + ["--stl", "-", "--bore", "29"])
        self.assertEqual(refused.returncode, 2)
        self.assertEqual(refused.stdout, b"")
        # df1 = d1 - 2.5 m = 36 - 7.5 = 28.5 mm; 0.005 m = 0.015 mm each side.
        self.assertEqual(refused.stderr.decode(),
                         'involute-gears: --bore "29": a bore that large cuts into a root circle; '
                         "D must be at most 28.470 mm: gear 1's root diameter df1 = 28.500 mm less 0.01 m\n")
        _, stats, _ = self.solids(arguments + ["--bore", "28.47"])
        self.assertEqual((stats["Edges fixed"], stats["Facets added"], stats["Number of parts"]), (0, 0, 2))
        with tempfile.TemporaryDirectory() as directory:
            same = os.path.join(directory, "pair")
            for other in ["--svg", "--dxf"]:
                result = run(arguments + [other, same, "--stl", same])
                self.assertEqual(result.returncode, 2, other)
                self.assertIn("--stl", result.stderr.decode())
            self.assertEqual(run(arguments + ["--bore", "3"]).returncode, 2)  # a bore without solids
            self.assertEqual(run(arguments + ["--stl", os.path.join(directory, "no", "pair.stl")]).returncode, 1)
            self.assertEqual(os.listdir(directory), [])


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
