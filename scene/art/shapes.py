"""Shapes for Veldmark's animal and lion pictures.

A picture part is described as a signed distance field: negative inside, positive outside,
built from a few primitives (ellipses, tapered limbs, smooth closed curves) joined by union,
smooth union, intersection and subtraction. `outline` samples the field on a fine grid, traces
its zero line (marching squares) and thins the loops to a point budget, so the art is edited
as a handful of named shapes while the tables the program draws stay plain point lists.
"""
import math


class Shape:
    def __init__(self, fn, box):
        self.fn = fn          # (x, y) -> signed distance
        self.box = box        # (x0, y0, x1, y1) that holds every inside point

    def __call__(self, x, y):
        return self.fn(x, y)

    def __or__(self, other):
        return union(self, other)

    def __and__(self, other):
        return intersect(self, other)

    def __sub__(self, other):
        return subtract(self, other)


def _grow(box, r):
    return (box[0] - r, box[1] - r, box[2] + r, box[3] + r)


def ellipse(cx, cy, rx, ry, angle=0.0):
    """An ellipse turned by `angle` degrees (counter-clockwise)."""
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))

    def fn(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * c + dy * s, -dx * s + dy * c
        k0 = math.hypot(u / rx, v / ry)
        if k0 == 0.0:
            return -min(rx, ry)
        k1 = math.hypot(u / (rx * rx), v / (ry * ry))
        return k0 * (k0 - 1.0) / k1

    r = max(rx, ry)
    return Shape(fn, (cx - r, cy - r, cx + r, cy + r))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def limb(a, b, ra, rb=None):
    """A tapered capsule from point a (radius ra) to point b (radius rb)."""
    rb = ra if rb is None else rb
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length = math.hypot(dx, dy)
    if length < 1e-9:
        return circle(ax, ay, max(ra, rb))

    def fn(x, y):
        # Distance to a cone with round ends: project onto the axis, then blend the radius.
        px, py = x - ax, y - ay
        t = (px * dx + py * dy) / (length * length)
        t = max(0.0, min(1.0, t))
        qx, qy = px - dx * t, py - dy * t
        return math.hypot(qx, qy) - (ra + (rb - ra) * t)

    r = max(ra, rb)
    return Shape(fn, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def _seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0.0 if l2 == 0.0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / l2))
    return math.hypot(px - ax - dx * t, py - ay - dy * t)


def polygon(points):
    """A closed polygon (even-odd inside), sharp corners."""
    pts = list(points)
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]

    def fn(x, y):
        d = float("inf")
        inside = False
        n = len(pts)
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % n]
            d = min(d, _seg_dist(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -d if inside else d

    return Shape(fn, (min(xs), min(ys), max(xs), max(ys)))


def _catmull_rom(points, closed, steps):
    n = len(points)
    out = []
    segs = n if closed else n - 1
    for i in range(segs):
        p0 = points[(i - 1) % n] if closed or i > 0 else points[0]
        p1 = points[i]
        p2 = points[(i + 1) % n]
        p3 = points[(i + 2) % n] if closed or i + 2 < n else points[-1]
        for k in range(steps):
            t = k / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * p1[j] + (-p0[j] + p2[j]) * t + (2 * p0[j] - 5 * p1[j] + 4 * p2[j] - p3[j]) * t2
                       + (-p0[j] + 3 * p1[j] - 3 * p2[j] + p3[j]) * t3) for j in range(2)))
    if not closed:
        out.append(points[-1])
    return out


def blob(points, steps=8):
    """A smooth closed curve through the given points."""
    return polygon(_catmull_rom(points, True, steps))


def stroke(points, ra, rb=None, steps=6):
    """A smooth open curve through the points, drawn with a width tapering from ra to rb."""
    rb = ra if rb is None else rb
    path = _catmull_rom(points, False, steps)
    n = len(path) - 1
    pieces = [limb(path[i], path[i + 1], ra + (rb - ra) * i / n, ra + (rb - ra) * (i + 1) / n)
              for i in range(n)]
    return union(*pieces)


def union(*shapes):
    return Shape(lambda x, y: min(s(x, y) for s in shapes),
                 (min(s.box[0] for s in shapes), min(s.box[1] for s in shapes),
                  max(s.box[2] for s in shapes), max(s.box[3] for s in shapes)))


def smooth(k, *shapes):
    """Union with fillets of about k where the shapes meet: limbs grow into bodies."""
    def fn(x, y):
        d = shapes[0](x, y)
        for s in shapes[1:]:
            e = s(x, y)
            h = max(k - abs(d - e), 0.0) / k
            d = min(d, e) - h * h * k * 0.25
        return d

    return Shape(fn, _grow(union(*shapes).box, k))


def intersect(a, b):
    box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]),
           min(a.box[2], b.box[2]), min(a.box[3], b.box[3]))
    return Shape(lambda x, y: max(a(x, y), b(x, y)), box)


def subtract(a, b):
    return Shape(lambda x, y: max(a(x, y), -b(x, y)), a.box)


def grow(a, r):
    """The shape grown outward by r (shrunk for negative r)."""
    return Shape(lambda x, y: a(x, y) - r, _grow(a.box, max(r, 0.0)))


def rim(a, width, inset=0.0):
    """The band of the given width along the shape's edge, ending `inset` inside it."""
    half = width / 2.0
    mid = inset - half
    return Shape(lambda x, y: abs(a(x, y) - mid) - half, _grow(a.box, max(0.0, -mid + half)))


