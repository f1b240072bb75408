"""The ox: a heavy, humped beast shaded with gradients rather than flat colours.

Its parts come in layers: the far limbs, the coat, shading laid over the coat (gradients that
fade to nothing so only their dark or light end shows), the near limbs with their own shading,
then the head built up the same way. Faces left and stands on y = 0 like the others.
"""
from picture import Part, Picture, elliptic, linear
from shapes import (blob, circle, ellipse, grow, half_plane, intersect, limb, polygon, smooth,
                    stroke, union)

ABOVE_GROUND = half_plane((-2.0, 0.0), (2.0, 0.0))

DARK = 0xFF4C2325
DEEP = 0xFF5E3426
COAT = 0xFF8B5A3C
WARM = 0xFFA8704A
LIGHT = 0xFFC48D5E
HORN = 0xFFE8D2A8
HORN_DARK = 0xFF6B5A48
SHADE = 0x004C2325      # the dark brown, fully transparent: the far end of a shadow
GLOW = 0x00C48D5E       # the light brown, fully transparent: the far end of a highlight
SHADOW = 0xB04C2325     # a shadow's dark end, partly see-through
SHEEN = 0xA0D7A070      # a highlight's light end


def feet(shape):
    return intersect(shape, ABOVE_GROUND)


def vertical(top, bottom, x=0.0):
    return (x, top), (x, bottom)


def leg(points, r0, r1):
    return feet(stroke(points + [(points[-1][0], -0.05)], r0, r1))


# The head and everything on it are drawn about where they first stood and moved as one.
HEAD_SHIFT = (-0.02, -0.1)


def H(x, y):
    return (x + HEAD_SHIFT[0], y + HEAD_SHIFT[1])


