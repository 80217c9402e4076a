// Case folding and type signatures.
#include "tree/type_signature.h"

#include "tree/name_hash.h"

#include <utility>
#include <vector>

namespace ZEMRA::IDL::PARSER {
namespace {

/// `c` with the 26 upper-case ASCII letters lowered.
char foldByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string& foldCase(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out) c = foldByte(c);
    return out;
}

bool equalFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldByte(a[i]) != foldByte(b[i])) return false;
    return true;
}

namespace {

/// Hands the method's signature to `emit` in pieces, in order: the name (with `fold` set, as it
/// counts folded), then for each argument the delimiters and type names. No name holds a
/// delimiter, so equal signatures come in equal pieces.
template <class Emit>
void walkSignature(const ParserMethod& method, Emit emit) {
    emit(method.name.view(), true);
    // Each entry is a type and how many of its arguments have been written so far.
    std::vector<std::pair<const ParserType*, size_t>> pending;
    for (const ParserArg* argument : method.arguments) {
        emit("$", false);
        emit(argument->type->name, false);
        if (!argument->type->templateArguments.empty()) pending.emplace_back(argument->type, 0);
        while (!pending.empty()) {
            auto& [current, written] = pending.back();
            if (written == current->templateArguments.size()) {
                emit(">", false);
                pending.pop_back();
                continue;
            }
            emit(written == 0 ? "<" : ",", false);
            const ParserType* inner = current->templateArguments[written++];
            emit(inner->name, false);
            if (!inner->templateArguments.empty()) pending.emplace_back(inner, 0);
        }
    }
}

}  // namespace

std::string& signatureText(const ParserMethod& method, std::string& out) {
    out.clear();
    walkSignature(method, [&out](std::string_view piece, bool fold) {
        for (char c : piece) out += fold ? foldByte(c) : c;
    });
    return out;
}

// Flattened: the hash of each piece is inlined into the walk rather than called per piece.
[[gnu::flatten]] uint64_t signatureHash(const ParserMethod& method) {
    uint64_t hash = 0;
    walkSignature(method, [&hash](std::string_view piece, bool fold) {
        // A delimiter is mixed in as its byte; a name through the name hash.
        const uint64_t value = fold                ? hashName<true>(piece)
                               : piece.size() == 1 ? static_cast<unsigned char>(piece[0])
                                                   : hashName(piece);
        hash = (hash ^ value) * 0x9E3779B97F4A7C15ull;
    });
    return hash;
}

}  // namespace ZEMRA::IDL::PARSER
