"""The lion's seven pictures: walking (two steps), seated with its face to the viewer, crouched,
in flight, landing and landed.

The lion faces left, the way it crosses the road, and its picture space keeps the scale it is
drawn in: y up from the ground with 1 the picture's height unit, x from about -0.72 (the nose)
to 1.46 (the tip of the tail), 0 at the forelegs.

Each pose is a skeleton: where the chest, belly and haunch sit, where the head is and how it
tilts, a joint chain for each leg and a curve for the tail. The same builders turn every pose's
skeleton into parts, so the poses differ only in those few numbers. Most parts are a fill
followed by its dark rim, a band inside the fill's edge.
"""
import math

from picture import Part, Picture
from shapes import (blob, circle, ellipse, grow, half_plane, intersect, limb, rim, smooth, stroke,
                    subtract, union)

COAT = 0xC8823C
DARK_COAT = 0x8A571F
RIM = 0x6E4A24
DETAIL = 0x3A2A17
EYE = 0x2E74C4
NOSE = 0xB56B6B

RIM_WIDTH = 0.016
ABOVE_GROUND = half_plane((-2.0, 0.0), (2.0, 0.0))


class Head:
    """A frame on the head: x forward along the muzzle, y up, turned `tilt` degrees nose-down."""

    def __init__(self, x, y, tilt):
        self.x, self.y = x, y
        a = math.radians(tilt)
        self.f = (-math.cos(a), -math.sin(a))
        self.u = (-math.sin(a), math.cos(a))
        self.tilt = tilt

    def p(self, x, y):
        return (self.x + x * self.f[0] + y * self.u[0], self.y + x * self.f[1] + y * self.u[1])

    def ellipse(self, x, y, rx, ry, turn=0.0):
        cx, cy = self.p(x, y)
        return ellipse(cx, cy, rx, ry, angle=self.tilt + turn)

    def stroke(self, points, r0, r1=None):
        return stroke([self.p(x, y) for x, y in points], r0, r1)

    def blob(self, points, steps=6):
        return blob([self.p(x, y) for x, y in points], steps=steps)


def shaggy(cx, cy, rx, ry, locks, lock_size, start=0.0, sweep=360.0):
    """An ellipse with rounded locks round part of its edge: a mane."""
    parts = [ellipse(cx, cy, rx, ry)]
    for i in range(locks):
        a = math.radians(start + sweep * (i + 0.5) / locks)
        parts.append(circle(cx + rx * math.cos(a), cy + ry * math.sin(a), lock_size))
    return smooth(0.02, *parts)


def leg(joints, radii, paw_size):
    """A leg through its joints (top first), tapering through `radii`; and its paw."""
    pieces = [limb(joints[i], joints[i + 1], radii[i], radii[i + 1]) for i in range(len(joints) - 1)]
    limb_shape = smooth(0.03, *pieces)
    px, py = joints[-1]
    paw = intersect(ellipse(px - paw_size * 0.35, py, paw_size, paw_size * 0.6), ABOVE_GROUND)
    return limb_shape, paw


def outlined(name, shape, fill, hide=None):
    """A fill and its rim; the rim leaves out what lies well inside `hide` (the body a leg
    grows from), so limbs seem to grow out of it rather than sit on top."""
    edge = rim(shape, RIM_WIDTH)
    if hide is not None:
        edge = subtract(edge, grow(hide, -0.05))
    return [Part(name, shape, fill), Part(f"{name} rim", edge, RIM)]


def body_of(chest, belly, haunch, neck_to):
    return smooth(0.12,
                  ellipse(*chest),
                  ellipse(*belly),
                  ellipse(*haunch),
                  limb(chest[:2], neck_to, chest[3] * 0.8, 0.1))


