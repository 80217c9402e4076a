// SourceReader: the bytes of one source file, read from disk in blocks.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/input_file.h"

namespace ZEMRA::IDL::PARSER {

/// Hands out the bytes of an open file one at a time, reading them in blocks; the bytes seen
/// are exactly those of reading one byte at a time, whatever the block size.
class SourceReader {
public:
    /// The block size of the reader that parses use.
    static constexpr size_t kDefaultBlockSize = 64 * 1024;
    /// Readable bytes after the zero byte that follows the window.
    static constexpr size_t kScanPadding = 15;

    /// A reader that reads blocks of `blockSize` bytes (at least 1).
    explicit SourceReader(size_t blockSize = kDefaultBlockSize);

    /// Opens the file named by `name`; returns 0 or the error number. Drops buffered bytes.
    int open(const LumoChar* name);
    /// Closes the file and drops buffered bytes.
    void close();
    /// The next byte (0 to 255), or -1 at end of file or on a read error.
    int next() {
        if (position_ == filled_ && !refill()) return -1;
        return buffer_[position_++];
    }

    /// Appends to `out` the bytes, from the next one on, for which `accept(byte)` holds, and
    /// stops before the first other byte or at end of file; returns how many it took. The
    /// same bytes as taking them one at a time with next(), without the call per byte.
    template <class Accept>
    size_t appendWhile(std::string& out, Accept accept) {
        size_t taken = 0;
        while (position_ < filled_ || refill()) {
            const size_t start = position_;
            while (position_ < filled_ && accept(buffer_[position_])) ++position_;
            out.append(reinterpret_cast<const char*>(buffer_.get()) + start, position_ - start);
            taken += position_ - start;
            if (position_ < filled_) break;
        }
        return taken;
    }

    /// Consumes the bytes, from the next one on, for which `accept(byte)` holds, and stops
    /// before the first other byte or at end of file.
    template <class Accept>
    void skipWhile(Accept accept) {
        while (position_ < filled_ || refill()) {
            while (position_ < filled_ && accept(buffer_[position_])) ++position_;
            if (position_ < filled_) return;
        }
    }

    /// The bytes read from the file and not yet handed out, without reading more; the caller
    /// may look at them and then take some with consumeTo(). A zero byte follows them in memory,
    /// so that a scan for bytes of a class stops at the end without a bounds check, and then
    /// kScanPadding more readable bytes, so that a scan may read sixteen bytes at a time at any
    /// position up to the zero byte.
    std::basic_string_view<unsigned char> window() const { return {buffer_.get() + position_, filled_ - position_}; }
    /// Hands out the bytes of the window before `next`, a place within it or at its end, as that
    /// many calls of next() would.
    void consumeTo(const unsigned char* next) { position_ = static_cast<size_t>(next - buffer_.get()); }

private:
    bool refill();

    lumoidl::platform::InputFile file_;
    /// Room for a block, the zero byte after the filled part and the padding after it.
    std::unique_ptr<unsigned char[]> buffer_;
    size_t blockSize_;
    size_t position_ = 0;
    size_t filled_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
