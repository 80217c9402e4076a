// Outlines of library files: a tolerant reader of the grammar over the scanner's tokens.
#include "tools/diagnostics/source_outline.h"

#include <utility>

#include "tools/diagnostics/source_scanner.h"

namespace lumoidl::diagnostics {
namespace {

/// Template arguments nest at most this deep; a deeper type ends the outline there.
constexpr size_t kMaxTypeDepth = 10000;

/// The span from the start of `first` to the end of `last`.
Span join(const Span& first, const Span& last) {
    Span span = first;
    span.length = last.offset + last.length - first.offset;
    return span;
}

/// Reads a library file by recursive descent with one token of look-ahead. Each read function
/// returns false at the first token the grammar does not accept, and leaves that token current.
class OutlineReader {
public:
    /// A reader at the start of `text`, which must outlive it.
    explicit OutlineReader(std::string_view text) : scanner_(text), token_(scanner_.next()) {}

    /// Fills `outline` with the declarations completed before reading stops; true when the
    /// grammar accepts the whole text.
    bool read(SourceOutline& outline) {
        std::vector<Attribute> attributes;
        if (!readAttributes(attributes) || !take(TokenKind::kLibrary)) return false;
        outline.libraryAttributes = std::move(attributes);
        if (!take(TokenKind::kIdentifier, &outline.libraryName) || !takeSymbol('{')) return false;
        do {
            if (!readItem(outline)) return false;
        } while (!atSymbol('}'));
        return takeSymbol('}') && takeSymbol(';') && token_.kind == TokenKind::kEnd;
    }

    /// The token where reading stopped, once read() returned false.
    const Token& current() const { return token_; }

    /// Whether reading stopped at a type nested too deep rather than at a token the grammar rejects.
    bool tooDeep() const { return tooDeep_; }

private:
    bool atSymbol(char symbol) const { return token_.kind == TokenKind::kSymbol && token_.symbol == symbol; }

    /// Moves past the current token; returns its span.
    Span advance() {
        const Span span = token_.span;
        token_ = scanner_.next();
        return span;
    }

    /// Takes the current token when it is a `kind`, keeping it in `word` when given.
    bool take(TokenKind kind, Word* word = nullptr) {
        if (token_.kind != kind) return false;
        if (word) *word = Word{std::string(token_.text), token_.span};
        advance();
        return true;
    }

    /// Takes the current token when it is `symbol`, keeping its span in `span` when given.
    bool takeSymbol(char symbol, Span* span = nullptr) {
        if (!atSymbol(symbol)) return false;
        const Span taken = advance();
        if (span) *span = taken;
        return true;
    }

    /// An attribute list when one comes; nothing is fine too.
    bool readAttributes(std::vector<Attribute>& attributes) {
        if (!takeSymbol('[')) return true;
        do {
            Attribute& attribute = attributes.emplace_back();
            if (!take(TokenKind::kIdentifier, &attribute.name)) return false;
            if (takeSymbol('(') && (!take(TokenKind::kAttributeValue, &attribute.value.emplace()) || !takeSymbol(')')))
                return false;
        } while (takeSymbol(','));
        return takeSymbol(']');
    }

    /// One interface, enumeration or category ID, added to `outline` once its ';' is read.
    bool readItem(SourceOutline& outline) {
        const Span start = token_.span;
        std::vector<Attribute> attributes;
        if (!readAttributes(attributes)) return false;
        Span end;
        if (token_.kind == TokenKind::kInterface) {
            Interface interface;
            interface.attributes = std::move(attributes);
            if (!readInterface(interface, end)) return false;
            interface.extent = join(start, end);
            outline.interfaces.push_back(std::move(interface));
        } else if (token_.kind == TokenKind::kEnum) {
            Enumeration enumeration;
            enumeration.attributes = std::move(attributes);
            if (!readEnumeration(enumeration, end)) return false;
            enumeration.extent = join(start, end);
            outline.enumerations.push_back(std::move(enumeration));
        } else {
            CategoryId category;
            category.attributes = std::move(attributes);
            if (!take(TokenKind::kCategory) || !take(TokenKind::kIdentifier, &category.name) ||
                !takeSymbol(';', &end))
                return false;
            category.extent = join(start, end);
            outline.categoryIds.push_back(std::move(category));
        }
        return true;
    }

