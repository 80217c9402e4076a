// Case folding and type signatures.
#include "semantics/type_signature.h"

#include <utility>
#include <vector>

namespace ZEMRA::IDL::PARSER {

std::string& foldCase(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool equalFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

void appendTypeSignature(const ParserType& type, std::string& out) {
    // Each entry is a type and how many of its arguments have been written so far.
    std::vector<std::pair<const ParserType*, size_t>> pending;
    out += type.name;
    if (!type.templateArguments.empty()) pending.emplace_back(&type, 0);
    while (!pending.empty()) {
        auto& [current, written] = pending.back();
        if (written == current->templateArguments.size()) {
            out += '>';
            pending.pop_back();
            continue;
        }
        out += written == 0 ? '<' : ',';
        const ParserType* argument = current->templateArguments[written++];
        out += argument->name;
        if (!argument->templateArguments.empty()) pending.emplace_back(argument, 0);
    }
}

}  // namespace ZEMRA::IDL::PARSER
