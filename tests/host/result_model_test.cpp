// The result model as a host reads it: every operation of every table, on parsed sources.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "host/host_string.h"
#include "host/references.h"
#include "support/fake_host.h"
#include "support/host_model.h"

namespace {

using lumoidl::host::HostString;
using lumoidl::host::LibraryRef;
using lumoidl::host::readText;
using lumoidl::test::HostParse;
using lumoidl::test::interfaceNames;
using lumoidl::test::libraryAt;
using lumoidl::test::nameOf;
using lumoidl::test::RecordingString;
using lumoidl::test::text;
using lumoidl::test::utf8;
using lumoidl::test::uuidBytes;

const char kModelUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4A00";
const char kShapeUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4A01";
// Written in lower case and in braces: the attribute keeps it so, the uuid bytes do not care.
const char kBoxUuid[] = "{3f2a1b00-7c4d-4e5f-8a6b-0c1d2e3f4a02}";
const char kColourUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4A03";
const char kSingleUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4A04";
const char kDrawablesUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4A05";
const char kOtherUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4B00";
const char kRemoteUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4B01";
const char kDistanceUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4B02";
const char kRemotesUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4B03";
const char kUnknownUuid[] = "3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4C00";
const char kLumoErrorUuid[] = "855063FA-5C39-45DA-9B3D-0B3D4B72660C";

const std::string kModelSource = std::string() +
    "[uuid(" + kModelUuid + "), version(2.5), idlversion(1)]\n"
    "library Model {\n"
    "    [uuid(" + kShapeUuid + ")]\n"
    "    interface IShape {\n"
    "        [property_get, long_name(Name-of-the-shape)] LUMORESULT name([out, retval] LumoString text);\n"
    "        LUMORESULT reset();\n"
    "        LUMORESULT takeEverything([in] LUMORESULT aResult, [in] LumoString aString,\n"
    "            [in] LumoInteger aInteger, [in] LumoBoolean aBoolean, [in] LumoReal aReal,\n"
    "            [in] LumoObject aObject, [in] LumoArrayString aStrings, [in] LumoValue aValue,\n"
    "            [in] LumoArrayInteger aIntegers, [in] LumoArrayBoolean aBooleans,\n"
    "            [in] LumoArrayReal aReals, [in] LumoArrayEnumeration<Colour> aColours,\n"
    "            [in] LumoEnumeration aEnumeration, [in] LumoArrayValue aValues,\n"
    "            [in] LumoArrayByte aBytes, [in] LumoUUID aUuid, [in] LumoWindowId aWindow,\n"
    "            [in] Colour aColour, [in] IShape aShape, [in] Model::IShape aQualifiedShape,\n"
    "            [in] Other::IRemote aRemote, [in] ILumoError aError,\n"
    "            [in] IBox<LumoString, IBox<LumoInteger, Colour>> aBox,\n"
    "            [out] LumoInteger aCount, [out, retval] Single outcome);\n"
    "    };\n"
    "    [uuid(" + kBoxUuid + ")]\n"
    "    interface IBox<T, U> {\n"
    "        T first([in] U key);\n"
    "        [property_set] LUMORESULT limit([in] LumoInteger value);\n"
    "    };\n"
    "    [uuid(" + kColourUuid + ")]\n"
    "    enum { Red = 1, Green = 0x2, Blue = 2, Lowest = 0x80000000 } Colour;\n"
    "    [uuid(" + kSingleUuid + ")]\n"
    "    enum { Only = 7 } Single;\n"
    "    [uuid(" + kDrawablesUuid + ")]\n"
    "    category Drawables;\n"
    "};\n";

const std::string kOtherSource = std::string() +
    "[uuid(" + kOtherUuid + ")]\n"
    "library Other {\n"
    "    [uuid(" + kRemoteUuid + ")]\n"
    "    interface IRemote { LUMORESULT ping([in] Model::IShape shape); };\n"
    "    [uuid(" + kDistanceUuid + ")]\n"
    "    enum { Near = 0 } Distance;\n"
    "    [uuid(" + kRemotesUuid + ")]\n"
    "    category Remotes;\n"
    "};\n";

/// The element at `index` of a list reached through `get`, or null.
template <class Owner, class Record>
Record* itemAt(Owner* owner, LUMORESULT (*get)(Owner*, int32_t, Record**), int32_t index) {
    Record* out = nullptr;
    return get(owner, index, &out) == LUMO_OK ? out : nullptr;
}

ILumoIDLType* returnTypeOf(ILumoIDLMethod* method) {
    ILumoIDLType* type = nullptr;
    ILumoIDLMethod_getReturnType(method, &type);
    return type;
}

ILumoIDLType* argumentTypeOf(ILumoIDLMethod* method, int32_t index) {
    ILumoIDLMethodArgument* argument = itemAt(method, &ILumoIDLMethod_getArgument, index);
    return argument ? ILumoIDLMethodArgument_getType(argument) : nullptr;
}

/// A type tree as text: name#kind, @index for a template parameter, <arguments> when present.
std::string describe(ILumoIDLType* type) {
    if (!type) return "<null>";
    std::string out = nameOf(type);
    out += '#';
    out += std::to_string(ILumoIDLType_getKind(type));
    if (ILumoIDLType_getTemplateParameterIndex(type) >= 0) {
        out += '@';
        out += std::to_string(ILumoIDLType_getTemplateParameterIndex(type));
    }
    const int32_t count = ILumoIDLType_getTemplateArgumentCount(type);
    for (int32_t k = 0; k < count; ++k) {
        out += k == 0 ? '<' : ',';
        out += describe(itemAt(type, &ILumoIDLType_getTemplateArgument, k));
    }
    if (count > 0) out += '>';
    return out;
}

bool sameBytes(const LumoUUID* actual, const LumoUUID& expected) {
    return actual && std::memcmp(actual->bytes, expected.bytes, sizeof expected.bytes) == 0;
}

/// Runs `call` and returns the code of the lumora_error it raises, or -1 when it raises none.
int64_t raisedCode(const std::function<void()>& call) {
    try {
        call();
    } catch (const ZEMRA::lumora_error& e) {
        return e.code();
    }
    return -1;
}

/// The Model and Other libraries parsed together, with the items the tests read.
class ResultModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(parse_.error(), "");
        ILumoIDLParseResult* result = parse_.result();
        model_ = libraryAt(result, 0);
        other_ = libraryAt(result, 1);
        ASSERT_TRUE(model_ && other_);
        shape_ = itemAt(result, &ILumoIDLParseResult_getInterface, 0);
        box_ = itemAt(result, &ILumoIDLParseResult_getInterface, 1);
        remote_ = itemAt(result, &ILumoIDLParseResult_getInterface, 2);
        colour_ = itemAt(result, &ILumoIDLParseResult_getEnumeration, 0);
        single_ = itemAt(result, &ILumoIDLParseResult_getEnumeration, 1);
        distance_ = itemAt(result, &ILumoIDLParseResult_getEnumeration, 2);
        drawables_ = itemAt(result, &ILumoIDLParseResult_getCategoryID, 0);
        remotes_ = itemAt(result, &ILumoIDLParseResult_getCategoryID, 1);
        ASSERT_TRUE(shape_ && box_ && remote_ && colour_ && single_ && distance_ && drawables_ && remotes_);
        nameMethod_ = itemAt(shape_, &ILumoIDLInterface_getMethod, 0);
        resetMethod_ = itemAt(shape_, &ILumoIDLInterface_getMethod, 1);
        everything_ = itemAt(shape_, &ILumoIDLInterface_getMethod, 2);
        firstMethod_ = itemAt(box_, &ILumoIDLInterface_getMethod, 0);
        limitMethod_ = itemAt(box_, &ILumoIDLInterface_getMethod, 1);
        ASSERT_TRUE(nameMethod_ && resetMethod_ && everything_ && firstMethod_ && limitMethod_);
        textArgument_ = itemAt(nameMethod_, &ILumoIDLMethod_getArgument, 0);
        valueArgument_ = itemAt(limitMethod_, &ILumoIDLMethod_getArgument, 0);
        ASSERT_TRUE(textArgument_ && valueArgument_);
        boxType_ = argumentTypeOf(everything_, 22);
        stringType_ = argumentTypeOf(everything_, 1);
        ASSERT_TRUE(boxType_ && stringType_);
    }

    ILumoIDLParseResult* result() const { return parse_.result(); }

    HostParse parse_{{kModelSource, kOtherSource}};
    LibraryRef model_, other_;
    ILumoIDLInterface *shape_ = nullptr, *box_ = nullptr, *remote_ = nullptr;
    ILumoIDLEnumeration *colour_ = nullptr, *single_ = nullptr, *distance_ = nullptr;
    ILumoIDLCategoryID *drawables_ = nullptr, *remotes_ = nullptr;
    ILumoIDLMethod *nameMethod_ = nullptr, *resetMethod_ = nullptr, *everything_ = nullptr;
    ILumoIDLMethod *firstMethod_ = nullptr, *limitMethod_ = nullptr;
    ILumoIDLMethodArgument *textArgument_ = nullptr, *valueArgument_ = nullptr;
    ILumoIDLType *boxType_ = nullptr, *stringType_ = nullptr;
};

