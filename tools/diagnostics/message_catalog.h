// The library's messages as forms with named blanks, and the reading of a message back into them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumoidl::diagnostics {

/// Every kind of message the library gives.
enum class MessageKind {
    kNoInputFiles, kOpenFailed, kSyntaxError, kStackOverflow, kUnknownParserError, kUnhandledException,
    kLibraryAttribute, kLibraryUuidMissing, kLibraryUuidInvalid, kLibraryUuidNull,
    kInterfaceName, kInterfaceAttribute, kInterfaceBuiltinName, kInterfaceRepeated, kInterfaceUuidMissing,
    kInterfaceUuidInvalid, kInterfaceUuidNull, kInterfaceUuidReused, kTemplateParameterBuiltin,
    kMethodAttribute, kMethodBothAccessors, kSetterArgumentCount, kSetterArgumentIn, kGetterArgumentCount,
    kGetterArgumentOutRetval, kMethodsIndistinct,
    kArgumentAttribute, kArgumentRepeated, kArgumentInAndOut, kArgumentRetvalWithoutOut, kArgumentInAfterOut,
    kArgumentNoDirection, kRetvalNotLast,
    kEnumerationName, kEnumerationAttribute, kEnumerationBuiltinName, kEnumerationRepeated, kTypesRepeated,
    kEnumerationUuidMissing, kEnumerationUuidInvalid, kEnumerationUuidNull, kEnumerationUuidReused,
    kTypesUuidReused, kItemRepeated,
    kCategoryName, kCategoryAttribute, kCategoryBuiltinName, kCategoryRepeated, kCategoryUuidMissing,
    kCategoryUuidInvalid, kCategoryUuidNull, kCategoryUuidReused,
    kTypeInLibraries, kUuidInLibraries,
    kReturnTypeFailed, kArgumentTypeFailed,
};

/// When the library gives a message of a kind: while reading a file or checking it on its
/// own, when comparing all libraries, or when resolving types.
enum class MessagePhase { kCall, kFile, kAcrossLibraries, kResolution };

/// A message read back into its kind and the values of its blanks (empty when the form has
/// no such blank). `declaration` is the interface, enumeration or category ID the message is
/// about, `name` the NAME or QNAME of the form.
struct MessageFields {
    MessageKind kind = MessageKind::kUnhandledException;  ///< which form matched
    std::string file;         ///< FILE
    std::string library;      ///< LIB
    std::string declaration;  ///< IFACE, ENUM or CATID
    std::string method;       ///< METHOD
    std::string argument;     ///< ARG
    std::string attribute;    ///< ATTR
    std::string item;         ///< ITEM
    std::string name;         ///< NAME or QNAME
    std::string uuid;         ///< UUIDTEXT or UUID
    std::string reason;       ///< what follows "interface \"IFACE\": " in a type resolution message
    int line = 0;             ///< LINE of a syntax error
    int pos = 0;              ///< POS of a syntax error
};

/// Reads `message` back into its form; nullopt when it is none of the library's messages.
std::optional<MessageFields> readMessage(std::string_view message);

/// The phase in which the library gives messages of `kind`.
MessagePhase phaseOf(MessageKind kind);

}  // namespace lumoidl::diagnostics
