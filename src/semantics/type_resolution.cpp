// Type resolution: every type of every method signature gets its kind, uuid and qualified name.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "result/error_message.h"
#include "semantics/builtin_types.h"
#include "semantics/semantics.h"
#include "tree/name_hash.h"
#include "tree/prefetch.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Template parameter name to index; a repeated name keeps its later index. The names are the
/// interface's own, which outlive its resolution.
using ParameterMap = std::unordered_map<std::string_view, int32_t>;

/// Why a type did not resolve.
enum class Failure { Unresolved, ArgumentCount, NotEnumeration };

/// The interfaces and enumerations of a result by qualified name, in one open-addressing table
/// for the look-ups of one resolution: an interface is found before an enumeration of the same
/// name, as the result's two indexes would find them one after the other. Each slot holds what
/// resolution takes from the declaration, so that a look-up reads one slot and the name's bytes
/// and not the declaration's node. The names are the declarations' own, which outlive the
/// resolution.
class DeclaredTypes {
public:
    /// A declaration's entry; an empty slot has no name.
    struct Found {
        uint64_t hash = 0;
        const char* name = nullptr;  ///< the qualified name's stored form (NodeString::data())
        uint32_t kind = 0;           ///< LUMO_KIND_OBJECT or LUMO_KIND_ENUMERATION
        uint32_t expected = 0;       ///< template arguments the declaration takes
        LumoUUID uuid{};
        const char* library = nullptr;  ///< the declaring library's name (NodeString::data())

        /// The qualified name.
        NodeString qualifiedName() const { return NodeString::fromData(name); }
    };

    explicit DeclaredTypes(const ParserResult& result) {
        size_t size = 16;
        while (size < 2 * (result.interfaces.size() + result.enumerations.size())) size *= 2;
        slots_.resize(size);
        for (const ILumoIDLInterface* record : result.interfaces) {
            const auto& iface = *static_cast<const ParserInterface*>(record);
            enter(iface.qualifiedName, LUMO_KIND_OBJECT, static_cast<uint32_t>(iface.templateParameters.size()),
                  iface.uuid.value, iface.libraryName);
        }
        for (const ILumoIDLEnumeration* record : result.enumerations) {
            const auto& enumeration = *static_cast<const ParserEnumeration*>(record);
            enter(enumeration.qualifiedName, LUMO_KIND_ENUMERATION, 0, enumeration.uuid.value,
                  enumeration.libraryName);
        }
    }

    /// The entry of the declaration named `name`, or null.
    const Found* find(std::string_view name) const {
        const uint64_t hash = hashName(name);
        for (size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            const Found& held = slots_[slot];
            if (!held.name) return nullptr;
            if (held.hash == hash && held.qualifiedName() == name) return &held;
        }
    }

private:
    /// Enters a declaration unless its name is taken: the interface entered first stays.
    void enter(const NodeString& name, uint32_t kind, uint32_t expected, const LumoUUID& uuid,
               const NodeString& library) {
        const uint64_t hash = hashName(name);
        for (size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            Found& held = slots_[slot];
            if (!held.name) {
                held = {hash, name.data(), kind, expected, uuid, library.data()};
                return;
            }
            if (held.hash == hash && held.qualifiedName() == name) return;
        }
    }

    std::vector<Found> slots_;
};

/// What a name resolved to in one library, kept by the address of the name's bytes: the lexer
/// gives the repeated names of a file one shared copy, so most types of a library find their
/// outcome here instead of building, hashing and comparing their qualified name again. The
/// address stands for the bytes because a copy is never freed while its library is resolved.
class KnownNames {
public:
    /// A name's outcome: what resolveOne writes into a type named by it.
    struct Outcome {
        const char* key = nullptr;  ///< the name's bytes; null for an empty slot
        uint32_t kind = 0;
        uint32_t expected = 0;  ///< template arguments the kind takes
        bool rename = false;    ///< whether the type takes `name`
        LumoUUID uuid{};
        NodeString name;
    };

    KnownNames() : slots_(kSlots) {}

