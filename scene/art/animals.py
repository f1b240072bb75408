"""The eight animals, each as the parts it is drawn from, back to front.

Every animal faces left and stands on y = 0; the generator scales each picture so its top is
at y = 1 and centres it. Coordinates here are in that same space before scaling.
Colours follow the house palette of each kind; the part order is the drawing order.
"""
from picture import Part, Picture, elliptic, linear
from shapes import (blob, band, circle, ellipse, half_plane, intersect, limb, polygon,
                    smooth, stroke, subtract, union, grow)

ABOVE_GROUND = half_plane((-2.0, 0.0), (2.0, 0.0))


def on_ground(shape):
    """Cuts legs flat where they meet the ground."""
    return intersect(shape, ABOVE_GROUND)


def stripes_of(body, bands):
    """Each band cut to the body's outline, a little inside it so the edge stays light."""
    inner = grow(body, -0.004)
    return [intersect(inner, b) for b in bands]


# ---- elephant ---------------------------------------------------------------------------------

def elephant():
    far_legs = on_ground(union(limb((-0.08, 0.42), (-0.07, -0.05), 0.085),
                               limb((0.30, 0.42), (0.31, -0.05), 0.09)))
    tail = union(stroke([(0.52, 0.72), (0.6, 0.58), (0.62, 0.42)], 0.014, 0.01),
                 ellipse(0.62, 0.38, 0.022, 0.045))
    body = on_ground(smooth(0.08,
        ellipse(0.12, 0.6, 0.42, 0.29),                      # barrel
        ellipse(-0.3, 0.76, 0.2, 0.22),                      # head
        ellipse(-0.12, 0.8, 0.18, 0.14),                     # crown of the shoulders
        stroke([(-0.4, 0.7), (-0.52, 0.56), (-0.55, 0.34), (-0.52, 0.18), (-0.45, 0.12)],
               0.08, 0.035),                                  # trunk
        limb((-0.2, 0.45), (-0.2, -0.05), 0.1, 0.095),       # near foreleg
        limb((0.4, 0.45), (0.41, -0.05), 0.11, 0.095)))      # near hind leg
    eye = ellipse(-0.4, 0.78, 0.018, 0.024)
    ear = blob([(-0.24, 0.93), (-0.06, 0.95), (0.06, 0.86), (0.06, 0.66), (-0.02, 0.5),
                (-0.12, 0.46), (-0.2, 0.56), (-0.26, 0.74)])
    tusk = stroke([(-0.44, 0.58), (-0.52, 0.47), (-0.62, 0.45)], 0.028, 0.012)
    return Picture("elephant", [
        Part("far legs", far_legs, 0x636363),
        Part("tail", tail, 0x636363),
        Part("body, head, trunk and near legs", body, 0x9B9B9B),
        Part("eye", eye, 0x1C1C1C),
        Part("ear", ear, 0xD3D3D3),
        Part("tusk", tusk, 0xD3D3D3),
    ], kind=0x1F418)


# ---- rhinoceros -------------------------------------------------------------------------------

def rhinoceros():
    horns = union(
        polygon([(-0.66, 0.36), (-0.7, 0.66), (-0.56, 0.38)]),         # front horn, swept up
        polygon([(-0.52, 0.46), (-0.53, 0.6), (-0.45, 0.48)]))         # the small one behind
    far = on_ground(union(limb((-0.02, 0.36), (-0.02, -0.05), 0.07),
                          limb((0.3, 0.36), (0.31, -0.05), 0.075),
                          stroke([(0.5, 0.6), (0.58, 0.48), (0.58, 0.36)], 0.012, 0.008)))
    far_ear = blob([(-0.27, 0.68), (-0.24, 0.82), (-0.2, 0.7)], steps=6)
    body = on_ground(smooth(0.07,
        ellipse(0.12, 0.5, 0.4, 0.24),                      # barrel
        ellipse(-0.08, 0.6, 0.2, 0.16),                     # shoulder hump
        ellipse(-0.36, 0.46, 0.2, 0.13, angle=-20),         # head, hung low
        ellipse(-0.56, 0.38, 0.08, 0.07),                   # square lip
        limb((-0.14, 0.35), (-0.15, -0.05), 0.085, 0.08),
        limb((0.38, 0.35), (0.39, -0.05), 0.09, 0.08)))
    folds = intersect(grow(body, -0.004), union(
        stroke([(-0.02, 0.74), (0.04, 0.55), (0.0, 0.34)], 0.012),
        stroke([(0.3, 0.7), (0.26, 0.5), (0.3, 0.34)], 0.012),
        blob([(-0.33, 0.58), (-0.29, 0.74), (-0.25, 0.58)], steps=6)))   # near ear
    eye = ellipse(-0.42, 0.5, 0.016, 0.02)
    return Picture("rhinoceros", [
        Part("horns", horns, 0xD3D3D3),
        Part("far legs and tail", far, 0x636363),
        Part("far ear", far_ear, 0x636363),
        Part("body, head and near legs", body, 0x9B9B9B),
        Part("skin folds and near ear", folds, 0x636363),
        Part("eye", eye, 0x1C1C1C),
    ], kind=0x1F98F)


