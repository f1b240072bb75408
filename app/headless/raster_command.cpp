// veldmark-render raster: a display-list file drawn over a plain background into a frame-sized
// buffer and written as PNG. For looking at what the scene builder (or a hand-made list) draws.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/headless/args.h"
#include "app/headless/commands.h"
#include "app/headless/png_writer.h"
#include "render/rasteriser.h"
#include "world/limits.h"

namespace veldmark::tool {
namespace {

constexpr OptionSpec kRasterOptions[] = {
    {"roll", true}, {"background", true}, {"out", true}, {"help", false}};

constexpr char kRasterHelp[] =
    "usage: veldmark-render raster LIST.bin [--roll R] [--background 0xRRGGBB] --out FRAME.png\n\n"
    "Draws a display list (a file of raw little-endian 32-bit words, at most 262144 of them)\n"
    "over a plain background into the 1920 x 1200 frame buffer and writes it as PNG.\n\n"
    "  --roll R          turn the view by R radians about the screen centre (default 0)\n"
    "  --background C    the background colour as hexadecimal RRGGBB, with or without 0x\n"
    "                    (default 0x000000)\n"
    "  --out FILE        the PNG to write (written whole or not at all; - for standard output)\n\n"
    "Exit codes: 0 done, 1 the list file could not be read or is not a list, or the PNG\n"
    "could not be written, 2 bad arguments.\n";

constexpr char kName[] = "veldmark-render raster";

std::optional<float> ParseFloat(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> ParseColour(std::string text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = text.substr(2);
    if (text.empty() || text.size() > 6) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        std::uint32_t digit;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else return std::nullopt;
        value = value << 4 | digit;
    }
    return value;
}

// Reads the whole list file as little-endian words; false with `error` set.
bool ReadListFile(const std::string& path, std::vector<std::uint32_t>& words, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    const std::size_t limit = kDisplayListWords * 4;
    std::vector<unsigned char> bytes(limit + 1);
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read '" + path + "'";
        return false;
    }
    if (size > limit) {
        error = "'" + path + "' is larger than a display list (" + std::to_string(kDisplayListWords) +
                " words, " + std::to_string(limit) + " bytes)";
        return false;
    }
    if (size % 4 != 0) {
        error = "'" + path + "' is " + std::to_string(size) +
                " bytes long, not a whole number of 32-bit words";
        return false;
    }
    words.resize(size / 4);
    for (std::size_t k = 0; k < words.size(); ++k)
        words[k] = std::uint32_t{bytes[4 * k]} | std::uint32_t{bytes[4 * k + 1]} << 8 |
                   std::uint32_t{bytes[4 * k + 2]} << 16 | std::uint32_t{bytes[4 * k + 3]} << 24;
    return true;
}

int Usage(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", kName, message.c_str());
    return kExitUsage;
}

} // namespace

int RunRaster(std::span<const char* const> argv)
{
    // The list file is the one argument that is not an option or an option's value.
    std::vector<const char*> options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string arg = argv[i];
        if (arg.size() > 2 && arg.starts_with("--")) {
            options.push_back(argv[i]);
            const bool takes_value = arg != "--help";
            if (takes_value && i + 1 < argv.size()) options.push_back(argv[++i]);
        } else {
            positional.push_back(arg);
        }
    }
    Args args(options, kRasterOptions);
    if (args.has("help")) {
        std::fputs(kRasterHelp, stdout);
        return 0;
    }
    if (!args.ok()) return Usage(args.error());
    if (positional.size() != 1)
        return Usage(positional.empty() ? "needs a display-list file (try --help)"
                                        : "takes one display-list file, got '" + positional[1] + "' too");
    const auto out = args.value("out");
    if (!out) return Usage("needs --out FILE");
    float roll = 0.0f;
    if (const auto text = args.value("roll")) {
        const auto parsed = ParseFloat(std::string(*text));
        if (!parsed) return Usage("--roll takes a finite number of radians, not '" + std::string(*text) + "'");
        roll = *parsed;
    }
    std::uint32_t background = 0;
    if (const auto text = args.value("background")) {
        const auto parsed = ParseColour(std::string(*text));
        if (!parsed) return Usage("--background takes a colour RRGGBB in hexadecimal, not '" + std::string(*text) + "'");
        background = *parsed;
    }

    std::vector<std::uint32_t> words;
    std::string error;
    if (!ReadListFile(positional[0], words, error)) {
        std::fprintf(stderr, "%s: %s\n", kName, error.c_str());
        return kExitFailure;
    }
    std::vector<std::uint32_t> pixels(kFramePixels, background);
    RasteriseDisplayList(words.data(), words.size(), roll, pixels.data());
    if (!WritePngFile(std::string(*out), pixels.data(), kFrameWidth, kFrameHeight, error)) {
        std::fprintf(stderr, "%s: %s\n", kName, error.c_str());
        return kExitFailure;
    }
    return 0;
}

} // namespace veldmark::tool
