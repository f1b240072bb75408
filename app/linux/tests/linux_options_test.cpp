#include "app/linux/linux_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace veldmark {
namespace {

LinuxLaunch Parse(const std::vector<const char*>& args, const char* env = nullptr)
{
    std::vector<const char*> argv(args.size() + 1, "veldmark");
    std::copy(args.begin(), args.end(), argv.begin() + 1);
    return ParseLinuxOptions(static_cast<int>(argv.size()), argv.data(), env);
}

TEST(LinuxOptions, HelpAndVersionComeFirstWhateverElseIsThere)
{
    EXPECT_EQ(Parse({"--help"}).action, LinuxAction::Help);
    EXPECT_EQ(Parse({"-h"}).action, LinuxAction::Help);
    EXPECT_EQ(Parse({"/s", "--help"}).action, LinuxAction::Help);
    EXPECT_EQ(Parse({"--version"}).action, LinuxAction::Version);
    EXPECT_EQ(Parse({"-version", "-root"}, "0x400007").action, LinuxAction::Version);
}

TEST(LinuxOptions, ScreensaverSwitchesAreLeftToTheRunModeParser)
{
    for (auto args : {std::vector<const char*>{}, {"/s"}, {"-p", "1234"}, {"/c"}, {"--fullscreen"}, {"-r"}})
        EXPECT_EQ(Parse(args).action, LinuxAction::RunModes) << args.size();
}

TEST(LinuxOptions, TheDaemonsWindowComesFromTheOptionTheEnvironmentOrTheRoot)
{
    LinuxLaunch l = Parse({"-window-id", "0x1a00005"});
    EXPECT_EQ(l.action, LinuxAction::DaemonWindow);
    EXPECT_EQ(l.window, 0x1a00005u);
    EXPECT_EQ(Parse({"--window-id", "27262981"}).window, 27262981u);
    EXPECT_EQ(Parse({"--window-id=0X10"}).window, 16u);

    // XSCREENSAVER_WINDOW is hex, with or without 0x; the daemon passes --root beside it.
    EXPECT_EQ(Parse({"--root"}, "0x400007").window, 0x400007u);
    EXPECT_EQ(Parse({}, "400007").window, 0x400007u);
    EXPECT_EQ(Parse({"-window-id", "99"}, "0x400007").window, 99u) << "an explicit id wins";

    l = Parse({"-root"});
    EXPECT_EQ(l.action, LinuxAction::DaemonWindow);
    EXPECT_EQ(l.window, 0u) << "0 stands for the root window";
    EXPECT_EQ(Parse({"--root"}, "").window, 0u) << "an empty variable is no window";
}

TEST(LinuxOptions, MalformedWindowIdsAreRefusedNotGuessed)
{
    EXPECT_EQ(Parse({"-window-id"}).action, LinuxAction::BadOption);
    for (const char* bad : {"0", "0x", "12ab", "0x1g", "-5", "", "4294967296", "0x100000000"}) {
        const LinuxLaunch l = Parse({"-window-id", bad});
        EXPECT_EQ(l.action, LinuxAction::BadOption) << bad;
        EXPECT_FALSE(l.error.empty());
    }
    EXPECT_EQ(Parse({"--root"}, "zz").action, LinuxAction::BadOption);
    EXPECT_EQ(ParseWindowId("0xFFFFFFFF", false), 0xFFFFFFFFu);
    EXPECT_EQ(ParseWindowId("010", false), 10u) << "a leading zero is not octal";
}

TEST(LinuxOptions, FpsGoesWithEveryModeInEitherSpelling)
{
    EXPECT_FALSE(Parse({}).fps);
    EXPECT_FALSE(Parse({"-root"}).fps);
    EXPECT_FALSE(Parse({"--fpsx"}).fps);
    EXPECT_FALSE(Parse({"fps"}).fps);

    LinuxLaunch l = Parse({"--fps"});
    EXPECT_EQ(l.action, LinuxAction::RunModes);
    EXPECT_TRUE(l.fps);
    EXPECT_TRUE(Parse({"-fps"}).fps);

    l = Parse({"-root", "-fps"});
    EXPECT_EQ(l.action, LinuxAction::DaemonWindow);
    EXPECT_EQ(l.window, 0u);
    EXPECT_TRUE(l.fps);
    l = Parse({"--fps", "-window-id", "0x1a00005"});
    EXPECT_EQ(l.window, 0x1a00005u);
    EXPECT_TRUE(l.fps);
    l = Parse({"--root", "--fps"}, "0x400007");
    EXPECT_EQ(l.window, 0x400007u);
    EXPECT_TRUE(l.fps);
}

TEST(LinuxOptions, FitTakesItsWordInEitherSpellingWithEveryMode)
{
    EXPECT_EQ(Parse({}).fit, PictureFit::Fill);
    EXPECT_EQ(Parse({"--fit", "fit"}).fit, PictureFit::Fit);
    EXPECT_EQ(Parse({"-fit", "stretch"}).fit, PictureFit::Stretch);
    EXPECT_EQ(Parse({"--fit=fit"}).fit, PictureFit::Fit);
    EXPECT_EQ(Parse({"--fit", "stretch", "--fit", "fill"}).fit, PictureFit::Fill) << "the last one counts";

    LinuxLaunch l = Parse({"-root", "-fit", "fit"}, "0x400007");
    EXPECT_EQ(l.action, LinuxAction::DaemonWindow);
    EXPECT_EQ(l.window, 0x400007u);
    EXPECT_EQ(l.fit, PictureFit::Fit);
    l = Parse({"--fit", "fit", "-window-id", "0x1a00005", "--fps"});
    EXPECT_EQ(l.window, 0x1a00005u);
    EXPECT_EQ(l.fit, PictureFit::Fit);
    EXPECT_TRUE(l.fps);
    EXPECT_EQ(Parse({"/s", "--fit", "stretch"}).action, LinuxAction::RunModes);
}

TEST(LinuxOptions, AnUnknownOrMissingFitWordIsRefused)
{
    for (auto args : {std::vector<const char*>{"--fit", "round"}, {"--fit"}, {"--fit="}, {"-fit", "Fill"},
                      {"--fit", "--root"}, {"-root", "--fit", "cover"}}) {
        const LinuxLaunch l = Parse(args);
        EXPECT_EQ(l.action, LinuxAction::BadOption) << args.back();
        EXPECT_EQ(l.error.rfind("--fit ", 0), 0u) << l.error;
    }
    EXPECT_EQ(Parse({"--fit", "round"}).error, "--fit takes fill, fit or stretch, not 'round'");
    EXPECT_EQ(Parse({"--fit"}).error, "--fit needs fill, fit or stretch");
    EXPECT_EQ(Parse({"--fit", "round", "--help"}).action, LinuxAction::Help);
}

TEST(LinuxOptions, FpsIsTakenOutBeforeTheScreensaverSwitchesAreRead)
{
    // The kept arguments, one space apart.
    auto Kept = [](const std::vector<const char*>& args) {
        std::vector<const char*> argv(args.size() + 1, "veldmark");
        std::copy(args.begin(), args.end(), argv.begin() + 1);
        std::string kept;
        for (const char* a : RunModeArguments(static_cast<int>(argv.size()), argv.data())) {
            if (!kept.empty()) kept.push_back(' ');
            kept.append(a);
        }
        return kept;
    };
    EXPECT_EQ(Kept({"--fps", "/s"}), "veldmark /s");
    EXPECT_EQ(Kept({"/p", "-fps", "1234"}), "veldmark /p 1234");
    EXPECT_EQ(Kept({"/c", "--fpsx"}), "veldmark /c --fpsx") << "only the option itself";
    EXPECT_EQ(Kept({}), "veldmark");
    EXPECT_EQ(Kept({"--fit", "fit", "/s"}), "veldmark /s") << "--fit goes with its word";
    EXPECT_EQ(Kept({"/p", "--fit=stretch", "1234"}), "veldmark /p 1234");
    EXPECT_EQ(Kept({"/s", "-fit", "fill", "--fps"}), "veldmark /s");
}

} // namespace
} // namespace veldmark
