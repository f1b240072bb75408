#include "app/headless/output_file.h"

#include <cerrno>
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

bool OutputFile::open()
{
    if (to_stdout_) {
        file_ = stdout;
        return true;
    }
    temp_path_ = path_ + ".partial";
    file_ = std::fopen(temp_path_.c_str(), "wb");
    if (!file_) {
        error_ = "cannot write '" + path_ + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool OutputFile::commit()
{
    if (!file_) return false;
    if (to_stdout_) {
        if (std::fflush(file_) != 0 || std::ferror(file_)) {
            error_ = std::string("cannot write to standard output: ") + std::strerror(errno);
            return false;
        }
        return true;
    }
    const bool write_failed = std::ferror(file_) != 0;
    const int saved_errno = errno;
    const bool close_failed = std::fclose(file_) != 0;
    file_ = nullptr;
    if (write_failed || close_failed) {
        error_ = "cannot write '" + path_ + "': " + std::strerror(write_failed ? saved_errno : errno);
        std::remove(temp_path_.c_str());
        return false;
    }
    if (std::rename(temp_path_.c_str(), path_.c_str()) != 0) {
        error_ = "cannot rename '" + temp_path_ + "' to '" + path_ + "': " + std::strerror(errno);
        std::remove(temp_path_.c_str());
        return false;
    }
    return true;
}

} // namespace veldmark::tool
