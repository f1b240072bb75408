#include "app/headless/mp4_check.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace veldmark::tool {
namespace {

constexpr std::size_t kBoxHeader = 8;        // 32-bit size, then the four-letter type
constexpr std::size_t kLargeBoxHeader = 16;  // size 1: a 64-bit size follows the type
constexpr std::size_t kFullBoxHeader = 4;    // version and flags, before a full box's fields
// An index larger than this is not one ffmpeg wrote for a stretch of the drive.
constexpr std::uint64_t kMaxIndexBytes = 256u << 20;

std::uint32_t Big32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint64_t Big64(const std::uint8_t* p) { return std::uint64_t{Big32(p)} << 32 | Big32(p + 4); }

bool IsType(const std::uint8_t* type, std::string_view name)
{
    return name.size() == 4 && std::memcmp(type, name.data(), 4) == 0;
}

struct Box {
    const std::uint8_t* type;
    std::span<const std::uint8_t> payload;
};

// Walks the boxes packed in `bytes`; a box whose size does not fit ends the walk as malformed.
class BoxWalk {
public:
    explicit BoxWalk(std::span<const std::uint8_t> bytes) : rest_(bytes) {}

    std::optional<Box> Next()
    {
        if (rest_.size() < kBoxHeader) {
            malformed_ = !rest_.empty();
            return std::nullopt;
        }
        std::uint64_t size = Big32(rest_.data());
        std::size_t header = kBoxHeader;
        if (size == 1) {
            if (rest_.size() < kLargeBoxHeader) return Malformed();
            size = Big64(rest_.data() + kBoxHeader);
            header = kLargeBoxHeader;
        } else if (size == 0) {
            size = rest_.size();   // the box runs to the end
        }
        if (size < header || size > rest_.size()) return Malformed();
        const Box box{rest_.data() + 4, rest_.subspan(header, static_cast<std::size_t>(size) - header)};
        rest_ = rest_.subspan(static_cast<std::size_t>(size));
        return box;
    }

    bool malformed() const { return malformed_; }

private:
    std::optional<Box> Malformed()
    {
        malformed_ = true;
        rest_ = {};
        return std::nullopt;
    }

    std::span<const std::uint8_t> rest_;
    bool malformed_ = false;
};

std::optional<std::span<const std::uint8_t>> Child(std::span<const std::uint8_t> parent, std::string_view name)
{
    BoxWalk walk(parent);
    while (const auto box = walk.Next())
        if (IsType(box->type, name)) return box->payload;
    return std::nullopt;
}

// The handler box names what a track carries: 'vide' for pictures.
bool IsVideoTrack(std::span<const std::uint8_t> media)
{
    const auto handler = Child(media, "hdlr");
    constexpr std::size_t kHandlerTypeAt = kFullBoxHeader + 4;   // after the version and a zero field
    return handler && handler->size() >= kHandlerTypeAt + 4 && IsType(handler->data() + kHandlerTypeAt, "vide");
}

// The sample count of a sample-size box: 'stsz' has it after a common size, 'stz2' after a
// field width.
std::optional<std::uint64_t> SampleCount(std::span<const std::uint8_t> table)
{
    constexpr std::size_t kCountAt = kFullBoxHeader + 4;
    for (const std::string_view name : {"stsz", "stz2"}) {
        const auto sizes = Child(table, name);
        if (sizes && sizes->size() >= kCountAt + 4) return Big32(sizes->data() + kCountAt);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint64_t> VideoFramesInIndex(std::span<const std::uint8_t> moov_payload)
{
    BoxWalk walk(moov_payload);
    while (const auto box = walk.Next()) {
        if (!IsType(box->type, "trak")) continue;
        const auto media = Child(box->payload, "mdia");
        if (!media || !IsVideoTrack(*media)) continue;
        const auto info = Child(*media, "minf");
        const auto table = info ? Child(*info, "stbl") : std::nullopt;
        return table ? SampleCount(*table) : std::nullopt;
    }
    return std::nullopt;
}

std::string CheckMp4Video(const std::string& path, std::uint64_t expected_frames)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::string("cannot read it back: ") + std::strerror(errno);
    struct Closer {
        std::FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{file};

    bool have_frames = false;
    std::vector<std::uint8_t> index;
    bool have_index = false;
    std::uint8_t header[kLargeBoxHeader];
    for (;;) {
        const std::size_t got = std::fread(header, 1, kBoxHeader, file);
        if (got == 0 && std::feof(file)) break;
        if (got != kBoxHeader) return "the file ends inside a box header";
        std::uint64_t size = Big32(header);
        std::uint64_t header_size = kBoxHeader;
        if (size == 1) {
            if (std::fread(header + kBoxHeader, 1, 8, file) != 8) return "the file ends inside a box header";
            size = Big64(header + kBoxHeader);
            header_size = kLargeBoxHeader;
        }
        const std::string type(reinterpret_cast<const char*>(header + 4), 4);
        if (size == 0) return "its '" + type + "' box was never closed (the index is missing)";
        if (size < header_size) return "its '" + type + "' box has an impossible size";
        const std::uint64_t payload = size - header_size;
        if (type == "mdat") have_frames = true;
        if (type == "moov") {
            if (have_index || payload > kMaxIndexBytes) return "its index is malformed";
            index.resize(static_cast<std::size_t>(payload));
            if (std::fread(index.data(), 1, index.size(), file) != index.size())
                return "the file ends inside its index";
            have_index = true;
            continue;
        }
        // Skip the payload, and make sure the file really holds it.
        const long here = std::ftell(file);
        if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return "cannot read it back";
        const long end = std::ftell(file);
        if (end < here || static_cast<std::uint64_t>(end - here) < payload)
            return "the file ends inside its '" + type + "' box";
        if (std::fseek(file, here + static_cast<long>(payload), SEEK_SET) != 0) return "cannot read it back";
    }
    if (std::ferror(file)) return "cannot read it back";
    if (!have_frames) return "it holds no frames";
    if (!have_index) return "its index is missing";
    const auto frames = VideoFramesInIndex(index);
    if (!frames) return "its index describes no video track";
    if (*frames != expected_frames)
        return "its index holds " + std::to_string(*frames) + " frames, not " + std::to_string(expected_frames);
    return {};
}

} // namespace veldmark::tool
