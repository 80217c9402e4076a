// The result model through the shared library: one walk of two libraries through every table slot.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/snapshot.h"
#include "support/host_model.h"

namespace {

using namespace lumoidl::host;
using namespace lumoidl::test;
using namespace std::string_literals;

const std::string kUuid = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F";  // + four digits

const std::string kModelSource = "[uuid(" + kUuid + "4A00), version(2.5), idlversion(1)] library Model {\n"
    "  [uuid(" + kUuid + "4A01)] interface IShape {\n"
    "    [property_get, long_name(Name-of-the-shape)] LUMORESULT name([out, retval] LumoString text);\n"
    "    LUMORESULT take([in] LumoObject aObject, [in] LumoArrayEnumeration<Colour> aColours, [in] Colour aColour,\n"
    "      [in] Model::IShape aShape, [in] Other::IRemote aRemote, [in] ILumoError aError,\n"
    "      [in] IBox<LumoString, IBox<LumoInteger, Colour>> aBox, [out, retval] Single outcome);\n"
    "  };\n"
    "  [uuid({3f2a1b00-7c4d-4e5f-8a6b-0c1d2e3f4a02})] interface IBox<T, U> { T first([in] U key); };\n"
    "  [uuid(" + kUuid + "4A03)] enum { Red = 1, Green = 0x2, Blue = 2, Lowest = 0x80000000 } Colour;\n"
    "  [uuid(" + kUuid + "4A04)] enum { Only = 7 } Single;\n"
    "  [uuid(" + kUuid + "4A05)] category Drawables;\n};\n";

const std::string kOtherSource = "[uuid(" + kUuid + "4B00)] library Other {\n"
    "  [uuid(" + kUuid + "4B01)] interface IRemote { LUMORESULT ping([in] Model::IShape shape); IEcho echo(); };\n"
    "  [uuid(" + kUuid + "4B04)] interface IEcho { IRemote back(); };\n"
    "  [uuid(" + kUuid + "4B02)] enum { Near = 0 } Distance;\n"
    "  [uuid(" + kUuid + "4B03)] category Remotes;\n};\n";

/// A uuid text shortened to "~" and its last four digits, which tell this file's uuids apart.
std::string tail(const std::string& text) { return text.size() >= 36 ? "~" + text.substr(text.size() - 4) : text; }

std::string render(const std::vector<AttributeInfo>& attributes) {
    std::string out;
    for (const AttributeInfo& a : attributes)
        out += (out.empty() ? "[" : ",") + a.name + (a.hasValue ? "=" : "") + tail(a.value);
    return out.empty() ? out : out + "] ";
}

std::string render(const TypeInfo& type) {
    std::string out = type.name + "#" + std::to_string(type.kind) + tail(type.uuid);
    if (type.templateParameterIndex >= 0) out += "@" + std::to_string(type.templateParameterIndex);
    for (size_t k = 0; k < type.templateArguments.size(); ++k)
        out += (k ? "," : "<") + render(type.templateArguments[k]);
    return type.templateArguments.empty() ? out : out + ">";
}

/// The snapshot as text: a line per declaration and per method, then the result's interfaces.
std::string render(const ResultSnapshot& snapshot) {
    std::string out;
    for (const LibraryInfo& library : snapshot.libraries) {
        out += "library " + render(library.attributes) + library.name + tail(library.uuid) + "\n";
        for (const InterfaceInfo& i : library.interfaces) {
            out += " interface " + render(i.attributes) + i.qualifiedName + tail(i.uuid);
            for (const std::string& parameter : i.templateParameters) out += " " + parameter;
            for (const MethodInfo& m : i.methods) {
                out += "\n  " + render(m.attributes) + m.name + " " + render(m.returnType) + " (";
                for (const ArgumentInfo& a : m.arguments)
                    out += render(a.attributes) + a.name + " " + render(a.type) + "; ";
                out += ")";
            }
            out += "\n";
        }
        for (const EnumerationInfo& e : library.enumerations) {
            out += " enum " + render(e.attributes) + e.qualifiedName + tail(e.uuid);
            for (const ItemInfo& item : e.items) out += " " + item.name + "=" + std::to_string(item.value);
            out += "\n";
        }
        for (const CategoryIDInfo& c : library.categoryIDs)
            out += " category " + render(c.attributes) + c.qualifiedName + tail(c.uuid) + "\n";
    }
    for (const std::string& name : snapshot.interfaceOrder) out += name + " ";
    return out;
}

const char kExpectedWalk[] =
    "library [uuid=~4A00,version=2.5,idlversion=1] Model~4A00\n interface [uuid=~4A01] Model::IShape~4A01\n"
    "  [property_get,long_name=Name-of-the-shape] name LUMORESULT#1 ([out,retval] text LumoString#2; )\n"
    "  take LUMORESULT#1 ([in] aObject LumoObject#6; [in] aColours LumoArrayEnumeration#12<Model::Colour#13~4A03>; "
    "[in] aColour Model::Colour#13~4A03; [in] aShape Model::IShape#6~4A01; [in] aRemote Other::IRemote#6~4B01; "
    "[in] aError ZEMRA::ILumoError#6~660C; "
    "[in] aBox Model::IBox#6~4A02<LumoString#2,Model::IBox#6~4A02<LumoInteger#3,Model::Colour#13~4A03>>; "
    "[out,retval] outcome Model::Single#13~4A04; )\n"
    " interface [uuid=~a02}] Model::IBox~4A02 T U\n  first T#18@0 ([in] key U#18@1; )\n"
    " enum [uuid=~4A03] Model::Colour~4A03 Red=1 Green=2 Blue=2 Lowest=-2147483648\n"
    " enum [uuid=~4A04] Model::Single~4A04 Only=7\n category [uuid=~4A05] Model::Drawables~4A05\n"
    "library [uuid=~4B00] Other~4B00\n interface [uuid=~4B01] Other::IRemote~4B01\n"
    "  ping LUMORESULT#1 ([in] shape Model::IShape#6~4A01; )\n  echo Other::IEcho#6~4B04 ()\n"
    " interface [uuid=~4B04] Other::IEcho~4B04\n  back Other::IRemote#6~4B01 ()\n"
    " enum [uuid=~4B02] Other::Distance~4B02 Near=0\n category [uuid=~4B03] Other::Remotes~4B03\n"
    "Model::IShape Model::IBox Other::IRemote Other::IEcho ";

/// What a look-up by name or by (36-character) uuid writes; checks that it answers 0 exactly
/// when it finds something.
template <class Owner, class Record, class Key>
const void* found(Owner* owner, LUMORESULT (*lookUp)(Owner*, Key, Record**), const std::string& key) {
    Record sentinel{};
    Record* out = &sentinel;
    const LumoUUID uuid = uuidBytes(key.size() == 36 ? key : "");
    LUMORESULT code = LUMO_FAILED;
    if constexpr (std::is_same_v<Key, ILumoString*>) code = lookUp(owner, HostString::fromUtf8(key).record(), &out);
    else code = lookUp(owner, &uuid, &out);
    EXPECT_EQ(code, out ? LUMO_OK : LUMO_NO_SUCH_ITEM) << key;
    return out;
}

/// True when `get` answers 107 for `index` and leaves its output alone (a string receiver of
/// this pattern crashes when called).
template <class Owner, class Out>
bool rejects(Owner* owner, LUMORESULT (*get)(Owner*, int32_t, Out*), int32_t index) {
    Out out;
    std::memset(&out, 0x5A, sizeof out);
    const Out before = out;
    return get(owner, index, &out) == LUMO_NO_SUCH_ITEM && std::memcmp(&out, &before, sizeof out) == 0;
}

/// True when `get` rejects -1, `count` and the lowest index.
template <class Owner, class Get>
bool rejectsOutside(Owner* owner, Get get, int32_t count) {
    return rejects(owner, get, -1) && rejects(owner, get, count) && rejects(owner, get, INT32_MIN);
}

TEST(ResultModelTest, OneWalkThroughEveryTable) {
    HostParse parse({kModelSource, kOtherSource});
    ASSERT_EQ(parse.error(), "");
    ILumoIDLParseResult* r = parse.result();
    LibraryRef model = libraryAt(r, 0), other = libraryAt(r, 1);
    EXPECT_EQ(render(takeSnapshot(r)), kExpectedWalk);

    ILumoIDLInterface *shape = nullptr, *box = nullptr;
    ILumoIDLEnumeration* colour = nullptr;
    ILumoIDLCategoryID* remotes = nullptr;
    ILumoIDLMethod *name = nullptr, *take = nullptr;
    ILumoIDLMethodArgument *text = nullptr, *remote = nullptr, *boxArgument = nullptr;
    ASSERT_FALSE(ILumoIDLParseResult_getInterface(r, 0, &shape) || ILumoIDLParseResult_getInterface(r, 1, &box) ||
                 ILumoIDLParseResult_getEnumeration(r, 0, &colour) ||
                 ILumoIDLParseResult_getCategoryID(r, 1, &remotes) ||
                 ILumoIDLInterface_getMethod(shape, 0, &name) || ILumoIDLInterface_getMethod(shape, 1, &take) ||
                 ILumoIDLMethod_getArgument(name, 0, &text) || ILumoIDLMethod_getArgument(take, 4, &remote) ||
                 ILumoIDLMethod_getArgument(take, 6, &boxArgument));  // each answers 0
    ILumoIDLType* boxType = ILumoIDLMethodArgument_getType(boxArgument);
    // The uuid bytes are the written digits in order, whatever their case and braces.
    EXPECT_EQ(uuidText(ILumoIDLInterface_getUUID(box)), kUuid + "4A02");
    EXPECT_EQ(uuidText(ILumoIDLInterface_getLibraryUUID(shape)), kUuid + "4A00");
    EXPECT_EQ(uuidText(ILumoIDLEnumeration_getLibraryUUID(colour)), kUuid + "4A00");
    EXPECT_EQ(uuidText(ILumoIDLCategoryID_getLibraryUUID(remotes)), kUuid + "4B00");
    // Attributes and items are found by their exact names only.
    HostString longName = HostString::fromUtf8("long_name"), upper = HostString::fromUtf8("Long_name");
    HostString green = HostString::fromUtf8("Green"), red = HostString::fromUtf8("red");
    EXPECT_EQ(ILumoIDLMethod_hasAttribute(name, longName.record()), 1);
    EXPECT_EQ(ILumoIDLMethod_hasAttribute(name, upper.record()), 0);
    EXPECT_EQ(ILumoIDLEnumeration_hasItem(colour, green.record()), 1);
    EXPECT_EQ(ILumoIDLEnumeration_hasItem(colour, red.record()), 0);
    int32_t value = 77;
    EXPECT_EQ(ILumoIDLEnumeration_getItemValueByName(colour, green.record(), &value), LUMO_OK);
    EXPECT_EQ(ILumoIDLEnumeration_getItemValueByName(colour, red.record(), &value), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(ILumoIDLEnumeration_getItemValueByName(colour, green.record(), nullptr), LUMO_NULL_POINTER);

    // Look-ups by qualified name and by uuid, each in its own kind and owner.
    EXPECT_EQ(found(r, &ILumoIDLParseResult_getInterfaceByName, "Model::IShape\0tail"s), shape);
    EXPECT_EQ(found(r, &ILumoIDLParseResult_getInterfaceByUUID, "3f2a1b00-7c4d-4e5f-8a6b-0c1d2e3f4a02"), box);
    EXPECT_EQ(found(r, &ILumoIDLParseResult_getEnumerationByName, "Model::Colour"), colour);
    EXPECT_EQ(found(r, &ILumoIDLParseResult_getEnumerationByUUID, kUuid + "4A03"), colour);
    EXPECT_EQ(found(r, &ILumoIDLParseResult_getCategoryIDByName, "Other::Remotes"), remotes);
    EXPECT_EQ(found(r, &ILumoIDLParseResult_getCategoryIDByUUID, kUuid + "4B03"), remotes);
    for (const char* missing : {"IShape", "model::IShape", "Model::IBox<T, U>", "Model::Colour"})
        EXPECT_EQ(found(r, &ILumoIDLParseResult_getInterfaceByName, missing), nullptr);
    EXPECT_EQ(found(r, &ILumoIDLParseResult_getInterfaceByUUID, kUuid + "4A03"), nullptr);
    EXPECT_EQ(found(model.get(), &ILumoIDLLibrary_getInterfaceByName, "Other::IRemote"), nullptr);
    EXPECT_EQ(found(model.get(), &ILumoIDLLibrary_getInterfaceByUUID, kUuid + "4B01"), nullptr);
    EXPECT_EQ(found(model.get(), &ILumoIDLLibrary_getEnumerationByName, "Other::Distance"), nullptr);
    EXPECT_EQ(found(model.get(), &ILumoIDLLibrary_getEnumerationByUUID, kUuid + "4A03"), colour);
    EXPECT_EQ(found(other.get(), &ILumoIDLLibrary_getCategoryIDByName, "Other::Remotes"), remotes);
    EXPECT_EQ(found(model.get(), &ILumoIDLLibrary_getCategoryIDByUUID, kUuid + "4B03"), nullptr);
    ILumoIDLInterface* none = shape;
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByName(r, nullptr, &none), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByUUID(r, nullptr, &none), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByName(r, longName.record(), nullptr), LUMO_NULL_POINTER);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByUUID(r, ILumoIDLInterface_getUUID(box), nullptr), LUMO_NULL_POINTER);