    /// The slot of `key`: its outcome when `slot.key == key`, else the slot to overwrite.
    Outcome& slotOf(const char* key) {
        const auto address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(key));
        return slots_[(address * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits)];
    }
    /// Forgets every outcome, as a new library resolves unqualified names differently.
    void clear() {
        for (Outcome& slot : slots_) slot.key = nullptr;
    }

private:
    static constexpr unsigned kSlotBits = 9;
    static constexpr size_t kSlots = size_t{1} << kSlotBits;
    std::vector<Outcome> slots_;
};

/// What resolving one type needs: the registries, the enclosing interface's parameters and
/// library, and where the reason for a failure goes. One resolver serves every interface, so
/// that its buffers are reused from the first type to the last.
struct Resolver {
    explicit Resolver(ParserResult& target) : result(target), declared(target) {}

    ParserResult& result;
    /// Every interface and enumeration by qualified name.
    const DeclaredTypes declared;
    /// Template parameters of the interface being resolved.
    ParameterMap parameters;
    /// Name of the library that declares it.
    std::string_view libraryName;
    /// Why the last type failed, and the type named in the reason.
    Failure failure = Failure::Unresolved;
    const ParserType* failed = nullptr;
    /// The argument counts of an ArgumentCount failure.
    size_t expected = 0;
    size_t received = 0;
    /// Qualified name being looked up; kept between types so that its memory is reused.
    std::string lookup;
    /// Types whose arguments are being resolved, with the next argument's index; kept too.
    std::vector<std::pair<ParserType*, size_t>> pending;
    /// Outcomes of the names resolved so far in the library being resolved.
    KnownNames known;
    /// Fetches the nodes of the next methods while the current ones are resolved.
    PrefetchAhead ahead;

    bool fail(Failure why, const ParserType& type) {
        failure = why;
        failed = &type;
        return false;
    }

    /// Appends the reason of the last failure to `message`.
    void appendReason(ErrorMessage& message) const {
        switch (failure) {
        case Failure::Unresolved:
            message.utf8("unresolved type ").quoted(failed->name);
            break;
        case Failure::ArgumentCount:
            message.utf8("template argument count mismatch for ")
                .quoted(failed->name)
                .utf8(", expected ")
                .number(static_cast<uint32_t>(expected))
                .utf8(expected == 1 ? " argument" : " arguments")
                .utf8(", received ")
                .number(static_cast<uint32_t>(received));
            break;
        case Failure::NotEnumeration:
            message.utf8("Type ").quoted(failed->name).utf8(" must have enumeration type as template argument");
            break;
        }
    }

    /// Resolves `type` itself (not its arguments) and checks its argument count.
    bool resolveOne(ParserType& type) {
        expected = 0;
        // Most interfaces have no template parameters: their types need no hashing for it.
        if (const auto parameter = parameters.empty() ? parameters.end() : parameters.find(type.name);
            parameter != parameters.end()) {
            type.kind = LUMO_KIND_TEMPLATE_PARAMETER;
            type.templateParameterIndex = parameter->second;
        } else {
            KnownNames::Outcome& slot = known.slotOf(type.name.data());
            if (slot.key != type.name.data()) {
                KnownNames::Outcome outcome;
                outcome.key = type.name.data();
                if (!resolveNamed(type.name, outcome)) return fail(Failure::Unresolved, type);
                slot = outcome;
            }
            type.kind = slot.kind;
            type.uuid = slot.uuid;
            expected = slot.expected;
            if (slot.rename) type.name = slot.name;
        }
        received = type.templateArguments.size();
        if (received != expected) return fail(Failure::ArgumentCount, type);
        return true;
    }

    /// The qualified name that `name` is looked up by: `name` itself when it is qualified.
    std::string_view qualifiedName(std::string_view name) {
        if (name == "ILumoError") return kErrorInterfaceName;
        if (name.find("::") != std::string_view::npos) return name;
        lookup.assign(libraryName).append("::").append(name);
        return lookup;
    }

