// Positions in a text as a language client counts them: lines from 0, UTF-16 units within a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace lumoidl::lsp {

/// A client position: line from 0, character in UTF-16 code units from 0.
struct Position {
    uint32_t line = 0;       ///< from 0
    uint32_t character = 0;  ///< UTF-16 code units from the start of the line
};

/// The line starts of a text, to turn byte offsets into client positions and back.
class LineIndex {
public:
    /// Indexes `text`, which must outlive the index.
    explicit LineIndex(std::string_view text);

    /// The position of byte `offset` (clamped to the text's end).
    Position position(size_t offset) const;
    /// The position of byte `column` (from 1) on line `line` (from 1), as the diagnostics count them.
    Position position(uint32_t line, uint32_t column) const;
    /// The byte offset of `position`, clamped to its line's end and the text's end.
    size_t offset(Position position) const;
    /// The number of bytes of the text.
    size_t endOffset() const { return text_.size(); }

private:
    std::string_view text_;
    std::vector<size_t> starts_;  ///< offset of the first byte of each line
};

}  // namespace lumoidl::lsp
