// The marked IDL examples of docs/*.md run through the library, and the list of every message it gives.
//
// Marker convention (docs/language.md, "About the examples"):
//   ```idl passes            a file example.idl that the library accepts
//   ```idl fails             a file example.idl that the library rejects; the next non-blank line
//   > Message: `...`         after the fence is the exact message
//   ```idl file=other.idl    a further file of the next example; the example's files are passed
//                            in the order they are written, the verdict block's file last
//   files=a.idl,b.idl        on the verdict block: the names handed to the library instead
//                            (empty: no file at all; a name not written is a missing file)
//   {{repeat N "TEXT"}}      inside a block: TEXT written N times
// A plain ```idl block is an illustration and is not run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host/references.h"

namespace {

namespace fs = std::filesystem;

using lumoidl::host::errorMessage;
using lumoidl::host::parseFiles;
using lumoidl::host::ResultRef;

const fs::path kDocsDir = LUMOIDL_DOCS_DIR;
const char kLanguageGuide[] = "language.md";
const char kDefaultFile[] = "example.idl";
const char kMessagePrefix[] = "> Message: `";

/// Every message the library can give, as docs/language.md shows it: a word in capitals
/// stands for an inserted value (placeholderPattern says which text it stands for).
const std::vector<std::string> kMessageTemplates = {
    // The file loop.
    R"(No input files specified)",
    R"(Failed to open "FILE" for reading: DETAIL)",
    R"(Parse error in "FILE": line LINE, pos POS: syntax error)",
    R"(Parse error in "FILE": line LINE, pos POS: yacc stack overflow)",
    // Libraries.
    R"(Invalid format of attribute "ATTR" for library "LIB")",
    R"(Library "LIB" must have a uuid)",
    R"(Library "LIB" has invalid uuid attribute)",
    R"(Library "LIB" cannot have null uuid)",
    // Interfaces, methods and arguments.
    R"(Invalid interface name "NAME" in "FILE")",
    R"(Interface "IFACE" has invalid specification of attribute "ATTR" in "FILE")",
    R"(Type "IFACE" cannot be redefined as interface in "FILE")",
    R"(Interface "QNAME" is declared multiple times in "FILE")",
    R"(Interface "IFACE" must have a uuid attribute)",
    R"(Interface "IFACE" has invalid uuid attribute)",
    R"(Interface "IFACE" cannot have null uuid)",
    R"(Interface "IFACE" redefines uuid "UUIDTEXT" in "FILE")",
    R"(Type "NAME" cannot be used as template argument in interface "IFACE" in "FILE")",
    R"(Method "METHOD" in interface "IFACE" has invalid specification of attribute "ATTR" in "FILE")",
    R"(Method "METHOD" in interface "IFACE" cannot have both "property_set" and "property_get" attributes in "FILE")",
    R"(Argument "ARG" of method "METHOD" in interface "IFACE" has invalid attribute "ATTR" in "FILE")",
    R"msg(Method "METHOD" in interface "IFACE" has multiple arguments named "NAME" in "FILE" (all argument must differ by name in case-insensitive languages))msg",
    R"(Argument "ARG" of method "METHOD" in interface "IFACE" has both "in" and "out" attributes in "FILE")",
    R"(Argument "ARG" of method "METHOD" in interface "IFACE" has "retval" attribute but not "out" attribute in "FILE")",
    R"(Argument "ARG" of method "METHOD" in interface "IFACE" has "in" attribute but appears after argument with "out" attribute in "FILE")",
    R"(Argument "ARG" of method "METHOD" in interface "IFACE" has neither "in" nor "out" attribute in "FILE")",
    R"msg(Method "METHOD" in interface "IFACE" has invalid "retval" argument (must be last argument) in "FILE")msg",
    R"(Method "METHOD" in interface "IFACE" has "property_set" attribute, and must have exactly one argument)",
    R"(Method "METHOD" in interface "IFACE" has "property_set" attribute; its argument must have attribute "in")",
    R"(Method "METHOD" in interface "IFACE" has "property_get" attribute, and must have exactly one argument)",
    R"(Method "METHOD" in interface "IFACE" has "property_get" attribute; its argument must have attributes "out" and "retval")",
    R"msg(Multiple methods "METHOD" exist in interface "IFACE" that cannot be distinguished by argument type in "FILE" (all methods must differ by name or argument list in case-insensitive languages))msg",
    // Enumerations.
    R"(Invalid enumeration name "NAME" in "FILE")",
    R"(Enumeration "ENUM" has invalid specification of attribute "ATTR" in "FILE")",
    R"(Type "ENUM" cannot be redefined as enumeration in "FILE")",
    R"(Enumeration "QNAME" is declared multiple times in "FILE")",
    R"(Multiple types "QNAME" are declared in "FILE")",
    R"(Enumeration "ENUM" must have a uuid attribute)",
    R"(Enumeration "ENUM" has invalid uuid attribute)",
    R"(Enumeration "ENUM" cannot have null uuid)",
    R"(Enumeration "ENUM" redefines uuid "UUIDTEXT" in "FILE")",
    R"(Multiple types with uuid "UUIDTEXT" are defined in "FILE")",
    R"(Enumeration "ENUM" has multiple definitions of item "ITEM" in "FILE")",
    // Category IDs.
    R"(Invalid category ID name "NAME" in "FILE")",
    R"(Category ID "CATID" has invalid specification of attribute "ATTR" in "FILE")",
    R"(Type "CATID" cannot be redefined as category ID in "FILE")",
    R"(Category ID "QNAME" is declared multiple times in "FILE")",
    R"(Multiple types "CATID" are declared in "FILE")",
    R"(Category ID "CATID" must have a uuid attribute)",
    R"(Category ID "CATID" has invalid uuid attribute)",
    R"(Category ID "CATID" cannot have null uuid)",
    R"(Category ID "CATID" redefines uuid "UUIDTEXT" in "FILE")",
    // Across libraries.
    R"(Type "QNAME" is defined in multiple libraries)",
    R"(Type with uuid "UUID" is defined in multiple libraries)",
    // Type resolution: each reason under both headings, the count in both grammatical numbers.
    R"(Error with return type of method "METHOD" of interface "IFACE": unresolved type "NAME")",
    R"(Error with return type of method "METHOD" of interface "IFACE": template argument count mismatch for "NAME", expected E argument, received N)",
    R"(Error with return type of method "METHOD" of interface "IFACE": Type "NAME" must have enumeration type as template argument)",
    R"(Error with type of argument "ARG" of method "METHOD" of interface "IFACE": unresolved type "NAME")",
    R"(Error with type of argument "ARG" of method "METHOD" of interface "IFACE": template argument count mismatch for "NAME", expected E arguments, received N)",
    R"(Error with type of argument "ARG" of method "METHOD" of interface "IFACE": Type "NAME" must have enumeration type as template argument)",
};

/// Messages of failures inside the library that no input brings about: the guide names them
/// but cannot show an example.
const std::vector<std::string> kInternalMessages = {
    R"(Parse error in "FILE": Unknown parser error)",
    R"(Unhandled parser exception: DETAIL)",
};

/// The text a placeholder word of kMessageTemplates stands for, as a regular expression.
std::string placeholderPattern(const std::string& word) {
    if (word == "QNAME") return R"([^":]+::[^"]*)";
    // Plain declared names: a qualified name in their place would be another message.
    if (word == "IFACE" || word == "ENUM" || word == "CATID") return R"([^":]+)";
    if (word == "UUID") return "[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}";
    if (word == "LINE" || word == "POS" || word == "E" || word == "N") return "[0-9]+";
    if (word == "DETAIL") return ".+";
    return R"([^"]*)";
}

