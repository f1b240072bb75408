#pragma once
// An output file that appears only when it is complete: everything is written to a temporary
// name beside the target and renamed over it by commit(). A failed or interrupted run leaves
// no truncated file that looks finished, and no temporary. The path "-" writes to standard
// output instead.
//
// Every write is checked as it is made: the first failure is kept (with the reason the system
// gave at that moment), every later write is refused, and commit() reports it. Callers can
// stop early on ok() instead of producing output nobody will get.
#include <cstddef>
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
    bool Write(const void* data, std::size_t bytes);
    bool Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool ok() const { return error_.empty(); }
    bool commit();               // flush, close and rename; false with error() set
    const std::string& error() const { return error_; }

private:
    void Fail(int error_number);

    std::string path_;
    std::string temp_path_;
    std::FILE* file_ = nullptr;
    bool to_stdout_ = false;
    std::string error_;
};

// Standard output's last flush and close, once a command is done with it; false (with the
// one-line error printed) when anything written there was lost.
bool CloseStandardOutput(const char* program);

} // namespace veldmark::tool
