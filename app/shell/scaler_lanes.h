#pragma once
// The frame scaler's rows as many pixels at a time as the vector set has lanes: the one-pixel
// form's sums (scaler_rows.h) lane by lane, and that form for what is left of each row.
//
// Pixels travel in groups of kLanes. The four vectors of a group's sums hold one pixel each per
// 128-bit block, its four channels as 32-bit lanes: vector i holds pixel i + 4j in block j.
// That is the order in which the byte interleaves leave kLanes neighbouring pixels, and the order
// that packing two and two puts back into kLanes neighbouring pixels, block by block.
//
// Templates only, and no includes (see render/simd/lanes.h): scaler_vec4.cpp and
// scaler_vec8.cpp include scaler_rows.h and the vector set first.

namespace veldmark {

template <class D>
struct GroupSums {
    typename D::Int pixel[4];   // pixel[i]: pixel i + 4j of the group in block j
};

// An output row's pairs of source rows. With a count known when compiling (kPairs > 0) they are
// copied to locals: the stores may alias anything, and would otherwise make the compiler load
// every pair again for each group.
template <class D, std::size_t kPairs>
struct RowPairLanes {
    static constexpr std::size_t kKept = kPairs ? kPairs : 1;
    const std::uint32_t* a[kKept];
    const std::uint32_t* b[kKept];
    typename D::Int weights[kKept];
    const RowPair* pairs;
    std::size_t count;
    const std::uint32_t* source;

