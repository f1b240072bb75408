#pragma once
// Whether an MP4 file the video command had ffmpeg write is whole. ffmpeg writes the frames
// first and the index (the 'moov' box) last, patching the size of the frames' box as it does;
// a run that ran out of disk or was cut short leaves the index missing or truncated, and no
// player can open the file. ffmpeg does not always say so in its exit status.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace veldmark::tool {

// The number of frames (samples) of the first video track described by the payload of a
// 'moov' box; nullopt when the index has no video track or is malformed.
std::optional<std::uint64_t> VideoFramesInIndex(std::span<const std::uint8_t> moov_payload);

// Checks that the file's top-level boxes fill it exactly, that it has its frames ('mdat') and
// its index, and that the index holds `expected_frames` video frames. Returns what is wrong,
// or an empty string when the file is whole.
std::string CheckMp4Video(const std::string& path, std::uint64_t expected_frames);

} // namespace veldmark::tool
