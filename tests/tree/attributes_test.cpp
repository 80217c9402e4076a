// Attribute lists: the checks of each declaration kind, and look-ups by name after them.
#include "tree/attributes.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "tree/nodes.h"
#include "tree/parser_library.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// A node of `kind` ("list" for a stand-alone list) holding the attributes written in `written`:
/// separated by blanks, each a name alone or "name=value".
std::unique_ptr<ParserAttribList> nodeWith(const std::string& kind, const std::string& written) {
    std::unique_ptr<ParserAttribList> node(
        kind == "library"     ? static_cast<ParserAttribList*>(new ParserLibrary)
        : kind == "interface" ? new ParserInterface(NodeString("I"))
        : kind == "enum"      ? new ParserEnumeration
        : kind == "category"  ? new ParserCatID
        : kind == "method"    ? new ParserMethod
        : kind == "argument"  ? new ParserArg
                              : new ParserAttribList);
    std::istringstream words(written);
    for (std::string word; words >> word;) {
        const size_t equals = word.find('=');
        const bool hasValue = equals != std::string::npos;
        const NodeString attribute(word.substr(0, equals)), value(hasValue ? word.substr(equals + 1) : "");
        // As the parser does: a known name that takes no value, written without one, is the
        // shared attribute, which every list deleted here must leave alone.
        ParserAttribute* shared = hasValue ? nullptr : ParserAttribute::sharedWithoutValue(attributeKey(attribute));
        node->attributes.push_back(shared ? shared : new ParserAttribute(attribute, hasValue ? &value : nullptr));
    }
    return node;
}

TEST(AttributesTest, EachKindAcceptsItsOwnNamesWithValuesWhereRequired) {
    const struct {
        const char* kind;
        const char* written;
        const char* offending;  // empty when the list is accepted
    } cases[] = {
        {"list", "Uuid uuid=1 version= idlversion=1 long_name=x in out retval property_get property_set", ""},
        {"list", "helpstring uuid", "uuid"},
        {"list", "in=x version=1", "in"},
        {"list", "odd in odd=x", "odd"},
        {"library", "uuid=1 version=1 uuid=1", "uuid"},
        {"library", "uuid=1 version=1.0 idlversion=2 long_name=x", "long_name"},
        {"interface", "helpstring=x uuid", "uuid"},
        {"interface", "uuid=1 version=1", "version"},
        {"enum", "uuid=1 in", "in"},
        {"category", "uuid=1 local", "local"},
        {"method", "property_get property_set long_name=x in", "in"},
        {"argument", "in out retval", ""},
        {"argument", "out in out", "out"},
        {"argument", "in out retval UUID=1", "UUID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " [" + c.written + "]");
        std::string offending;
        EXPECT_EQ(nodeWith(c.kind, c.written)->validateAttributes(offending), *c.offending == 0);
        EXPECT_EQ(offending, c.offending);
    }
}

TEST(AttributesTest, LooksUpTheNamesTheChecksHaveEntered) {
    // The checks enter the names up to the first offending one ("out", which takes no value).
    const auto list = nodeWith("list", "uuid=A in version= out=x retval");
    EXPECT_FALSE(list->containsAttribute("uuid"));
    std::string offending;
    EXPECT_FALSE(list->validateAttributes(offending));
    EXPECT_STREQ(list->findAttributeValue("uuid"), "A");
    EXPECT_EQ(list->findAttributeValue("in"), nullptr);
    EXPECT_TRUE(list->containsAttribute("out"));
    EXPECT_FALSE(list->containsAttribute("retval"));
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
