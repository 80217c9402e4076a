// The workspace model: which files, in which order, whose text; and its check, diagnostics by URI.
#include "tools/lsp/workspace.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "tools/lsp/diagnostic_json.h"
#include "tools/lsp/uri.h"
#include "tools/lsp/workspace_check.h"

namespace {

namespace fs = std::filesystem;
using lumoidl::lsp::Workspace;

const std::string kValid =
    "[uuid(11111111-0000-4000-8000-000000000001)]\nlibrary L {\n"
    "    [uuid(0A000000-0000-4000-8000-000000000001)]\n    interface IA { LUMORESULT f([in] IB b); };\n"
    "    [uuid(0A000000-0000-4000-8000-000000000002)]\n    interface IB { };\n};\n";

/// A scratch folder holding the given files; folders on the way are made.
class Folder {
public:
    explicit Folder(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [name, text] : files) write(name, text);
    }
    void write(const std::string& name, const std::string& text) const {
        fs::create_directories(dir_.path(name).parent_path());
        dir_.write(name, text);
    }
    std::string uri(const std::string& name) const { return lumoidl::lsp::pathToUri(dir_.path(name).generic_string()); }
    fs::path root() const { return dir_.path(""); }

private:
    lumoidl::test::ScratchDir dir_;
};

std::vector<std::string> names(const Workspace& workspace) {
    std::vector<std::string> out;
    for (const auto& document : workspace.documents()) out.push_back(document.displayName + (document.open ? "*" : ""));
    return out;
}

TEST(Workspace, ListsIdlFilesByPathUnlessTheListFileOrdersThem) {
    const Folder folder({{"b.idl", ""}, {"a/z.idl", ""}, {"a.idl", ""}, {".git/x.idl", ""}, {"notes.txt", ""}});
    Workspace workspace(folder.root());
    EXPECT_EQ(names(workspace), (std::vector<std::string>{"a.idl", "a/z.idl", "b.idl"}));
    folder.write("lumoidl.json", R"({"files": ["b.idl", "a.idl"]})");
    workspace.rescan();
    EXPECT_EQ(names(workspace), (std::vector<std::string>{"b.idl", "a.idl"}));
    folder.write("lumoidl.json", R"({"files": "b.idl"})");
    workspace.rescan();
    EXPECT_EQ(names(workspace).size(), 3u);
    EXPECT_NE(workspace.listProblem(), "");
}

TEST(Workspace, OpenBuffersWinUntilClosed) {
    const Folder folder({{"a.idl", "disk"}, {"b.txt", ""}});
    Workspace workspace(folder.root());
    const std::string a = folder.uri("a.idl"), outside = lumoidl::lsp::pathToUri("/elsewhere/o.idl");
    workspace.open(a, "buffer");
    workspace.open(outside, "other");
    const unsigned opened = workspace.find(a)->version;
    workspace.rescan();
    EXPECT_EQ(workspace.find(a)->text, "buffer");
    EXPECT_EQ(workspace.find(a)->version, opened) << "a rescan keeps the version of unchanged text";
    workspace.change(a, "edited");
    EXPECT_GT(workspace.find(a)->version, opened);
    EXPECT_EQ(names(workspace), (std::vector<std::string>{"a.idl*", "/elsewhere/o.idl*"}));
    workspace.close(a);
    workspace.close(outside);
    EXPECT_EQ(workspace.find(a)->text, "disk");
    EXPECT_EQ(names(workspace), std::vector<std::string>{"a.idl"});
}

TEST(WorkspaceCheck, DiagnosticsFollowTheUnsavedTextAndNameDocumentUris) {
    const Folder folder({{"a.idl", kValid}, {"b.txt", ""}});
    Workspace workspace(folder.root());
    lumoidl::lsp::WorkspaceChecker checker;
    EXPECT_TRUE(checker.check(workspace.documents()).empty());
    std::string broken = kValid;
    broken.replace(broken.find("IB b"), 4, "IC b");
    workspace.open(folder.uri("a.idl"), broken);
    std::vector<std::string> first;
    const auto found = checker.check(workspace.documents(), {},
                                     [&](const lumoidl::diagnostics::Diagnostic& d) { first.push_back(d.message); });
    ASSERT_EQ(first.size(), 1u) << "the library's own failure is handed on before the search";
    EXPECT_EQ(first[0], found.at(0).message);
    const auto lists = lumoidl::lsp::clientDiagnostics(found, workspace.documents());
    ASSERT_EQ(lists.size(), 1u);
    const auto& list = lists.at(folder.uri("a.idl"));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["range"].dump(), R"({"end":{"character":39,"line":3},"start":{"character":37,"line":3}})");
    EXPECT_NE(list[0]["message"].get<std::string>().find("unresolved type \"IC\"\ndid you mean \"IA\"?"), std::string::npos)
        << list[0]["message"];
    workspace.change(folder.uri("a.idl"), kValid);
    EXPECT_TRUE(checker.check(workspace.documents()).empty());
}

}  // namespace
