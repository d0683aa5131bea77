#!/usr/bin/env python3
"""Draw the Varnock and Quelby icons procedurally and write them as .ico files.

Also the icons of two stand-ins for drawing applications, which the tests and the screenshots
start in their place.

Usage (from the repository root):
    python3 scripts/make-icons.py [--preview DIR] [--zoom N]

Standard library only, and fully deterministic, so the icons can be rebuilt
anywhere. Each size is drawn on its own (not downscaled) so that edges land
on pixel boundaries and small sizes stay crisp.
"""
import argparse, math, os, struct, zlib

SIZES = (16, 32, 48)
SS = 4  # SS x SS samples per pixel: enough for smooth anti-aliased edges

# One palette for both programs so the two icons read as a family.
INK = (38, 46, 60)  # outlines
PAPER, PAPER_LOW, FOLD = (255, 255, 255), (226, 233, 242), (196, 206, 220)
BLUE = (30, 110, 215)  # the vector curve / list bullets
GREY = (140, 152, 168)  # bezier handles / list text
ORANGE, ORANGE_INK = (247, 140, 20), (150, 66, 0)  # the action: launch arrow / pencil
ORANGE_DEEP = (235, 118, 0)  # the arrow at 16, which has no outline
WOOD, METAL, PINK = (244, 210, 160), (180, 190, 202), (236, 110, 140)  # pencil parts


def pairs(xy):
    return list(zip(xy[::2], xy[1::2]))


# --- shapes: each is (inside(x, y) -> bool, bounding box) in pixel units ---

def poly(pts):
    """Filled polygon (even-odd rule)."""
    def inside(x, y):
        hit = False
        for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def rect(x0, y0, x1, y1):
    return poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


def stroke(pts, width):
    """Open polyline with round caps: union of capsules."""
    segs, r2 = list(zip(pts, pts[1:])), (width / 2) ** 2

    def inside(x, y):
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy or 1)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= r2:
                return True
        return False
    xs, ys, h = [p[0] for p in pts], [p[1] for p in pts], width / 2
    return inside, (min(xs) - h, min(ys) - h, max(xs) + h, max(ys) + h)


def bezier(p0, p1, p2, p3, steps=24):
    """Flatten a cubic Bezier curve into a polyline."""
    def at(t):
        u = 1 - t
        return tuple(u**3 * a + 3 * u * u * t * b + 3 * u * t * t * c + t**3 * d
                     for a, b, c, d in zip(p0, p1, p2, p3))
    return [at(i / steps) for i in range(steps + 1)]


def inset(pts, d):
    """Shift every edge of a simple polygon inwards by d and re-intersect the
    neighbours (mitred corners): the area left inside an outline of width d."""
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]))

    def shifted(a, b):  # edge a->b moved inwards, as (point, direction)
        dx, dy = b[0] - a[0], b[1] - a[1]
        k = d / math.hypot(dx, dy) * (1 if area > 0 else -1)
        return (a[0] - dy * k, a[1] + dx * k), (dx, dy)
    out = []
    for i in range(len(pts)):
        (a, u), (b, v) = shifted(pts[i - 1], pts[i]), shifted(pts[i], pts[(i + 1) % len(pts)])
        den = u[0] * v[1] - u[1] * v[0]
        t = ((b[0] - a[0]) * v[1] - (b[1] - a[1]) * v[0]) / den if den else 1.0
        out.append((a[0] + u[0] * t, a[1] + u[1] * t))
    return out


# --- canvas: premultiplied RGBA floats, composited with "over" ---

class Canvas:
    def __init__(self, n):
        self.n, self.s = n, n / 16  # designs use a 16-unit grid
        self.w = 1 if n < 48 else 2  # outline width in pixels
        self.px = [[0.0] * 4 for _ in range(n * n)]

    def P(self, *xy):
        """Design-grid coordinates -> pixel coordinates, snapped to whole pixels
        so that straight edges stay sharp at every size."""
        return [(math.floor(x * self.s + 0.5), math.floor(y * self.s + 0.5)) for x, y in pairs(xy)]

    def R(self, x0, y0, x1, y1):
        """Rectangle in design units."""
        (a, b), (c, d) = self.P(x0, y0, x1, y1)
        return rect(a, b, c, d)

    def fill(self, shape, color, crisp=False):
        """color is an RGB tuple or a function (x, y) -> RGB, for gradients.
        crisp samples only pixel centres: clean pixel stairs for tiny sizes."""
        inside, (x0, y0, x1, y1) = shape
        ss = 1 if crisp else SS
        offs = [(i + 0.5) / ss for i in range(ss)]
        for py in range(max(0, int(y0)), min(self.n, math.ceil(y1))):
            for px in range(max(0, int(x0)), min(self.n, math.ceil(x1))):
                hits = sum(inside(px + dx, py + dy) for dy in offs for dx in offs)
                if not hits:
                    continue
                a = hits / ss ** 2
                rgb = color(px + 0.5, py + 0.5) if callable(color) else color
                p = self.px[py * self.n + px]
                p[:] = [v / 255 * a + q * (1 - a) for v, q in zip(rgb + (255,), p)]

    def outlined(self, pts, color, ink=INK):
        """Polygon with an outline lying fully inside it, so integer edges stay sharp."""
        crisp = self.n <= 16
        self.fill(poly(pts), ink, crisp)
        self.fill(poly(inset(pts, self.w)), color, crisp)

    def rgba(self):
        """Rows top-down of straight-alpha 8-bit (r, g, b, a)."""
        def straight(r, g, b, a):
            k = 255 / a if a else 0
            return tuple(round(min(255, v * k)) for v in (r, g, b)) + (round(a * 255),)
        n = self.n
        return [[straight(*p) for p in self.px[y * n:(y + 1) * n]] for y in range(n)]


