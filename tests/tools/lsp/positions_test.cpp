// File URIs and client positions: the conversions both ways.
#include <gtest/gtest.h>

#include "tools/lsp/line_index.h"
#include "tools/lsp/uri.h"

namespace {

using lumoidl::lsp::LineIndex;
using lumoidl::lsp::Position;

TEST(Uri, PathsAndUrisConvertBothWays) {
    const std::pair<std::string, std::string> cases[] = {
        {"/w/a.idl", "file:///w/a.idl"},
        {"/w/my folder/a#1.idl", "file:///w/my%20folder/a%231.idl"},
        {"/w/\xC3\xA9.idl", "file:///w/%C3%A9.idl"},
    };
    for (const auto& [path, uri] : cases) {
        EXPECT_EQ(lumoidl::lsp::pathToUri(path), uri);
        EXPECT_EQ(lumoidl::lsp::uriToPath(uri), path);
    }
    EXPECT_EQ(lumoidl::lsp::uriToPath("file://localhost/w/a%2f"), "/w/a/");
    for (const char* bad : {"http://x/a.idl", "file://host/a.idl", "file:///a%2", "file:///a%zz", "file://"})
        EXPECT_EQ(lumoidl::lsp::uriToPath(bad), std::nullopt) << bad;
}

TEST(LineIndex, CountsUtf16UnitsWithinLines) {
    // "é" is two bytes and one unit, "😀" four bytes and two units.
    const std::string text = "ab\r\n\xC3\xA9x\n\xF0\x9F\x98\x80y";
    const LineIndex lines(text);
    struct Case {
        size_t offset;
        Position position;
    };
    const Case cases[] = {{0, {0, 0}}, {2, {0, 2}}, {4, {1, 0}}, {6, {1, 1}}, {7, {1, 2}}, {8, {2, 0}},
                          {12, {2, 2}}, {13, {2, 3}}};
    for (const Case& c : cases) {
        const Position got = lines.position(c.offset);
        EXPECT_EQ(got.line, c.position.line) << c.offset;
        EXPECT_EQ(got.character, c.position.character) << c.offset;
        EXPECT_EQ(lines.offset(c.position), c.offset) << c.offset;
    }
    EXPECT_EQ(lines.offset({0, 99}), 3u) << "clamped to the line's end (its line feed)";
    EXPECT_EQ(lines.offset({9, 0}), text.size());
    EXPECT_EQ(lines.position(2, 3).character, 1u) << "byte column 3 of line 2 is just after the é";
}

}  // namespace
