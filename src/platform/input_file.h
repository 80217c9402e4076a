// An input file opened by its UTF-16 name for reading raw bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "lumoidl/lumoidl.h"

namespace lumoidl::platform {

/// One source file opened for binary reading; closed by close() or the destructor.
class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    /// Closes the file if it is still open.
    ~InputFile();

    /// Opens the file named by the zero-terminated `name` ("rb", no newline translation).
    /// Returns 0, or the C library's error number when it cannot be opened.
    int open(const LumoChar* name);
    /// Reads up to `size` bytes into `buffer`; returns how many, 0 at end of file or on error.
    size_t read(unsigned char* buffer, size_t size);
    /// Closes the file; does nothing when none is open.
    void close();

private:
#if defined(_WIN32)
    FILE* stream_ = nullptr;
#else
    int fd_ = -1;
    /// Bytes a regular file held when it was opened and that have not been read yet, so that
    /// the read after the last of them need not ask the system only to hear of the end; -1 for
    /// a file of unknown size (a pipe, a terminal, an empty-looking file under /proc).
    long long unread_ = -1;
#endif
};

/// The C library's text for error number `errnum`, read into a 512-byte buffer, with one
/// trailing line feed and then one trailing carriage return removed; UTF-8.
std::string systemErrorText(int errnum);

}  // namespace lumoidl::platform