/// A regular expression that matches exactly the messages of one template.
std::regex templatePattern(const std::string& messageTemplate) {
    static const std::regex kWord(
        R"(\b(LIB|IFACE|METHOD|ARG|ENUM|CATID|ITEM|ATTR|NAME|QNAME|UUIDTEXT|UUID|FILE|LINE|POS|E|N|DETAIL)\b)");
    std::string pattern;
    size_t literalStart = 0;
    const auto appendLiteral = [&](size_t end) {
        for (size_t i = literalStart; i < end; ++i) {
            const char c = messageTemplate[i];
            if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
            pattern += c;
        }
    };
    for (auto it = std::sregex_iterator(messageTemplate.begin(), messageTemplate.end(), kWord);
         it != std::sregex_iterator(); ++it) {
        appendLiteral(static_cast<size_t>(it->position()));
        pattern += "(" + placeholderPattern(it->str()) + ")";
        literalStart = static_cast<size_t>(it->position() + it->length());
    }
    appendLiteral(messageTemplate.size());
    return std::regex(pattern);
}

/// One file of an example.
struct ExampleFile {
    std::string name;  ///< file name, as the library is given it
    std::string text;  ///< content, with repeats expanded
};

/// One marked example of a document.
struct DocExample {
    std::string doc;                  ///< the document's file name
    int line = 0;                     ///< line of the verdict block's opening fence
    std::vector<ExampleFile> files;   ///< written into the working directory
    std::vector<std::string> passed;  ///< names handed to the library, in order
    bool fails = false;               ///< true for a rejected example
    std::string message;              ///< expected message; empty when the example passes