    // Indexes outside each list.
    EXPECT_TRUE(rejectsOutside(r, &ILumoIDLParseResult_getCategoryID, 2));
    EXPECT_TRUE(rejectsOutside(r, &ILumoIDLParseResult_getEnumeration, 3));
    EXPECT_TRUE(rejectsOutside(r, &ILumoIDLParseResult_getInterface, 4));
    EXPECT_TRUE(rejectsOutside(r, &ILumoIDLParseResult_getLibrary, 2));
    EXPECT_TRUE(rejectsOutside(model.get(), &ILumoIDLLibrary_getCategoryID, 1));
    EXPECT_TRUE(rejectsOutside(model.get(), &ILumoIDLLibrary_getEnumeration, 2));
    EXPECT_TRUE(rejectsOutside(model.get(), &ILumoIDLLibrary_getInterface, 2));
    EXPECT_TRUE(rejectsOutside(shape, &ILumoIDLInterface_getMethod, 2));
    EXPECT_TRUE(rejectsOutside(box, &ILumoIDLInterface_getTemplateParameterName, 2));
    EXPECT_TRUE(rejectsOutside(take, &ILumoIDLMethod_getArgument, 8));
    EXPECT_TRUE(rejectsOutside(boxType, &ILumoIDLType_getTemplateArgument, 2));
    EXPECT_TRUE(rejectsOutside(colour, &ILumoIDLEnumeration_getItemName, 4));
    EXPECT_TRUE(rejectsOutside(colour, &ILumoIDLEnumeration_getItemValue, 4));
    EXPECT_EQ(ILumoIDLParseResult_getInterface(r, 0, nullptr), LUMO_NULL_POINTER);
    EXPECT_EQ(ILumoIDLType_getTemplateArgument(boxType, 0, nullptr), LUMO_NULL_POINTER);
    EXPECT_EQ(ILumoIDLEnumeration_getItemValue(colour, 0, nullptr), LUMO_NULL_POINTER);
    ILumoIDLMethod_getReturnType(name, nullptr);