# ---- zebra ------------------------------------------------------------------------------------

def zebra_body():
    return on_ground(smooth(0.05,
        ellipse(0.12, 0.56, 0.34, 0.16),                               # barrel
        limb((-0.16, 0.6), (-0.32, 0.84), 0.1, 0.065),                 # neck
        limb((-0.33, 0.86), (-0.52, 0.66), 0.065, 0.045),              # head
        blob([(-0.33, 0.9), (-0.3, 1.0), (-0.26, 0.88)], steps=5),     # ears
        stroke([(-0.12, 0.5), (-0.14, 0.25), (-0.13, -0.05)], 0.05, 0.03),
        stroke([(0.36, 0.52), (0.42, 0.3), (0.37, 0.1), (0.37, -0.05)], 0.06, 0.03)))


def zebra():
    body = zebra_body()
    far_legs = on_ground(union(
        stroke([(-0.02, 0.5), (-0.0, 0.25), (0.02, -0.05)], 0.045, 0.028),
        stroke([(0.28, 0.52), (0.33, 0.3), (0.28, 0.1), (0.29, -0.05)], 0.05, 0.028)))
    tail = stroke([(0.44, 0.64), (0.5, 0.5), (0.5, 0.34)], 0.012, 0.008)
    mane = stroke([(-0.14, 0.72), (-0.24, 0.86), (-0.3, 0.93)], 0.04, 0.03)
    tuft = ellipse(0.5, 0.3, 0.02, 0.05)
    bands = [
        band((-0.02, 0.8), (-0.05, 0.36), 0.06, 0.03),    # shoulder
        band((0.08, 0.8), (0.06, 0.36), 0.06, 0.03),
        band((0.18, 0.8), (0.18, 0.36), 0.06, 0.03),
        band((0.28, 0.8), (0.3, 0.38), 0.055, 0.03),
        band((0.37, 0.78), (0.45, 0.5), 0.05, 0.03),      # haunch
        band((0.32, 0.5), (0.47, 0.58), 0.035, 0.025),
        band((-0.1, 0.76), (-0.22, 0.64), 0.045, 0.035),  # neck
        band((-0.16, 0.84), (-0.28, 0.72), 0.04, 0.03),
        band((-0.24, 0.92), (-0.34, 0.78), 0.035, 0.025),
        band((-0.37, 0.86), (-0.42, 0.72), 0.03, 0.02),   # face
        band((-0.2, 0.3), (-0.05, 0.3), 0.04),            # forelegs
        band((-0.2, 0.16), (-0.05, 0.16), 0.035),
        band((-0.2, 0.35), (-0.06, 0.35), 0.035),
        band((0.3, 0.3), (0.5, 0.3), 0.04),               # hind legs
        band((0.3, 0.16), (0.5, 0.16), 0.035),
        band((0.32, 0.37), (0.5, 0.37), 0.035),
    ]
    muzzle_and_eye = union(intersect(body, ellipse(-0.52, 0.66, 0.06, 0.07)),
                           ellipse(-0.39, 0.8, 0.014, 0.018))
    parts = [
        Part("far legs", far_legs, 0x9B9B9B),
        Part("tail", tail, 0x9B9B9B),
        Part("mane", mane, 0x636363),
        Part("tail tuft", tuft, 0x636363),
        Part("body, neck, head and near legs", body, 0xD3D3D3),
    ]
    parts += [Part(f"stripe {i + 1}", s, 0x636363) for i, s in enumerate(stripes_of(body, bands))]
    parts.append(Part("muzzle and eye", muzzle_and_eye, 0x212121))
    return Picture("zebra", parts, kind=0x1F993)


# ---- giraffe ----------------------------------------------------------------------------------

def giraffe_body():
    return on_ground(smooth(0.04,
        ellipse(0.14, 0.56, 0.26, 0.1, angle=12),                      # body, sloping back
        limb((-0.04, 0.6), (-0.24, 0.9), 0.07, 0.04),                  # neck
        limb((-0.24, 0.92), (-0.38, 0.86), 0.045, 0.028),              # head
        limb((-0.04, 0.5), (-0.05, -0.05), 0.032, 0.02),               # near foreleg
        stroke([(0.3, 0.55), (0.34, 0.3), (0.3, 0.12), (0.3, -0.05)], 0.036, 0.02)))