def page_gradient(n):
    """White fading to pale blue-grey downwards; flat at 16, where it only adds noise."""
    if n < 32:
        return PAPER
    return lambda x, y: tuple(p + (q - p) * y / n for p, q in zip(PAPER, PAPER_LOW))


# --- the two designs ---

def varnock(n):
    """Folded EPS page with a bezier curve and two handles; orange arrow out of it."""
    c, small = Canvas(n), n <= 16
    if small:  # hand-placed so the 4px fold keeps a visible inside
        c.outlined(pairs((2, 0, 9.5, 0, 13, 3.5, 13, 16, 2, 16)), PAPER)
        c.fill(poly(pairs((10, 1.6, 10, 4, 12.4, 4))), FOLD, crisp=True)
        c.fill(rect(9, 0, 10, 5), INK)
        c.fill(rect(9, 4, 13, 5), INK)
        a, h1, h2, b = c.P(5, 13, 5, 7, 7, 9, 10, 7)
    else:
        c.outlined(c.P(2, 0, 9, 0, 13, 4, 13, 16, 2, 16), page_gradient(n))
        c.outlined(c.P(9, 0, 9, 4, 13, 4), FOLD)
        a, h1, h2, b = c.P(4, 13, 4, 5, 7, 8.5, 10.5, 6)
        for h, p in ((h1, a), (h2, b)):  # handles: too fine to show at 16
            c.fill(stroke([p, h], c.s * 0.5), GREY)
            c.fill(stroke([h, h], c.s * 1.3), BLUE)
    c.fill(stroke(bezier(a, h1, h2, b), max(2.0, c.s * 1.1)), BLUE)
    k = max(1, round(c.s * 0.9))  # anchor squares, snapped to whole pixels
    for x, y in (a, b):
        x, y = math.floor(x - k + 0.5), math.floor(y - k + 0.5)
        c.fill(rect(x, y, x + 2 * k, y + 2 * k), INK)
    if small:  # solid, no outline: an outline would leave no orange in a 4px head
        arrow = (7, 10.6, 12, 10.6, 12, 7.5, 16.5, 12, 12, 16.5, 12, 13.4, 7, 13.4)
        c.fill(poly(pairs(arrow)), ORANGE_DEEP, crisp=True)
    else:
        c.outlined(c.P(7, 10, 11.5, 10, 11.5, 7.5, 16, 12, 11.5, 16.5, 11.5, 14, 7, 14),
                   ORANGE, ORANGE_INK)
    return c


def quelby(n):
    """List sheet with three bulleted rows, and an orange pencil across it."""
    c = Canvas(n)
    c.outlined(c.P(2, 0, 14, 0, 14, 16, 2, 16), page_gradient(n))
    for row in (3, 7, 11):
        c.fill(c.R(4, row, 6, row + 2), BLUE)
        y = row + 0.5 if n >= 32 else row  # at 16: the line flush with the bullet top
        c.fill(c.R(7, y, 12, y + 1), GREY)
    if n <= 16:  # exact 45-degree pixel stairs: per row 1px ink, 2px orange, 1px ink
        pencil(c, (5, 15.5), (15.5, 5), math.sqrt(2), math.sqrt(0.5), crisp=True)
    else:
        pencil(c, *c.P(5, 15, 14.5, 5.5), c.s * 1.7, c.w)
    return c