    /// "language.md:123", for failure reports and test names.
    std::string where() const { return doc + ":" + std::to_string(line); }
};

/// Shows an example by its place in the documents when a test names its parameter.
void PrintTo(const DocExample& example, std::ostream* out) { *out << example.where(); }

/// What the documents hold: the examples and every marker that could not be understood.
struct DocExamples {
    std::vector<DocExample> examples;
    std::vector<std::string> problems;
};

/// Replaces every {{repeat N "TEXT"}} by TEXT written N times.
std::string expandRepeats(const std::string& text) {
    static const std::regex kRepeat(R"re(\{\{repeat ([0-9]+) "([^"]*)"\}\})re");
    std::string expanded;
    auto last = text.cbegin();
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kRepeat); it != std::sregex_iterator(); ++it) {
        expanded.append(last, (*it)[0].first);
        for (int k = std::stoi((*it)[1].str()); k > 0; --k) expanded += (*it)[2].str();
        last = (*it)[0].second;
    }
    expanded.append(last, text.cend());
    return expanded;
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

std::vector<std::string> splitNames(const std::string& list) {
    std::vector<std::string> names;
    std::istringstream stream(list);
    for (std::string name; std::getline(stream, name, ',');) names.push_back(name);
    return names;
}

/// Reads the marked examples of the document `doc`, whose text is `in`, into `out`.
void readDocument(const std::string& doc, std::istream& in, DocExamples& out) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const auto problem = [&](size_t index, const std::string& what) {
        out.problems.push_back(doc + ":" + std::to_string(index + 1) + ": " + what);
    };

    std::vector<ExampleFile> pending;
    size_t pendingLine = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("```", 0) != 0) continue;
        const size_t open = i;
        const std::vector<std::string> info = splitWords(lines[i].substr(3));
        std::string body;
        for (++i; i < lines.size() && lines[i].rfind("```", 0) != 0; ++i) body += lines[i] + "\n";
        if (info.empty() || info[0] != "idl") continue;

        bool passes = false, fails = false, named = false, listed = false;
        std::string name = kDefaultFile, files;
        for (size_t w = 1; w < info.size(); ++w) {
            const std::string& word = info[w];
            if (word == "passes") {
                passes = true;
            } else if (word == "fails") {
                fails = true;
            } else if (word.rfind("file=", 0) == 0) {
                named = true;
                name = word.substr(5);
            } else if (word.rfind("files=", 0) == 0) {
                listed = true;
                files = word.substr(6);
            } else {
                problem(open, "unknown marker word \"" + word + "\"");
            }
        }
        if (!passes && !fails) {
            if (listed) problem(open, "files= without passes or fails");
            if (named) {
                if (pending.empty()) pendingLine = open;
                pending.push_back({name, expandRepeats(body)});
            }
            continue;
        }
        if (passes && fails) problem(open, "both passes and fails");

        DocExample example;
        example.doc = doc;
        example.line = static_cast<int>(open + 1);
        example.files = std::move(pending);
        pending.clear();
        example.files.push_back({name, expandRepeats(body)});
        std::set<std::string> written;
        for (const ExampleFile& file : example.files) {
            if (!written.insert(file.name).second) problem(open, "file " + file.name + " written twice");
            example.passed.push_back(file.name);
        }
        if (listed) example.passed = splitNames(files);
        example.fails = fails;

        size_t next = i + 1;
        while (next < lines.size() && lines[next].find_first_not_of(" \t\r") == std::string::npos) ++next;
        const bool hasMessage = next < lines.size() && lines[next].rfind(kMessagePrefix, 0) == 0;
        if (hasMessage) {
            const std::string& line = lines[next];
            const size_t start = std::string_view(kMessagePrefix).size();
            const size_t end = line.rfind('`');
            if (end < start) problem(next, "message without its closing backtick");
            else example.message = line.substr(start, end - start);
        }
        if (fails && !hasMessage) problem(open, "failing example without a message line");
        if (passes && hasMessage) problem(next, "message line under a passing example");
        out.examples.push_back(std::move(example));
    }
    if (!pending.empty()) problem(pendingLine, "file block that no passes or fails block follows");
}

