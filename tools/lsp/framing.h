// Content-Length framing of language server messages on a byte stream.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace lumoidl::lsp {

/// What reading one frame gave.
enum class FrameStatus {
    kMessage,    ///< a whole frame: `body` holds its bytes
    kMalformed,  ///< headers that cannot be read, or a body cut short; `problem` says which
    kEnd,        ///< the stream ended between frames
};

/// One frame read from a stream.
struct Frame {
    FrameStatus status = FrameStatus::kEnd;  ///< what was read
    std::string body;                        ///< the message bytes, for kMessage
    std::string problem;                     ///< why the frame is malformed, for kMalformed
};

/// The largest body accepted, in bytes.
inline constexpr size_t kMaxBodyBytes = size_t{256} << 20;

/// Reads the next frame: header lines (`Name: value`, ended by CR LF or LF) up to an empty line,
/// then as many bytes as Content-Length says. Blank lines before the headers are skipped. After a
/// malformed header block the stream stands after its empty line, so the next call goes on with
/// the next frame.
Frame readFrame(std::istream& in);

/// Writes `body` as one frame and flushes `out`.
void writeFrame(std::ostream& out, std::string_view body);

}  // namespace lumoidl::lsp