// ---- Lists and index access ----

/// One indexed operation: its list's count, and a call that tells whether it wrote its output
/// (a null written counts as written).
struct IndexedAccess {
    std::string label;
    int32_t expectedCount;
    std::function<int32_t()> count;
    std::function<LUMORESULT(int32_t index, bool& wrote)> at;
};

template <class Owner, class Record>
IndexedAccess recordAccess(std::string label, Owner* owner, int32_t expectedCount,
                           int32_t (*count)(Owner*), LUMORESULT (*get)(Owner*, int32_t, Record**)) {
    return {std::move(label), expectedCount, [=] { return count(owner); },
            [=](int32_t index, bool& wrote) {
                Record sentinel{};
                Record* out = &sentinel;
                const LUMORESULT code = get(owner, index, &out);
                wrote = out != &sentinel;
                return code;
            }};
}

template <class Owner>
IndexedAccess textAccess(std::string label, Owner* owner, int32_t expectedCount, int32_t (*count)(Owner*),
                         LUMORESULT (*get)(Owner*, int32_t, ILumoString*)) {
    return {std::move(label), expectedCount, [=] { return count(owner); },
            [=](int32_t index, bool& wrote) {
                RecordingString receiver;
                const LUMORESULT code = get(owner, index, &receiver);
                wrote = receiver.setCalls > 0;
                return code;
            }};
}