def side_head(h, full_face_detail):
    """The head in profile with its mane, as (name, shape, fill) layers in drawing order."""
    skull = h.ellipse(0.0, 0.0, 0.165, 0.14)
    muzzle = h.ellipse(0.15, -0.045, 0.105, 0.08)
    jaw = h.ellipse(0.1, -0.105, 0.09, 0.045)
    return {
        "far ear": h.ellipse(0.02, 0.14, 0.04, 0.045),
        "mane": shaggy(*h.p(-0.1, -0.02), 0.23, 0.26, 11, 0.06, start=60, sweep=240),
        "mane lock": shaggy(*h.p(-0.06, 0.02), 0.16, 0.2, 7, 0.045, start=80, sweep=200),
        "ruff": h.blob([(-0.02, -0.12), (0.04, -0.24), (-0.1, -0.3), (-0.18, -0.16)]),
        "skull": skull,
        "ear": h.ellipse(-0.07, 0.13, 0.045, 0.05),
        "inner ear": h.ellipse(-0.065, 0.13, 0.02, 0.028),
        "muzzle": muzzle,
        "jaw": jaw,
        "cheek": h.ellipse(0.0, -0.05, 0.07, 0.05),
        "brow": h.ellipse(0.07, 0.055, 0.07, 0.028, turn=-8),
        "eye": h.ellipse(0.075, 0.022, 0.022, 0.013),
        "pupil": circle(*h.p(0.083, 0.022), 0.008),
        "nose": h.blob([(0.2, 0.02), (0.245, 0.015), (0.24, -0.02), (0.215, -0.025)], steps=4),
        "mouth": union(h.stroke([(0.225, -0.035), (0.215, -0.075), (0.14, -0.1)], 0.006, 0.004)),
        "whiskers": union(h.stroke([(0.18, -0.03), (0.26, -0.0), (0.31, 0.01)], 0.004, 0.002),
                          h.stroke([(0.18, -0.045), (0.27, -0.05), (0.32, -0.05)], 0.004, 0.002),
                          h.stroke([(0.17, -0.06), (0.25, -0.09), (0.29, -0.11)], 0.004, 0.002)),
    }


def tail_of(points):
    body = stroke(points, 0.028, 0.02)
    tx, ty = points[-1]
    px, py = points[-2]
    a = math.degrees(math.atan2(ty - py, tx - px))
    tuft = ellipse(tx, ty, 0.06, 0.035, angle=a)
    return body, tuft


def toes(paw_centre, size):
    x, y = paw_centre
    return union(*[limb((x - size * k, y - size * 0.1), (x - size * k, y + size * 0.25), 0.004)
                   for k in (0.1, 0.45, 0.8)])


# ---- the walk ---------------------------------------------------------------------------------

