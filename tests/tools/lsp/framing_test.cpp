// Reading frames: well-formed ones in their variants, and malformed ones that the next frame survives.
#include "tools/lsp/framing.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using lumoidl::lsp::Frame;
using lumoidl::lsp::FrameStatus;

/// What each readFrame call returns, as "M:body", "X" (malformed) or "E" (end), until the end.
std::vector<std::string> readAll(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::string> out;
    for (Frame frame = lumoidl::lsp::readFrame(in);; frame = lumoidl::lsp::readFrame(in)) {
        if (frame.status == FrameStatus::kEnd) return out;
        out.push_back(frame.status == FrameStatus::kMessage ? "M:" + frame.body : "X");
        if (out.size() > 10) return out;
    }
}

struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> expected;
};

TEST(Framing, ReadsFramesAndSkipsMalformedOnes) {
    const std::string ok = "Content-Length: 2\r\n\r\n{}";
    const Case cases[] = {
        {"two frames back to back", ok + "Content-Length: 3\r\n\r\n[1]", {"M:{}", "M:[1]"}},
        {"LF line ends, other headers, any case", "content-type: x\ncontent-LENGTH:  4 \n\nnull", {"M:null"}},
        {"a body holding CR LF CR LF", "Content-Length: 6\r\n\r\n\"\r\n\r\n\"", {"M:\"\r\n\r\n\""}},
        {"blank lines between frames", "\r\n\r\n" + ok + "\r\n" + ok, {"M:{}", "M:{}"}},
        {"no Content-Length", "Content-Type: x\r\n\r\n" + ok, {"X", "M:{}"}},
        {"a length that is no number", "Content-Length: 2x\r\n\r\n" + ok, {"X", "M:{}"}},
        {"a length over the limit", "Content-Length: 999999999999\r\n\r\n" + ok, {"X", "M:{}"}},
        {"a header line without colon", "garbage\r\n\r\n" + ok, {"X", "M:{}"}},
        {"a body cut short", "Content-Length: 9\r\n\r\n{}", {"X"}},
        {"the end inside the headers", "Content-Length: 2\r\n", {"X"}},
    };
    for (const Case& c : cases) EXPECT_EQ(readAll(c.bytes), c.expected) << c.name;
}

TEST(Framing, WritesWhatItReads) {
    std::stringstream stream;
    lumoidl::lsp::writeFrame(stream, "{\"a\":\"\xC3\xA9\"}");
    EXPECT_EQ(stream.str(), "Content-Length: 10\r\n\r\n{\"a\":\"\xC3\xA9\"}");
    EXPECT_EQ(readAll(stream.str()), std::vector<std::string>{"M:{\"a\":\"\xC3\xA9\"}"});
}

}  // namespace