TEST_F(ResultModelTest, IndexAccessAnswersInsideEveryListAndLeavesItsOutputAloneOutside) {
    ILumoIDLParseResult* r = result();
    ILumoIDLLibrary* model = model_.get();
    ILumoIDLLibrary* other = other_.get();
    const std::vector<IndexedAccess> cases = {
        recordAccess("result category IDs", r, 2, &ILumoIDLParseResult_getCategoryIDCount,
                     &ILumoIDLParseResult_getCategoryID),
        recordAccess("result enumerations", r, 3, &ILumoIDLParseResult_getEnumerationCount,
                     &ILumoIDLParseResult_getEnumeration),
        recordAccess("result interfaces", r, 3, &ILumoIDLParseResult_getInterfaceCount,
                     &ILumoIDLParseResult_getInterface),
        {"result libraries", 2, [r] { return ILumoIDLParseResult_getLibraryCount(r); },
         [r](int32_t index, bool& wrote) {
             ILumoIDLLibrary sentinel{};
             ILumoIDLLibrary* out = &sentinel;
             const LUMORESULT code = ILumoIDLParseResult_getLibrary(r, index, &out);
             wrote = out != &sentinel;
             if (wrote && out) ILumoIDLLibrary_release(out);
             return code;
         }},
        recordAccess("Model category IDs", model, 1, &ILumoIDLLibrary_getCategoryIDCount,
                     &ILumoIDLLibrary_getCategoryID),
        recordAccess("Model enumerations", model, 2, &ILumoIDLLibrary_getEnumerationCount,
                     &ILumoIDLLibrary_getEnumeration),
        recordAccess("Model interfaces", model, 2, &ILumoIDLLibrary_getInterfaceCount,
                     &ILumoIDLLibrary_getInterface),
        recordAccess("Other interfaces", other, 1, &ILumoIDLLibrary_getInterfaceCount,
                     &ILumoIDLLibrary_getInterface),
        textAccess("Model attribute names", model, 3, &ILumoIDLLibrary_getAttributeCount,
                   &ILumoIDLLibrary_getAttributeName),
        recordAccess("IShape methods", shape_, 3, &ILumoIDLInterface_getMethodCount, &ILumoIDLInterface_getMethod),
        textAccess("IShape template parameters", shape_, 0, &ILumoIDLInterface_getTemplateParameterCount,
                   &ILumoIDLInterface_getTemplateParameterName),
        textAccess("IBox template parameters", box_, 2, &ILumoIDLInterface_getTemplateParameterCount,
                   &ILumoIDLInterface_getTemplateParameterName),
        recordAccess("takeEverything arguments", everything_, 25, &ILumoIDLMethod_getArgumentCount,
                     &ILumoIDLMethod_getArgument),
        recordAccess("reset arguments", resetMethod_, 0, &ILumoIDLMethod_getArgumentCount,
                     &ILumoIDLMethod_getArgument),
        recordAccess("IBox type arguments", boxType_, 2, &ILumoIDLType_getTemplateArgumentCount,
                     &ILumoIDLType_getTemplateArgument),
        recordAccess("LumoString type arguments", stringType_, 0, &ILumoIDLType_getTemplateArgumentCount,
                     &ILumoIDLType_getTemplateArgument),
        textAccess("Colour item names", colour_, 4, &ILumoIDLEnumeration_getItemCount,
                   &ILumoIDLEnumeration_getItemName),
        {"Colour item values", 4, [this] { return ILumoIDLEnumeration_getItemCount(colour_); },
         [this](int32_t index, bool& wrote) {
             const int32_t sentinel = 0x5A5A5A5A;
             int32_t value = sentinel;
             const LUMORESULT code = ILumoIDLEnumeration_getItemValue(colour_, index, &value);
             wrote = value != sentinel;
             return code;
         }},
    };
    for (const IndexedAccess& access : cases) {
        SCOPED_TRACE(access.label);
        const int32_t count = access.count();
        ASSERT_EQ(count, access.expectedCount);
        for (int32_t index = 0; index < count; ++index) {
            bool wrote = false;
            EXPECT_EQ(access.at(index, wrote), LUMO_OK) << "index " << index;
            EXPECT_TRUE(wrote) << "index " << index;
        }
        for (int32_t index : {-1, count, count + 1, INT32_MIN, INT32_MAX}) {
            bool wrote = true;
            EXPECT_EQ(access.at(index, wrote), LUMO_NO_SUCH_ITEM) << "index " << index;
            EXPECT_FALSE(wrote) << "index " << index;
        }
    }
}

TEST_F(ResultModelTest, ListsHoldTheirDeclarationsInOrder) {
    EXPECT_EQ(interfaceNames(result()), (std::vector<std::string>{"IShape", "IBox", "IRemote"}));
    EXPECT_EQ(interfaceNames(model_.get()), (std::vector<std::string>{"IShape", "IBox"}));
    EXPECT_EQ(interfaceNames(other_.get()), (std::vector<std::string>{"IRemote"}));
    EXPECT_EQ(nameOf(model_.get()), "Model");
    EXPECT_EQ(nameOf(other_.get()), "Other");
    EXPECT_EQ(nameOf(single_), "Single");
    EXPECT_EQ(nameOf(distance_), "Distance");
    EXPECT_EQ(nameOf(remotes_), "Remotes");
    // The library's lists hand out the same records as the result's.
    EXPECT_EQ(itemAt(model_.get(), &ILumoIDLLibrary_getInterface, 1), box_);
    EXPECT_EQ(itemAt(model_.get(), &ILumoIDLLibrary_getEnumeration, 1), single_);
    EXPECT_EQ(itemAt(other_.get(), &ILumoIDLLibrary_getCategoryID, 0), remotes_);

    std::vector<std::string> methods;
    for (int32_t k = 0; k < ILumoIDLInterface_getMethodCount(shape_); ++k)
        methods.push_back(nameOf(itemAt(shape_, &ILumoIDLInterface_getMethod, k)));
    EXPECT_EQ(methods, (std::vector<std::string>{"name", "reset", "takeEverything"}));

    std::vector<std::string> arguments;
    for (int32_t k = 0; k < ILumoIDLMethod_getArgumentCount(everything_); ++k)
        arguments.push_back(nameOf(itemAt(everything_, &ILumoIDLMethod_getArgument, k)));
    ASSERT_EQ(arguments.size(), 25u);
    EXPECT_EQ(arguments.front(), "aResult");
    EXPECT_EQ(arguments[11], "aColours");
    EXPECT_EQ(arguments.back(), "outcome");

    std::vector<std::string> parameters;
    for (int32_t k = 0; k < ILumoIDLInterface_getTemplateParameterCount(box_); ++k)
        parameters.push_back(readText([&](ILumoString* s) { ILumoIDLInterface_getTemplateParameterName(box_, k, s); }));
    EXPECT_EQ(parameters, (std::vector<std::string>{"T", "U"}));
}

// ---- String getters ----

/// One operation that writes a text through a receiver, with the text it must write.
struct StringGetter {
    std::string label;
    std::function<LUMORESULT(ILumoString*)> write;
    std::string expected;
};

/// A getter without a result code, answering LUMO_OK so that all getters share one shape.
template <class Record>
std::function<LUMORESULT(ILumoString*)> plain(void (*getter)(Record*, ILumoString*), Record* record) {
    return [=](ILumoString* text) {
        getter(record, text);
        return LUMO_OK;
    };
}

