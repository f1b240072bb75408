// veldmark-render video: a stretch of the drive as an MP4 file through ffmpeg, or as raw BGRA
// frames on standard output for any other consumer.
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/headless/commands.h"
#include "app/headless/frame_run_options.h"
#include "app/headless/interrupt.h"
#include "app/headless/mp4_check.h"
#include "app/headless/presented_picture.h"
#include "app/headless/progress.h"

extern char** environ;

namespace veldmark::tool {
namespace {

constexpr char kVideoHelp[] =
    "usage: veldmark-render video [--from STEP] [--count N] [--every K] [--workers N] [--size WxH] [--fit MODE] --out FILE.mp4\n"
    "       veldmark-render video [...] --out -\n\n"
    "Renders frames of the drive and encodes them at 60 frames per second into FILE.mp4 with\n"
    "ffmpeg (H.264), 1920 x 1200 or the --size (even width and height). The file appears only\n"
    "once the video is complete. With --out - the pictures go to standard output as raw BGRA\n"
    "(8 bits a channel, alpha 255), for any other consumer; standard output must then not be a\n"
    "terminal.\n\n"
    "  --out FILE    the video file, or - for raw frames (required)\n"
    "  --count N     frames (default 600: ten seconds)\n";

constexpr int kFramesPerSecond = 60;

std::size_t PixelsOf(const PresentedPicture& picture)
{
    return static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height());
}

// Writes pictures as BGRA bytes to a file descriptor: a pipe to ffmpeg or standard output.
class RawSink : public FrameConsumer {
public:
    // `reader` names who reads `fd`, for the error message.
    RawSink(int fd, const char* reader, const PictureSize& size, Progress& progress)
        : fd_(fd), reader_(reader), progress_(progress), picture_(size), bytes_(PixelsOf(picture_) * 4) {}

    Delivery Consume(const FrameSlot& frame, std::uint64_t) override
    {
        // Pixels are 0x00RRGGBB words: in memory B, G, R, 0. Consumers want opaque alpha.
        const std::uint32_t* pixels = picture_.Of(frame);
        const std::size_t count = PixelsOf(picture_);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t p = pixels[i] | 0xFF000000u;
            std::memcpy(&bytes_[i * 4], &p, 4);
        }
        std::size_t sent = 0;
        while (sent < bytes_.size()) {
            const ssize_t n = write(fd_, bytes_.data() + sent, bytes_.size() - sent);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error_ = errno == EPIPE ? std::string(reader_) + " stopped reading before the last frame"
                                        : std::string("cannot write the frames to ") + reader_ + ": " +
                                              std::strerror(errno);
                return Delivery::Last;
            }
            sent += static_cast<std::size_t>(n);
        }
        progress_.Update(++done_);
        return Delivery::Taken;
    }

    std::uint64_t done() const { return done_; }
    const std::string& error() const { return error_; }

private:
    int fd_;
    const char* reader_;
    Progress& progress_;
    PresentedPicture picture_;
    std::vector<unsigned char> bytes_;   // one picture, allocated once
    std::uint64_t done_ = 0;
    std::string error_;
};

bool OnPath(const char* program)
{
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs(path);
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = dirs.find(':', start);
        const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

struct Encoder {
    pid_t pid = -1;
    int input = -1;      // write end of ffmpeg's standard input
    int messages = -1;   // ffmpeg's standard error, kept in memory to explain a failure
};

// How much of ffmpeg's messages is read back: its first lines say what went wrong.
constexpr std::size_t kMessageHead = 1024;

bool StartEncoder(const std::string& temp_path, int width, int height, Encoder& encoder, std::string& error)
{
    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return false;
    }
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::string rate = std::to_string(kFramesPerSecond);
    // -xerror: without it ffmpeg reports a failure to write the index ("Error writing trailer")
    // and still exits with status 0, leaving a file no player opens.
    std::vector<std::string> words = {"ffmpeg", "-hide_banner", "-nostats", "-loglevel", "error", "-xerror",
                                      "-y", "-f", "rawvideo", "-pix_fmt", "bgra", "-s", size,
                                      "-r", rate, "-i", "-", "-c:v", "libx264", "-preset", "medium",
                                      "-pix_fmt", "yuv420p", "-f", "mp4", temp_path};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    // In memory, not in a file: the disk may be the very thing that is full.
    encoder.messages = memfd_create("ffmpeg-messages", MFD_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    if (encoder.messages >= 0) posix_spawn_file_actions_adddup2(&actions, encoder.messages, STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    // ffmpeg gets a process group of its own, so that Ctrl-C reaches only us and we can close
    // the video properly with the frames made so far.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int rc = posix_spawnp(&encoder.pid, "ffmpeg", &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (rc != 0) {
        close(fds[1]);
        error = std::string("cannot start ffmpeg: ") + std::strerror(rc);
        return false;
    }
    encoder.input = fds[1];
    return true;
}

// What ffmpeg printed, as one line: its lines joined by "; " (it often explains a failure in
// two, the cause first), or an empty string.
std::string Messages(int messages)
{
    if (messages < 0) return {};
    std::string text(kMessageHead, '\0');
    const ssize_t got = pread(messages, text.data(), text.size(), 0);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    std::string joined;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == ' ' || line.back() == '-')) line.pop_back();
        if (!line.empty()) joined += (joined.empty() ? "" : "; ") + line;
        start = end + 1;
    }
    return joined;
}

struct EncoderEnd {
    bool clean = false;     // ffmpeg exited with status 0
    std::string problem;    // otherwise, what it said or how it ended
};

