// Rendering of diagnostics with source excerpts.
#include "tools/diagnostics/renderer.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace lumoidl::diagnostics {
namespace {

constexpr const char* kBold = "\033[1m";
constexpr const char* kRed = "\033[1;31m";
constexpr const char* kCyan = "\033[1;36m";
constexpr const char* kGreen = "\033[1;32m";
constexpr const char* kReset = "\033[0m";

/// Line `line` (from 1) of `text`, without its line end.
std::string_view lineOf(std::string_view text, uint32_t line) {
    size_t start = 0;
    for (uint32_t n = 1; n < line; ++n) {
        start = text.find('\n', start);
        if (start == std::string_view::npos) return {};
        ++start;
    }
    std::string_view rest = text.substr(start);
    rest = rest.substr(0, rest.find('\n'));
    if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
    return rest;
}

bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

/// The source line and the caret line under bytes [column, column + length) of it.
void writeExcerpt(std::string_view text, const Location& at, bool color, std::ostream& out) {
    const std::string_view line = lineOf(text, at.line);
    if (at.column == 0 || at.column > line.size() + 1) return;
    const std::string number = std::to_string(at.line);
    const std::string gutter(number.size() + 2, ' ');
    out << ' ' << number << " | ";
    for (char c : line) out << (static_cast<unsigned char>(c) < 0x20 && c != '\t' ? ' ' : c);
    out << '\n' << gutter << "| ";
    for (size_t i = 0; i + 1 < at.column; ++i)
        if (startsCharacter(line[i])) out << (line[i] == '\t' ? '\t' : ' ');
    if (color) out << kGreen;
    out << '^';
    const size_t end = std::min<size_t>(at.column - 1 + at.length, line.size());
    for (size_t i = at.column; i < end; ++i)
        if (startsCharacter(line[i])) out << '~';
    if (color) out << kReset;
    out << '\n';
}

std::string_view textOf(const SourceSet& sources, const std::string& file) {
    for (size_t i = 0; i < sources.size(); ++i)
        if (sources.file(i).displayName == file) return sources.file(i).text;
    return {};
}

void writeOne(const Location& at, const char* severity, const char* severityColor, const std::string& message,
              bool excerpt, const SourceSet& sources, bool color, std::ostream& out) {
    if (color) out << kBold;
    if (at.file.empty())
        out << "lumoidl:";
    else if (at.line == 0)
        out << at.file << ':';
    else
        out << at.file << ':' << at.line << ':' << at.column << ':';
    if (color) out << kReset << severityColor;
    out << ' ' << severity << ':';
    if (color) out << kReset;
    out << ' ' << message << '\n';
    if (excerpt && !at.file.empty() && at.line != 0) writeExcerpt(textOf(sources, at.file), at, color, out);
}

bool samePlace(const Location& a, const Location& b) {
    return a.file == b.file && a.line == b.line && a.column == b.column;
}

}  // namespace

void renderDiagnostic(const Diagnostic& diagnostic, const SourceSet& sources, bool color, std::ostream& out) {
    writeOne(diagnostic.location, "error", kRed, diagnostic.message, true, sources, color, out);
    for (const Note& note : diagnostic.notes)
        writeOne(note.location, "note", kCyan, note.message, !samePlace(note.location, diagnostic.location), sources,
                 color, out);
}

}  // namespace lumoidl::diagnostics