class StringGetterTest : public ResultModelTest {
protected:
    std::vector<StringGetter> getters() {
        ILumoIDLParseResult* r = result();
        ILumoIDLLibrary* model = model_.get();
        ILumoIDLLibrary* other = other_.get();
        const auto key = [](const char* name) { return std::make_shared<HostString>(HostString::fromUtf8(name)); };
        const auto version = key("version");
        const auto longName = key("long_name");
        const auto uuid = key("uuid");
        ILumoIDLType* shapeType = argumentTypeOf(everything_, 18);
        ILumoIDLType* errorType = argumentTypeOf(everything_, 21);
        ILumoIDLType* parameterType = returnTypeOf(firstMethod_);
        return {
            {"result error message", [r](ILumoString* s) { return ILumoIDLParseResult_getErrorMessage(r, s); }, ""},
            {"library name", plain(&ILumoIDLLibrary_getName, model), "Model"},
            {"library attribute name", [=](ILumoString* s) { return ILumoIDLLibrary_getAttributeName(model, 1, s); },
             "version"},
            {"library attribute value", [=](ILumoString* s) { return ILumoIDLLibrary_getAttributeValue(model, 1, s); },
             "2.5"},
            {"library attribute value by name",
             [=](ILumoString* s) { return ILumoIDLLibrary_getAttributeValueByName(model, version.get(), s); }, "2.5"},
            {"other library name", plain(&ILumoIDLLibrary_getName, other), "Other"},
            {"interface name", plain(&ILumoIDLInterface_getName, shape_), "IShape"},
            {"interface library name", plain(&ILumoIDLInterface_getLibraryName, remote_), "Other"},
            {"interface attribute name",
             [this](ILumoString* s) { return ILumoIDLInterface_getAttributeName(shape_, 0, s); }, "uuid"},
            {"interface attribute value as written",
             [this](ILumoString* s) { return ILumoIDLInterface_getAttributeValue(box_, 0, s); }, kBoxUuid},
            {"interface attribute value by name",
             [=, this](ILumoString* s) { return ILumoIDLInterface_getAttributeValueByName(shape_, uuid.get(), s); },
             kShapeUuid},
            {"template parameter name",
             [this](ILumoString* s) { return ILumoIDLInterface_getTemplateParameterName(box_, 1, s); }, "U"},
            {"method name", plain(&ILumoIDLMethod_getName, everything_), "takeEverything"},
            {"method attribute name",
             [this](ILumoString* s) { return ILumoIDLMethod_getAttributeName(nameMethod_, 1, s); }, "long_name"},
            {"method flag value",
             [this](ILumoString* s) { return ILumoIDLMethod_getAttributeValue(nameMethod_, 0, s); }, ""},
            {"method attribute value by name",
             [=, this](ILumoString* s) {
                 return ILumoIDLMethod_getAttributeValueByName(nameMethod_, longName.get(), s);
             },
             "Name-of-the-shape"},
            {"argument name", plain(&ILumoIDLMethodArgument_getName, textArgument_), "text"},
            {"argument attribute name",
             [this](ILumoString* s) { return ILumoIDLMethodArgument_getAttributeName(textArgument_, 1, s); }, "retval"},
            {"enumeration name", plain(&ILumoIDLEnumeration_getName, colour_), "Colour"},
            {"enumeration library name", plain(&ILumoIDLEnumeration_getLibraryName, distance_), "Other"},
            {"enumeration item name",
             [this](ILumoString* s) { return ILumoIDLEnumeration_getItemName(colour_, 3, s); }, "Lowest"},
            {"enumeration attribute value",
             [this](ILumoString* s) { return ILumoIDLEnumeration_getAttributeValue(colour_, 0, s); }, kColourUuid},
            {"category ID name", plain(&ILumoIDLCategoryID_getName, drawables_), "Drawables"},
            {"category ID library name", plain(&ILumoIDLCategoryID_getLibraryName, drawables_), "Model"},
            {"category ID attribute name",
             [this](ILumoString* s) { return ILumoIDLCategoryID_getAttributeName(remotes_, 0, s); }, "uuid"},
            {"interface type name", plain(&ILumoIDLType_getName, shapeType), "Model::IShape"},
            {"error interface type name", plain(&ILumoIDLType_getName, errorType), "ZEMRA::ILumoError"},
            {"template parameter type name", plain(&ILumoIDLType_getName, parameterType), "T"},
            {"built-in type name", plain(&ILumoIDLType_getName, stringType_), "LumoString"},
        };
    }
};

TEST_F(StringGetterTest, EveryStringGetterWritesItsTextOnce) {
    for (const StringGetter& getter : getters()) {
        SCOPED_TRACE(getter.label);
        RecordingString receiver;
        receiver.content = text("stale");
        EXPECT_EQ(getter.write(&receiver), LUMO_OK);
        EXPECT_EQ(receiver.setCalls, 1);
        EXPECT_EQ(utf8(receiver.content), getter.expected);
        EXPECT_EQ(receiver.lastLength, text(getter.expected).size());
    }
}

TEST_F(StringGetterTest, NullReceiverRaisesNullPointer) {
    for (const StringGetter& getter : getters()) {
        SCOPED_TRACE(getter.label);
        EXPECT_EQ(raisedCode([&] { getter.write(nullptr); }), LUMO_NULL_POINTER);
    }
}

TEST_F(StringGetterTest, FailingReceiverRaisesItsOwnCode) {
    for (const StringGetter& getter : getters()) {
        SCOPED_TRACE(getter.label);
        RecordingString receiver;
        receiver.setResult = 42;
        EXPECT_EQ(raisedCode([&] { getter.write(&receiver); }), 42);
        EXPECT_EQ(receiver.setCalls, 1);
    }
}

// ---- Attributes ----

/// The five attribute operations of one declaration, bound to it.
struct AttributeView {
    std::string label;
    std::function<int32_t()> count;
    std::function<LUMORESULT(int32_t, ILumoString*)> name, value;
    std::function<LUMORESULT(ILumoString*, ILumoString*)> valueByName;
    std::function<int32_t(ILumoString*)> has;
};

template <class Record>
AttributeView attributesOf(std::string label, Record* r) {
    return {std::move(label),
            [r] { return r->vTbl->getAttributeCount(r->me); },
            [r](int32_t index, ILumoString* s) { return r->vTbl->getAttributeName(r->me, index, s); },
            [r](int32_t index, ILumoString* s) { return r->vTbl->getAttributeValue(r->me, index, s); },
            [r](ILumoString* name, ILumoString* s) { return r->vTbl->getAttributeValueByName(r->me, name, s); },
            [r](ILumoString* name) { return r->vTbl->hasAttribute(r->me, name); }};
}

/// One written attribute; a null value marks a flag.
struct WrittenAttribute {
    const char* name;
    const char* value;
};

