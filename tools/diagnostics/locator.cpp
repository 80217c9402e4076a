// Locating library messages: each form names declarations, and the outlines say where they stand.
#include "tools/diagnostics/locator.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <set>

#include "tools/diagnostics/suggestions.h"

namespace lumoidl::diagnostics {
namespace {

using Names = std::initializer_list<std::string_view>;

const Names kLibraryTakes = {"uuid", "version", "idlversion"};
const Names kDeclarationTakes = {"uuid"};
const Names kMethodTakes = {"property_get", "property_set", "long_name"};
const Names kArgumentTakes = {"in", "out", "retval"};

bool oneOf(std::string_view name, Names names) { return std::find(names.begin(), names.end(), name) != names.end(); }

const Attribute* findAttribute(const std::vector<Attribute>& list, std::string_view name) {
    for (const Attribute& attribute : list)
        if (attribute.name.text == name) return &attribute;
    return nullptr;
}

/// The attribute the library rejects first: over the whole list one written twice, a valued
/// attribute without value or a flag with one; then one the declaration does not take.
const Attribute* badAttribute(const std::vector<Attribute>& list, Names takes) {
    std::set<std::string_view> seen;
    for (const Attribute& attribute : list) {
        const std::string& name = attribute.name.text;
        if (!seen.insert(name).second ||
            (!attribute.value && oneOf(name, {"uuid", "version", "idlversion", "long_name"})) ||
            (attribute.value && oneOf(name, {"in", "out", "retval", "property_get", "property_set"})))
            return &attribute;
    }
    for (const Attribute& attribute : list)
        if (!oneOf(attribute.name.text, takes)) return &attribute;
    return nullptr;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

/// The uuid in upper case without braces, or empty when `text` is not a uuid.
std::string canonicalUuid(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
    if (text.size() != 36) return {};
    std::string out;
    for (size_t i = 0; i < 36; ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : hexValue(text[i]) < 0) return {};
        out += dash ? '-' : "0123456789ABCDEF"[hexValue(text[i])];
    }
    return out;
}

bool isNullUuid(const std::string& canonical) {
    return canonical.find_first_not_of("0-") == std::string::npos;
}

const Word* uuidValue(const std::vector<Attribute>& list) {
    const Attribute* uuid = findAttribute(list, "uuid");
    return uuid && uuid->value ? &*uuid->value : nullptr;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string afterLastColons(const std::string& name) {
    const size_t colons = name.rfind("::");
    return colons == std::string::npos ? name : name.substr(colons + 2);
}

std::string typeText(const TypeRef& type) {
    std::string text = type.name.text;
    for (size_t i = 0; i < type.arguments.size(); ++i) text += (i ? "," : "<") + typeText(type.arguments[i]);
    return type.arguments.empty() ? text : text + ">";
}

std::string signature(const Method& method) {
    std::string text = lower(method.name.text);
    for (const Argument& argument : method.arguments) text += "|" + typeText(argument.type);
    return text;
}

/// Which uuid problem a declaration's attribute list has, as the three uuid messages tell them.
enum class UuidProblem { kNone, kMissing, kInvalid, kNull };

UuidProblem uuidProblem(const std::vector<Attribute>& list) {
    const Word* value = uuidValue(list);
    if (!value) return UuidProblem::kMissing;
    const std::string canonical = canonicalUuid(value->text);
    if (canonical.empty()) return UuidProblem::kInvalid;
    return isNullUuid(canonical) ? UuidProblem::kNull : UuidProblem::kNone;
}

/// A declaration of any kind as the cross-library registration sees it.
struct Declared {
    size_t file;
    int kind;  ///< 0 interface, 1 enumeration, 2 category ID: the order of registration
    const Word* name;
    const std::vector<Attribute>* attributes;
    Span extent;
};

/// Every declaration of `outline` in registration order: interfaces, enumerations, category IDs.
std::vector<Declared> declarationsOf(size_t file, const SourceOutline& outline) {
    std::vector<Declared> all;
    for (const Interface& i : outline.interfaces) all.push_back({file, 0, &i.name, &i.attributes, i.extent});
    for (const Enumeration& e : outline.enumerations) all.push_back({file, 1, &e.name, &e.attributes, e.extent});
    for (const CategoryId& c : outline.categoryIds) all.push_back({file, 2, &c.name, &c.attributes, c.extent});
    return all;
}

/// Whether a declaration of kind `later` is rejected for sharing a name (or a uuid, with
/// `byUuid`) with one of kind `earlier`.
bool clashes(int earlier, int later, bool byUuid) {
    if (later == 0) return earlier == 0;
    if (later == 1 || byUuid) return earlier <= 1;
    return true;
}

/// Builds the Located answer for one message.
class Locator {
public:
    Locator(std::string_view message, const SourceSet& sources) : sources_(sources) {
        result_.diagnostic.message = std::string(message);
        if (auto fields = readMessage(message)) result_.fields = *fields;
    }

    Located run() {
        const MessageFields& f = result_.fields;
        if (!f.file.empty()) {
            for (size_t i = 0; i < sources_.size() && !result_.file; ++i)
                if (sources_.file(i).displayName == f.file) result_.file = i;
            if (!result_.file) return result_;
            result_.diagnostic.location.file = f.file;
        }
        locate();
        return std::move(result_);
    }

private:
    /// The files a message may be about: the one it names, or all in order.
    std::vector<size_t> candidates() const {
        if (result_.file) return {*result_.file};
        std::vector<size_t> all(sources_.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = i;
        return all;
    }

    /// Points the diagnostic at `span` of file `file`, leaving `repair` to go on with.
    void at(size_t file, const Span& span, const Span& repair) {
        result_.file = file;
        result_.declaration = repair;
        result_.diagnostic.location = placeOf(file, span);
    }

    Location placeOf(size_t file, const Span& span) const {
        return {sources_.file(file).displayName, span.line, span.column, span.length};
    }

    void note(size_t file, const Span& span, std::string text) {
        result_.diagnostic.notes.push_back({std::move(text), placeOf(file, span)});
    }

    void suggest(std::optional<std::string> name) {
        if (name) result_.diagnostic.notes.push_back({"did you mean \"" + *name + "\"?", result_.diagnostic.location});
    }

    /// The first interface named `name` (in the candidate files, in order) for which `test` holds.
    template <class Test>
    bool findInterface(const std::string& name, Test test) {
        for (size_t file : candidates())
            for (const Interface& i : sources_.outline(file).interfaces)
                if (i.name.text == name && test(file, i)) return true;
        return false;
    }

    /// Like findInterface, over the methods named `method` of interfaces named `name`.
    template <class Test>
    bool findMethod(const std::string& name, const std::string& method, Test test) {
        return findInterface(name, [&](size_t file, const Interface& i) {
            for (const Method& m : i.methods)
                if (m.name.text == method && test(file, i, m)) return true;
            return false;
        });
    }

    /// Like findMethod, over the arguments named `argument`.
    template <class Test>
    bool findArgument(const MessageFields& f, Test test) {
        return findMethod(f.declaration, f.method, [&](size_t file, const Interface&, const Method& m) {
            for (const Argument& a : m.arguments)
                if (a.name.text == f.argument && test(file, m, a)) return true;
            return false;
        });
    }

    /// Finds an enumeration (kind 1) or category ID (kind 2) named `name` for which `test` holds.
    template <class Test>
    bool findDeclared(int kind, const std::string& name, Test test) {
        for (size_t file : candidates())
            for (const Declared& d : declarationsOf(file, sources_.outline(file)))
                if (d.kind == kind && d.name->text == name && test(file, d)) return true;
        return false;
    }

    /// The attribute messages: the first rejected attribute named ATTR.
    void attributeAt(size_t file, const std::vector<Attribute>& list, Names takes, const Span& repair) {
        const Attribute* bad = badAttribute(list, takes);
        at(file, bad ? bad->name.span : Span{}, repair);
        const std::string& name = result_.fields.attribute;
        bool known = false;
        for (Names group : {kLibraryTakes, kMethodTakes, kArgumentTakes}) known = known || oneOf(name, group);
        if (!known) suggest(closestName(name, std::vector<std::string>(takes.begin(), takes.end())));
    }

    /// The uuid messages of a declaration without a file name: the first declaration of that
    /// name whose uuid has the problem.
    bool uuidAt(size_t file, const Word& name, const std::vector<Attribute>& list, UuidProblem wanted,
                const Span& repair) {
        if (uuidProblem(list) != wanted) return false;
        at(file, wanted == UuidProblem::kMissing ? name.span : uuidValue(list)->span, repair);
        return true;
    }

    /// A uuid written again within one file: the declaration of `kind` named DECL whose uuid
    /// equals that of an earlier one it is compared with.
    void reusedUuidAt(int kind) {
        const MessageFields& f = result_.fields;
        for (size_t file : candidates()) {
            const std::vector<Declared> all = declarationsOf(file, sources_.outline(file));
            for (size_t k = 0; k < all.size(); ++k) {
                const Word* value = uuidValue(*all[k].attributes);
                const bool named = f.declaration.empty() || all[k].name->text == f.declaration;
                if (all[k].kind != kind || !named || !value || value->text != f.uuid) continue;
                const std::string canonical = canonicalUuid(value->text);
                for (size_t j = 0; j < k; ++j) {
                    const Word* other = uuidValue(*all[j].attributes);
                    const bool compared = f.declaration.empty() ? all[j].kind < kind : all[j].kind == kind;
                    if (!compared || !other || canonicalUuid(other->text) != canonical) continue;
                    at(file, value->span, all[k].extent);
                    note(file, other->span, "the uuid is already used here");
                    return;
                }
            }
        }
    }

    /// Two declarations of one file with the same name: `kind` is the later one's, `earlier` says
    /// which kinds it clashes with. `qualified` names the library too.
    void repeatedNameAt(int kind, const std::string& name, std::function<bool(int)> earlier) {
        for (size_t file : candidates()) {
            const std::vector<Declared> all = declarationsOf(file, sources_.outline(file));
            for (size_t k = 0; k < all.size(); ++k) {
                if (all[k].kind != kind || all[k].name->text != name) continue;
                for (size_t j = 0; j < all.size(); ++j) {
                    if (j == k || !earlier(all[j].kind) || all[j].name->text != name) continue;
                    if (all[j].kind == kind && j > k) continue;
                    at(file, all[k].name->span, all[k].extent);
                    note(file, all[j].name->span, "the name is already declared here");
                    return;
                }
            }
        }
    }

    /// Registration across libraries: the first declaration rejected for its qualified name
    /// (or its uuid, with `byUuid`) equal to `key`.
    void acrossLibrariesAt(const std::string& key, bool byUuid) {
        std::vector<Declared> seen;  // the earlier declarations with that key
        for (size_t file = 0; file < sources_.size(); ++file) {
            const SourceOutline& outline = sources_.outline(file);
            for (const Declared& d : declarationsOf(file, outline)) {
                const Word* value = uuidValue(*d.attributes);
                const std::string own = byUuid ? (value ? canonicalUuid(value->text) : std::string())
                                               : outline.libraryName.text + "::" + d.name->text;
                if (own != key) continue;
                for (const Declared& other : seen) {
                    if (!clashes(other.kind, d.kind, byUuid)) continue;
                    at(file, byUuid ? value->span : d.name->span, d.extent);
                    if (byUuid) result_.uuid = value->span;
                    const Word* otherValue = uuidValue(*other.attributes);
                    note(other.file, byUuid ? otherValue->span : other.name->span,
                         byUuid ? "the uuid is already used here" : "the type is already defined here");
                    return;
                }
                seen.push_back(d);
            }
        }
    }

    /// A type resolution failure: the last method (in resolution order) whose type holds the
    /// name that failed.
    void resolutionAt(bool argument) {
        const MessageFields& f = result_.fields;
        const TypeRef* found = nullptr;
        size_t foundFile = 0;
        Span method;
        const Interface* scope = nullptr;
        std::function<const TypeRef*(const TypeRef&, const std::string&)> search =
            [&](const TypeRef& type, const std::string& library) -> const TypeRef* {
            if (type.name.text == f.name || library + "::" + type.name.text == f.name) return &type;
            for (const TypeRef& inner : type.arguments)
                if (const TypeRef* hit = search(inner, library)) return hit;
            return nullptr;
        };
        for (size_t file = 0; file < sources_.size(); ++file) {
            const SourceOutline& outline = sources_.outline(file);
            for (const Interface& i : outline.interfaces) {
                if (i.name.text != f.declaration) continue;
                for (const Method& m : i.methods) {
                    if (m.name.text != f.method) continue;
                    const TypeRef* hit = nullptr;
                    if (!argument) hit = search(m.returnType, outline.libraryName.text);
                    for (const Argument& a : m.arguments)
                        if (argument && !hit && a.name.text == f.argument) hit = search(a.type, outline.libraryName.text);
                    if (!hit) continue;
                    found = hit;
                    foundFile = file;
                    method = m.extent;
                    scope = &i;
                }
            }
        }
        if (!found) return;
        // An argument of LumoArrayEnumeration that is no enumeration is the fault, not the name.
        const bool argumentIsFault = f.reason.rfind("Type ", 0) == 0 && !found->arguments.empty();
        at(foundFile, argumentIsFault ? found->arguments[0].span : found->name.span, method);
        if (f.reason.rfind("unresolved type", 0) == 0)
            suggest(closestType(f.name, sources_, foundFile, scope->templateParameters));
    }

    void locate();

    const SourceSet& sources_;
    Located result_;
};

void Locator::locate() {
    const MessageFields& f = result_.fields;
    using K = MessageKind;
    const auto interfaceName = [&](size_t file, const Interface& i) { return at(file, i.name.span, i.extent), true; };
    const auto methodName = [&](size_t file, const Interface&, const Method& m) {
        return at(file, m.name.span, m.extent), true;
    };
    const auto argumentName = [&](size_t file, const Method& m, const Argument& a) {
        return at(file, a.name.span, m.extent), true;
    };
    const auto interfaceUuid = [&](UuidProblem problem) {
        findInterface(f.declaration, [&](size_t file, const Interface& i) {
            return uuidAt(file, i.name, i.attributes, problem, i.extent);
        });
    };
    const auto declaredUuid = [&](int kind, UuidProblem problem) {
        findDeclared(kind, f.declaration, [&](size_t file, const Declared& d) {
            return uuidAt(file, *d.name, *d.attributes, problem, d.extent);
        });
    };
    const auto declaredName = [&](int kind, const std::string& name) {
        findDeclared(kind, name, [&](size_t file, const Declared& d) { return at(file, d.name->span, d.extent), true; });
    };
    const auto declaredAttribute = [&](int kind) {
        findDeclared(kind, f.declaration, [&](size_t file, const Declared& d) {
            const Attribute* bad = badAttribute(*d.attributes, kDeclarationTakes);
            if (!bad || bad->name.text != f.attribute) return false;
            return attributeAt(file, *d.attributes, kDeclarationTakes, d.extent), true;
        });
    };
    const auto accessor = [&](const char* flag, bool count, Names directions) {
        findMethod(f.declaration, f.method, [&](size_t file, const Interface&, const Method& m) {
            if (!findAttribute(m.attributes, flag)) return false;
            if (count) return m.arguments.size() != 1 && (at(file, m.name.span, m.extent), true);
            if (m.arguments.size() != 1) return false;
            for (std::string_view direction : directions)
                if (!findAttribute(m.arguments[0].attributes, direction))
                    return at(file, m.arguments[0].name.span, m.extent), true;
            return false;
        });
    };
    const auto library = [&](std::function<bool(size_t, const SourceOutline&)> test) {
        for (size_t file : candidates())
            if (sources_.outline(file).libraryName.text == f.library && test(file, sources_.outline(file))) return;
    };
    const auto libraryUuid = [&](UuidProblem problem) {
        library([&](size_t file, const SourceOutline& o) {
            return uuidAt(file, o.libraryName, o.libraryAttributes, problem, Span{});
        });
    };

    switch (f.kind) {
    case K::kNoInputFiles:
    case K::kUnhandledException:
    case K::kOpenFailed:
    case K::kUnknownParserError:
        return;
    case K::kSyntaxError:
    case K::kStackOverflow:
        at(*result_.file, syntaxErrorSpan(sources_.file(*result_.file).text, f.line, f.pos), Span{});
        return;
    case K::kLibraryAttribute:
        return library([&](size_t file, const SourceOutline& o) {
            const Attribute* bad = badAttribute(o.libraryAttributes, kLibraryTakes);
            if (!bad || bad->name.text != f.attribute) return false;
            return attributeAt(file, o.libraryAttributes, kLibraryTakes, Span{}), true;
        });
    case K::kLibraryUuidMissing: return libraryUuid(UuidProblem::kMissing);
    case K::kLibraryUuidInvalid: return libraryUuid(UuidProblem::kInvalid);
    case K::kLibraryUuidNull: return libraryUuid(UuidProblem::kNull);
    case K::kInterfaceName:
        findInterface(f.name, interfaceName);
        return;
    case K::kInterfaceAttribute:
        findInterface(f.declaration, [&](size_t file, const Interface& i) {
            const Attribute* bad = badAttribute(i.attributes, kDeclarationTakes);
            if (!bad || bad->name.text != f.attribute) return false;
            return attributeAt(file, i.attributes, kDeclarationTakes, i.extent), true;
        });
        return;
    case K::kInterfaceBuiltinName:
        findInterface(f.declaration, interfaceName);
        return;
    case K::kInterfaceRepeated: return repeatedNameAt(0, afterLastColons(f.name), [](int k) { return k == 0; });
    case K::kInterfaceUuidMissing: return interfaceUuid(UuidProblem::kMissing);
    case K::kInterfaceUuidInvalid: return interfaceUuid(UuidProblem::kInvalid);
    case K::kInterfaceUuidNull: return interfaceUuid(UuidProblem::kNull);
    case K::kInterfaceUuidReused: return reusedUuidAt(0);
    case K::kTemplateParameterBuiltin:
        findInterface(f.declaration, [&](size_t file, const Interface& i) {
            for (const Word& parameter : i.templateParameters)
                if (parameter.text == f.name) return at(file, parameter.span, i.extent), true;
            return false;
        });
        return;
    case K::kMethodAttribute:
        findMethod(f.declaration, f.method, [&](size_t file, const Interface&, const Method& m) {
            const Attribute* bad = badAttribute(m.attributes, kMethodTakes);
            if (!bad || bad->name.text != f.attribute) return false;
            return attributeAt(file, m.attributes, kMethodTakes, m.extent), true;
        });
        return;
    case K::kMethodBothAccessors:
        findMethod(f.declaration, f.method, methodName);
        return;
    case K::kSetterArgumentCount: return accessor("property_set", true, {});
    case K::kSetterArgumentIn: return accessor("property_set", false, {"in"});
    case K::kGetterArgumentCount: return accessor("property_get", true, {});
    case K::kGetterArgumentOutRetval: return accessor("property_get", false, {"out", "retval"});
    case K::kMethodsIndistinct:
        findInterface(f.declaration, [&](size_t file, const Interface& i) {
            for (size_t k = 0; k < i.methods.size(); ++k)
                for (size_t j = 0; j < k; ++j)
                    if (lower(i.methods[k].name.text) == lower(f.method) &&
                        signature(i.methods[j]) == signature(i.methods[k])) {
                        at(file, i.methods[k].name.span, i.methods[k].extent);
                        note(file, i.methods[j].name.span, "the other method is declared here");
                        return true;
                    }
            return false;
        });
        return;
    case K::kArgumentAttribute:
        findArgument(f, [&](size_t file, const Method& m, const Argument& a) {
            const Attribute* bad = badAttribute(a.attributes, kArgumentTakes);
            if (!bad || bad->name.text != f.attribute) return false;
            return attributeAt(file, a.attributes, kArgumentTakes, m.extent), true;
        });
        return;
    case K::kArgumentRepeated:
        findMethod(f.declaration, f.method, [&](size_t file, const Interface&, const Method& m) {
            for (size_t k = 0; k < m.arguments.size(); ++k)
                for (size_t j = 0; j < k; ++j)
                    if (lower(m.arguments[j].name.text) == lower(m.arguments[k].name.text) &&
                        lower(m.arguments[k].name.text) == lower(f.argument)) {
                        at(file, m.arguments[k].name.span, m.extent);
                        note(file, m.arguments[j].name.span, "the other argument is declared here");
                        return true;
                    }
            return false;
        });
        return;
    case K::kArgumentRetvalWithoutOut:
        findArgument(f, [&](size_t file, const Method& m, const Argument& a) {
            const Attribute* retval = findAttribute(a.attributes, "retval");
            return retval && (at(file, retval->name.span, m.extent), true);
        });
        return;
    case K::kArgumentInAndOut:
    case K::kArgumentInAfterOut:
    case K::kArgumentNoDirection:
        findArgument(f, argumentName);
        return;
    case K::kRetvalNotLast:
        findMethod(f.declaration, f.method, [&](size_t file, const Interface&, const Method& m) {
            for (size_t k = 0; k + 1 < m.arguments.size(); ++k)
                if (const Attribute* retval = findAttribute(m.arguments[k].attributes, "retval"))
                    return at(file, retval->name.span, m.extent), true;
            return false;
        });
        return;
    case K::kEnumerationName: return declaredName(1, f.name);
    case K::kEnumerationAttribute: return declaredAttribute(1);
    case K::kEnumerationBuiltinName: return declaredName(1, f.declaration);
    case K::kEnumerationRepeated: return repeatedNameAt(1, afterLastColons(f.name), [](int k) { return k == 1; });
    case K::kTypesRepeated:
        // The enumeration's form names the qualified name, the category ID's the plain one.
        if (f.name.find("::") != std::string::npos)
            return repeatedNameAt(1, afterLastColons(f.name), [](int k) { return k == 0; });
        return repeatedNameAt(2, f.name, [](int k) { return k < 2; });
    case K::kEnumerationUuidMissing: return declaredUuid(1, UuidProblem::kMissing);
    case K::kEnumerationUuidInvalid: return declaredUuid(1, UuidProblem::kInvalid);
    case K::kEnumerationUuidNull: return declaredUuid(1, UuidProblem::kNull);
    case K::kEnumerationUuidReused: return reusedUuidAt(1);
    case K::kTypesUuidReused:
        // The category ID phase runs last, so its failure is the one that stands.
        reusedUuidAt(2);
        if (result_.diagnostic.location.line == 0) reusedUuidAt(1);
        return;
    case K::kItemRepeated:
        findDeclared(1, f.declaration, [&](size_t file, const Declared&) {
            for (const Enumeration& e : sources_.outline(file).enumerations) {
                if (e.name.text != f.declaration) continue;
                const EnumItem* first = nullptr;
                for (const EnumItem& item : e.items) {
                    if (item.name.text != f.item) continue;
                    if (first) {
                        at(file, item.name.span, e.extent);
                        note(file, first->name.span, "the item is first defined here");
                        return true;
                    }
                    first = &item;
                }
            }
            return false;
        });
        return;
    case K::kCategoryName: return declaredName(2, f.name);
    case K::kCategoryAttribute: return declaredAttribute(2);
    case K::kCategoryBuiltinName: return declaredName(2, f.declaration);
    case K::kCategoryRepeated: return repeatedNameAt(2, afterLastColons(f.name), [](int k) { return k == 2; });
    case K::kCategoryUuidMissing: return declaredUuid(2, UuidProblem::kMissing);
    case K::kCategoryUuidInvalid: return declaredUuid(2, UuidProblem::kInvalid);
    case K::kCategoryUuidNull: return declaredUuid(2, UuidProblem::kNull);
    case K::kCategoryUuidReused: return reusedUuidAt(2);
    case K::kTypeInLibraries: return acrossLibrariesAt(f.name, false);
    case K::kUuidInLibraries: return acrossLibrariesAt(f.uuid, true);
    case K::kReturnTypeFailed: return resolutionAt(false);
    case K::kArgumentTypeFailed: return resolutionAt(true);
    }
}

}  // namespace

SourceSet::SourceSet(std::vector<File> files) : files_(std::move(files)) {}

const std::shared_ptr<const SourceOutline>& SourceSet::sharedOutline(size_t index) const {
    File& file = files_[index];
    if (!file.outline) file.outline = std::make_shared<const SourceOutline>(outlineSource(file.text));
    return file.outline;
}

Located locateMessage(std::string_view message, const SourceSet& sources) { return Locator(message, sources).run(); }

}  // namespace lumoidl::diagnostics