def giraffe():
    body = giraffe_body()
    far_legs = on_ground(union(
        limb((0.05, 0.5), (0.06, -0.05), 0.03, 0.018),
        stroke([(0.22, 0.55), (0.27, 0.3), (0.23, 0.12), (0.23, -0.05)], 0.034, 0.018)))
    mane = stroke([(-0.02, 0.66), (-0.14, 0.82), (-0.21, 0.93)], 0.02, 0.014)
    tail = union(stroke([(0.38, 0.62), (0.42, 0.48), (0.42, 0.38)], 0.008),
                 ellipse(0.42, 0.36, 0.012, 0.03))
    ossicones = union(limb((-0.22, 0.94), (-0.21, 1.0), 0.008), circle(-0.21, 1.0, 0.014),
                      limb((-0.25, 0.94), (-0.25, 0.99), 0.008), circle(-0.25, 0.99, 0.013))
    hooves = intersect(body, half_plane((2.0, 0.035), (-2.0, 0.035)))
    eye = ellipse(-0.29, 0.91, 0.01, 0.012)
    spots = [(0.0, 0.56), (0.08, 0.6), (0.16, 0.62), (0.25, 0.64), (0.33, 0.6), (0.05, 0.5),
             (0.14, 0.52), (0.23, 0.54), (0.31, 0.5), (-0.06, 0.66), (-0.1, 0.73),
             (-0.15, 0.79), (-0.19, 0.85), (-0.04, 0.4), (0.32, 0.4), (-0.02, 0.6), (0.12, 0.57)]
    inner = grow(body, -0.006)
    patches = []
    for i, (x, y) in enumerate(spots):
        r = 0.028 if y < 0.7 else 0.02
        patch = blob([(x - r, y), (x - r * 0.4, y + r), (x + r, y + r * 0.7),
                      (x + r * 0.8, y - r * 0.8), (x, y - r)], steps=5)
        patches.append(Part(f"patch {i + 1}", intersect(inner, patch), 0xD3883E))
    return Picture("giraffe", [
        Part("far legs", far_legs, 0xFF822D),
        Part("mane", mane, 0xFF822D),
        Part("tail", tail, 0xFF822D),
        Part("body, neck, head and near legs", body, 0xFFB02E),
        Part("ossicones", ossicones, 0x636363),
        Part("hooves", hooves, 0x636363),
        Part("eye", eye, 0x1C1C1C),
    ] + patches, kind=0x1F992)


# ---- duck -------------------------------------------------------------------------------------

def duck():
    head = union(circle(-0.3, 0.74, 0.17), limb((-0.26, 0.66), (-0.18, 0.42), 0.1, 0.12))
    bill = blob([(-0.44, 0.74), (-0.62, 0.68), (-0.64, 0.64), (-0.46, 0.64)], steps=6)
    eye = circle(-0.33, 0.78, 0.03)
    body = smooth(0.06,
        ellipse(0.02, 0.24, 0.42, 0.26),
        blob([(0.3, 0.38), (0.56, 0.56), (0.54, 0.42), (0.4, 0.2)], steps=6))   # tail
    body = on_ground(body)
    wing = blob([(-0.08, 0.36), (0.14, 0.44), (0.44, 0.4), (0.36, 0.24), (0.1, 0.2)])
    chest = intersect(grow(body, -0.005), ellipse(-0.34, 0.32, 0.16, 0.2))
    return Picture("duck", [
        Part("head and neck", head, 0x44911B),
        Part("bill", bill, 0xF9C23C),
        Part("eye", eye, 0x212121),
        Part("body and tail", body, 0xD3D3D3),
        Part("wing", wing, 0x9B9B9B),
        Part("chest", chest, 0xA56953),
    ], kind=0x1F986)


# ---- pig --------------------------------------------------------------------------------------

def pig():
    far = on_ground(union(limb((-0.14, 0.3), (-0.13, -0.05), 0.06, 0.05),
                          limb((0.26, 0.3), (0.27, -0.05), 0.06, 0.05)))
    tail = stroke([(0.5, 0.6), (0.58, 0.66), (0.6, 0.58), (0.54, 0.56), (0.58, 0.7)], 0.014)
    body = on_ground(smooth(0.08,
        ellipse(0.06, 0.52, 0.46, 0.3),
        ellipse(-0.4, 0.58, 0.18, 0.2),
        limb((-0.26, 0.3), (-0.26, -0.05), 0.07, 0.06),
        limb((0.36, 0.3), (0.37, -0.05), 0.075, 0.06)))
    snout = ellipse(-0.58, 0.54, 0.06, 0.09)
    ear = blob([(-0.38, 0.74), (-0.34, 0.92), (-0.24, 0.8), (-0.3, 0.68)], steps=6)
    eye_nostrils = union(ellipse(-0.44, 0.66, 0.018, 0.024),
                         ellipse(-0.59, 0.57, 0.012, 0.022), ellipse(-0.57, 0.5, 0.012, 0.022))
    return Picture("pig", [
        Part("far legs", far, 0xFF5E59),
        Part("tail", tail, 0xFF5E59),
        Part("body, head and near legs", body, 0xFF8687),
        Part("snout", snout, 0xFBB8AB),
        Part("ear", ear, 0xFBB8AB),
        Part("eye and nostrils", eye_nostrils, 0x1C1C1C),
    ], kind=0x1F416)


