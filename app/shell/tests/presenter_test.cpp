#include "app/shell/presenter.h"
#include "app/shell/overlay_text.h"
#include "world/limits.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace veldmark {
namespace {

constexpr PictureFit kEveryFit[] = {PictureFit::Fill, PictureFit::Fit, PictureFit::Stretch};

// The monitors and windows the picture must look right on, and some awkward ones.
constexpr std::pair<int, int> kAreas[] = {
    {1920, 1200}, {1920, 1080}, {2560, 1440}, {3840, 2160}, {1280, 1024}, {1024, 768},
    {3440, 1440}, {1080, 1920}, {152, 112},   {320, 200},   {1, 1},       {1921, 1081},
    {1279, 1023}, {641, 479},   {7, 3},       {3, 7},       {1, 1200},    {1920, 1},
};

std::string Name(PictureFit fit, int w, int h)
{
    return std::string(PictureFitName(fit)) + " " + std::to_string(w) + "x" + std::to_string(h);
}

bool Inside(const PixelRect& r, int width, int height)
{
    return r.x >= 0 && r.y >= 0 && r.width >= 1 && r.height >= 1 && r.x + r.width <= width &&
           r.y + r.height <= height;
}

// The picture's shape on screen over the frame's: 1 when it keeps the frame's shape.
double ShapeError(const Placement& p)
{
    const double shown = static_cast<double>(p.dest.width) / p.dest.height;
    const double taken = static_cast<double>(p.source.width) / p.source.height;
    return shown / taken;
}

TEST(PlacePicture, EveryModeOnEveryAreaStaysInsideTheFrameAndTheArea)
{
    for (auto [w, h] : kAreas)
        for (PictureFit fit : kEveryFit) {
            const Placement p = PlacePicture(fit, w, h);
            SCOPED_TRACE(Name(fit, w, h));
            EXPECT_TRUE(Inside(p.source, kFrameWidth, kFrameHeight));
            EXPECT_TRUE(Inside(p.dest, w, h));
            // Centred: what is left over on either side differs by the odd pixel at most.
            const int left = p.source.x, right = kFrameWidth - p.source.x - p.source.width;
            const int top = p.source.y, bottom = kFrameHeight - p.source.y - p.source.height;
            EXPECT_TRUE(right - left == 0 || right - left == 1) << left << " " << right;
            EXPECT_TRUE(bottom - top == 0 || bottom - top == 1) << top << " " << bottom;
            const int bar_left = p.dest.x, bar_right = w - p.dest.x - p.dest.width;
            const int bar_top = p.dest.y, bar_bottom = h - p.dest.y - p.dest.height;
            EXPECT_TRUE(bar_right - bar_left == 0 || bar_right - bar_left == 1);
            EXPECT_TRUE(bar_bottom - bar_top == 0 || bar_bottom - bar_top == 1);
        }
}

TEST(PlacePicture, FillCoversTheAreaAndKeepsTheShapeOnCommonMonitors)
{
    struct Expected {
        int w, h;
        PixelRect source;
    };
    const Expected table[] = {
        {1920, 1200, {0, 0, 1920, 1200}},    // the frame's own shape: all of it
        {1920, 1080, {0, 60, 1920, 1080}},   // 16:9: 60 rows off the top and the bottom
        {2560, 1440, {0, 60, 1920, 1080}},
        {3840, 2160, {0, 60, 1920, 1080}},
        {1280, 1024, {210, 0, 1500, 1200}},  // 5:4: columns off both sides
        {1024, 768, {160, 0, 1600, 1200}},   // 4:3
        {3440, 1440, {0, 198, 1920, 804}},   // 21:9: a cut just under a third
        {152, 112, {145, 0, 1629, 1200}},    // the Windows preview
        {320, 200, {0, 0, 1920, 1200}},
    };
    for (const Expected& e : table) {
        const Placement p = PlacePicture(PictureFit::Fill, e.w, e.h);
        SCOPED_TRACE(Name(PictureFit::Fill, e.w, e.h));
        EXPECT_EQ(p.dest, (PixelRect{0, 0, e.w, e.h}));
        EXPECT_EQ(p.source, e.source);
        EXPECT_NEAR(ShapeError(p), 1.0, 0.002);
    }
}

TEST(PlacePicture, FillGivesWayToFitWhereItWouldCutMoreThanAThird)
{
    // A portrait monitor would lose 70 % of the width, a 1 x 1 area 37.5 %: both show it whole.
    for (auto [w, h] : {std::pair{1080, 1920}, {1, 1}, {600, 1200}, {1920, 500}, {1, 1200}, {1920, 1}}) {
        SCOPED_TRACE(Name(PictureFit::Fill, w, h));
        EXPECT_EQ(PlacePicture(PictureFit::Fill, w, h), PlacePicture(PictureFit::Fit, w, h));
    }
    // Exactly a third cut away is still a fill: 1280 of 1920 columns kept.
    const Placement third = PlacePicture(PictureFit::Fill, 1280, 1200);
    EXPECT_EQ(third.source, (PixelRect{320, 0, 1280, 1200}));
    // One row fewer would cut more than a third.
    EXPECT_EQ(PlacePicture(PictureFit::Fill, 1920, 799).dest.height, 799);
    EXPECT_EQ(PlacePicture(PictureFit::Fill, 1920, 800).source, (PixelRect{0, 200, 1920, 800}));
    EXPECT_NE(PlacePicture(PictureFit::Fill, 1920, 799).dest.width, 1920);
}

TEST(PlacePicture, FitShowsTheWholeFrameOnBarsOfTheRightSize)
{
    struct Expected {
        int w, h;
        PixelRect dest;
    };
    const Expected table[] = {
        {1920, 1200, {0, 0, 1920, 1200}},
        {1920, 1080, {96, 0, 1728, 1080}},    // bars left and right
        {2560, 1440, {128, 0, 2304, 1440}},
        {3840, 2160, {192, 0, 3456, 2160}},
        {1280, 1024, {0, 112, 1280, 800}},    // bars above and below
        {1024, 768, {0, 64, 1024, 640}},
        {3440, 1440, {568, 0, 2304, 1440}},
        {1080, 1920, {0, 622, 1080, 675}},
        {152, 112, {0, 8, 152, 95}},          // 7.5 rows of bars: 8 above, 9 below
        {320, 200, {0, 0, 320, 200}},
        {1, 1, {0, 0, 1, 1}},
        {7, 3, {1, 0, 5, 3}},
    };
    for (const Expected& e : table) {
        const Placement p = PlacePicture(PictureFit::Fit, e.w, e.h);
        SCOPED_TRACE(Name(PictureFit::Fit, e.w, e.h));
        EXPECT_EQ(p.source, (PixelRect{0, 0, kFrameWidth, kFrameHeight}));
        EXPECT_EQ(p.dest, e.dest);
    }
}

TEST(PlacePicture, StretchIsTheWholeFrameOverTheWholeArea)
{
    for (auto [w, h] : kAreas) {
        const Placement p = PlacePicture(PictureFit::Stretch, w, h);
        EXPECT_EQ(p.source, (PixelRect{0, 0, kFrameWidth, kFrameHeight}));
        EXPECT_EQ(p.dest, (PixelRect{0, 0, w, h}));
    }
}

TEST(PlacePicture, AnAreaWithoutPixelsGetsNothing)
{
    for (PictureFit fit : kEveryFit)
        for (auto [w, h] : {std::pair{0, 1080}, {1920, 0}, {-5, 10}, {0, 0}})
            EXPECT_EQ(PlacePicture(fit, w, h).dest, PixelRect{});
}

TEST(PictureFitWords, ReadBackWhatTheyNameAndRefuseTheRest)
{
    for (PictureFit fit : kEveryFit) EXPECT_EQ(ParsePictureFit(PictureFitName(fit)), fit);
    for (const char* bad : {"", "Fill", "FIT", "fill ", "fits", "stretched", "cover", "contain"})
        EXPECT_FALSE(ParsePictureFit(bad).has_value()) << bad;
    EXPECT_EQ(PictureFitError("--fit", "round"), "--fit takes fill, fit or stretch, not 'round'");
    EXPECT_EQ(PictureFitError("--fit", ""), "--fit needs fill, fit or stretch");
}

// A frame every pixel of which says where it came from.
std::vector<std::uint32_t> NumberedFrame()
{
    std::vector<std::uint32_t> frame(kFramePixels);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            frame[static_cast<std::size_t>(y) * kFrameWidth + static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>((y << 12) | x) & 0xFFFFFFu;
    return frame;
}

constexpr std::uint32_t kGuard = 0xDEADBEEF;   // outside the area: must never be written
constexpr std::uint32_t kStale = 0x00ABCDEF;   // inside: what a previous picture left there

// An area of width x height inside a buffer whose rows are wider (pitch) with a guard row
// above and below, so that a write outside the area shows.
struct Area {
    int width, height;
    std::size_t pitch;
    std::vector<std::uint32_t> buffer;

    Area(int w, int h) : width(w), height(h), pitch(static_cast<std::size_t>(w) + 5)
    {
        buffer.assign(pitch * static_cast<std::size_t>(h + 2), kGuard);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) at(x, y) = kStale;
    }
    std::uint32_t* pixels() { return buffer.data() + pitch; }
    std::uint32_t& at(int x, int y) { return pixels()[static_cast<std::size_t>(y) * pitch + static_cast<std::size_t>(x)]; }
    bool GuardsIntact() const
    {
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            const std::size_t row = i / pitch, column = i % pitch;
            const bool inside = row >= 1 && row <= static_cast<std::size_t>(height) &&
                                column < static_cast<std::size_t>(width);
            if (!inside && buffer[i] != kGuard) return false;
        }
        return true;
    }
};

