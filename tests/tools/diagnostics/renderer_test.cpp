// The rendered form of diagnostics: location prefixes, excerpts, carets, notes and colour.
#include "tools/diagnostics/renderer.h"

#include <sstream>

#include <gtest/gtest.h>

namespace {

using namespace lumoidl::diagnostics;

TEST(RendererTest, WritesLocationExcerptAndCaretAsCompilersDo) {
    const std::string text = "library L {\r\n/* \xC3\xA9 */\tinterface IShape { };\n";
    const SourceSet sources({{"f.idl", text}});
    const struct {
        const char* name;
        Diagnostic diagnostic;
        bool color;
        const char* rendered;
    } cases[] = {
        {"caret under the token, tabs kept, a two-byte character one column",
         {"M", {"f.idl", 2, 20, 6}, {{"did you mean \"X\"?", {"f.idl", 2, 20, 6}}, {"other", {"f.idl", 1, 9, 1}}}},
         false,
         "f.idl:2:20: error: M\n 2 | /* \xC3\xA9 */\tinterface IShape { };\n   |        \t          ^~~~~~\n"
         "f.idl:2:20: note: did you mean \"X\"?\nf.idl:1:9: note: other\n 1 | library L {\n   |         ^\n"},
        {"no place in the file, and no file", {"M", {"f.idl", 0, 0, 0}, {{"N", {}}}}, false,
         "f.idl: error: M\nlumoidl: note: N\n"},
        {"colour", {"M", {"f.idl", 1, 1, 7}, {}}, true,
         "\033[1mf.idl:1:1:\033[0m\033[1;31m error:\033[0m M\n 1 | library L {\n   | \033[1;32m^~~~~~~\033[0m\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        renderDiagnostic(c.diagnostic, sources, c.color, out);
        EXPECT_EQ(out.str(), c.rendered);
    }
}

}  // namespace
