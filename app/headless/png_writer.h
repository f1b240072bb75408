#pragma once
// Writing pixel buffers as PNG files for the headless tool: frames, display-list renders,
// glyph sheets. Pixels are 0x00RRGGBB words, rows top to bottom, written as 8-bit RGB.
#include <cstdint>
#include <cstdio>
#include <string>

namespace veldmark::tool {

// Writes the image to an open stream; false with `error` set when libpng or the stream fails.
bool WritePng(std::FILE* out, const std::uint32_t* pixels, int width, int height,
              std::string& error);

// Writes the image to `path` whole or not at all (through OutputFile; "-" is standard output).
bool WritePngFile(const std::string& path, const std::uint32_t* pixels, int width, int height,
                  std::string& error);

} // namespace veldmark::tool