def walking(name, step):
    s = 1.0 if step == 0 else -1.0
    chest = (0.12, 0.6, 0.27, 0.22)
    belly = (0.5, 0.57, 0.4, 0.18)
    haunch = (0.88, 0.62, 0.21, 0.2)
    h = Head(-0.34, 0.78, 10.0)
    body = body_of(chest, belly, haunch, h.p(-0.05, -0.05))
    near_fore, near_fore_paw = leg([(0.1, 0.56), (0.05 - 0.05 * s, 0.3), (0.0 - 0.1 * s, 0.12),
                                    (-0.02 - 0.12 * s, 0.04)], [0.1, 0.06, 0.045, 0.04], 0.06)
    far_fore, _ = leg([(0.14, 0.56), (0.12 + 0.06 * s, 0.3), (0.12 + 0.12 * s, 0.13),
                       (0.12 + 0.14 * s, 0.06)], [0.09, 0.055, 0.04, 0.04], 0.055)
    near_hind, near_hind_paw = leg([(0.9, 0.58), (0.85 + 0.05 * s, 0.34), (0.98 + 0.06 * s, 0.2),
                                    (0.96 + 0.1 * s, 0.04)], [0.14, 0.07, 0.045, 0.04], 0.06)
    far_hind, _ = leg([(0.86, 0.58), (0.8 - 0.05 * s, 0.34), (0.92 - 0.08 * s, 0.2),
                       (0.88 - 0.1 * s, 0.05)], [0.13, 0.065, 0.04, 0.038], 0.055)
    far_fore_all = union(far_fore, leg([(0.14, 0.56), (0.12 + 0.14 * s, 0.06)], [0.05, 0.04], 0.055)[1])
    far_hind_all = union(far_hind, leg([(0.86, 0.58), (0.88 - 0.1 * s, 0.05)], [0.05, 0.038], 0.055)[1])
    tail, tuft = tail_of([(1.06, 0.7), (1.18, 0.62), (1.28, 0.5), (1.36, 0.42), (1.41, 0.44)])
    belly_shade = intersect(grow(body, -0.01), ellipse(0.5, 0.37, 0.3, 0.06))
    hd = side_head(h, True)
    parts = []
    parts += outlined("far hind leg", far_hind_all, DARK_COAT)
    parts += outlined("far foreleg", far_fore_all, DARK_COAT)
    parts += outlined("tail", tail, COAT)
    parts.append(Part("tail tuft", tuft, DETAIL))
    parts += outlined("body", body, COAT)
    parts.append(Part("belly shade", belly_shade, DARK_COAT))
    parts += outlined("near hind leg", near_hind, COAT, hide=body)
    parts += outlined("near hind paw", near_hind_paw, COAT)
    parts += outlined("near foreleg", near_fore, COAT, hide=body)
    parts += outlined("near fore paw", near_fore_paw, COAT)
    parts += outlined("far ear", hd["far ear"], COAT)
    parts += outlined("mane", hd["mane"], DARK_COAT)
    parts += outlined("mane lock", hd["mane lock"], DARK_COAT)
    parts += outlined("ruff", hd["ruff"], DARK_COAT)
    parts += outlined("head", hd["skull"], COAT)
    parts += outlined("ear", hd["ear"], COAT)
    parts.append(Part("inner ear", hd["inner ear"], DETAIL))
    parts += outlined("jaw", hd["jaw"], COAT)
    parts += outlined("muzzle", hd["muzzle"], COAT)
    parts += outlined("cheek", intersect(hd["cheek"], hd["skull"]), COAT)
    parts += outlined("brow", intersect(hd["brow"], hd["skull"]), COAT)
    parts.append(Part("eye", hd["eye"], EYE))
    parts.append(Part("pupil", hd["pupil"], DETAIL))
    parts.append(Part("nose", hd["nose"], NOSE))
    parts.append(Part("mouth", hd["mouth"], DETAIL))
    parts.append(Part("whiskers", hd["whiskers"], DETAIL))
    parts.append(Part("toes", union(toes((-0.02 - 0.12 * s - 0.02, 0.04), 0.06),
                                    toes((0.96 + 0.1 * s - 0.02, 0.04), 0.06)), DETAIL))
    parts.append(Part("beard", h.blob([(0.06, -0.13), (0.1, -0.2), (0.0, -0.17)], steps=4), DARK_COAT))
    return Picture(name, parts, fit=False)


# ---- seated, face to the viewer ---------------------------------------------------------------

