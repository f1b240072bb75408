"""The records a picture is described with: parts with their fill, and the picture itself."""


class Gradient:
    def __init__(self, kind, colour_a, start, colour_b, end, **axes):
        self.kind = kind
        self.colour_a, self.start, self.colour_b, self.end = colour_a, start, colour_b, end
        self.p0 = axes.get("p0")
        self.p1 = axes.get("p1")
        self.centre = axes.get("centre")
        self.u = axes.get("u")
        self.v = axes.get("v")


def linear(colour_a, colour_b, p0, p1, start=0.0, end=1.0):
    """Colour a at p0 running to colour b at p1 (colours 0xAARRGGBB)."""
    return Gradient("linear", colour_a, start, colour_b, end, p0=p0, p1=p1)


def elliptic(colour_a, colour_b, centre, u, v, start=0.0, end=1.0):
    """Colour a at the centre running to colour b on the ellipse of axes u and v."""
    return Gradient("elliptic", colour_a, start, colour_b, end, centre=centre, u=u, v=v)


class Part:
    def __init__(self, name, shape, fill=None, gradient=None, tol=0.0018):
        self.name = name
        self.shape = shape
        self.fill = fill
        self.gradient = gradient
        self.tol = tol


class Picture:
    """A picture drawn in a working space of the artist's choosing, then scaled to its table's.

    Animals: feet on y = 0, the top at y = 1, centred on x = 0 and no wider than `half_width`
    either side. The lion keeps the scale its poses are drawn in (`fit` False).
    """

    def __init__(self, name, parts, kind=0, fit=True, half_width=0.66):
        self.name = name
        self.kind = kind
        self.parts = parts
        self.fit = fit
        self.half_width = half_width
        self.scale = 1.0
        self.shift = 0.0

    def normalise(self, traced):
        """Scales the traced parts to the table's space; returns (scale, shift, parts)."""
        if not self.fit:
            # Tracing can put a point a hair below a cut at the ground line.
            return 1.0, 0.0, [[(x, max(y, 0.0)) for x, y in part] for part in traced]
        xs = [p[0] for part in traced for p in part]
        ys = [p[1] for part in traced for p in part]
        top, low = max(ys), min(ys)
        mid = (max(xs) + min(xs)) / 2.0
        scale = 1.0 / top
        if (max(xs) - mid) * scale > self.half_width:
            scale = self.half_width / (max(xs) - mid)
        assert low > -0.01, f"{self.name} reaches below its feet ({low})"
        parts = [[(round((x - mid) * scale, 4), round(max(y, 0.0) * scale, 4)) for x, y in part]
                 for part in traced]
        return scale, mid, parts

    def map(self, p, scale, shift):
        return ((p[0] - shift) * scale, p[1] * scale)
