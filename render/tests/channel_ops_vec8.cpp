#include "render/simd/vec8.h"

#include "render/tests/channel_ops.h"

#if defined(VELDMARK_VEC8)
#include "render/simd/vec8_begin.h"
#include "render/tests/channel_ops_probe.h"
#include "render/simd/vec8_end.h"
#endif

namespace veldmark::test {

ChannelOpsOut ChannelOpsVec8(const ChannelOpsIn& in)
{
#if defined(VELDMARK_VEC8)
    return ProbeChannelOps<vec8::Tag>(in);
#else
    (void)in;
    return ChannelOpsOut{};
#endif
}

} // namespace veldmark::test
