// Case folding and type signatures.
#include "semantics/type_signature.h"

#include <functional>
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

namespace {

/// Hands the method's signature to `emit` in pieces, in order: the folded name, then for each
/// argument the delimiters and type names. No name holds a delimiter, so equal signatures come
/// in equal pieces.
template <class Emit>
void walkSignature(const ParserMethod& method, std::string& folded, Emit emit) {
    emit(std::string_view(foldCase(method.name, folded)));
    // Each entry is a type and how many of its arguments have been written so far.
    std::vector<std::pair<const ParserType*, size_t>> pending;
    for (const ParserArg* argument : method.arguments) {
        emit("$");
        emit(argument->type->name);
        if (!argument->type->templateArguments.empty()) pending.emplace_back(argument->type, 0);
        while (!pending.empty()) {
            auto& [current, written] = pending.back();
            if (written == current->templateArguments.size()) {
                emit(">");
                pending.pop_back();
                continue;
            }
            emit(written == 0 ? "<" : ",");
            const ParserType* inner = current->templateArguments[written++];
            emit(inner->name);
            if (!inner->templateArguments.empty()) pending.emplace_back(inner, 0);
        }
    }
}

}  // namespace

std::string& signatureText(const ParserMethod& method, std::string& out) {
    std::string folded;
    out.clear();
    walkSignature(method, folded, [&out](std::string_view piece) { out.append(piece); });
    return out;
}

uint64_t signatureHash(const ParserMethod& method, std::string& folded) {
    uint64_t hash = 0;
    walkSignature(method, folded, [&hash](std::string_view piece) {
        // A delimiter is mixed in as its byte; a name through the string hash.
        const uint64_t value = piece.size() == 1 ? static_cast<unsigned char>(piece[0])
                                                 : std::hash<std::string_view>()(piece);
        hash = (hash ^ value) * 0x9E3779B97F4A7C15ull;
    });
    return hash;
}

}  // namespace ZEMRA::IDL::PARSER