    // Every string getter raises lumora_error for a null receiver and for one whose set fails.
    HostString version = HostString::fromUtf8("version");  // an attribute with a value
    using Getter = std::pair<const char*, std::function<void(ILumoString*)>>;
#define LUMO_GETTER(call) Getter(#call, [&](ILumoString* s) { call; })
    const Getter getters[] = {
        LUMO_GETTER(ILumoIDLParseResult_getErrorMessage(r, s)),
        LUMO_GETTER(ILumoIDLLibrary_getName(model.get(), s)),
        LUMO_GETTER(ILumoIDLLibrary_getAttributeValueByName(model.get(), version.record(), s)),
        LUMO_GETTER(ILumoIDLInterface_getName(box, s)),
        LUMO_GETTER(ILumoIDLInterface_getLibraryName(box, s)),
        LUMO_GETTER(ILumoIDLInterface_getTemplateParameterName(box, 1, s)),
        LUMO_GETTER(ILumoIDLInterface_getAttributeValue(box, 0, s)),
        LUMO_GETTER(ILumoIDLMethod_getName(name, s)),
        LUMO_GETTER(ILumoIDLMethod_getAttributeName(name, 1, s)),
        LUMO_GETTER(ILumoIDLMethod_getAttributeValueByName(name, longName.record(), s)),
        LUMO_GETTER(ILumoIDLMethodArgument_getName(text, s)),
        LUMO_GETTER(ILumoIDLMethodArgument_getAttributeName(text, 1, s)),
        LUMO_GETTER(ILumoIDLEnumeration_getName(colour, s)),
        LUMO_GETTER(ILumoIDLEnumeration_getLibraryName(colour, s)),
        LUMO_GETTER(ILumoIDLEnumeration_getItemName(colour, 3, s)),
        LUMO_GETTER(ILumoIDLEnumeration_getAttributeName(colour, 0, s)),
        LUMO_GETTER(ILumoIDLCategoryID_getName(remotes, s)),
        LUMO_GETTER(ILumoIDLCategoryID_getLibraryName(remotes, s)),
        LUMO_GETTER(ILumoIDLCategoryID_getAttributeValue(remotes, 0, s)),
        LUMO_GETTER(ILumoIDLType_getName(boxType, s)),
    };
#undef LUMO_GETTER
    for (const auto& [label, write] : getters) {
        RecordingString failing;
        failing.setResult = 42;
        for (ILumoString* receiver : {static_cast<ILumoString*>(nullptr), static_cast<ILumoString*>(&failing)}) {
            try {
                write(receiver);
                ADD_FAILURE() << label << " raised nothing";
            } catch (const ZEMRA::lumora_error& e) {
                EXPECT_EQ(e.code(), receiver ? 42u : LUMO_NULL_POINTER) << label;
            }
        }
        EXPECT_EQ(failing.setCalls, 1) << label;
    }

