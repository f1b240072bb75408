#include "app/shell/input_rules.h"

#include <gtest/gtest.h>

#include "app/shell/run_mode.h"
#include "world/tests/fresh_state.h"

namespace veldmark {
namespace {

std::unique_ptr<SimState> StateIn(ScreensaverMode mode)
{
    auto s = testing::FreshState();
    ApplyRunMode(*s, RunModeChoice{mode, mode == ScreensaverMode::Preview ? 7u : 0u});
    return s;
}

TEST(KeyRules, AWindowEndsOnEscapeAndQAndPausesOnSpace)
{
    auto s = StateIn(ScreensaverMode::Windowed);
    EXPECT_EQ(OnKeyDown(*s, kKeyEscape), InputVerdict::EndProgram);
    EXPECT_EQ(OnKeyDown(*s, kKeyQ), InputVerdict::EndProgram);

    EXPECT_EQ(OnKeyDown(*s, kKeySpace), InputVerdict::Handled);
    EXPECT_EQ(s->not_paused, 0);
    EXPECT_EQ(OnKeyDown(*s, kKeySpace), InputVerdict::Handled);
    EXPECT_EQ(s->not_paused, 1);

    // Other keys, system keys such as F4 included, are swallowed without effect.
    for (std::uint32_t key : {0x41u, 0x73u, kKeyOther, 0x12u}) {
        EXPECT_EQ(OnKeyDown(*s, key), InputVerdict::Handled) << key;
        EXPECT_EQ(s->running, 1);
        EXPECT_EQ(s->not_paused, 1);
    }
}

TEST(KeyRules, FullScreenEndsOnAnyKeyAndPreviewIgnoresThemAll)
{
    auto full = StateIn(ScreensaverMode::Fullscreen);
    for (std::uint32_t key : {kKeySpace, 0x41u, kKeyOther})
        EXPECT_EQ(OnKeyDown(*full, key), InputVerdict::EndProgram) << key;

    auto preview = StateIn(ScreensaverMode::Preview);
    for (std::uint32_t key : {kKeyEscape, kKeyQ, kKeySpace, 0x41u}) {
        EXPECT_EQ(OnKeyDown(*preview, key), InputVerdict::Handled) << key;
        EXPECT_EQ(preview->not_paused, 1) << "space does not pause a preview";
    }
}

TEST(MouseRules, FullScreenToleratesEightPixelsFromTheFirstPositionOnly)
{
    auto s = StateIn(ScreensaverMode::Fullscreen);
    EXPECT_EQ(OnMouse(*s, MouseEvent::Move, 100, 200), InputVerdict::Handled);
    EXPECT_EQ(s->mouse_seen, 1);
    for (auto [x, y] : {std::pair{108, 208}, {92, 192}, {108, 192}, {100, 200}})
        EXPECT_EQ(OnMouse(*s, MouseEvent::Move, x, y), InputVerdict::Handled) << x << "," << y;
    // Small moves never shift the reference, so creeping away still ends the run.
    EXPECT_EQ(s->mouse_x, 100);
    EXPECT_EQ(s->mouse_y, 200);
    EXPECT_EQ(OnMouse(*s, MouseEvent::Move, 109, 200), InputVerdict::EndProgram);
    EXPECT_EQ(OnMouse(*s, MouseEvent::Move, 100, 191), InputVerdict::EndProgram);
}

TEST(MouseRules, ButtonsAndWheelEndFullScreenAtOnceEvenBeforeAnyMove)
{
    for (MouseEvent e : {MouseEvent::LeftDown, MouseEvent::RightDown, MouseEvent::MiddleDown,
                         MouseEvent::Wheel}) {
        auto s = StateIn(ScreensaverMode::Fullscreen);
        EXPECT_EQ(OnMouse(*s, e, 0, 0), InputVerdict::EndProgram);
    }
}

TEST(MouseRules, OtherModesLeaveTheMouseToThePlatform)
{
    for (ScreensaverMode mode : {ScreensaverMode::Windowed, ScreensaverMode::Preview}) {
        auto s = StateIn(mode);
        EXPECT_EQ(OnMouse(*s, MouseEvent::Move, 0, 0), InputVerdict::Default);
        EXPECT_EQ(OnMouse(*s, MouseEvent::Move, 500, 500), InputVerdict::Default);
        EXPECT_EQ(OnMouse(*s, MouseEvent::LeftDown, 0, 0), InputVerdict::Default);
        EXPECT_EQ(s->mouse_seen, 0);
    }
}

TEST(MouseRules, PackedPositionsAreSignedSixteenBitHalves)
{
    // (-3, 5) as a window message packs it, with junk above bit 31 that must not leak in.
    const std::uint64_t packed = 0xDEADBEEF'0005FFFDull;
    EXPECT_EQ(PackedMouseX(packed), -3);
    EXPECT_EQ(PackedMouseY(packed), 5);
    EXPECT_EQ(PackedMouseX(0x7FFF), 32767);
    EXPECT_EQ(PackedMouseY(0x8000'0000ull), -32768);

    // Near the edge of a far-left monitor a move from -4 to 5 is 9 pixels and ends the run.
    auto s = StateIn(ScreensaverMode::Fullscreen);
    OnMouse(*s, MouseEvent::Move, PackedMouseX(0xFFFC), 0);
    EXPECT_EQ(OnMouse(*s, MouseEvent::Move, 4, 0), InputVerdict::Handled);
    EXPECT_EQ(OnMouse(*s, MouseEvent::Move, 5, 0), InputVerdict::EndProgram);
}

} // namespace
} // namespace veldmark
