#include "app/headless/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <stdio_ext.h>
#include <filesystem>
#include <fstream>
#include <vector>

namespace veldmark::tool {
namespace {

class OutputFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("veldmark_output_file_test_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "out.txt").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::filesystem::path dir_;
    std::string path_;
};

TEST_F(OutputFileTest, AppearsOnlyWhenCommitted)
{
    {
        OutputFile file(path_);
        ASSERT_TRUE(file.open());
        EXPECT_TRUE(file.Print("half"));
        // destroyed without commit: nothing may be left behind
    }
    EXPECT_TRUE(Names().empty());
    {
        OutputFile file(path_);
        ASSERT_TRUE(file.open());
        EXPECT_TRUE(file.Print("%s", "whole"));
        ASSERT_TRUE(file.commit()) << file.error();
    }
    std::ifstream in(path_);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "whole");
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"}) << "no temporary is left";
}

TEST_F(OutputFileTest, UnwritablePlaceIsAnErrorNamingTheFile)
{
    OutputFile file("/nonexistent-dir/for/sure/out.txt");
    EXPECT_FALSE(file.open());
    EXPECT_NE(file.error().find("'/nonexistent-dir/for/sure/out.txt'"), std::string::npos);
    EXPECT_FALSE(file.Write("x", 1)) << "an output that never opened takes nothing";
}

TEST_F(OutputFileTest, FailedRenameLeavesNeitherName)
{
    // The final name is taken by a directory, so the rename over it fails.
    std::filesystem::create_directory(path_);
    OutputFile file(path_);
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(file.Write("data", 4));
    EXPECT_FALSE(file.commit());
    EXPECT_NE(file.error().find("out.txt"), std::string::npos) << file.error();
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"}) << "the temporary is gone";
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

// Standard output pointed at /dev/full for the length of a test.
class FullStandardOutput {
public:
    FullStandardOutput()
    {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        const int full = ::open("/dev/full", O_WRONLY);
        available_ = saved_ >= 0 && full >= 0 && dup2(full, STDOUT_FILENO) >= 0;
        if (full >= 0) close(full);
    }
    ~FullStandardOutput()
    {
        __fpurge(stdout);   // whatever could not be written stays unwritten
        std::clearerr(stdout);
        if (saved_ >= 0) {
            dup2(saved_, STDOUT_FILENO);
            close(saved_);
        }
    }
    bool available() const { return available_; }

private:
    int saved_ = -1;
    bool available_ = false;
};

TEST_F(OutputFileTest, AFullStandardOutputIsReportedWithItsReason)
{
    std::string error;
    bool committed = true;
    {
        FullStandardOutput full;
        if (!full.available()) GTEST_SKIP() << "no /dev/full";
        OutputFile out("-");
        ASSERT_TRUE(out.open());
        // Far more than stdio buffers, so the failure shows at a write, not only at the flush.
        const std::vector<char> block(1 << 16, 'x');
        bool all_written = true;
        for (int i = 0; i < 4; ++i) all_written = out.Write(block.data(), block.size()) && all_written;
        EXPECT_FALSE(all_written);
        EXPECT_FALSE(out.ok());
        EXPECT_FALSE(out.Print("more")) << "after a failure every write is refused";
        committed = out.commit();
        error = out.error();
    }
    EXPECT_FALSE(committed);
    EXPECT_NE(error.find("standard output"), std::string::npos) << error;
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
}

TEST_F(OutputFileTest, TheFirstFailureIsTheOneReported)
{
    std::string error;
    {
        FullStandardOutput full;
        if (!full.available()) GTEST_SKIP() << "no /dev/full";
        OutputFile out("-");
        ASSERT_TRUE(out.open());
        out.Print("a line that cannot reach the disk\n");
        out.commit();
        error = out.error();
        out.commit();   // a second try changes nothing
        EXPECT_EQ(out.error(), error);
    }
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
}

} // namespace
} // namespace veldmark::tool