def half_plane(a, b):
    """Everything to the left of the directed line a -> b."""
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length = math.hypot(dx, dy)
    nx, ny = dy / length, -dx / length     # right-hand normal: positive outside
    big = 10.0
    return Shape(lambda x, y: (x - ax) * nx + (y - ay) * ny, (-big, -big, big, big))


def band(a, b, width_a, width_b=None):
    """A straight band from a to b, tapering: an unrounded tapered limb (for stripes)."""
    width_b = width_a if width_b is None else width_b
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length = math.hypot(dx, dy)
    nx, ny = -dy / length, dx / length
    pts = [(ax + nx * width_a / 2, ay + ny * width_a / 2), (bx + nx * width_b / 2, by + ny * width_b / 2),
           (bx - nx * width_b / 2, by - ny * width_b / 2), (ax - nx * width_a / 2, ay - ny * width_a / 2)]
    return polygon(pts)


# ---- tracing ---------------------------------------------------------------------------------

def _trace(shape, cell):
    x0, y0, x1, y1 = _grow(shape.box, 2 * cell)
    nx = int(math.ceil((x1 - x0) / cell)) + 1
    ny = int(math.ceil((y1 - y0) / cell)) + 1
    xs = [x0 + i * cell for i in range(nx)]
    ys = [y0 + j * cell for j in range(ny)]
    grid = [[shape(x, y) for x in xs] for y in ys]

    def crossing(a, b):
        da, db = grid[a[1]][a[0]], grid[b[1]][b[0]]
        t = da / (da - db)
        return (xs[a[0]] + (xs[b[0]] - xs[a[0]]) * t, ys[a[1]] + (ys[b[1]] - ys[a[1]]) * t)

    # Every crossing lies on a grid edge shared by two cells, so segments are linked by the
    # edge they end on; the padding round the box closes every loop.
    links = {}
    where = {}
    for j in range(ny - 1):
        for i in range(nx - 1):
            c = ((i, j), (i + 1, j), (i + 1, j + 1), (i, j + 1))
            inside = [grid[p[1]][p[0]] < 0 for p in c]
            if all(inside) or not any(inside):
                continue
            keys = []
            for e in range(4):
                a, b = c[e], c[(e + 1) % 4]
                key = (min(a, b), max(a, b))
                keys.append(key)
                if inside[e] != inside[(e + 1) % 4] and key not in where:
                    where[key] = crossing(a, b)
            crossed = [e for e in range(4) if inside[e] != inside[(e + 1) % 4]]
            if len(crossed) == 2:
                pairs = [(crossed[0], crossed[1])]
            else:
                centre_in = sum(grid[p[1]][p[0]] for p in c) < 0
                if inside[0] == centre_in:
                    pairs = [(0, 1), (2, 3)]
                else:
                    pairs = [(3, 0), (1, 2)]
            for ea, eb in pairs:
                ka, kb = keys[ea], keys[eb]
                links.setdefault(ka, []).append(kb)
                links.setdefault(kb, []).append(ka)
    loops = []
    seen = set()
    for start in links:
        if start in seen:
            continue
        loop = [where[start]]
        seen.add(start)
        prev, k = None, start
        while True:
            options = [n for n in links[k] if n != prev or len(links[k]) == 1]
            step = next((n for n in options if n not in seen), None)
            if step is None:
                break
            seen.add(step)
            loop.append(where[step])
            prev, k = k, step
        if len(loop) >= 3:
            loops.append(loop)
    return loops


def _dp(points, tol):
    """Douglas-Peucker on an open run of points."""
    if len(points) < 3:
        return list(points)
    ax, ay = points[0]
    bx, by = points[-1]
    best, index = -1.0, 0
    for i in range(1, len(points) - 1):
        d = _seg_dist(points[i][0], points[i][1], ax, ay, bx, by)
        if d > best:
            best, index = d, i
    if best <= tol:
        return [points[0], points[-1]]
    return _dp(points[:index + 1], tol)[:-1] + _dp(points[index:], tol)


def _simplify_loop(loop, tol):
    # Split the loop at its point farthest from the first, simplify both halves.
    far = max(range(len(loop)), key=lambda i: (loop[i][0] - loop[0][0]) ** 2 + (loop[i][1] - loop[0][1]) ** 2)
    a = _dp(loop[:far + 1], tol)
    b = _dp(loop[far:] + [loop[0]], tol)
    return a[:-1] + b[:-1]


def _area(loop):
    return 0.5 * sum(loop[i][0] * loop[(i + 1) % len(loop)][1] - loop[(i + 1) % len(loop)][0] * loop[i][1]
                     for i in range(len(loop)))


_cache = {}


def outline(shape, limit, tol=0.0018, cell=0.004):
    """The shape's edge as one point list of at most `limit` points.

    Several loops (a stripe cut in two, a rim's inner and outer edge) are chained into one
    list, each loop closed by repeating its first point and joined to the first loop there and
    back: the filler's even-odd rule sees each joining edge twice and they cancel, so one
    polygon draws them all, holes included.
    """
    loops = [l for l in _trace(shape, cell) if abs(_area(l)) > cell * cell * 2]
    while True:
        thin = [_simplify_loop(l, tol) for l in loops]
        thin = [l for l in thin if len(l) >= 3]
        if not thin:
            return []
        pts = []
        if len(thin) == 1:
            pts = thin[0]
        else:
            # Every loop starts from and returns to the first loop's first point, so each
            # joining edge is drawn once out and once back.
            anchor = thin[0][0]
            for i, l in enumerate(thin):
                pts += l + [l[0]]
                if 0 < i < len(thin) - 1:
                    pts.append(anchor)
        if len(pts) <= limit:
            return [(round(x, 4), round(y, 4)) for x, y in pts]
        tol *= 1.25