def ox():
    far_hind = leg([(0.32, 0.5), (0.36, 0.3), (0.32, 0.14)], 0.07, 0.04)
    far_fore = leg([(-0.14, 0.48), (-0.13, 0.24)], 0.065, 0.04)
    tail = stroke([(0.5, 0.72), (0.58, 0.56), (0.58, 0.34)], 0.016, 0.012)
    tuft = blob([(0.56, 0.36), (0.62, 0.34), (0.6, 0.22), (0.58, 0.2), (0.55, 0.26)], steps=5)
    far_horn = stroke([H(-0.38, 0.86), H(-0.28, 0.92), H(-0.22, 1.0), H(-0.24, 1.07)], 0.035, 0.012)
    far_ear = blob([H(-0.3, 0.84), H(-0.2, 0.86), H(-0.18, 0.82), H(-0.28, 0.8)], steps=5)

    body = smooth(0.07,
                  ellipse(0.12, 0.56, 0.42, 0.25),                # barrel
                  ellipse(-0.12, 0.72, 0.22, 0.18),               # hump over the shoulders
                  limb((-0.16, 0.62), H(-0.36, 0.7), 0.18, 0.13))  # thick neck
    inner = grow(body, -0.004)
    near_hind = leg([(0.4, 0.55), (0.44, 0.3), (0.4, 0.13)], 0.085, 0.048)
    near_fore = leg([(-0.22, 0.52), (-0.22, 0.24)], 0.08, 0.048)
    head = smooth(0.05, ellipse(*H(-0.44, 0.76), 0.13, 0.13),
                  limb(H(-0.46, 0.74), H(-0.54, 0.56), 0.11, 0.095))
    muzzle = intersect(head, ellipse(*H(-0.55, 0.56), 0.1, 0.08))
    near_horn = stroke([H(-0.4, 0.86), H(-0.54, 0.9), H(-0.63, 0.98), H(-0.6, 1.06)], 0.04, 0.014)
    horn_tip = intersect(near_horn, ellipse(*H(-0.61, 1.06), 0.05, 0.05))
    ear = blob([H(-0.34, 0.84), H(-0.24, 0.8), H(-0.2, 0.76), H(-0.32, 0.78)], steps=5)
    hooves = union(intersect(near_hind, half_plane((2.0, 0.05), (-2.0, 0.05))),
                   intersect(near_fore, half_plane((2.0, 0.05), (-2.0, 0.05))))

    parts = [
        Part("far hind leg", far_hind, gradient=linear(DEEP, DARK, (0.34, 0.5), (0.34, 0.0))),
        Part("far foreleg", far_fore, gradient=linear(DEEP, DARK, (-0.13, 0.5), (-0.13, 0.0))),
        Part("tail", tail, gradient=linear(COAT, DEEP, (0.5, 0.72), (0.58, 0.34))),
        Part("tail tuft", tuft, gradient=linear(DEEP, DARK, (0.58, 0.36), (0.58, 0.2))),
        Part("far horn", far_horn, gradient=linear(HORN_DARK, HORN, H(-0.24, 1.07), H(-0.38, 0.86))),
        Part("far ear", far_ear, gradient=linear(DARK, DEEP, H(-0.3, 0.82), H(-0.18, 0.84))),
        Part("coat", body, gradient=elliptic(WARM, DEEP, (0.02, 0.7), (0.56, 0.0), (0.0, 0.42),
                                             start=0.2)),
        Part("belly shadow", intersect(inner, half_plane((2.0, 0.52), (-2.0, 0.52))),
             gradient=linear(SHADE, SHADOW, (0.1, 0.52), (0.1, 0.36))),
        Part("hump light", intersect(inner, ellipse(-0.1, 0.8, 0.16, 0.08)),
             gradient=elliptic(SHEEN, GLOW, (-0.1, 0.82), (0.16, 0.0), (0.0, 0.08))),
        Part("haunch light", intersect(inner, ellipse(0.36, 0.66, 0.12, 0.1)),
             gradient=elliptic(SHEEN, GLOW, (0.36, 0.68), (0.12, 0.0), (0.0, 0.1))),
        Part("shoulder shadow", intersect(inner, ellipse(-0.14, 0.56, 0.1, 0.12)),
             gradient=elliptic(SHADOW, SHADE, (-0.14, 0.52), (0.1, 0.0), (0.0, 0.14))),
        Part("near hind leg", near_hind, gradient=linear(COAT, DEEP, (0.42, 0.55), (0.42, 0.05))),
        Part("near foreleg", near_fore, gradient=linear(COAT, DEEP, (-0.22, 0.52), (-0.22, 0.05))),
        Part("thigh", intersect(inner, ellipse(0.38, 0.5, 0.1, 0.1)),
             gradient=elliptic(SHEEN, GLOW, (0.38, 0.52), (0.1, 0.0), (0.0, 0.1))),
        Part("forearm", intersect(near_fore, ellipse(-0.22, 0.42, 0.07, 0.1)),
             gradient=elliptic(SHEEN, GLOW, (-0.23, 0.44), (0.07, 0.0), (0.0, 0.1))),
        Part("knee", intersect(near_fore, ellipse(-0.22, 0.2, 0.06, 0.04)),
             gradient=elliptic(SHADOW, SHADE, (-0.22, 0.2), (0.06, 0.0), (0.0, 0.04))),
        Part("hock", intersect(near_hind, ellipse(0.42, 0.26, 0.07, 0.05)),
             gradient=elliptic(SHADOW, SHADE, (0.43, 0.26), (0.07, 0.0), (0.0, 0.05))),
        Part("dewlap", blob([H(-0.34, 0.58), H(-0.26, 0.4), H(-0.18, 0.44), H(-0.24, 0.6)], steps=6),
             gradient=linear(COAT, DEEP, H(-0.26, 0.6), H(-0.26, 0.4))),
        Part("neck shadow", intersect(inner, ellipse(*H(-0.3, 0.62), 0.1, 0.08)),
             gradient=linear(SHADE, SHADOW, H(-0.24, 0.7), H(-0.34, 0.56))),
        Part("head", head, gradient=elliptic(LIGHT, COAT, H(-0.44, 0.8), (0.12, 0.0), (0.0, 0.26),
                                             start=0.1)),
        Part("forehead curls", intersect(grow(head, -0.004), ellipse(*H(-0.42, 0.86), 0.07, 0.04)),
             gradient=elliptic(DEEP, 0x005E3426, H(-0.42, 0.87), (0.07, 0.0), (0.0, 0.04))),
        Part("near horn", near_horn, gradient=linear(HORN, HORN_DARK, H(-0.4, 0.86), H(-0.6, 1.06),
                                                     start=0.3)),
        Part("horn tip", horn_tip, gradient=linear(HORN_DARK, DARK, H(-0.62, 1.01), H(-0.6, 1.07))),
        Part("ear", ear, gradient=elliptic(LIGHT, COAT, H(-0.28, 0.8), (0.08, 0.0), (0.0, 0.04))),
        Part("inner ear", intersect(grow(ear, -0.008), ellipse(*H(-0.28, 0.8), 0.06, 0.015)),
             gradient=elliptic(0xFFD9A38A, 0xFFA8704A, H(-0.28, 0.8), (0.06, 0.0), (0.0, 0.02))),
        Part("muzzle", muzzle, gradient=linear(0xFFC9A48E, 0xFF9E7C6E, H(-0.5, 0.62), H(-0.58, 0.5))),
        Part("jaw shade", intersect(grow(head, -0.004), ellipse(*H(-0.42, 0.64), 0.06, 0.05)),
             gradient=linear(SHADE, SHADOW, H(-0.4, 0.7), H(-0.44, 0.6))),
        Part("cheek", intersect(grow(head, -0.004), ellipse(*H(-0.4, 0.74), 0.05, 0.05)),
             gradient=elliptic(SHEEN, GLOW, H(-0.4, 0.75), (0.05, 0.0), (0.0, 0.05))),
        Part("eye socket", intersect(grow(head, -0.004), ellipse(*H(-0.48, 0.8), 0.035, 0.03)),
             gradient=elliptic(SHADOW, SHADE, H(-0.48, 0.8), (0.035, 0.0), (0.0, 0.03))),
        Part("brow", intersect(grow(head, -0.004), ellipse(*H(-0.46, 0.85), 0.05, 0.02)),
             gradient=elliptic(SHEEN, GLOW, H(-0.46, 0.85), (0.05, 0.0), (0.0, 0.02))),
        Part("hooves", hooves, 0x5B2F2C),
        Part("forelock", blob([H(-0.44, 0.9), H(-0.36, 0.9), H(-0.38, 0.84), H(-0.46, 0.84)], steps=5),
             gradient=linear(DEEP, DARK, H(-0.4, 0.9), H(-0.4, 0.84))),
        Part("chin", intersect(grow(head, -0.004), ellipse(*H(-0.5, 0.5), 0.05, 0.025)),
             gradient=linear(SHADE, SHADOW, H(-0.5, 0.53), H(-0.5, 0.48))),
        Part("horn gleam", stroke([H(-0.45, 0.895), H(-0.55, 0.925), H(-0.61, 0.99)], 0.007, 0.004),
             0xFFDEA7),
        Part("eye", ellipse(*H(-0.49, 0.8), 0.016, 0.02),
             gradient=elliptic(0xFF2A1414, 0xFF4C2325, H(-0.49, 0.8), (0.016, 0.0), (0.0, 0.02))),
        Part("eye glint", circle(*H(-0.495, 0.806), 0.005),
             gradient=elliptic(0xFFFFF4E0, 0x80FFF4E0, H(-0.495, 0.806), (0.005, 0.0), (0.0, 0.005))),
        Part("nose pad", intersect(muzzle, ellipse(*H(-0.6, 0.56), 0.04, 0.05)),
             gradient=elliptic(0xFF8E6A62, 0xFFB89486, H(-0.6, 0.56), (0.04, 0.0), (0.0, 0.05))),
        Part("nostril and mouth", union(ellipse(*H(-0.61, 0.57), 0.012, 0.018),
                                        stroke([H(-0.62, 0.5), H(-0.54, 0.49)], 0.005)), 0x5B2F2C),
        Part("ribs", intersect(inner, ellipse(0.12, 0.56, 0.12, 0.1)),
             gradient=elliptic(0x404C2325, SHADE, (0.12, 0.56), (0.12, 0.0), (0.0, 0.1))),
        Part("rump light", intersect(inner, ellipse(0.42, 0.72, 0.08, 0.06)),
             gradient=elliptic(SHEEN, GLOW, (0.42, 0.72), (0.08, 0.0), (0.0, 0.06))),
        Part("back light", intersect(inner, ellipse(0.14, 0.78, 0.2, 0.03)),
             gradient=elliptic(SHEEN, GLOW, (0.14, 0.79), (0.2, 0.0), (0.0, 0.03))),
        Part("chest light", intersect(inner, ellipse(*H(-0.32, 0.66), 0.05, 0.06)),
             gradient=elliptic(SHEEN, GLOW, H(-0.33, 0.66), (0.05, 0.0), (0.0, 0.06))),
        Part("back line", intersect(body, union(
            stroke([(-0.26, 0.8), (-0.1, 0.88), (0.1, 0.8), (0.4, 0.79), (0.52, 0.72)], 0.012))),
             gradient=linear(0x80E0B080, GLOW, (0.0, 0.9), (0.0, 0.76))),
    ]
    return Picture("ox", parts, kind=0x1F402)