TEST(Presenter, FillOnA1920By1080AreaIsTheFramesMiddleRowsPixelForPixel)
{
    const std::vector<std::uint32_t> frame = NumberedFrame();
    Area area(1920, 1080);
    Presenter presenter;
    presenter.Present(frame.data(), area.pixels(), area.pitch, area.width, area.height);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x)
            ASSERT_EQ(area.at(x, y), frame[static_cast<std::size_t>(y + 60) * kFrameWidth + static_cast<std::size_t>(x)])
                << x << "," << y;
    EXPECT_TRUE(area.GuardsIntact());
}

TEST(Presenter, FitPaintsTheBarsBlackAndThePictureBetweenThem)
{
    // A frame whose left half is red and right half blue: the picture must keep that order.
    std::vector<std::uint32_t> frame(kFramePixels);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = (i % kFrameWidth) < kFrameWidth / 2 ? 0xFF0000 : 0x0000FF;
    for (auto [w, h] : {std::pair{1280, 1024}, {1920, 1080}, {152, 112}, {1080, 1920}, {7, 3}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Area area(w, h);
        Presenter presenter(PictureFit::Fit);
        presenter.Present(frame.data(), area.pixels(), area.pitch, w, h);
        const PixelRect d = presenter.placement().dest;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool in_picture = x >= d.x && x < d.x + d.width && y >= d.y && y < d.y + d.height;
                if (!in_picture) ASSERT_EQ(area.at(x, y), 0u) << x << "," << y;
                else ASSERT_NE(area.at(x, y), kStale) << x << "," << y;
            }
        EXPECT_EQ(area.at(d.x, d.y + d.height / 2), 0xFF0000u);
        EXPECT_EQ(area.at(d.x + d.width - 1, d.y + d.height / 2), 0x0000FFu);
        EXPECT_TRUE(area.GuardsIntact());
    }
}