def seated():
    cx, cy = 0.14, 0.92       # the face's centre
    body = smooth(0.14,
                  intersect(ellipse(0.66, 0.28, 0.32, 0.28), ABOVE_GROUND),   # haunch on the ground
                  ellipse(0.24, 0.52, 0.22, 0.3, angle=-15),                  # upright chest
                  limb((0.22, 0.6), (cx + 0.02, cy - 0.12), 0.18, 0.14))
    far_fore, far_paw = leg([(0.24, 0.5), (0.24, 0.04)], [0.07, 0.045], 0.055)
    near_hind = intersect(ellipse(0.6, 0.26, 0.2, 0.17, angle=25), ABOVE_GROUND)
    near_hind_paw = intersect(ellipse(0.42, 0.045, 0.13, 0.045), ABOVE_GROUND)
    near_fore, near_fore_paw = leg([(0.14, 0.55), (0.1, 0.25), (0.09, 0.04)], [0.08, 0.05, 0.045], 0.06)
    tail, tuft = tail_of([(0.9, 0.12), (1.08, 0.05), (1.26, 0.05), (1.36, 0.1), (1.41, 0.15)])
    mane = shaggy(cx + 0.01, cy - 0.05, 0.26, 0.3, 14, 0.065)
    mane_inner = shaggy(cx, cy - 0.03, 0.2, 0.22, 12, 0.04)
    face = ellipse(cx, cy, 0.14, 0.15)
    ears = [circle(cx - 0.12, cy + 0.13, 0.05), circle(cx + 0.12, cy + 0.13, 0.05)]
    inner_ears = union(circle(cx - 0.12, cy + 0.13, 0.024), circle(cx + 0.12, cy + 0.13, 0.024))
    lobes = [ellipse(cx - 0.045, cy - 0.075, 0.055, 0.042), ellipse(cx + 0.045, cy - 0.075, 0.055, 0.042)]
    chin = ellipse(cx, cy - 0.125, 0.045, 0.03)
    brow = intersect(face, ellipse(cx, cy + 0.07, 0.11, 0.03))
    eyes = [ellipse(cx - 0.055, cy + 0.02, 0.024, 0.016), ellipse(cx + 0.055, cy + 0.02, 0.024, 0.016)]
    pupils = [circle(cx - 0.055, cy + 0.02, 0.009), circle(cx + 0.055, cy + 0.02, 0.009)]
    nose = blob([(cx - 0.035, cy - 0.025), (cx + 0.035, cy - 0.025), (cx, cy - 0.06)], steps=4)
    nostril = limb((cx, cy - 0.055), (cx, cy - 0.08), 0.004)
    mouth = union(stroke([(cx, cy - 0.085), (cx - 0.02, cy - 0.1), (cx - 0.045, cy - 0.1)], 0.005),
                  stroke([(cx, cy - 0.085), (cx + 0.02, cy - 0.1), (cx + 0.045, cy - 0.1)], 0.005))

    def dots(side):
        return union(*[circle(cx + side * dx, cy + dy, 0.006)
                       for dx, dy in ((0.035, -0.065), (0.06, -0.07), (0.045, -0.085))])

    def whiskers(side):
        return union(*[stroke([(cx + side * 0.08, cy - 0.07 + dy), (cx + side * 0.2, cy - 0.06 + 2 * dy)],
                              0.004, 0.002) for dy in (0.0, -0.015, -0.03)])

    chest_ruff = intersect(grow(body, -0.02), ellipse(0.18, 0.6, 0.1, 0.12))
    parts = []
    parts += outlined("tail", tail, COAT)
    parts.append(Part("tail tuft", tuft, DETAIL))
    parts += outlined("far foreleg", far_fore, DARK_COAT)
    parts += outlined("body", body, COAT)
    # Only the front of the thigh is outlined: a full ring would read as a wheel.
    parts += [Part("near hind leg", near_hind, COAT),
              Part("near hind leg rim", intersect(rim(near_hind, RIM_WIDTH),
                                                  half_plane((0.62, 1.0), (0.62, -1.0))), RIM)]
    parts += outlined("near hind paw", near_hind_paw, COAT)
    parts.append(Part("far fore paw", far_paw, COAT))
    parts.append(Part("chest", chest_ruff, COAT))
    parts += outlined("near foreleg", near_fore, COAT, hide=body)
    parts += outlined("near fore paw", near_fore_paw, COAT)
    parts += outlined("mane", mane, DARK_COAT)
    parts += outlined("inner mane", mane_inner, DARK_COAT)
    parts += outlined("left ear", ears[0], COAT)
    parts += outlined("right ear", ears[1], COAT)
    parts.append(Part("inner ears", inner_ears, DETAIL))
    parts += outlined("face", face, COAT)
    parts += outlined("brow", brow, COAT)
    parts += outlined("chin", chin, COAT)
    parts += outlined("left muzzle", lobes[0], COAT)
    parts += outlined("right muzzle", lobes[1], COAT)
    parts.append(Part("left eye", eyes[0], EYE))
    parts.append(Part("right eye", eyes[1], EYE))
    parts.append(Part("left pupil", pupils[0], DETAIL))
    parts.append(Part("right pupil", pupils[1], DETAIL))
    parts.append(Part("nose", nose, NOSE))
    parts.append(Part("nose line", nostril, DETAIL))
    parts.append(Part("mouth", mouth, DETAIL))
    parts.append(Part("left whisker spots", dots(-1.0), DETAIL))
    parts.append(Part("right whisker spots", dots(1.0), DETAIL))
    parts.append(Part("left whiskers", whiskers(-1.0), DETAIL))
    parts.append(Part("right whiskers", whiskers(1.0), DETAIL))
    return Picture("lion seated", parts, fit=False)


