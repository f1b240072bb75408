#include "app/headless/output_file.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

namespace veldmark::tool {

OutputFile::OutputFile(std::string path) : path_(std::move(path)), to_stdout_(path_ == "-") {}

OutputFile::~OutputFile()
{
    if (file_ && !to_stdout_) {
        std::fclose(file_);
        std::remove(temp_path_.c_str());
    }
}

void OutputFile::Fail(int error_number)
{
    if (!error_.empty()) return;   // the first failure is the one that explains the rest
    const std::string reason = error_number ? std::strerror(error_number) : "the write failed";
    error_ = to_stdout_ ? "cannot write to standard output: " + reason
                        : "cannot write '" + path_ + "': " + reason;
}

bool OutputFile::open()
{
    if (to_stdout_) {
        file_ = stdout;
        return true;
    }
    temp_path_ = path_ + ".partial";
    file_ = std::fopen(temp_path_.c_str(), "wb");
    if (!file_) {
        Fail(errno);
        return false;
    }
    return true;
}

bool OutputFile::Write(const void* data, std::size_t bytes)
{
    if (!file_ || !ok()) return false;
    errno = 0;
    if (std::fwrite(data, 1, bytes, file_) != bytes) Fail(errno);
    return ok();
}

bool OutputFile::Print(const char* format, ...)
{
    if (!file_ || !ok()) return false;
    std::va_list arguments;
    va_start(arguments, format);
    errno = 0;
    const int written = std::vfprintf(file_, format, arguments);
    va_end(arguments);
    if (written < 0 || std::ferror(file_)) Fail(errno);
    return ok();
}

bool OutputFile::commit()
{
    if (!file_) return false;
    if (to_stdout_) {
        errno = 0;
        if (ok() && std::fflush(file_) != 0) Fail(errno);
        return ok();
    }
    errno = 0;
    if (ok() && std::fflush(file_) != 0) Fail(errno);
    errno = 0;
    // The close is checked too: network file systems report a full disk only there.
    if (std::fclose(file_) != 0) Fail(errno);
    file_ = nullptr;
    if (ok() && std::rename(temp_path_.c_str(), path_.c_str()) != 0)
        error_ = "cannot rename '" + temp_path_ + "' to '" + path_ + "': " + std::strerror(errno);
    if (!ok()) std::remove(temp_path_.c_str());
    return ok();
}

bool CloseStandardOutput(const char* program)
{
    errno = 0;
    const bool failed_before = std::ferror(stdout) != 0;
    const bool close_failed = std::fclose(stdout) != 0;
    if (!failed_before && !close_failed) return true;
    std::fprintf(stderr, "%s: cannot write to standard output: %s\n", program,
                 errno ? std::strerror(errno) : "the write failed");
    return false;
}

} // namespace veldmark::tool
