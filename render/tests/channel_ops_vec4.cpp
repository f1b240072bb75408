#include "render/simd/vec4.h"

#include "render/tests/channel_ops.h"

#if defined(VELDMARK_VEC4)
#include "render/tests/channel_ops_probe.h"
#endif

namespace veldmark::test {

ChannelOpsOut ChannelOpsVec4(const ChannelOpsIn& in)
{
#if defined(VELDMARK_VEC4)
    return ProbeChannelOps<vec4::Tag>(in);
#else
    (void)in;
    return ChannelOpsOut{};
#endif
}

} // namespace veldmark::test