# ---- the leap ---------------------------------------------------------------------------------

class Leap:
    """The skeleton of one moment of the leap."""

    def __init__(self, chest, belly, haunch, head, near_fore, far_fore, near_hind, far_hind,
                 tail):
        self.chest, self.belly, self.haunch, self.head = chest, belly, haunch, head
        self.near_fore, self.far_fore = near_fore, far_fore
        self.near_hind, self.far_hind = near_hind, far_hind
        self.tail = tail


FORE_RADII = [0.1, 0.06, 0.045, 0.04]
HIND_RADII = [0.14, 0.07, 0.045, 0.04]


def leaping(name, k):
    h = Head(*k.head)
    body = body_of(k.chest, k.belly, k.haunch, h.p(-0.05, -0.05))
    near_fore, near_fore_paw = leg(k.near_fore, FORE_RADII, 0.06)
    far_fore = union(*leg(k.far_fore, [0.09, 0.055, 0.04, 0.038], 0.055))
    near_hind, near_hind_paw = leg(k.near_hind, HIND_RADII, 0.06)
    far_hind = union(*leg(k.far_hind, [0.13, 0.065, 0.04, 0.038], 0.055))
    tail, tuft = tail_of(k.tail)
    hd = side_head(h, False)
    parts = []
    parts += outlined("far hind leg", far_hind, DARK_COAT)
    parts += outlined("far foreleg", far_fore, DARK_COAT)
    parts += outlined("tail", tail, COAT)
    parts.append(Part("tail tuft", tuft, DETAIL))
    parts += outlined("body", body, COAT)
    parts += outlined("near hind leg", near_hind, COAT, hide=body)
    parts += outlined("near hind paw", near_hind_paw, COAT)
    parts += outlined("near foreleg", near_fore, COAT, hide=body)
    parts += outlined("near fore paw", near_fore_paw, COAT)
    parts += outlined("mane", hd["mane"], DARK_COAT)
    parts += outlined("mane lock", hd["mane lock"], DARK_COAT)
    parts += outlined("head", hd["skull"], COAT)
    parts += outlined("ear", hd["ear"], COAT)
    parts += outlined("jaw", hd["jaw"], COAT)
    parts += outlined("muzzle", hd["muzzle"], COAT)
    parts.append(Part("brow", intersect(hd["brow"], hd["skull"]), COAT))
    parts.append(Part("eye", hd["eye"], EYE))
    parts.append(Part("pupil", hd["pupil"], DETAIL))
    parts.append(Part("nose and mouth", union(hd["nose"], hd["mouth"]), DETAIL))
    parts.append(Part("whiskers", hd["whiskers"], DETAIL))
    return Picture(name, parts, fit=False)