// Closes ffmpeg's input and waits for it.
EncoderEnd FinishEncoder(Encoder& encoder)
{
    if (encoder.input >= 0) close(encoder.input);
    encoder.input = -1;
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(encoder.pid, &status, 0)) < 0 && errno == EINTR) {
    }
    EncoderEnd end;
    end.clean = waited == encoder.pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!end.clean) {
        end.problem = Messages(encoder.messages);
        if (!end.problem.empty()) end.problem = "ffmpeg: " + end.problem;
        else if (waited == encoder.pid && WIFEXITED(status))
            end.problem = "ffmpeg failed with exit status " + std::to_string(WEXITSTATUS(status));
        else if (waited == encoder.pid && WIFSIGNALED(status))
            end.problem = "ffmpeg was ended by signal " + std::to_string(WTERMSIG(status));
        else
            end.problem = "ffmpeg could not be waited for";
    }
    if (encoder.messages >= 0) close(encoder.messages);
    encoder.messages = -1;
    return end;
}

int FinishRawFrames(FrameRunEnd end, const RawSink& sink)
{
    if (end == FrameRunEnd::Finished) return 0;
    if (end == FrameRunEnd::StoppedByConsumer) {
        std::fprintf(stderr, "veldmark-render video: %s\n", sink.error().c_str());
        return kExitFailure;
    }
    if (end == FrameRunEnd::Interrupted && sink.done() > 0) {
        std::fprintf(stderr, "veldmark-render video: interrupted; the %llu frames made so far were sent\n",
                     static_cast<unsigned long long>(sink.done()));
        return 130;
    }
    return ReportUnfinishedRun("video", end);
}

// Waits for ffmpeg and keeps the video only when ffmpeg ended cleanly and the file it wrote is
// whole; otherwise nothing is left under either name.
int FinishVideo(FrameRunEnd end, const RawSink& sink, Encoder& encoder, const std::string& out,
                const std::string& temp_path)
{
    const EncoderEnd encoded = FinishEncoder(encoder);
    const bool interrupted = end == FrameRunEnd::Interrupted;
    if (end == FrameRunEnd::NoWorkers || (interrupted && sink.done() == 0)) {
        std::remove(temp_path.c_str());
        return ReportUnfinishedRun("video", end);
    }
    std::string problem;
    if (!encoded.clean) problem = encoded.problem;
    else if (end == FrameRunEnd::StoppedByConsumer) problem = sink.error();
    else problem = CheckMp4Video(temp_path, sink.done());
    if (problem.empty() && std::rename(temp_path.c_str(), out.c_str()) != 0)
        problem = "cannot rename '" + temp_path + "' to it: " + std::strerror(errno);
    if (!problem.empty()) {
        std::remove(temp_path.c_str());
        std::fprintf(stderr, "veldmark-render video: cannot write '%s': %s\n", out.c_str(), problem.c_str());
        return kExitFailure;
    }
    if (!interrupted) return 0;
    std::fprintf(stderr, "veldmark-render video: interrupted; the %llu frames made so far were kept\n",
                 static_cast<unsigned long long>(sink.done()));
    return 130;
}

} // namespace

int RunVideo(std::span<const char* const> argv)
{
    int exit_code = 0;
    const auto args = ReadFrameCommand(
        argv, FrameCommand{"video", kVideoHelp, 600, "--out FILE.mp4 (or - for raw frames)", true}, exit_code);
    if (!args) return exit_code;
    const FrameRun run = args->run;
    const std::string out = *args->out;
    const bool raw = out == "-";
    if (raw && isatty(STDOUT_FILENO)) {
        std::fprintf(stderr, "veldmark-render video: refusing to write raw frames to a terminal; "
                             "pipe them into a program or give --out FILE.mp4\n");
        return kExitUsage;
    }

    const PictureSize& size = args->picture;
    // H.264 in 4:2:0 halves both directions for colour: ffmpeg refuses odd sizes.
    if (!raw && size.width > 0 && (size.width % 2 != 0 || size.height % 2 != 0)) {
        std::fprintf(stderr, "veldmark-render video: an MP4 needs an even width and height, not %dx%d; "
                             "use --out - for raw pictures of any size\n", size.width, size.height);
        return kExitUsage;
    }

    Encoder encoder;
    const std::string temp_path = out + ".partial";
    if (!raw) {
        if (!OnPath("ffmpeg")) {
            std::fprintf(stderr, "veldmark-render video: ffmpeg is not installed (Debian package "
                                 "'ffmpeg'); or use --out - to get raw frames\n");
            return kExitFailure;
        }
        // Fail on an unwritable place before any frame is rendered.
        const int probe = open(temp_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (probe < 0) {
            std::fprintf(stderr, "veldmark-render video: cannot write '%s': %s\n", out.c_str(),
                         std::strerror(errno));
            return kExitFailure;
        }
        close(probe);
        std::string error;
        const bool sized = size.width > 0;
        if (!StartEncoder(temp_path, sized ? size.width : kFrameWidth, sized ? size.height : kFrameHeight, encoder,
                          error)) {
            std::remove(temp_path.c_str());
            std::fprintf(stderr, "veldmark-render video: %s\n", error.c_str());
            return kExitFailure;
        }
    }

    const std::atomic<bool>& interrupt = InstallInterruptHandler();
    Progress progress("video", run.frames.count);
    RawSink sink(raw ? STDOUT_FILENO : encoder.input, raw ? "the reader of standard output" : "ffmpeg", size,
                 progress);
    const FrameRunEnd end = veldmark::RunFrames(g_state, run, sink, &interrupt);
    progress.Finish(sink.done());
    return raw ? FinishRawFrames(end, sink) : FinishVideo(end, sink, encoder, out, temp_path);
}

} // namespace veldmark::tool
