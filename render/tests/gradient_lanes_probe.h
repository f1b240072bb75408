#pragma once
// What gradient_lanes_vec4.cpp and gradient_lanes_vec8.cpp compile at their widths. Templates
// only, and no includes (see render/simd/lanes.h).

namespace veldmark::test {

template <class D>
GradientLanes ProbeGradientLanes(const SpanShader& shader, int column, float row_centre)
{
    const D d;
    const ShadeRecord& r = shader.record;
    const Positions<D> p = RowPositions<D>(d, shader.view, row_centre).At(column);
    GradientLanes out;
    out.lanes = D::kLanes;
    StoreFloats(BandT(d, r, p), out.t[0]);
    StoreFloats(RadialT(d, r, p), out.t[1]);
    const auto linear = LinearT(d, shader, p);
    StoreFloats(linear, out.t[2]);
    StoreFloats(EllipticT(d, r, p), out.t[3]);
    StoreFloats(Div(Sub(linear, Set(d, r.start)), Set(d, r.end - r.start)), out.fraction);
    return out;
}

} // namespace veldmark::test
