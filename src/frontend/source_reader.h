// SourceReader: the bytes of one source file, read from disk in blocks.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/input_file.h"

namespace ZEMRA::IDL::PARSER {

/// Hands out the bytes of an open file one at a time, reading them in blocks; the bytes seen
/// are exactly those of reading one byte at a time, whatever the block size.
class SourceReader {
public:
    /// A reader that reads blocks of `blockSize` bytes (at least 1).
    explicit SourceReader(size_t blockSize = 64 * 1024);

    /// Reads blocks of `blockSize` bytes (at least 1) from now on, for a reader that cannot be
    /// replaced in place (the context's); drops buffered bytes, so it belongs before open.
    void setBlockSize(size_t blockSize);

    /// Opens the file named by `name`; returns 0 or the error number. Drops buffered bytes.
    int open(const LumoChar* name);
    /// Closes the file and drops buffered bytes.
    void close();
    /// The next byte (0 to 255), or -1 at end of file or on a read error.
    int next() {
        if (position_ == filled_ && !refill()) return -1;
        return buffer_[position_++];
    }

private:
    bool refill();

    lumoidl::platform::InputFile file_;
    std::unique_ptr<unsigned char[]> buffer_;
    size_t blockSize_;
    size_t position_ = 0;
    size_t filled_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