/// The examples of every document in the docs directory, in file name order.
const DocExamples& docExamples() {
    static const DocExamples all = [] {
        DocExamples read;
        std::vector<fs::path> docs;
        for (const auto& entry : fs::directory_iterator(kDocsDir))
            if (entry.path().extension() == ".md") docs.push_back(entry.path());
        std::sort(docs.begin(), docs.end());
        for (const fs::path& doc : docs) {
            std::ifstream in(doc, std::ios::binary);
            readDocument(doc.filename().string(), in, read);
        }
        return read;
    }();
    return all;
}

/// A fresh, empty directory removed with its files when the object goes.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::random_device device;
        do {
            path_ = fs::temp_directory_path() / ("lumoidl-doc-" + std::to_string(device()) + std::to_string(device()));
        } while (!fs::create_directory(path_));
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

/// Makes a directory the working directory for a scope, so that bare file names open there
/// and the messages show them exactly as the guide writes them.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& path) : previous_(fs::current_path()) { fs::current_path(path); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

/// Writes the example's files into a scratch directory and returns the library's message.
std::string messageOf(const DocExample& example) {
    ScratchDirectory dir;
    for (const ExampleFile& file : example.files) {
        std::ofstream out(dir.path() / file.name, std::ios::binary);
        out << file.text;
    }
    WorkingDirectory inside(dir.path());
    ResultRef result = parseFiles(example.passed);
    return errorMessage(result.get());
}

/// The examples of docs/language.md with the message each really gives.
std::vector<std::pair<const DocExample*, std::string>> guideMessages() {
    std::vector<std::pair<const DocExample*, std::string>> messages;
    for (const DocExample& example : docExamples().examples)
        if (example.doc == kLanguageGuide) messages.emplace_back(&example, messageOf(example));
    return messages;
}

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DocExampleTest : public ::testing::TestWithParam<DocExample> {};

TEST_P(DocExampleTest, GivesTheMessageWrittenUnderIt) {
    const DocExample& example = GetParam();
    SCOPED_TRACE(example.where());
    EXPECT_EQ(messageOf(example), example.message);
}