def pencil(c, tip, end, hw, w, crisp=False):
    """Pencil from tip to end, half-width hw: ink silhouette, then inner parts."""
    L = math.hypot(end[0] - tip[0], end[1] - tip[1])
    ux, uy = (end[0] - tip[0]) / L, (end[1] - tip[1]) / L

    def part(color, *uv):  # polygon in local (along, across) units
        pts = [(tip[0] + u * ux - v * uy, tip[1] + u * uy + v * ux) for u, v in pairs(uv)]
        c.fill(poly(pts), color, crisp)
    cone, band = hw * 2.2, L - hw * 2.2  # band: where the metal ferrule starts
    i = hw - w  # inner half-width, inside the outline
    part(INK, 0, 0, cone, -hw, L, -hw, L, hw, cone, hw)
    part(WOOD, w * 1.4, 0, cone, -i, cone, i)
    part(INK, 0, 0, cone * 0.4, -hw * 0.4, cone * 0.4, hw * 0.4)  # graphite point
    part(ORANGE, cone, -i, band, -i, band, i, cone, i)
    part(METAL, band + w, -i, band + hw * 0.8, -i, band + hw * 0.8, i, band + w, i)
    part(PINK, band + hw * 0.8 + w, -i, L - w, -i, L - w, i, band + hw * 0.8 + w, i)


# --- stand-ins for drawing applications, for the tests and the screenshots ---

STAND_IN_SIZES = (16, 24, 32, 48)  # 24: the small icon at 144 DPI
TEAL, TEAL_INK = (32, 150, 160), (12, 92, 100)


def rounded(x0, y0, x1, y1, r):
    """Rectangle with round corners of radius r."""
    def inside(x, y):
        cx, cy = min(max(x, x0 + r), x1 - r), min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside, (x0, y0, x1, y1)


def tile(c, color, ink):
    """A rounded square tile with a darker rim, the background of a stand-in's icon."""
    n = c.n
    c.fill(rounded(0, 0, n, n, n * 0.2), ink)
    c.fill(rounded(c.w, c.w, n - c.w, n - c.w, n * 0.2 - c.w), color)


def stand_in_pen(n):
    """Orange tile with a white pen nib: a stand-in drawing application."""
    c = Canvas(n)
    tile(c, ORANGE, ORANGE_INK)
    c.fill(poly(c.P(5, 3, 11, 3, 11, 7, 8, 13.5, 5, 7)), PAPER)
    c.fill(stroke(c.P(8, 8.5, 8, 13.5), max(1.0, c.s * 0.7)), ORANGE_INK)
    c.fill(stroke(c.P(8, 8, 8, 8), max(1.5, c.s * 1.8)), ORANGE_INK)
    return c


def stand_in_layout(n):
    """Teal tile with a white page of text lines: a stand-in layout application."""
    c = Canvas(n)
    tile(c, TEAL, TEAL_INK)
    c.fill(c.R(4, 3, 12, 13), PAPER)
    for y0, x1 in ((5, 10), (7.5, 10), (10, 8)):
        c.fill(c.R(5.5, y0, x1 + 0.5, y0 + 1), TEAL_INK)
    return c


# --- file formats ---

def ico_entry(rows):
    """BMP DIB: BITMAPINFOHEADER (height doubled), BGRA bottom-up, then 1bpp AND mask."""
    n = len(rows)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    stride = (n + 31) // 32 * 4  # mask rows are padded to 32 bits
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:  # 1 = transparent, for systems that ignore the alpha channel
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    head = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return head + xor + bytes(mask)


def write_ico(path, images):
    blobs = [ico_entry(rows) for rows in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for rows, blob in zip(images, blobs):
        n = len(rows) % 256  # 0 means 256
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_png(path, rows, zoom=1):
    rows = [[p for p in row for _ in range(zoom)] for row in rows for _ in range(zoom)]
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        crc = zlib.crc32(kind + data)
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)
    ihdr = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="DIR", help="also write PNG previews of every size")
    ap.add_argument("--zoom", type=int, default=8, help="extra enlarged previews (default 8)")
    args = ap.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for name, draw, dest, sizes in (("varnock", varnock, "launcher/res/varnock.ico", SIZES),
                                    ("quelby", quelby, "editor/res/quelby.ico", SIZES),
                                    ("stand-in-pen", stand_in_pen, "tests/wine/res/stand_in_pen.ico", STAND_IN_SIZES),
                                    ("stand-in-layout", stand_in_layout, "tests/wine/res/stand_in_layout.ico",
                                     STAND_IN_SIZES)):
        images = [draw(n).rgba() for n in sizes]
        write_ico(os.path.join(root, dest), images)
        print("wrote", dest)
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            for n, rows in zip(sizes, images):
                base = os.path.join(args.preview, f"{name}-{n}")
                write_png(base + ".png", rows)
                if args.zoom > 1:
                    write_png(base + f"-x{args.zoom}.png", rows, args.zoom)


if __name__ == "__main__":
    main()
