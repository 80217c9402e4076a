// Byte offsets to client positions and back, counting UTF-16 units of UTF-8 text.
#include "tools/lsp/line_index.h"

#include <algorithm>

namespace lumoidl::lsp {
namespace {

/// UTF-16 units of the UTF-8 sequence that begins with `lead`: 2 for four-byte sequences, 0 for
/// continuation bytes, else 1.
uint32_t unitsOf(unsigned char lead) {
    if ((lead & 0xC0) == 0x80) return 0;
    return lead >= 0xF0 ? 2 : 1;
}

}  // namespace

LineIndex::LineIndex(std::string_view text) : text_(text) {
    starts_.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') starts_.push_back(i + 1);
}

Position LineIndex::position(size_t offset) const {
    offset = std::min(offset, text_.size());
    const size_t line = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin()) - 1;
    uint32_t character = 0;
    for (size_t i = starts_[line]; i < offset; ++i) character += unitsOf(static_cast<unsigned char>(text_[i]));
    return {static_cast<uint32_t>(line), character};
}

Position LineIndex::position(uint32_t line, uint32_t column) const {
    if (line == 0 || line > starts_.size()) return {};
    const size_t start = starts_[line - 1];
    return position(start + (column == 0 ? 0 : column - 1));
}

size_t LineIndex::offset(Position position) const {
    if (position.line >= starts_.size()) return text_.size();
    size_t at = starts_[position.line];
    const size_t lineEnd = position.line + 1 < starts_.size() ? starts_[position.line + 1] - 1 : text_.size();
    for (uint32_t units = 0; at < lineEnd;) {
        const uint32_t step = unitsOf(static_cast<unsigned char>(text_[at]));
        if (units + step > position.character && step > 0) break;
        units += step;
        ++at;
    }
    return at;
}

}  // namespace lumoidl::lsp
