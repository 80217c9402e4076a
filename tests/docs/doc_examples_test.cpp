// The marked IDL examples of docs/*.md run through the library against the message written under each,
// and through the tool's locator against the place written under that.
// Markers (docs/language.md, "About the examples"): ```idl passes and ```idl fails are the file example.idl,
// the next non-blank line "> Message: `...`" holds the exact message, and an optional line
// "> At: `FILE:LINE:COL`" the place (with "; note at `...`" for each note); ```idl file=NAME is a further file
// of the next example; files=A,B on the verdict block names the files handed over; {{repeat N "TEXT"}} stands
// for TEXT written N times. A plain ```idl block is a fragment and is not run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/references.h"
#include "tools/diagnostics/locator.h"
#include "support/fake_host.h"

namespace {

namespace fs = std::filesystem;

/// The library's message for the files `written`, handed over as `passed`, in a scratch working directory.
std::string messageOf(const std::vector<std::pair<std::string, std::string>>& written,
                      const std::vector<std::string>& passed) {
    const lumoidl::test::ScratchDir dir;
    for (const auto& [name, text] : written) dir.write(name, text);
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path(""));
    const std::string message = lumoidl::host::errorMessage(lumoidl::host::parseFiles(passed).get());
    fs::current_path(previous);
    return message;
}

/// The "> At:" line at `index` (after any blank or bare ">" lines) as written, or "" when there is none.
std::string atLine(const std::vector<std::string>& lines, size_t index) {
    while (index < lines.size() && (lines[index].empty() || lines[index] == ">")) ++index;
    return index < lines.size() && lines[index].starts_with("> At: ") ? lines[index].substr(6) : "";
}

std::string placeText(const lumoidl::diagnostics::Location& at) {
    if (at.file.empty()) return "";
    return "`" + at.file + (at.line ? ":" + std::to_string(at.line) + ":" + std::to_string(at.column) : "") + "`";
}

/// Where the tool's locator puts `message` in the files `written`, as an "> At:" line says it.
std::string placeOf(const std::string& message, const std::vector<std::pair<std::string, std::string>>& written) {
    std::vector<lumoidl::diagnostics::SourceSet::File> files;
    for (const auto& [name, text] : written) files.push_back({name, text});
    const auto located = lumoidl::diagnostics::locateMessage(message, lumoidl::diagnostics::SourceSet(files));
    std::string text = placeText(located.diagnostic.location);
    for (const auto& note : located.diagnostic.notes)
        if (note.location.line != located.diagnostic.location.line) text += "; note at " + placeText(note.location);
    return text;
}

TEST(DocExamplesTest, EveryMarkedExampleGivesTheMessageWrittenUnderIt) {
    const std::regex repeat(R"re(\{\{repeat ([0-9]+) "([^"]*)"\}\})re");
    int examples = 0;
    for (const auto& entry : fs::directory_iterator(LUMOIDL_DOCS_DIR)) {
        if (entry.path().extension() != ".md") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::vector<std::pair<std::string, std::string>> written;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!lines[i].starts_with("```idl ")) continue;
            const std::string where = entry.path().filename().string() + ":" + std::to_string(i + 1);
            std::istringstream words(lines[i].substr(7));
            std::string name = "example.idl", verdict, files = "-";
            for (std::string word; words >> word;) {
                if (word == "passes" || word == "fails") verdict = word;
                else if (word.starts_with("file=")) name = word.substr(5);
                else if (word.starts_with("files=")) files = word.substr(6);
                else ADD_FAILURE() << where << ": unknown marker word " << word;
            }
            std::string body;
            for (++i; i < lines.size() && !lines[i].starts_with("```"); ++i) body += lines[i] + "\n";
            for (std::smatch m; std::regex_search(body, m, repeat);) {
                std::string text;
                for (int k = std::stoi(m[1]); k > 0; --k) text += m[2];
                body.replace(static_cast<size_t>(m.position(0)), static_cast<size_t>(m.length(0)), text);
            }
            written.emplace_back(name, body);
            if (verdict.empty()) continue;

            std::vector<std::string> passed;
            if (files == "-") {
                for (const auto& file : written) passed.push_back(file.first);
            }
            for (std::istringstream list(files); files != "-" && std::getline(list, name, ',');) passed.push_back(name);
            size_t next = i + 1;
            while (next < lines.size() && lines[next].empty()) ++next;
            std::string message;
            if (next < lines.size() && lines[next].starts_with("> Message: `") && lines[next].ends_with("`"))
                message = lines[next].substr(12, lines[next].size() - 13);
            EXPECT_EQ(message.empty(), verdict == "passes") << where << ": the message line under a " << verdict;
            EXPECT_EQ(messageOf(written, passed), message) << where;
            if (!message.empty()) {
                EXPECT_EQ(placeOf(message, written), atLine(lines, next + 1)) << where;
            }
            written.clear();
            ++examples;
        }
        EXPECT_TRUE(written.empty()) << entry.path() << ": a file block that no verdict block follows";
    }
    EXPECT_GT(examples, 60);
}

}  // namespace
