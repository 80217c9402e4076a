// The parser: one source file of the current context becomes one ParserLibrary.
#pragma once

namespace ZEMRA::IDL::PARSER {

class ParserInterface;
class ParserLibrary;

/// Parses the current context's file. Returns 0 when the file was one library followed by
/// the end of input (the context then holds the library), 1 otherwise (the context's error
/// text then says why). Objects left behind stay registered until purgeAll().
int parse();

/// Sets the context's error text to "line L, pos P: " followed by `message`.
void reportParseError(const char* message);

/// A new library, made the current context's library; returns it.
ParserLibrary& newContextLibrary();
/// `iface`, after its methods went through the context's method rules while they are fresh.
ParserInterface* precheckedInterface(ParserInterface* iface);

}  // namespace ZEMRA::IDL::PARSER