TEST(Presenter, ScalesOnlyTheCutPartOfTheFrame)
{
    // Fill on 5:4 cuts 210 columns off each side: a frame whose cut columns are green and the
    // rest grey must show no green at all.
    std::vector<std::uint32_t> frame(kFramePixels);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const std::size_t x = i % kFrameWidth;
        frame[i] = x < 210 || x >= 1710 ? 0x00FF00 : 0x808080;
    }
    Area area(1280, 1024);
    Presenter presenter;
    presenter.Present(frame.data(), area.pixels(), area.pitch, area.width, area.height);
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x) ASSERT_EQ(area.at(x, y), 0x808080u) << x << "," << y;
    EXPECT_TRUE(area.GuardsIntact());
}

TEST(Presenter, FollowsTheAreasSizeAndTheFit)
{
    const std::vector<std::uint32_t> frame(kFramePixels, 0x336699);
    Presenter presenter;
    Area wide(1920, 1080);
    presenter.Present(frame.data(), wide.pixels(), wide.pitch, wide.width, wide.height);
    EXPECT_EQ(presenter.placement(), PlacePicture(PictureFit::Fill, 1920, 1080));

    Area square(641, 479);
    presenter.Present(frame.data(), square.pixels(), square.pitch, square.width, square.height);
    EXPECT_EQ(presenter.placement(), PlacePicture(PictureFit::Fill, 641, 479));
    for (int y = 0; y < square.height; ++y)
        for (int x = 0; x < square.width; ++x) ASSERT_EQ(square.at(x, y), 0x336699u);
    EXPECT_TRUE(square.GuardsIntact());

    presenter.SetFit(PictureFit::Fit);
    presenter.Present(frame.data(), square.pixels(), square.pitch, square.width, square.height);
    EXPECT_EQ(presenter.placement(), PlacePicture(PictureFit::Fit, 641, 479));
    EXPECT_EQ(square.at(320, 0), 0u);
    EXPECT_EQ(square.at(320, 240), 0x336699u);
    EXPECT_TRUE(square.GuardsIntact());
}

TEST(Presenter, EveryModeStaysInsideTinyAndOddAreas)
{
    const std::vector<std::uint32_t> frame = NumberedFrame();
    for (PictureFit fit : kEveryFit)
        for (auto [w, h] : {std::pair{1, 1}, {2, 1}, {1, 2}, {7, 3}, {3, 7}, {152, 112}, {1921, 1081}}) {
            SCOPED_TRACE(Name(fit, w, h));
            Area area(w, h);
            Presenter presenter(fit);
            presenter.Present(frame.data(), area.pixels(), area.pitch, w, h);
            EXPECT_TRUE(area.GuardsIntact());
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) ASSERT_NE(area.at(x, y), kStale);
        }
}

TEST(Presenter, DrawsTheFpsLineOverTheBars)
{
    const std::vector<std::uint32_t> frame(kFramePixels, 0x204060);
    FpsMeter meter;
    std::snprintf(meter.text, sizeof meter.text, "60.0 fps");
    Area area(1280, 1024);
    Presenter presenter(PictureFit::Fit);
    presenter.Present(frame.data(), area.pixels(), area.pitch, area.width, area.height, &meter);
    // The line sits in the area's top-left corner, which is a bar in fit on 5:4.
    bool ink = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) ink = ink || area.at(x, y) == kOverlayInk;
    EXPECT_TRUE(ink);
    // The next picture without the meter paints the bar black again.
    presenter.Present(frame.data(), area.pixels(), area.pitch, area.width, area.height);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(area.at(x, y), 0u);
}

} // namespace
} // namespace veldmark
