#pragma once
// An output file that appears only when it is complete: everything is written to a temporary
// name beside the target and renamed over it by commit(). A failed or interrupted run leaves
// no truncated file that looks finished. The path "-" writes to standard output instead.
#include <cstdio>
#include <string>

namespace veldmark::tool {

class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();   // removes the temporary file when commit() was not reached
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool open();                 // false with error() set
    std::FILE* stream() { return file_; }
    bool commit();               // flush, close and rename; false with error() set
    const std::string& error() const { return error_; }

private:
    std::string path_;
    std::string temp_path_;
    std::FILE* file_ = nullptr;
    bool to_stdout_ = false;
    std::string error_;
};

} // namespace veldmark::tool
