// ParseContext: the per-call state that the driver shares with the lexer and the parser.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frontend/identifier_cache.h"
#include "frontend/source_reader.h"
#include "semantics/method_rules.h"
#include "tree/node_arena.h"
#include "tree/parser_library.h"

namespace ZEMRA::IDL::PARSER {

/// State of one LumoIDLParse call. The lexer and parser reach it only through
/// currentContext(), which is valid during a call and refers to nothing afterwards.
struct ParseContext {
    /// A context whose reader reads the source in blocks of `readerBlockSize` bytes; the lexer
    /// sees the same bytes, lines and positions whatever the size.
    explicit ParseContext(size_t readerBlockSize = SourceReader::kDefaultBlockSize) : file(readerBlockSize) {}

    /// The source file being parsed.
    SourceReader file;
    /// Lexer mode: 0 Normal, 1 AttributeNames, 2 AttributeValue.
    int32_t lexerMode = 0;
    /// Message of the last parse failure, UTF-8.
    std::string errorText;
    /// The memory of the nodes of the file being parsed, until its library takes it over.
    NodeArena nodeArena;
    /// The library built from the current file, until the driver hands it to the result.
    std::unique_ptr<ParserLibrary> library;
    /// The text of the token being lexed; kept from token to token so that its memory is reused.
    std::string lexeme;
    /// The cache of the current file's identifiers; cleared for every file.
    IdentifierCache identifiers;
    /// The method rules that each interface goes through as soon as it is parsed.
    MethodRules methodRules;
    /// One byte returned to the input by the lexer; 0 when none is pending.
    uint8_t pushback = 0;
    /// Current line, counted from 1 within the file.
    int32_t line = 1;
    /// Bytes other than carriage returns read on the current line.
    int32_t pos = 0;
};

/// The context of the call in progress.
ParseContext* currentContext();

/// Makes `context` current for the lifetime of the scope and restores the previous one
/// afterwards, so that a nested call on the owning thread leaves its caller's context intact.
class CurrentContextScope {
public:
    /// Makes `context` the current context.
    explicit CurrentContextScope(ParseContext* context);
    CurrentContextScope(const CurrentContextScope&) = delete;
    CurrentContextScope& operator=(const CurrentContextScope&) = delete;
    /// Restores the context that was current before.
    ~CurrentContextScope();

private:
    ParseContext* previous_;
};

}  // namespace ZEMRA::IDL::PARSER
