// veldmark-render glyphs: a contact sheet of every animal picture, plain and mirrored, large and
// small, and every lion pose at two sizes, drawn through the same display list and rasteriser
// as the scene, for looking the art over.
#include <cstdio>
#include <string>
#include <vector>

#include "app/headless/args.h"
#include "app/headless/commands.h"
#include "app/headless/png_writer.h"
#include "render/display_list.h"
#include "render/rasteriser.h"
#include "scene/animal_drawing.h"
#include "scene/animal_glyphs.h"
#include "scene/lion_drawing.h"
#include "scene/lion_poses.h"
#include "world/limits.h"

namespace veldmark::tool {
namespace {

constexpr OptionSpec kGlyphsOptions[] = {{"out", true}, {"help", false}};

constexpr char kGlyphsHelp[] =
    "usage: veldmark-render glyphs --out SHEET.png\n\n"
    "Draws a contact sheet of the animal and lion pictures: every animal plain and mirrored\n"
    "(200 and 60 pixels tall) with small copies 20 and 40 pixels tall, and every lion pose at\n"
    "170, 40 and 20 pixels tall, mid-leap poses lifted as in the leap. Thin lines mark each\n"
    "picture's ground and centre.\n\n"
    "  --out FILE   the PNG to write (written whole or not at all; - for standard output)\n\n"
    "Exit codes: 0 done, 1 the PNG could not be written, 2 bad arguments.\n";

constexpr char kName[] = "veldmark-render glyphs";

// The sheet, in logical units (the rasteriser draws 2 pixels to the unit).
constexpr float kSheetWidth = 1500.0f;
constexpr float kSheetHeight = 700.0f;
constexpr int kSheetPixelsWide = 2 * static_cast<int>(kSheetWidth);
constexpr int kSheetPixelsHigh = 2 * static_cast<int>(kSheetHeight);
constexpr std::uint32_t kBackground = 0xD8C79A;   // dry grass, light enough for dark outlines
constexpr std::uint32_t kGroundLine = 0xA89868;
constexpr float kCellWidth = 170.0f;
constexpr float kMargin = 40.0f;
constexpr float kLionCell = 200.0f;

// A thin horizontal or vertical line, to show where a picture stands.
void Line(DisplayListWriter& out, float x0, float y0, float x1, float y1)
{
    const float h = 0.25f;
    const Vec2 quad[] = {{x0 - h, y0 - h}, {x1 + h, y0 - h}, {x1 + h, y1 + h}, {x0 - h, y1 + h}};
    out.FlatPolygon(kGroundLine, quad);
}

void DrawAnimals(DisplayListWriter& out)
{
    const std::span<const AnimalGlyph> glyphs = AnimalGlyphs();
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const float cx = kMargin + 20.0f + kCellWidth * (static_cast<float>(i) + 0.5f);
        // Large plain and mirrored, then 30 and 10/20-unit copies for the distant look.
        const float rows[][3] = {{130.0f, 100.0f, 1.0f}, {250.0f, 100.0f, -1.0f},
                                 {300.0f, 30.0f, 1.0f}};
        for (const auto& row : rows) {
            Line(out, cx - 70.0f, row[0], cx + 70.0f, row[0]);
            Line(out, cx, row[0] - row[1] - 4.0f, cx, row[0]);
            DrawAnimalGlyph(out, glyphs[i], GlyphPlacement{cx, row[0], row[1], row[2]});
        }
        DrawAnimalGlyph(out, glyphs[i], GlyphPlacement{cx - 30.0f, 340.0f, 10.0f, 1.0f});
        DrawAnimalGlyph(out, glyphs[i], GlyphPlacement{cx + 20.0f, 340.0f, 20.0f, -1.0f});
    }
}

void DrawLions(DisplayListWriter& out)
{
    // Poses 4 and 5 are shown raised as in the leap's middle and end.
    const float lifts[] = {0.0f, 0.0f, 0.0f, 0.0f, 0.18f, 0.1f, 0.0f};
    const std::span<const LionPose> poses = LionPoses();
    for (std::size_t i = 0; i < poses.size(); ++i) {
        const float lift = i < std::size(lifts) ? lifts[i] : 0.0f;
        const float x = kMargin + 60.0f + kLionCell * static_cast<float>(i);
        Line(out, x - 60.0f, 540.0f, x + 125.0f, 540.0f);
        Line(out, x, 450.0f, x, 540.0f);
        DrawLionPose(out, poses[i], LionPlacement{x, 540.0f, 85.0f, lift});
        Line(out, x - 10.0f, 620.0f, x + 40.0f, 620.0f);
        DrawLionPose(out, poses[i], LionPlacement{x, 620.0f, 20.0f, lift});
        DrawLionPose(out, poses[i], LionPlacement{x + 60.0f, 620.0f, 10.0f, lift});
    }
}

} // namespace

int RunGlyphs(std::span<const char* const> argv)
{
    Args args(argv, kGlyphsOptions);
    if (args.has("help")) {
        std::fputs(kGlyphsHelp, stdout);
        return 0;
    }
    if (!args.ok()) {
        std::fprintf(stderr, "%s: %s\n", kName, args.error().c_str());
        return kExitUsage;
    }
    const auto out_path = args.value("out");
    if (!out_path) {
        std::fprintf(stderr, "%s: needs --out FILE\n", kName);
        return kExitUsage;
    }

    std::vector<std::uint32_t> words(kDisplayListWords);
    std::uint64_t length = 0;
    DisplayListWriter out(words.data(), length);
    DrawAnimals(out);
    DrawLions(out);

    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kSheetPixelsWide) * kSheetPixelsHigh,
                                      kBackground);
    RasteriseDisplayList(RasterTarget{pixels.data(), kSheetPixelsWide, kSheetPixelsHigh}, 0.0f,
                         words.data(), length);
    std::string error;
    if (!WritePngFile(std::string(*out_path), pixels.data(), kSheetPixelsWide, kSheetPixelsHigh,
                      error)) {
        std::fprintf(stderr, "%s: %s\n", kName, error.c_str());
        return kExitFailure;
    }
    return 0;
}

} // namespace veldmark::tool
