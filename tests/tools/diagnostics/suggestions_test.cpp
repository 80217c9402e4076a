// Edit distance and the names suggested for misspelt types and attributes.
#include "tools/diagnostics/suggestions.h"

#include <gtest/gtest.h>

#include "tools/diagnostics/locator.h"

namespace {

using namespace lumoidl::diagnostics;

TEST(SuggestionsTest, EditDistanceCountsInsertionsDeletionsSubstitutionsAndSwaps) {
    const struct {
        const char *a, *b;
        size_t distance;
    } cases[] = {{"", "", 0}, {"", "abc", 3}, {"IShape", "IShape", 0}, {"IShap", "IShape", 1},
                 {"IShape", "Ishape", 1}, {"ISahpe", "IShape", 1}, {"kitten", "sitting", 3}, {"ab", "ba", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(editDistance(c.a, c.b), c.distance);
        EXPECT_EQ(editDistance(c.b, c.a), c.distance);
    }
}

TEST(SuggestionsTest, AttributeNamesWithinReachAreSuggested) {
    const std::vector<std::string> takes = {"property_get", "property_set", "long_name"};
    EXPECT_EQ(closestName("propget", takes), std::nullopt);
    EXPECT_EQ(closestName("property_gte", takes), "property_get");
    EXPECT_EQ(closestName("longname", takes), "long_name");
    EXPECT_EQ(closestName("long_name", takes), std::nullopt);
}

TEST(SuggestionsTest, TypesComeFromEveryLibraryTheTemplateParametersAndTheBuiltIns) {
    const std::string geometry =
        "[uuid(0A000000-0000-4000-8000-000000000001)] library Geometry {\n"
        "  [uuid(0A000000-0000-4000-8000-000000000002)] interface IShape { };\n"
        "  [uuid(0A000000-0000-4000-8000-000000000003)] enum { R = 1 } Color;\n};\n";
    const std::string drawing =
        "[uuid(0B000000-0000-4000-8000-000000000001)] library Drawing {\n"
        "  [uuid(0B000000-0000-4000-8000-000000000002)] interface ICanvas<TLayer> { };\n};\n";
    const SourceSet sources({{"geometry.idl", geometry}, {"drawing.idl", drawing}});
    const std::vector<Word> parameters = {{"TLayer", {}}};
    const struct {
        const char* written;
        size_t file;
        std::optional<std::string> suggested;
    } cases[] = {
        {"Geometry::IShap", 1, "Geometry::IShape"}, {"IShape", 1, "Geometry::IShape"},
        {"IShap", 0, "IShape"},                     {"Colour", 0, "Color"},
        {"TLayr", 1, "TLayer"},                     {"LumoStrin", 1, "LumoString"},
        {"HRESULT", 1, std::nullopt},               {"Drawing::Geometry", 1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(closestType(c.written, sources, c.file, parameters), c.suggested);
    }
}

}  // namespace
