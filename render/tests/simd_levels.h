#pragma once
// Every vector path this machine can run, for tests that compare each with the plain code. The
// caller restores the process's level afterwards (SimdLevelGuard).
#include <vector>

#include "render/simd/simd_level.h"

namespace veldmark::test {

inline std::vector<SimdLevel> MachineSimdLevels()
{
    std::vector<SimdLevel> levels;
    for (int k = 0; k <= static_cast<int>(SupportedSimdLevel()); ++k) levels.push_back(static_cast<SimdLevel>(k));
    return levels;
}

class SimdLevelGuard {
public:
    SimdLevelGuard() : saved_(ActiveSimdLevel()) {}
    ~SimdLevelGuard() { SetActiveSimdLevel(saved_); }
    SimdLevelGuard(const SimdLevelGuard&) = delete;
    SimdLevelGuard& operator=(const SimdLevelGuard&) = delete;

private:
    SimdLevel saved_;
};

} // namespace veldmark::test
