#include "app/shell/command_line.h"

#include <gtest/gtest.h>

#include "world/tests/fresh_state.h"

namespace veldmark {
namespace {

using Mode = ScreensaverMode;

struct Case {
    std::u16string_view line;
    Mode mode;
    std::uint64_t parent;
};

void ExpectCases(std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        const RunModeChoice choice = ParseCommandLine(c.line);
        const std::string shown(c.line.begin(), c.line.end());   // the cases are ASCII
        EXPECT_EQ(choice.mode, c.mode) << shown;
        EXPECT_EQ(choice.preview_parent, c.parent) << shown;
    }
}

TEST(CommandLine, ProgramNameIsSkippedQuotedOrNot)
{
    ExpectCases({
        {u"", Mode::Windowed, 0},
        {u"veldmark.scr", Mode::Windowed, 0},
        {u"\"C:\\Program Files\\veldmark.scr\"", Mode::Windowed, 0},
        {u"\"C:\\Program Files\\veldmark.scr\" /s", Mode::Fullscreen, 0},
        {u"\"C:\\Program Files\\veldmark.scr\"/s", Mode::Fullscreen, 0},   // no blank needed after the quote
        {u"\"C:\\Program Files\\veldmark.scr /s", Mode::Windowed, 0},      // unterminated: all name
        {u"veldmark.scr\t \t/s", Mode::Fullscreen, 0},
        {u"veldmark.scr/s", Mode::Windowed, 0},   // part of the name: no blank before it
    });
}

TEST(CommandLine, FullscreenAndConfigureInEitherCaseAndMark)
{
    ExpectCases({
        {u"v /s", Mode::Fullscreen, 0},
        {u"v /S", Mode::Fullscreen, 0},
        {u"v -s", Mode::Fullscreen, 0},
        {u"v /save", Mode::Fullscreen, 0},
        {u"v /c", Mode::Configure, 0},
        {u"v /C:1234", Mode::Configure, 0},
        {u"v -c 99", Mode::Configure, 0},
    });
}

TEST(CommandLine, PreviewTakesTheWindowNumberInEveryHostSpelling)
{
    ExpectCases({
        {u"v /p 1234", Mode::Preview, 1234},
        {u"v /p:1234", Mode::Preview, 1234},
        {u"v /P1234", Mode::Preview, 1234},
        {u"v -p\t1234", Mode::Preview, 1234},
        {u"v /p: \t 1234 /s", Mode::Preview, 1234},
        {u"v /p 12ab", Mode::Preview, 12},   // the digits up to the first non-digit
        {u"v /p 18446744073709551615", Mode::Preview, 18446744073709551615u},
        {u"v /p 18446744073709551617", Mode::Preview, 1},   // wraps like the host's arithmetic
    });
}

TEST(CommandLine, PreviewWithoutAUsableNumberIsAWindowOfItsOwn)
{
    ExpectCases({
        {u"v /p", Mode::Windowed, 0},
        {u"v /p 0", Mode::Windowed, 0},
        {u"v /p 000", Mode::Windowed, 0},
        {u"v /p:", Mode::Windowed, 0},
        {u"v /p::5", Mode::Windowed, 0},
        {u"v /p x5", Mode::Windowed, 0},
        {u"v /p -5", Mode::Windowed, 0},
        {u"v /p 18446744073709551616", Mode::Windowed, 0},   // 2^64 wraps to zero
    });
}

TEST(CommandLine, OnlyTheFirstArgumentCountsAndOnlyAsASwitch)
{
    ExpectCases({
        {u"v /x /s", Mode::Windowed, 0},
        {u"v s", Mode::Windowed, 0},
        {u"v file.txt /s", Mode::Windowed, 0},
        {u"v /", Mode::Windowed, 0},
        {u"v -", Mode::Windowed, 0},
        {u"v //s", Mode::Windowed, 0},
        {u"v \\s", Mode::Windowed, 0},
    });
}

TEST(CommandLine, TheLineEndsAtItsFirstNul)
{
    const char16_t line[] = u"v\0/s";
    EXPECT_EQ(ParseCommandLine(std::u16string_view(line, 4)).mode, Mode::Windowed);
    const char16_t after_switch[] = u"v /p 12\0" u"34";
    EXPECT_EQ(ParseCommandLine(std::u16string_view(after_switch, 10)).preview_parent, 12u);
}

TEST(CommandLine, NonAsciiCodeUnitsAreNeverSwitches)
{
    // Fullwidth solidus and s, and a letter that folds to 's' only outside ASCII.
    ExpectCases({
        {u"v \uFF0F\uFF53", Mode::Windowed, 0},
        {u"v /\u017F", Mode::Windowed, 0},
        {u"\u00E9t\u00E9.scr /s", Mode::Fullscreen, 0},
    });
}

TEST(CommandLine, UnixArgumentsBecomeOneLine)
{
    const char* argv[] = {"/usr/bin/with space/veldmark", "-p", "77", "caf\xC3\xA9"};
    const std::u16string line = CommandLineFromArgs(4, argv);
    EXPECT_EQ(line, u"veldmark -p 77 caf\uFFFD\uFFFD");
    const RunModeChoice choice = ParseCommandLine(line);
    EXPECT_EQ(choice.mode, Mode::Preview);
    EXPECT_EQ(choice.preview_parent, 77u);

    const char* alone[] = {"veldmark"};
    EXPECT_EQ(ParseCommandLine(CommandLineFromArgs(1, alone)).mode, Mode::Windowed);
}

TEST(CommandLine, TheStateGetsTheModeAndAParentOnlyWithPreview)
{
    auto s = testing::FreshState();
    ApplyRunMode(*s, ParseCommandLine(u"v /p 42"));
    EXPECT_EQ(RunModeOf(*s), Mode::Preview);
    EXPECT_EQ(s->preview_parent, 42u);
    ApplyRunMode(*s, RunModeChoice{Mode::Fullscreen, 42});
    EXPECT_EQ(RunModeOf(*s), Mode::Fullscreen);
    EXPECT_EQ(s->preview_parent, 0u);
    s->run_mode = 0xFD;   // readers mask with 3
    EXPECT_EQ(RunModeOf(*s), Mode::Fullscreen);
}

} // namespace
} // namespace veldmark
