// Converting located diagnostics into client diagnostics with ranges and related information.
#include "tools/lsp/diagnostic_json.h"

#include <memory>

#include "tools/lsp/line_index.h"

namespace lumoidl::lsp {
namespace {

using nlohmann::json;

json positionJson(Position position) { return {{"line", position.line}, {"character", position.character}}; }

/// Finds documents by display name and keeps one line index per document asked for.
class Places {
public:
    explicit Places(const std::vector<Document>& documents) : documents_(documents) {}

    const Document* document(const std::string& displayName) const {
        for (const Document& document : documents_)
            if (document.displayName == displayName) return &document;
        return nullptr;
    }

    /// The range of `location` in `document`: its bytes, or the file's start when it has no line.
    json range(const Document& document, const diagnostics::Location& location) {
        auto& index = indexes_[&document];
        if (!index) index = std::make_unique<LineIndex>(document.text);
        const Position start = index->position(location.line, location.column);
        Position end = start;
        if (location.line != 0) end = index->position(index->offset(start) + location.length);
        return {{"start", positionJson(start)}, {"end", positionJson(end)}};
    }

private:
    const std::vector<Document>& documents_;
    std::map<const Document*, std::unique_ptr<LineIndex>> indexes_;
};

}  // namespace

std::map<std::string, json> clientDiagnostics(const std::vector<diagnostics::Diagnostic>& found,
                                              const std::vector<Document>& documents) {
    std::map<std::string, json> out;
    if (documents.empty()) return out;
    Places places(documents);
    for (const diagnostics::Diagnostic& diagnostic : found) {
        const Document* document = places.document(diagnostic.location.file);
        diagnostics::Location location = diagnostic.location;
        if (!document) {
            document = &documents.front();
            location = {};
        }
        std::string message = diagnostic.message;
        json related = json::array();
        for (const diagnostics::Note& note : diagnostic.notes) {
            const Document* target = places.document(note.location.file);
            const bool here = note.location.file == diagnostic.location.file &&
                              note.location.line == diagnostic.location.line &&
                              note.location.column == diagnostic.location.column;
            if (!target || here) {
                message += "\n" + note.message;
                continue;
            }
            related.push_back({{"location", {{"uri", target->uri}, {"range", places.range(*target, note.location)}}},
                               {"message", note.message}});
        }
        json item = {{"range", places.range(*document, location)},
                     {"severity", 1},
                     {"source", "lumoidl"},
                     {"message", message}};
        if (!related.empty()) item["relatedInformation"] = std::move(related);
        auto& list = out[document->uri];
        if (list.is_null()) list = json::array();
        list.push_back(std::move(item));
    }
    return out;
}

}  // namespace lumoidl::lsp
