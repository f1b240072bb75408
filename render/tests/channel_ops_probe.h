#pragma once
// What channel_ops_vec4.cpp and channel_ops_vec8.cpp compile at their widths. Templates only,
// and no includes (see render/simd/lanes.h).

namespace veldmark::test {

template <class D>
ChannelOpsOut ProbeChannelOps(const ChannelOpsIn& in)
{
    const D d;
    ChannelOpsOut out;
    out.lanes = D::kLanes;
    const auto a = LoadU(d, in.a);
    const auto b = LoadU(d, in.b);
    StoreU(InterleaveLowerBytes(a, b), out.interleave_lower);
    StoreU(InterleaveUpperBytes(a, b), out.interleave_upper);
    StoreU(WidenLowerBytes(a), out.widen_lower);
    StoreU(WidenUpperBytes(a), out.widen_upper);
    StoreU(ZipHalves16(a), out.zip_halves);
    StoreU(ShiftRightSigned<6>(a), out.shift_signed);
    StoreU(PackSigned16(a, b), out.pack_signed16);
    StoreU(PackUnsigned8(a, b), out.pack_unsigned8);
    StoreU(MulAddPairs(a, b), out.mul_add_pairs);
    // The blocks' pointers in the other order, so that a form that ignores all but the first
    // pointer shows.
    const std::uint16_t* from[D::kBlocks];
    std::uint16_t* to[D::kBlocks];
    for (int j = 0; j < D::kBlocks; ++j) {
        from[j] = in.blocks[D::kBlocks - 1 - j];
        to[j] = out.stored_blocks[D::kBlocks - 1 - j];
    }
    StoreU(LoadBlocks(d, from), out.loaded_blocks);
    StoreBlocks(a, to);
    return out;
}

} // namespace veldmark::test
