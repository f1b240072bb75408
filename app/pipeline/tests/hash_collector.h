#pragma once
// A test consumer of the frame pipeline: collects each delivered frame's step and pixel hash and
// answers with `answer`.
#include <cstdint>
#include <vector>

#include "app/pipeline/frame_pipeline.h"
#include "render/frame_hash.h"

namespace veldmark {

class HashCollector final : public FrameConsumer {
public:
    Delivery Consume(const FrameSlot& frame, std::uint64_t step) override
    {
        steps.push_back(step);
        hashes.push_back(HashPixels(frame.pixels, kFramePixels));
        return answer;
    }
    std::vector<std::uint64_t> steps;
    std::vector<std::uint64_t> hashes;
    Delivery answer = Delivery::Taken;
};

} // namespace veldmark
