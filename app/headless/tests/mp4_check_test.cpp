#include "app/headless/mp4_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace veldmark::tool {
namespace {

using Bytes = std::vector<std::uint8_t>;

// (Sized first and filled by index: g++ 12 warns wrongly about growing small vectors.)
void Put32At(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (std::size_t k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (24 - 8 * k));
}

void Put32(Bytes& b, std::uint32_t v)
{
    const std::size_t at = b.size();
    b.resize(at + 4);
    Put32At(b, at, v);
}

Bytes Box(const char* type, const Bytes& payload)
{
    Bytes b(8 + payload.size());
    Put32At(b, 0, static_cast<std::uint32_t>(b.size()));
    std::copy(type, type + 4, b.begin() + 4);
    std::copy(payload.begin(), payload.end(), b.begin() + 8);
    return b;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    std::size_t size = 0;
    for (const Bytes& p : parts) size += p.size();
    Bytes all(size);
    auto at = all.begin();
    for (const Bytes& p : parts) at = std::copy(p.begin(), p.end(), at);
    return all;
}

// A handler box for a track of the given kind ('vide', 'soun').
Bytes Handler(const char* kind)
{
    Bytes p(8 + 4 + 12, 0);   // version, flags, a zero field; the kind; three zero fields
    std::copy(kind, kind + 4, p.begin() + 8);
    return Box("hdlr", p);
}

Bytes SampleSizes(std::uint32_t count)
{
    Bytes p(4, 0);   // version and flags
    Put32(p, 0);     // every sample's own size follows
    Put32(p, count);
    for (std::uint32_t i = 0; i < count; ++i) Put32(p, 1000 + i);
    return Box("stsz", p);
}

Bytes Track(const char* kind, std::uint32_t frames)
{
    return Box("trak", Join({Box("tkhd", Bytes(84, 0)),
                             Box("mdia", Join({Box("mdhd", Bytes(24, 0)), Handler(kind),
                                               Box("minf", Box("stbl", SampleSizes(frames)))}))}));
}

Bytes Index(std::initializer_list<Bytes> tracks)
{
    Bytes p = Box("mvhd", Bytes(100, 0));
    for (const Bytes& t : tracks) p.insert(p.end(), t.begin(), t.end());
    return p;   // the payload of 'moov'
}

// The layout ffmpeg writes: file type, a free box, the frames, the index last.
Bytes Movie(std::uint32_t frames)
{
    return Join({Box("ftyp", Bytes(16, 'i')), Box("free", {}), Box("mdat", Bytes(5000, 0x42)),
                 Box("moov", Index({Track("vide", frames)}))});
}

class Mp4CheckTest : public testing::Test {
protected:
    void SetUp() override
    {
        path_ = (std::filesystem::temp_directory_path() / ("veldmark_mp4_" + std::to_string(getpid()) + ".mp4")).string();
    }
    void TearDown() override { std::filesystem::remove(path_); }
    std::string Check(const Bytes& file, std::uint64_t expected)
    {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (!file.empty()) std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
        return CheckMp4Video(path_, expected);
    }
    std::string path_;
};

TEST_F(Mp4CheckTest, AWholeMovieWithTheRightFrameCountPasses)
{
    EXPECT_EQ(Check(Movie(30), 30), "");
    const Bytes index = Index({Track("soun", 7), Track("vide", 12)});
    EXPECT_EQ(VideoFramesInIndex(index), 12u) << "the video track, not the first track";
}

TEST_F(Mp4CheckTest, WhatAFullDiskLeavesIsRefused)
{
    const Bytes whole = Movie(30);
    // Cut anywhere: inside the index, inside its header, just before it, inside the frames.
    for (std::size_t cut : {whole.size() - 1, whole.size() - 150, whole.size() - 300, std::size_t{100}, std::size_t{3}})
        EXPECT_NE(Check(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)), 30), "") << cut;
    EXPECT_NE(Check({}, 30), "") << "an empty file";

    // The frames' box never patched to its size: it runs to the end and no index follows.
    Bytes unclosed = Join({Box("ftyp", Bytes(16, 'i')), Box("mdat", Bytes(64, 0))});
    unclosed[24] = unclosed[25] = unclosed[26] = unclosed[27] = 0;
    EXPECT_NE(Check(unclosed, 30).find("never closed"), std::string::npos);
}

TEST_F(Mp4CheckTest, AnIndexThatDoesNotMatchTheFramesSentIsRefused)
{
    EXPECT_NE(Check(Movie(29), 30).find("29 frames"), std::string::npos);
    EXPECT_NE(Check(Join({Box("ftyp", Bytes(16, 'i')), Box("mdat", Bytes(10, 0)),
                          Box("moov", Index({Track("soun", 30)}))}),
                    30)
                  .find("no video track"),
              std::string::npos);
    EXPECT_NE(Check(Join({Box("ftyp", Bytes(16, 'i')), Box("moov", Index({Track("vide", 30)}))}), 30), "")
        << "an index without frames";
}

TEST_F(Mp4CheckTest, SizesThatLieAreCaughtNotFollowed)
{
    Bytes lying = Movie(30);
    // The index says it is 4 GB long.
    const std::size_t moov_at = lying.size() - Box("moov", Index({Track("vide", 30)})).size();
    lying[moov_at] = 0xFF;
    EXPECT_NE(Check(lying, 30), "");

    // A box claiming to be smaller than its own header.
    Bytes tiny = Movie(30);
    tiny[3] = 4;
    EXPECT_NE(Check(tiny, 30), "");

    // Inside the index: a child box running past its parent ends the walk, finding nothing.
    Bytes index = Index({Track("vide", 30)});
    index[3] = 0xFF;
    EXPECT_FALSE(VideoFramesInIndex(index).has_value());
}

TEST_F(Mp4CheckTest, SixtyFourBitBoxSizesAreRead)
{
    // A frames' box with size 1 and a 64-bit size after its type, as for files over 4 GB.
    Bytes large(16 + 40, 0x42);
    Put32At(large, 0, 1);
    std::copy_n("mdat", 4, large.begin() + 4);
    Put32At(large, 8, 0);
    Put32At(large, 12, 16 + 40);
    EXPECT_EQ(Check(Join({Box("ftyp", Bytes(16, 'i')), large, Box("moov", Index({Track("vide", 3)}))}), 3), "");
}

} // namespace
} // namespace veldmark::tool