INSTANTIATE_TEST_SUITE_P(Docs, DocExampleTest, ::testing::ValuesIn(docExamples().examples),
                         [](const ::testing::TestParamInfo<DocExample>& info) {
                             std::string name = info.param.where();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(DocExamplesTest, EveryMarkerIsUnderstood) {
    for (const std::string& problem : docExamples().problems) ADD_FAILURE() << problem;
}

TEST(DocExamplesTest, TheGuideHasPassingAndFailingExamples) {
    int passing = 0, failing = 0;
    for (const DocExample& example : docExamples().examples)
        if (example.doc == kLanguageGuide) ++(example.fails ? failing : passing);
    EXPECT_GT(passing, 0);
    EXPECT_GE(failing, static_cast<int>(kMessageTemplates.size()));
}

TEST(DocExamplesTest, EveryMessageHasAFailingExampleInTheGuide) {
    const auto messages = guideMessages();
    for (const std::string& messageTemplate : kMessageTemplates) {
        const std::regex pattern = templatePattern(messageTemplate);
        bool produced = false;
        for (const auto& [example, message] : messages)
            produced = produced || (example->fails && std::regex_match(message, pattern));
        EXPECT_TRUE(produced) << "no failing example gives: " << messageTemplate;
    }
}

TEST(DocExamplesTest, EveryFailingExampleGivesAListedMessage) {
    std::vector<std::regex> patterns;
    for (const std::string& messageTemplate : kMessageTemplates) patterns.push_back(templatePattern(messageTemplate));
    for (const auto& [example, message] : guideMessages()) {
        if (!example->fails) continue;
        bool listed = false;
        for (const std::regex& pattern : patterns) listed = listed || std::regex_match(message, pattern);
        EXPECT_TRUE(listed) << example->where() << " gives a message of no listed form: " << message;
    }
}

TEST(DocExamplesTest, TheGuideShowsEveryMessageInItsListedForm) {
    const std::string guide = readWhole(kDocsDir / kLanguageGuide);
    for (const auto* list : {&kMessageTemplates, &kInternalMessages})
        for (const std::string& messageTemplate : *list)
            EXPECT_NE(guide.find("`" + messageTemplate + "`"), std::string::npos) << messageTemplate;
}

TEST(DocExamplesTest, TemplatesMatchOnlyTheirOwnMessages) {
    EXPECT_TRUE(std::regex_match(R"(Multiple types "Shapes::Color" are declared in "example.idl")",
                                 templatePattern(R"(Multiple types "QNAME" are declared in "FILE")")));
    EXPECT_FALSE(std::regex_match(R"(Multiple types "Shapes::Color" are declared in "example.idl")",
                                  templatePattern(R"(Multiple types "CATID" are declared in "FILE")")));
    EXPECT_FALSE(std::regex_match(R"(Library "Shapes" must have a uuid attribute)",
                                  templatePattern(R"(Library "LIB" must have a uuid)")));
    EXPECT_TRUE(std::regex_match("Parse error in \"a (1).idl\": line 3, pos 14: syntax error",
                                 templatePattern(R"(Parse error in "FILE": line LINE, pos POS: syntax error)")));
}

TEST(DocExamplesTest, ReaderJoinsFilesAndReadsVerdictsAndMessages) {
    std::istringstream doc(
        "```idl\nfragment\n```\n"
        "```idl file=other.idl\nfirst\n```\n"
        "```idl fails\nsecond {{repeat 3 \"ab\"}}\n```\n\n"
        "> Message: `Type \"X\" is defined in multiple libraries`\n"
        "```idl passes files=\nthird\n```\n"
        "```c\nint x;\n```\n");
    DocExamples read;
    readDocument("guide.md", doc, read);
    EXPECT_TRUE(read.problems.empty());
    ASSERT_EQ(read.examples.size(), 2u);
    const DocExample& failing = read.examples[0];
    EXPECT_EQ(failing.where(), "guide.md:7");
    ASSERT_EQ(failing.files.size(), 2u);
    EXPECT_EQ(failing.files[0].name, "other.idl");
    EXPECT_EQ(failing.files[0].text, "first\n");
    EXPECT_EQ(failing.files[1].name, "example.idl");
    EXPECT_EQ(failing.files[1].text, "second ababab\n");
    EXPECT_EQ(failing.passed, (std::vector<std::string>{"other.idl", "example.idl"}));
    EXPECT_TRUE(failing.fails);
    EXPECT_EQ(failing.message, "Type \"X\" is defined in multiple libraries");
    const DocExample& passing = read.examples[1];
    EXPECT_FALSE(passing.fails);
    EXPECT_EQ(passing.message, "");
    EXPECT_TRUE(passing.passed.empty());
}

TEST(DocExamplesTest, ReaderReportsMarkersItCannotUse) {
    std::istringstream doc(
        "```idl fails\nno message\n```\n"
        "```idl passes\nwith message\n```\n> Message: `x`\n"
        "```idl fails sometimes\nx\n```\n> Message: `x`\n"
        "```idl file=other.idl\nleft over\n```\n");
    DocExamples read;
    readDocument("guide.md", doc, read);
    EXPECT_EQ(read.problems, (std::vector<std::string>{
                                 "guide.md:1: failing example without a message line",
                                 "guide.md:7: message line under a passing example",
                                 "guide.md:8: unknown marker word \"sometimes\"",
                                 "guide.md:12: file block that no passes or fails block follows",
                             }));
}

}  // namespace