# ---- cow --------------------------------------------------------------------------------------

def cow_body():
    return on_ground(smooth(0.06,
        ellipse(0.1, 0.58, 0.4, 0.2),                                  # barrel
        limb((-0.22, 0.62), (-0.36, 0.74), 0.16, 0.1),                 # neck
        limb((-0.2, 0.5), (-0.2, -0.05), 0.055, 0.045),                # near foreleg
        stroke([(0.4, 0.55), (0.44, 0.3), (0.4, 0.12), (0.4, -0.05)], 0.07, 0.045)))


def cow():
    body = cow_body()
    far = on_ground(union(limb((-0.08, 0.5), (-0.07, -0.05), 0.05, 0.04),
                          stroke([(0.3, 0.55), (0.34, 0.3), (0.3, 0.12), (0.3, -0.05)], 0.06, 0.04)))
    tail = union(stroke([(0.5, 0.68), (0.56, 0.52), (0.56, 0.34)], 0.012),
                 ellipse(0.56, 0.32, 0.024, 0.05))
    udder = union(ellipse(0.24, 0.38, 0.08, 0.06), limb((0.2, 0.36), (0.2, 0.3), 0.014),
                  limb((0.28, 0.36), (0.28, 0.3), 0.014))
    horns = union(stroke([(-0.36, 0.9), (-0.46, 0.96), (-0.46, 1.02)], 0.022, 0.01),
                  stroke([(-0.46, 0.9), (-0.36, 0.97), (-0.34, 1.02)], 0.022, 0.01))
    head = smooth(0.04, ellipse(-0.42, 0.8, 0.1, 0.12), limb((-0.44, 0.8), (-0.5, 0.62), 0.09, 0.075))
    spot_shapes = [
        blob([(-0.1, 0.7), (0.05, 0.76), (0.1, 0.66), (0.0, 0.56), (-0.1, 0.6)]),
        blob([(0.18, 0.74), (0.32, 0.77), (0.34, 0.62), (0.24, 0.6)]),
        blob([(0.04, 0.48), (0.16, 0.52), (0.16, 0.42), (0.06, 0.4)]),
        blob([(0.4, 0.66), (0.48, 0.7), (0.5, 0.56), (0.42, 0.56)]),
    ]
    inner = grow(body, -0.004)
    spots = [intersect(inner, s) for s in spot_shapes]
    head_patch = intersect(grow(head, -0.004), ellipse(-0.36, 0.86, 0.06, 0.06))
    ear = blob([(-0.35, 0.87), (-0.27, 0.93), (-0.19, 0.9), (-0.22, 0.84), (-0.3, 0.83)], steps=6)
    hooves = intersect(body, half_plane((2.0, 0.04), (-2.0, 0.04)))
    muzzle = intersect(head, ellipse(-0.51, 0.64, 0.09, 0.07))
    eye = ellipse(-0.45, 0.82, 0.016, 0.02)
    nostrils = union(ellipse(-0.55, 0.65, 0.012, 0.016), ellipse(-0.49, 0.64, 0.012, 0.016))
    return Picture("cow", [
        Part("far legs", far, 0x9B9B9B),
        Part("tail", tail, 0x9B9B9B),
        Part("udder", udder, 0xFF8687),
        Part("body, neck and near legs", body, 0xD3D3D3),
        Part("horns", horns, 0xF9C23C),
        Part("head", head, 0xE6E6E6),
    ] + [Part(f"spot {i + 1}", s, 0x636363) for i, s in enumerate(spots)] + [
        Part("patch round the eye", head_patch, 0x636363),
        Part("ear", ear, 0x636363),
        Part("hooves", hooves, 0x636363),
        Part("muzzle", muzzle, 0xFF8687),
        Part("eye", eye, 0x1C1C1C),
        Part("nostrils", nostrils, 0xBB1D80),
    ], kind=0x1F404)


from ox import ox  # noqa: E402  (the ox is shaded, and long enough for a file of its own)

GLYPHS = [ox(), cow(), pig(), elephant(), duck(), rhinoceros(), giraffe(), zebra()]
