// Reading and writing Content-Length frames.
#include "tools/lsp/framing.h"

#include <charconv>

namespace lumoidl::lsp {
namespace {

/// Lower-case copy of the ASCII `text`.
std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

/// Reads one header line without its line end; false at the end of the stream.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

Frame readFrame(std::istream& in) {
    std::string line;
    do {
        if (!readLine(in, line)) return {};
    } while (line.empty());
    std::string problem;
    bool hasLength = false;
    size_t length = 0;
    while (!line.empty()) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            if (problem.empty()) problem = "header line without ':': \"" + line.substr(0, 80) + "\"";
        } else if (lower(trim(std::string_view(line).substr(0, colon))) == "content-length") {
            const std::string_view value = trim(std::string_view(line).substr(colon + 1));
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
            if (error != std::errc() || end != value.data() + value.size() || value.empty() || length > kMaxBodyBytes) {
                if (problem.empty()) problem = "bad Content-Length \"" + std::string(value.substr(0, 40)) + "\"";
            } else {
                hasLength = true;
            }
        }
        if (!readLine(in, line)) return {FrameStatus::kMalformed, {}, "the stream ended inside a header block"};
    }
    if (problem.empty() && !hasLength) problem = "header block without Content-Length";
    if (!problem.empty()) return {FrameStatus::kMalformed, {}, problem};
    std::string body(length, '\0');
    in.read(body.data(), static_cast<std::streamsize>(length));
    if (static_cast<size_t>(in.gcount()) != length)
        return {FrameStatus::kMalformed, {}, "the stream ended inside a message body"};
    return {FrameStatus::kMessage, std::move(body), {}};
}

void writeFrame(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n";
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
}

}  // namespace lumoidl::lsp