    // IShape and Other's IRemote use each other, a cycle for the result but not for Model, which
    // sorts its own list; IRemote and IEcho are a cycle within Other.
    EXPECT_EQ(ILumoIDLParseResult_sortInterfaces(r), 0);
    EXPECT_EQ(ILumoIDLLibrary_sortInterfaces(model.get()), 1);
    EXPECT_EQ(ILumoIDLLibrary_sortInterfaces(other.get()), 0);
    EXPECT_EQ(interfaceNames(model.get()), (std::vector<std::string>{"IBox", "IShape"}));
    EXPECT_EQ(interfaceNames(r), (std::vector<std::string>{"IShape", "IBox", "IRemote", "IEcho"}));
    EXPECT_EQ(found(model.get(), &ILumoIDLLibrary_getInterfaceByName, "Model::IShape"), shape);

    // A library outlives the result and the other library; its types keep the names they refer to.
    ILumoIDLParseResult_addReference(r);
    ILumoIDLParseResult_release(r);
    other.reset();
    parse.release();
    ILumoIDLLibrary_addReference(model.get());
    ILumoIDLLibrary_release(model.get());
    EXPECT_EQ(nameOf(ILumoIDLMethodArgument_getType(remote)) + " " + nameOf(model.get()), "Other::IRemote Model");
}

}  // namespace