TEST_F(ResultModelTest, AttributesOfEveryDeclarationKind) {
    struct Case {
        AttributeView view;
        std::vector<WrittenAttribute> written;
    };
    const std::vector<Case> cases = {
        {attributesOf("library", model_.get()),
         {{"uuid", kModelUuid}, {"version", "2.5"}, {"idlversion", "1"}}},
        {attributesOf("interface", box_), {{"uuid", kBoxUuid}}},
        {attributesOf("method with a flag and a value", nameMethod_),
         {{"property_get", nullptr}, {"long_name", "Name-of-the-shape"}}},
        {attributesOf("method without attributes", resetMethod_), {}},
        {attributesOf("out retval argument", textArgument_), {{"out", nullptr}, {"retval", nullptr}}},
        {attributesOf("in argument", valueArgument_), {{"in", nullptr}}},
        {attributesOf("enumeration", colour_), {{"uuid", kColourUuid}}},
        {attributesOf("category ID", drawables_), {{"uuid", kDrawablesUuid}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view.label);
        const auto count = static_cast<int32_t>(c.written.size());
        ASSERT_EQ(c.view.count(), count);
        for (int32_t index = 0; index < count; ++index) {
            const WrittenAttribute& attribute = c.written[static_cast<size_t>(index)];
            SCOPED_TRACE(attribute.name);
            HostString name;
            EXPECT_EQ(c.view.name(index, name.record()), LUMO_OK);
            EXPECT_EQ(name.utf8(), attribute.name);
            RecordingString value;
            value.content = text("stale");
            EXPECT_EQ(c.view.value(index, &value), LUMO_OK);
            EXPECT_EQ(value.setCalls, 1);
            EXPECT_EQ(utf8(value.content), attribute.value ? attribute.value : "");

            HostString key = HostString::fromUtf8(attribute.name);
            EXPECT_EQ(c.view.has(key.record()), 1);
            RecordingString byName;
            byName.content = text("stale");
            if (attribute.value) {
                EXPECT_EQ(c.view.valueByName(key.record(), &byName), LUMO_OK);
                EXPECT_EQ(utf8(byName.content), attribute.value);
            } else {
                EXPECT_EQ(c.view.valueByName(key.record(), &byName), LUMO_NO_SUCH_ITEM);
                EXPECT_EQ(byName.setCalls, 0);
                EXPECT_EQ(utf8(byName.content), "stale");
            }
        }
        for (int32_t bad : {-1, count}) {
            RecordingString receiver;
            EXPECT_EQ(c.view.name(bad, &receiver), LUMO_NO_SUCH_ITEM);
            EXPECT_EQ(c.view.value(bad, &receiver), LUMO_NO_SUCH_ITEM);
            EXPECT_EQ(receiver.setCalls, 0);
        }
        // Names match exactly: a name in another case, an unknown name and no name find nothing.
        for (const char* missing : {"Uuid", "UUID", "absent", ""}) {
            SCOPED_TRACE(missing);
            HostString key = HostString::fromUtf8(missing);
            EXPECT_EQ(c.view.has(key.record()), 0);
            RecordingString receiver;
            EXPECT_EQ(c.view.valueByName(key.record(), &receiver), LUMO_NO_SUCH_ITEM);
            EXPECT_EQ(receiver.setCalls, 0);
        }
        EXPECT_EQ(c.view.has(nullptr), 0);
        RecordingString receiver;
        EXPECT_EQ(c.view.valueByName(nullptr, &receiver), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(receiver.setCalls, 0);
    }
}

// ---- Types ----

TEST_F(ResultModelTest, ArgumentTypesResolveToEveryKind) {
    struct Case {
        const char* argument;
        const char* typeName;
        uint32_t kind;
        const char* uuid;  // null: all zero
        int32_t templateArguments;
    };
    const Case cases[] = {
        {"aResult", "LUMORESULT", LUMO_KIND_LUMORESULT, nullptr, 0},
        {"aString", "LumoString", LUMO_KIND_STRING, nullptr, 0},
        {"aInteger", "LumoInteger", LUMO_KIND_INTEGER, nullptr, 0},
        {"aBoolean", "LumoBoolean", LUMO_KIND_BOOLEAN, nullptr, 0},
        {"aReal", "LumoReal", LUMO_KIND_REAL, nullptr, 0},
        {"aObject", "LumoObject", LUMO_KIND_OBJECT, nullptr, 0},
        {"aStrings", "LumoArrayString", LUMO_KIND_ARRAY_STRING, nullptr, 0},
        {"aValue", "LumoValue", LUMO_KIND_VALUE, nullptr, 0},
        {"aIntegers", "LumoArrayInteger", LUMO_KIND_ARRAY_INTEGER, nullptr, 0},
        {"aBooleans", "LumoArrayBoolean", LUMO_KIND_ARRAY_BOOLEAN, nullptr, 0},
        {"aReals", "LumoArrayReal", LUMO_KIND_ARRAY_REAL, nullptr, 0},
        {"aColours", "LumoArrayEnumeration", LUMO_KIND_ARRAY_ENUMERATION, nullptr, 1},
        {"aEnumeration", "LumoEnumeration", LUMO_KIND_ENUMERATION, nullptr, 0},
        {"aValues", "LumoArrayValue", LUMO_KIND_ARRAY_VALUE, nullptr, 0},
        {"aBytes", "LumoArrayByte", LUMO_KIND_ARRAY_BYTE, nullptr, 0},
        {"aUuid", "LumoUUID", LUMO_KIND_UUID, nullptr, 0},
        {"aWindow", "LumoWindowId", LUMO_KIND_WINDOW_ID, nullptr, 0},
        {"aColour", "Model::Colour", LUMO_KIND_ENUMERATION, kColourUuid, 0},
        {"aShape", "Model::IShape", LUMO_KIND_OBJECT, kShapeUuid, 0},
        {"aQualifiedShape", "Model::IShape", LUMO_KIND_OBJECT, kShapeUuid, 0},
        {"aRemote", "Other::IRemote", LUMO_KIND_OBJECT, kRemoteUuid, 0},
        {"aError", "ZEMRA::ILumoError", LUMO_KIND_OBJECT, kLumoErrorUuid, 0},
        {"aBox", "Model::IBox", LUMO_KIND_OBJECT, kBoxUuid, 2},
        {"aCount", "LumoInteger", LUMO_KIND_INTEGER, nullptr, 0},
        {"outcome", "Model::Single", LUMO_KIND_ENUMERATION, kSingleUuid, 0},
    };
    ASSERT_EQ(ILumoIDLMethod_getArgumentCount(everything_), static_cast<int32_t>(std::size(cases)));
    for (int32_t index = 0; index < static_cast<int32_t>(std::size(cases)); ++index) {
        const Case& c = cases[index];
        SCOPED_TRACE(c.argument);
        ILumoIDLMethodArgument* argument = itemAt(everything_, &ILumoIDLMethod_getArgument, index);
        ASSERT_NE(argument, nullptr);
        EXPECT_EQ(nameOf(argument), c.argument);
        ILumoIDLType* type = ILumoIDLMethodArgument_getType(argument);
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(nameOf(type), c.typeName);
        EXPECT_EQ(ILumoIDLType_getKind(type), c.kind);
        EXPECT_TRUE(sameBytes(ILumoIDLType_getUUID(type), uuidBytes(c.uuid ? c.uuid : "")));
        EXPECT_EQ(ILumoIDLType_getTemplateParameterIndex(type), -1);
        EXPECT_EQ(ILumoIDLType_getTemplateArgumentCount(type), c.templateArguments);
    }
}

TEST_F(ResultModelTest, TemplateParametersResolveToTheirIndex) {
    EXPECT_EQ(describe(returnTypeOf(firstMethod_)), "T#18@0");
    EXPECT_EQ(describe(argumentTypeOf(firstMethod_, 0)), "U#18@1");
    EXPECT_TRUE(sameBytes(ILumoIDLType_getUUID(returnTypeOf(firstMethod_)), LumoUUID{}));
    // Built-in return types carry no index.
    EXPECT_EQ(describe(returnTypeOf(limitMethod_)), "LUMORESULT#1");
    EXPECT_EQ(describe(returnTypeOf(nameMethod_)), "LUMORESULT#1");
}

TEST_F(ResultModelTest, TemplateArgumentsFormTreesInWrittenOrder) {
    EXPECT_EQ(describe(boxType_), "Model::IBox#6<LumoString#2,Model::IBox#6<LumoInteger#3,Model::Colour#13>>");
    EXPECT_EQ(describe(argumentTypeOf(everything_, 11)), "LumoArrayEnumeration#12<Model::Colour#13>");

    ILumoIDLType* inner = itemAt(boxType_, &ILumoIDLType_getTemplateArgument, 1);
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(sameBytes(ILumoIDLType_getUUID(inner), uuidBytes(kBoxUuid)));
    ILumoIDLType* colour = itemAt(inner, &ILumoIDLType_getTemplateArgument, 1);
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(sameBytes(ILumoIDLType_getUUID(colour), uuidBytes(kColourUuid)));
    // The argument lists belong to each type: the outer and inner IBox are different records.
    EXPECT_NE(inner, boxType_);
}

// ---- Look-ups ----

/// One look-up, and the record it must find (null: none).
struct Lookup {
    std::string label;
    std::function<LUMORESULT(const void*& out)> find;
    const void* expected;
};

template <class Owner, class Record>
Lookup byName(std::string label, Owner* owner, LUMORESULT (*find)(Owner*, ILumoString*, Record**),
              const char* name, const Record* expected) {
    HostString key = HostString::fromUtf8(name);
    return {std::move(label),
            [=](const void*& out) mutable {
                Record sentinel{};
                Record* found = &sentinel;
                const LUMORESULT code = find(owner, key.record(), &found);
                out = found == &sentinel ? static_cast<const void*>(&out) : static_cast<const void*>(found);
                return code;
            },
            expected};
}

template <class Owner, class Record>
Lookup byUuid(std::string label, Owner* owner, LUMORESULT (*find)(Owner*, const LumoUUID*, Record**),
              const char* uuid, const Record* expected) {
    const LumoUUID key = uuidBytes(uuid);
    return {std::move(label),
            [=](const void*& out) {
                Record sentinel{};
                Record* found = &sentinel;
                const LUMORESULT code = find(owner, &key, &found);
                out = found == &sentinel ? static_cast<const void*>(&out) : static_cast<const void*>(found);
                return code;
            },
            expected};
}

TEST_F(ResultModelTest, LookupsFindQualifiedNamesAndUuidsOfTheirOwnKindAndOwner) {
    ILumoIDLParseResult* r = result();
    ILumoIDLLibrary* model = model_.get();
    ILumoIDLLibrary* other = other_.get();
    const ILumoIDLInterface* noInterface = nullptr;
    const ILumoIDLEnumeration* noEnumeration = nullptr;
    const ILumoIDLCategoryID* noCategory = nullptr;
    const std::vector<Lookup> cases = {
        byName("result: interface", r, &ILumoIDLParseResult_getInterfaceByName, "Model::IShape", shape_),
        byName("result: other library's interface", r, &ILumoIDLParseResult_getInterfaceByName, "Other::IRemote",
               remote_),
        byName("result: name without library", r, &ILumoIDLParseResult_getInterfaceByName, "IShape", noInterface),
        byName("result: library in another case", r, &ILumoIDLParseResult_getInterfaceByName, "model::IShape",
               noInterface),
        byName("result: template parameters are not written", r, &ILumoIDLParseResult_getInterfaceByName,
               "Model::IBox<T, U>", noInterface),
        byName("result: enumeration name among interfaces", r, &ILumoIDLParseResult_getInterfaceByName,
               "Model::Colour", noInterface),
        byName("result: enumeration", r, &ILumoIDLParseResult_getEnumerationByName, "Model::Colour", colour_),
        byName("result: other enumeration", r, &ILumoIDLParseResult_getEnumerationByName, "Other::Distance",
               distance_),
        byName("result: enumeration without library", r, &ILumoIDLParseResult_getEnumerationByName, "Colour",
               noEnumeration),
        byName("result: category ID", r, &ILumoIDLParseResult_getCategoryIDByName, "Other::Remotes", remotes_),
        byName("result: category ID without library", r, &ILumoIDLParseResult_getCategoryIDByName, "Drawables",
               noCategory),
        byUuid("result: interface uuid", r, &ILumoIDLParseResult_getInterfaceByUUID, kRemoteUuid, remote_),
        byUuid("result: uuid written in braces", r, &ILumoIDLParseResult_getInterfaceByUUID, kBoxUuid, box_),
        byUuid("result: enumeration uuid among interfaces", r, &ILumoIDLParseResult_getInterfaceByUUID,
               kColourUuid, noInterface),
        byUuid("result: library uuid", r, &ILumoIDLParseResult_getInterfaceByUUID, kModelUuid, noInterface),
        byUuid("result: enumeration uuid", r, &ILumoIDLParseResult_getEnumerationByUUID, kSingleUuid, single_),
        byUuid("result: unknown uuid", r, &ILumoIDLParseResult_getEnumerationByUUID, kUnknownUuid, noEnumeration),
        byUuid("result: category ID uuid", r, &ILumoIDLParseResult_getCategoryIDByUUID, kDrawablesUuid, drawables_),
        byUuid("result: interface uuid among category IDs", r, &ILumoIDLParseResult_getCategoryIDByUUID,
               kShapeUuid, noCategory),
        byName("Model: own interface", model, &ILumoIDLLibrary_getInterfaceByName, "Model::IBox", box_),
        byName("Model: other library's interface", model, &ILumoIDLLibrary_getInterfaceByName, "Other::IRemote",
               noInterface),
        byName("Model: name without library", model, &ILumoIDLLibrary_getInterfaceByName, "IBox", noInterface),
        byName("Model: own enumeration", model, &ILumoIDLLibrary_getEnumerationByName, "Model::Single", single_),
        byName("Model: other library's enumeration", model, &ILumoIDLLibrary_getEnumerationByName,
               "Other::Distance", noEnumeration),
        byName("Model: own category ID", model, &ILumoIDLLibrary_getCategoryIDByName, "Model::Drawables",
               drawables_),
        byName("Model: other library's category ID", model, &ILumoIDLLibrary_getCategoryIDByName,
               "Other::Remotes", noCategory),
        byUuid("Model: own interface uuid", model, &ILumoIDLLibrary_getInterfaceByUUID, kShapeUuid, shape_),
        byUuid("Model: other library's interface uuid", model, &ILumoIDLLibrary_getInterfaceByUUID, kRemoteUuid,
               noInterface),
        byUuid("Model: own enumeration uuid", model, &ILumoIDLLibrary_getEnumerationByUUID, kColourUuid, colour_),
        byUuid("Model: other library's enumeration uuid", model, &ILumoIDLLibrary_getEnumerationByUUID,
               kDistanceUuid, noEnumeration),
        byUuid("Model: own category ID uuid", model, &ILumoIDLLibrary_getCategoryIDByUUID, kDrawablesUuid,
               drawables_),
        byUuid("Model: other library's category ID uuid", model, &ILumoIDLLibrary_getCategoryIDByUUID,
               kRemotesUuid, noCategory),
        byName("Other: own interface", other, &ILumoIDLLibrary_getInterfaceByName, "Other::IRemote", remote_),
        byName("Other: other library's interface", other, &ILumoIDLLibrary_getInterfaceByName, "Model::IShape",
               noInterface),
        byUuid("Other: own category ID uuid", other, &ILumoIDLLibrary_getCategoryIDByUUID, kRemotesUuid, remotes_),
    };
    for (const Lookup& lookup : cases) {
        SCOPED_TRACE(lookup.label);
        const void* out = nullptr;
        if (lookup.expected) {
            EXPECT_EQ(lookup.find(out), LUMO_OK);
            EXPECT_EQ(out, lookup.expected);
        } else {
            EXPECT_EQ(lookup.find(out), LUMO_NO_SUCH_ITEM);
            EXPECT_EQ(out, nullptr) << "not-found look-ups write null";
        }
    }
}

TEST_F(ResultModelTest, LookupWithoutANameFindsNothing) {
    ILumoIDLInterface sentinel{};
    ILumoIDLInterface* found = &sentinel;
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByName(result(), nullptr, &found), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(found, nullptr);
    ILumoIDLEnumeration enumerationSentinel{};
    ILumoIDLEnumeration* enumeration = &enumerationSentinel;
    EXPECT_EQ(ILumoIDLLibrary_getEnumerationByName(model_.get(), nullptr, &enumeration), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(enumeration, nullptr);
}

// ---- Enumerations ----

TEST_F(ResultModelTest, EnumerationItemsByIndexAndByName) {
    struct Item {
        const char* name;
        int32_t value;
    };
    const Item items[] = {{"Red", 1}, {"Green", 2}, {"Blue", 2}, {"Lowest", INT32_MIN}};
    ASSERT_EQ(ILumoIDLEnumeration_getItemCount(colour_), 4);
    for (int32_t index = 0; index < 4; ++index) {
        const Item& item = items[index];
        SCOPED_TRACE(item.name);
        EXPECT_EQ(readText(
                      [&](ILumoString* s) { ILumoIDLEnumeration_getItemName(colour_, index, s); }),
                  item.name);
        int32_t value = 0;
        EXPECT_EQ(ILumoIDLEnumeration_getItemValue(colour_, index, &value), LUMO_OK);
        EXPECT_EQ(value, item.value);
        HostString key = HostString::fromUtf8(item.name);
        value = 0;
        EXPECT_EQ(ILumoIDLEnumeration_getItemValueByName(colour_, key.record(), &value), LUMO_OK);
        EXPECT_EQ(value, item.value);
        EXPECT_EQ(ILumoIDLEnumeration_hasItem(colour_, key.record()), 1);
    }
    // Items match exactly, without any prefix.
    for (const char* missing : {"Purple", "red", "Colour::Red", "Model::Colour::Red", "Only", ""}) {
        SCOPED_TRACE(missing);
        HostString key = HostString::fromUtf8(missing);
        int32_t value = 77;
        EXPECT_EQ(ILumoIDLEnumeration_getItemValueByName(colour_, key.record(), &value), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(value, 77);
        EXPECT_EQ(ILumoIDLEnumeration_hasItem(colour_, key.record()), 0);
    }
    EXPECT_EQ(ILumoIDLEnumeration_hasItem(colour_, nullptr), 0);
    HostString only = HostString::fromUtf8("Only");
    EXPECT_EQ(ILumoIDLEnumeration_hasItem(single_, only.record()), 1);
}

// ---- Uuids ----

TEST_F(ResultModelTest, UuidPointersAreStableAndHoldTheWrittenBytes) {
    struct Case {
        const char* label;
        std::function<const LumoUUID*()> get;
        const char* expected;  // null: all zero
    };
    ILumoIDLLibrary* model = model_.get();
    ILumoIDLLibrary* other = other_.get();
    ILumoIDLType* shapeType = argumentTypeOf(everything_, 18);
    ILumoIDLType* remoteType = argumentTypeOf(everything_, 20);
    ILumoIDLType* errorType = argumentTypeOf(everything_, 21);
    ILumoIDLType* colourType = argumentTypeOf(everything_, 17);
    ILumoIDLType* objectType = argumentTypeOf(everything_, 5);
    ILumoIDLType* parameterType = returnTypeOf(firstMethod_);
    const Case cases[] = {
        {"Model library", [=] { return ILumoIDLLibrary_getUUID(model); }, kModelUuid},
        {"Other library", [=] { return ILumoIDLLibrary_getUUID(other); }, kOtherUuid},
        {"interface", [this] { return ILumoIDLInterface_getUUID(shape_); }, kShapeUuid},
        {"interface written in braces", [this] { return ILumoIDLInterface_getUUID(box_); }, kBoxUuid},
        {"interface's library", [this] { return ILumoIDLInterface_getLibraryUUID(box_); }, kModelUuid},
        {"other interface's library", [this] { return ILumoIDLInterface_getLibraryUUID(remote_); }, kOtherUuid},
        {"enumeration", [this] { return ILumoIDLEnumeration_getUUID(colour_); }, kColourUuid},
        {"enumeration's library", [this] { return ILumoIDLEnumeration_getLibraryUUID(distance_); }, kOtherUuid},
        {"category ID", [this] { return ILumoIDLCategoryID_getUUID(remotes_); }, kRemotesUuid},
        {"category ID's library", [this] { return ILumoIDLCategoryID_getLibraryUUID(drawables_); }, kModelUuid},
        {"interface type", [=] { return ILumoIDLType_getUUID(shapeType); }, kShapeUuid},
        {"other library's interface type", [=] { return ILumoIDLType_getUUID(remoteType); }, kRemoteUuid},
        {"error interface type", [=] { return ILumoIDLType_getUUID(errorType); }, kLumoErrorUuid},
        {"enumeration type", [=] { return ILumoIDLType_getUUID(colourType); }, kColourUuid},
        {"LumoObject type", [=] { return ILumoIDLType_getUUID(objectType); }, nullptr},
        {"template parameter type", [=] { return ILumoIDLType_getUUID(parameterType); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LumoUUID* first = c.get();
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(sameBytes(first, uuidBytes(c.expected ? c.expected : "")));
        EXPECT_EQ(c.get(), first);
    }
}

TEST_F(ResultModelTest, UuidBytesFollowTheWrittenDigitOrder) {
    const uint8_t box[16] = {0x3F, 0x2A, 0x1B, 0x00, 0x7C, 0x4D, 0x4E, 0x5F,
                             0x8A, 0x6B, 0x0C, 0x1D, 0x2E, 0x3F, 0x4A, 0x02};
    EXPECT_EQ(std::memcmp(ILumoIDLInterface_getUUID(box_)->bytes, box, 16), 0);
    const uint8_t lumoError[16] = {0x85, 0x50, 0x63, 0xFA, 0x5C, 0x39, 0x45, 0xDA,
                                   0x9B, 0x3D, 0x0B, 0x3D, 0x4B, 0x72, 0x66, 0x0C};
    EXPECT_EQ(std::memcmp(ILumoIDLType_getUUID(argumentTypeOf(everything_, 21))->bytes, lumoError, 16), 0);
}

// ---- Lifetime and failed results ----

TEST(ResultModelLifetimeTest, LibraryOutlivesTheReleasedResult) {
    HostParse parse({kModelSource, kOtherSource});
    ASSERT_EQ(parse.error(), "");
    LibraryRef model = libraryAt(parse.result(), 0);
    ASSERT_TRUE(model);
    // An extra reference on the result is given back before the host's own.
    ILumoIDLParseResult_addReference(parse.result());
    ILumoIDLParseResult_release(parse.result());
    parse.release();

    EXPECT_EQ(nameOf(model.get()), "Model");
    EXPECT_TRUE(sameBytes(ILumoIDLLibrary_getUUID(model.get()), uuidBytes(kModelUuid)));
    EXPECT_EQ(interfaceNames(model.get()), (std::vector<std::string>{"IShape", "IBox"}));
    ILumoIDLInterface* shape = itemAt(model.get(), &ILumoIDLLibrary_getInterface, 0);
    ASSERT_NE(shape, nullptr);
    ILumoIDLMethod* everything = itemAt(shape, &ILumoIDLInterface_getMethod, 2);
    ASSERT_NE(everything, nullptr);
    // A type naming an interface of the released Other library keeps its own name and uuid.
    ILumoIDLType* remote = argumentTypeOf(everything, 20);
    EXPECT_EQ(describe(remote), "Other::IRemote#6");
    EXPECT_TRUE(sameBytes(ILumoIDLType_getUUID(remote), uuidBytes(kRemoteUuid)));
    ILumoIDLEnumeration* colour = itemAt(model.get(), &ILumoIDLLibrary_getEnumeration, 0);
    ASSERT_NE(colour, nullptr);
    HostString green = HostString::fromUtf8("Green");
    int32_t value = 0;
    EXPECT_EQ(ILumoIDLEnumeration_getItemValueByName(colour, green.record(), &value), LUMO_OK);
    EXPECT_EQ(value, 2);

    // A second reference on the library keeps it through the first release.
    ILumoIDLLibrary_addReference(model.get());
    ILumoIDLLibrary_release(model.get());
    EXPECT_EQ(nameOf(model.get()), "Model");
}

TEST(ResultModelLifetimeTest, FailedResultStillAnswersEveryOperation) {
    HostParse parse({"[uuid(3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4D00)] library Broken {\n"
                     "    interface INoUuid { };\n"
                     "    [uuid(3F2A1B00-7C4D-4E5F-8A6B-0C1D2E3F4D01)] enum { A = 1 } Letters;\n"
                     "};\n"});
    ILumoIDLParseResult* result = parse.result();
    RecordingString message;
    EXPECT_EQ(ILumoIDLParseResult_getErrorMessage(result, &message), LUMO_OK);
    EXPECT_EQ(utf8(message.content), "Interface \"INoUuid\" must have a uuid attribute");

    // The failing file's library is kept; the cross-library lists stay empty.
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(result), 1);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceCount(result), 0);
    EXPECT_EQ(ILumoIDLParseResult_getEnumerationCount(result), 0);
    EXPECT_EQ(ILumoIDLParseResult_getCategoryIDCount(result), 0);
    ILumoIDLInterface sentinel{};
    ILumoIDLInterface* out = &sentinel;
    EXPECT_EQ(ILumoIDLParseResult_getInterface(result, 0, &out), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(out, &sentinel);
    HostString name = HostString::fromUtf8("Broken::Letters");
    ILumoIDLEnumeration* letters = nullptr;
    EXPECT_EQ(ILumoIDLParseResult_getEnumerationByName(result, name.record(), &letters), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(letters, nullptr);
    EXPECT_EQ(ILumoIDLParseResult_sortInterfaces(result), 1);

    LibraryRef broken = libraryAt(result, 0);
    ASSERT_TRUE(broken);
    EXPECT_EQ(nameOf(broken.get()), "Broken");
    EXPECT_EQ(interfaceNames(broken.get()), (std::vector<std::string>{"INoUuid"}));
}

}  // namespace