CROUCHED = Leap(
    chest=(0.1, 0.38, 0.26, 0.2), belly=(0.48, 0.36, 0.38, 0.16), haunch=(0.86, 0.44, 0.21, 0.21),
    head=(-0.36, 0.46, 0.0),
    near_fore=[(0.08, 0.34), (0.12, 0.14), (-0.04, 0.06), (-0.16, 0.04)],
    far_fore=[(0.12, 0.34), (0.18, 0.15), (0.06, 0.07), (-0.06, 0.04)],
    near_hind=[(0.88, 0.42), (0.72, 0.2), (0.98, 0.1), (0.92, 0.04)],
    far_hind=[(0.84, 0.42), (0.66, 0.2), (0.9, 0.1), (0.82, 0.04)],
    tail=[(1.05, 0.5), (1.18, 0.46), (1.3, 0.42), (1.38, 0.38), (1.42, 0.36)])

IN_FLIGHT = Leap(
    chest=(0.05, 0.56, 0.25, 0.19), belly=(0.46, 0.56, 0.4, 0.15), haunch=(0.86, 0.58, 0.2, 0.18),
    head=(-0.42, 0.66, -5.0),
    near_fore=[(0.04, 0.52), (-0.2, 0.4), (-0.42, 0.34), (-0.5, 0.33)],
    far_fore=[(0.08, 0.52), (-0.14, 0.44), (-0.36, 0.4), (-0.44, 0.4)],
    near_hind=[(0.88, 0.56), (1.08, 0.44), (1.28, 0.36), (1.36, 0.34)],
    far_hind=[(0.84, 0.56), (1.04, 0.48), (1.24, 0.42), (1.32, 0.4)],
    tail=[(1.05, 0.64), (1.18, 0.72), (1.3, 0.8), (1.38, 0.84), (1.42, 0.85)])

LANDING = Leap(
    chest=(0.02, 0.44, 0.25, 0.2), belly=(0.42, 0.52, 0.38, 0.16), haunch=(0.8, 0.66, 0.2, 0.19),
    head=(-0.38, 0.5, 15.0),
    near_fore=[(0.0, 0.4), (-0.1, 0.22), (-0.16, 0.1), (-0.18, 0.04)],
    far_fore=[(0.04, 0.4), (-0.02, 0.24), (-0.06, 0.12), (-0.06, 0.06)],
    near_hind=[(0.82, 0.64), (1.0, 0.54), (1.18, 0.5), (1.26, 0.52)],
    far_hind=[(0.78, 0.64), (0.96, 0.58), (1.12, 0.56), (1.2, 0.58)],
    tail=[(0.98, 0.74), (1.12, 0.84), (1.26, 0.9), (1.36, 0.9), (1.42, 0.88)])

LANDED = Leap(
    chest=(0.05, 0.36, 0.26, 0.2), belly=(0.44, 0.36, 0.38, 0.16), haunch=(0.82, 0.4, 0.21, 0.2),
    head=(-0.36, 0.46, 5.0),
    near_fore=[(0.02, 0.32), (-0.1, 0.16), (-0.2, 0.06), (-0.24, 0.04)],
    far_fore=[(0.06, 0.32), (0.0, 0.16), (-0.08, 0.06), (-0.1, 0.04)],
    near_hind=[(0.84, 0.38), (0.66, 0.16), (0.92, 0.08), (0.8, 0.04)],
    far_hind=[(0.8, 0.38), (0.6, 0.16), (0.86, 0.08), (0.72, 0.04)],
    tail=[(1.02, 0.42), (1.16, 0.34), (1.28, 0.26), (1.38, 0.22), (1.42, 0.21)])

POSES = [
    walking("lion walk a", 0),
    walking("lion walk b", 1),
    seated(),
    leaping("lion crouched", CROUCHED),
    leaping("lion in flight", IN_FLIGHT),
    leaping("lion landing", LANDING),
    leaping("lion landed", LANDED),
]