    RowPairLanes(D d, const RowPair* given, std::size_t given_count, const std::uint32_t* from)
        : pairs(given), count(kPairs ? kPairs : given_count), source(from)
    {
        for (std::size_t k = 0; k < kPairs; ++k) {
            a[k] = from + given[k].offset_a;
            b[k] = from + given[k].offset_b;
            weights[k] = LoadU(d, given[k].weights);
        }
    }
};

// Rows a and b of a pair, weighted, added to the group's sums.
template <class D>
VELDMARK_SCALER_INLINE void AddRowPair(GroupSums<D>& s, typename D::Int a, typename D::Int b, typename D::Int weights)
{
    // Byte by byte a, b, a, b ...; widened, each 32-bit lane is one channel's (a, b) pair.
    const auto low = InterleaveLowerBytes(a, b);    // pixels 0 and 1 of each block
    const auto high = InterleaveUpperBytes(a, b);   // pixels 2 and 3
    s.pixel[0] = Add(s.pixel[0], MulAddPairs(WidenLowerBytes(low), weights));
    s.pixel[1] = Add(s.pixel[1], MulAddPairs(WidenUpperBytes(low), weights));
    s.pixel[2] = Add(s.pixel[2], MulAddPairs(WidenLowerBytes(high), weights));
    s.pixel[3] = Add(s.pixel[3], MulAddPairs(WidenUpperBytes(high), weights));
}

// The vertical sums of source pixels x .. x + kLanes - 1.
template <class D, std::size_t kPairs>
VELDMARK_SCALER_INLINE GroupSums<D> VerticalSums(D d, const RowPairLanes<D, kPairs>& rows, std::size_t x)
{
    const auto zero = SetInt(d, 0);
    GroupSums<D> s{{zero, zero, zero, zero}};
    if constexpr (kPairs > 0) {
        for (std::size_t k = 0; k < kPairs; ++k) AddRowPair(s, LoadU(d, rows.a[k] + x), LoadU(d, rows.b[k] + x), rows.weights[k]);
    } else {
        for (std::size_t k = 0; k < rows.count; ++k) {
            const RowPair& pair = rows.pairs[k];
            AddRowPair(s, LoadU(d, rows.source + pair.offset_a + x), LoadU(d, rows.source + pair.offset_b + x),
                       LoadU(d, pair.weights));
        }
    }
    return s;
}

// Four vectors of a group's rounded channels (each within 0 .. 255) as kLanes pixels in order.
template <class Int>
VELDMARK_SCALER_INLINE Int GroupPixels(const Int (&v)[4])
{
    return PackUnsigned8(PackSigned16(v[0], v[1]), PackSigned16(v[2], v[3]));
}

// One output row's vertical sums into the row buffer, biased (scaler_rows.h).
template <class D, std::size_t kPairs>
void VerticalToRowLanes(D d, const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                        std::size_t end, std::uint16_t* row)
{
    constexpr std::size_t kLanes = D::kLanes;
    const RowPairLanes<D, kPairs> rows(d, pairs, count, source);
    const auto round = SetInt(d, ScalerFixedPoint::kRowRoundBiased);
    std::size_t x = 0;
    for (; x + kLanes <= end; x += kLanes) {
        const GroupSums<D> s = VerticalSums(d, rows, x);
        typename D::Int v[4];
        for (int i = 0; i < 4; ++i) v[i] = ShiftRightSigned<ScalerFixedPoint::kRowShift>(Add(s.pixel[i], round));
        // Block j of the packs: pixels 4j, 4j + 1 of the group, and 4j + 2, 4j + 3.
        std::uint16_t* first[D::kBlocks];
        std::uint16_t* second[D::kBlocks];
        for (std::size_t j = 0; j < D::kBlocks; ++j) {
            first[j] = row + (x + 4 * j) * 4;
            second[j] = first[j] + 8;
        }
        StoreBlocks(PackSigned16(v[0], v[1]), first);
        StoreBlocks(PackSigned16(v[2], v[3]), second);
    }
    VerticalPixelsToRow(pairs, count, source, x, end, row);
}

// For a same-size width: one output row's vertical sums rounded straight to its pixels.
template <class D, std::size_t kPairs>
void VerticalToOutputLanes(D d, const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                           std::size_t end, std::uint32_t* out)
{
    constexpr std::size_t kLanes = D::kLanes;
    const RowPairLanes<D, kPairs> rows(d, pairs, count, source);
    const auto round = SetInt(d, ScalerFixedPoint::kSameColumnsRound);
    const auto colour = SetInt(d, static_cast<std::int32_t>(ScalerFixedPoint::kColourBits));
    std::size_t x = 0;
    for (; x + kLanes <= end; x += kLanes) {
        const GroupSums<D> s = VerticalSums(d, rows, x);
        typename D::Int v[4];
        for (int i = 0; i < 4; ++i) v[i] = ShiftRightSigned<ScalerFixedPoint::kWeightBits>(Add(s.pixel[i], round));
        StoreU(And(GroupPixels(v), colour), out + x);
    }
    VerticalPixelsToOutput(pairs, count, source, x, end, out);
}

// The horizontal tables in locals, for the same reason as RowPairLanes.
struct ColumnTable {
    const std::uint32_t* first;
    const std::uint16_t* weights;
    std::size_t pairs;   // a compile-time constant where the caller knows it
    std::size_t width;
};

// The horizontal sums of output pixels x + 4j, one in each block j, from their weights for the
// first pair (the plan keeps pixel x + 4's right after pixel x's).
template <class D>
VELDMARK_SCALER_INLINE typename D::Int HorizontalSums(D d, const ColumnTable& table, const std::uint16_t* row,
                                                      std::size_t x, const std::uint16_t* weights)
{
    const std::uint16_t* pixels[D::kBlocks];
    for (std::size_t j = 0; j < D::kBlocks; ++j) pixels[j] = row + std::size_t{table.first[x + 4 * j]} * 4;
    auto s = SetInt(d, 0);
    for (std::size_t k = 0; k < table.pairs; ++k) {
        // Two neighbouring pixels B0 G0 R0 X0 B1 G1 R1 X1 as the channels' pairs B0 B1 G0 G1 ...
        const auto pair = ZipHalves16(LoadBlocks(d, pixels));
        s = Add(s, MulAddPairs(pair, LoadU(d, weights + k * kColumnPairStride)));
        for (std::size_t j = 0; j < D::kBlocks; ++j) pixels[j] += 8;
    }
    return s;
}

// One output row from the row buffer.
template <class D, std::size_t kPairs>
void HorizontalLanes(D d, const ScalerPlan& plan, const std::uint16_t* row, std::uint32_t* out)
{
    constexpr std::size_t kLanes = D::kLanes;
    const ColumnTable table{plan.column_first.data(), plan.column_weights.data(),
                            kPairs ? kPairs : plan.column_pairs, plan.width};
    const auto round = SetInt(d, ScalerFixedPoint::kColumnRound);
    const auto colour = SetInt(d, static_cast<std::int32_t>(ScalerFixedPoint::kColourBits));
    std::size_t x = 0;
    for (; x + kLanes <= table.width; x += kLanes) {
        // Groups start at multiples of kLanes, which divides the plan's groups of eight.
        const std::uint16_t* weights = table.weights + ColumnWeightsAt(table.pairs, x, 0);
        typename D::Int v[4];
        for (std::size_t i = 0; i < 4; ++i) {
            const auto sums = HorizontalSums(d, table, row, x + i, weights + i * kColumnPixelStride);
            v[i] = ShiftRightSigned<ScalerFixedPoint::kOutShift>(Add(sums, round));
        }
        StoreU(And(GroupPixels(v), colour), out + x);
    }
    HorizontalPixels(plan, row, x, table.width, out);
}

template <class D>
void CopyLanes(D d, const std::uint32_t* in, std::size_t end, std::uint32_t* out)
{
    const auto colour = SetInt(d, static_cast<std::int32_t>(ScalerFixedPoint::kColourBits));
    std::size_t x = 0;
    for (; x + D::kLanes <= end; x += D::kLanes) StoreU(And(LoadU(d, in + x), colour), out + x);
    CopyPixels(in, x, end, out);
}

// Calls `step` with the pair count as a compile-time constant for the counts that occur most
// (a same-size or growing axis has one pair, shrinking up to twice two or three), else with 0.
// `D` only ties each instance to its vector set (see render/simd/vec8_begin.h).
template <class D, class Step>
void WithPairCount(D, std::size_t count, Step&& step)
{
    switch (count) {
    case 1: step(std::integral_constant<std::size_t, 1>{}); return;
    case 2: step(std::integral_constant<std::size_t, 2>{}); return;
    case 3: step(std::integral_constant<std::size_t, 3>{}); return;
    default: step(std::integral_constant<std::size_t, 0>{}); return;
    }
}

template <class D>
void ScaleFrameLanes(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch,
                     std::uint16_t* row)
{
    const D d;
    for (std::size_t y = 0; y < plan.height; ++y) {
        std::uint32_t* out = dest + y * dest_pitch;
        if (plan.same_columns && plan.same_rows) {
            CopyLanes(d, source + y * plan.src_pitch, plan.width, out);
            continue;
        }
        const RowPair* pairs = plan.row_pairs.data() + plan.row_pairs_begin[y];
        const std::size_t count = plan.row_pairs_begin[y + 1] - plan.row_pairs_begin[y];
        if (plan.same_columns) {
            WithPairCount(d, count, [&](auto n) {
                VerticalToOutputLanes<D, decltype(n)::value>(d, pairs, count, source, plan.width, out);
            });
            continue;
        }
        WithPairCount(d, count, [&](auto n) {
            VerticalToRowLanes<D, decltype(n)::value>(d, pairs, count, source, plan.src_width, row);
        });
        WithPairCount(d, plan.column_pairs, [&](auto n) { HorizontalLanes<D, decltype(n)::value>(d, plan, row, out); });
    }
}

template <class D>
constexpr ScalerForms ScalerFormsOf()
{
    return {ScaleFrameLanes<D>};
}

} // namespace veldmark