    /// Resolves `name` as a built-in type, a declared interface or enumeration, or the error
    /// interface, into `outcome`; false when it is none of them.
    bool resolveNamed(const NodeString& name, KnownNames::Outcome& outcome) {
        if (const uint32_t kind = builtinKind(name); kind != 0) {
            outcome.kind = kind;
            outcome.expected = kind == LUMO_KIND_ARRAY_ENUMERATION ? 1 : 0;
            return true;
        }
        const std::string_view qualified = qualifiedName(name);
        if (const DeclaredTypes::Found* found = declared.find(qualified)) {
            outcome.kind = found->kind;
            outcome.uuid = found->uuid;
            outcome.expected = found->expected;
            if (qualified.data() == name.data()) return true;
            outcome.rename = true;
            // A declaration of the library being resolved lends its qualified name; any other
            // name is copied into the memory of that library, which may outlive the declaring one.
            outcome.name = found->library == libraryName.data() ? found->qualifiedName() : NodeString(qualified);
            return true;
        }
        if (qualified != kErrorInterfaceName) return false;
        outcome.kind = LUMO_KIND_OBJECT;
        outcome.uuid = kErrorInterfaceUuid;
        if (qualified.data() == name.data()) return true;
        outcome.rename = true;
        outcome.name = NodeString(qualified);
        return true;
    }

    /// Resolves `root` and its template arguments, depth first and in order, with an explicit
    /// stack so that nesting of any depth is safe.
    bool resolve(ParserType& root) {
        if (!resolveOne(root)) return false;
        pending.assign(1, {&root, 0});
        while (!pending.empty()) {
            auto& [type, next] = pending.back();
            if (next < type->templateArguments.size()) {
                ParserType* argument = type->templateArguments[next++];
                if (!resolveOne(*argument)) return false;
                pending.emplace_back(argument, 0);
                continue;
            }
            const ParserType* done = type;
            pending.pop_back();
            if (!pending.empty()) {
                const ParserType* parent = pending.back().first;
                if (parent->kind == LUMO_KIND_ARRAY_ENUMERATION && done->kind != LUMO_KIND_ENUMERATION)
                    return fail(Failure::NotEnumeration, *parent);
            }
        }
        return true;
    }
};

/// Resolves the signatures of one interface; a return type failure ends the interface, an
/// argument type failure ends its method.
void resolveInterface(Resolver& resolver, const ParserInterface& iface) {
    ParserResult& result = resolver.result;
    resolver.libraryName = iface.libraryName;
    resolver.parameters.clear();
    for (size_t i = 0; i < iface.templateParameters.size(); ++i)
        resolver.parameters[iface.templateParameters[i]] = static_cast<int32_t>(i);
    for (ParserMethod* method : iface.methods) {
        resolver.ahead.at(method);
        if (!resolver.resolve(*method->returnType)) {
            ErrorMessage message(result.errorText);
            message.set("Error with return type of method ")
                .quoted(method->name)
                .utf8(" of interface ")
                .quoted(iface.name)
                .utf8(": ");
            resolver.appendReason(message);
            return;
        }
        for (size_t i = 0; i < method->arguments.size(); ++i) {
            ParserArg* argument = method->arguments[i];
            // The nodes of a method of many arguments with nested types span more than the
            // stretch asked for at the method: every eighth argument moves the stretch on.
            if (i % 8 == 7) resolver.ahead.at(argument);
            if (!resolver.resolve(*argument->type)) {
                ErrorMessage message(result.errorText);
                message.set("Error with type of argument ")
                    .quoted(argument->name)
                    .utf8(" of method ")
                    .quoted(method->name)
                    .utf8(" of interface ")
                    .quoted(iface.name)
                    .utf8(": ");
                resolver.appendReason(message);
                break;
            }
        }
    }
}

}  // namespace

void resolveTypes(ParserResult& result) {
    Resolver resolver(result);
    // Library by library, which is the order of the result's interface list: the qualified names
    // that resolution writes go into the memory of the library that holds the type.
    for (ILumoIDLLibrary* record : result.libraries) {
        ParserLibrary& library = *static_cast<ParserLibrary*>(record);
        const NodeArenaScope scope(library.nodeArena);
        resolver.known.clear();
        for (ParserInterface* iface : library.interfaces) resolveInterface(resolver, *iface);
    }
}

}  // namespace ZEMRA::IDL::PARSER