    /// An interface from its keyword to its ';', whose span goes to `end`.
    bool readInterface(Interface& interface, Span& end) {
        advance();
        if (!take(TokenKind::kIdentifier, &interface.name)) return false;
        if (takeSymbol('<')) {
            do {
                if (!take(TokenKind::kIdentifier, &interface.templateParameters.emplace_back())) return false;
            } while (takeSymbol(','));
            if (!takeSymbol('>')) return false;
        }
        if (!takeSymbol('{')) return false;
        while (!atSymbol('}')) {
            if (!readMethod(interface.methods.emplace_back())) return false;
        }
        advance();
        return takeSymbol(';', &end);
    }

    /// An enumeration from its keyword to its ';', whose span goes to `end`.
    bool readEnumeration(Enumeration& enumeration, Span& end) {
        advance();
        if (!takeSymbol('{')) return false;
        do {
            EnumItem& item = enumeration.items.emplace_back();
            if (!take(TokenKind::kIdentifier, &item.name) || !takeSymbol('=') ||
                !take(TokenKind::kNumber, &item.value))
                return false;
        } while (takeSymbol(','));
        return takeSymbol('}') && take(TokenKind::kIdentifier, &enumeration.name) && takeSymbol(';', &end);
    }

    /// A method from its attribute list or return type to its ';'.
    bool readMethod(Method& method) {
        const Span start = token_.span;
        if (!readAttributes(method.attributes) || !readType(method.returnType) ||
            !take(TokenKind::kIdentifier, &method.name) || !takeSymbol('('))
            return false;
        if (!atSymbol(')')) {
            do {
                Argument& argument = method.arguments.emplace_back();
                if (!readAttributes(argument.attributes) || !readType(argument.type) ||
                    !take(TokenKind::kIdentifier, &argument.name))
                    return false;
            } while (takeSymbol(','));
        }
        Span end;
        if (!takeSymbol(')') || !takeSymbol(';', &end)) return false;
        method.extent = join(start, end);
        return true;
    }

    /// A type with its template arguments, read without recursion: `open` holds the types whose
    /// argument lists are being read, innermost last.
    bool readType(TypeRef& type) {
        std::vector<TypeRef> open;
        TypeRef current;
        for (;;) {
            if (!take(TokenKind::kIdentifier, &current.name)) return false;
            current.span = current.name.span;
            if (atSymbol('<')) {
                if (open.size() == kMaxTypeDepth) {
                    tooDeep_ = true;
                    return false;
                }
                advance();
                open.push_back(std::exchange(current, TypeRef{}));
                continue;
            }
            // `current` is complete: it ends the argument lists it closes.
            for (;;) {
                if (open.empty()) {
                    type = std::move(current);
                    return true;
                }
                open.back().arguments.push_back(std::exchange(current, TypeRef{}));
                if (takeSymbol(',')) break;
                Span close;
                if (!takeSymbol('>', &close)) return false;
                current = std::move(open.back());
                open.pop_back();
                current.span = join(current.span, close);
            }
        }
    }

    SourceScanner scanner_;  ///< the tokens
    Token token_;            ///< the current token
    bool tooDeep_ = false;   ///< whether a type nested past kMaxTypeDepth stopped reading
};

}  // namespace

SourceOutline outlineSource(std::string_view text) {
    SourceOutline outline;
    OutlineReader reader(text);
    outline.complete = reader.read(outline);
    return outline;
}

Span syntaxErrorSpan(std::string_view text, int32_t line, int32_t pos) {
    // A token that came back alone from the look-ahead byte shares its line and pos with the
    // token before it; the token the grammar rejects tells the two apart.
    SourceOutline outline;
    OutlineReader reader(text);
    if (!reader.read(outline) && !reader.tooDeep()) {
        const Token& rejected = reader.current();
        if (rejected.line == line && rejected.pos == pos) return rejected.span;
    }
    SourceScanner scanner(text);
    for (;;) {
        const Token token = scanner.next();
        if (token.line == line && token.pos == pos) return token.span;
        if (token.kind == TokenKind::kEnd || token.line > line) return Span{};
    }
}

}  // namespace lumoidl::diagnostics
