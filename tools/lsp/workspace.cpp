// The workspace's file list, read from the folder or its lumoidl.json, and the open buffers.
#include "tools/lsp/workspace.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include <nlohmann/json.hpp>

#include "tools/lsp/uri.h"

namespace lumoidl::lsp {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Every `*.idl` file below `root`, skipping folders whose name begins with '.', by relative path.
std::vector<fs::path> idlFilesBelow(const fs::path& root) {
    std::vector<fs::path> found;
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
    for (; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        if (it->is_directory(error) && path.filename().string().starts_with(".")) {
            it.disable_recursion_pending();
        } else if (it->is_regular_file(error) && path.extension() == ".idl") {
            found.push_back(path);
        }
    }
    std::sort(found.begin(), found.end(), [&](const fs::path& a, const fs::path& b) {
        return a.lexically_relative(root).generic_string() < b.lexically_relative(root).generic_string();
    });
    return found;
}

}  // namespace

Workspace::Workspace(fs::path root) : root_(std::move(root)) {
    if (!root_.empty()) root_ = fs::absolute(root_).lexically_normal();
    rescan();
}

std::vector<fs::path> Workspace::listFiles() {
    listProblem_.clear();
    if (root_.empty()) return {};
    const fs::path listPath = root_ / "lumoidl.json";
    if (!fs::exists(listPath)) return idlFilesBelow(root_);
    const auto list = nlohmann::json::parse(readFile(listPath), nullptr, false);
    if (!list.is_object() || !list.contains("files") || !list["files"].is_array()) {
        listProblem_ = "lumoidl.json: expected an object with a \"files\" array of paths; using every *.idl file";
        return idlFilesBelow(root_);
    }
    std::vector<fs::path> files;
    for (const auto& entry : list["files"]) {
        if (entry.is_string()) files.push_back((root_ / entry.get<std::string>()).lexically_normal());
        else listProblem_ = "lumoidl.json: an entry of \"files\" is not a string";
    }
    return files;
}

std::string Workspace::displayNameOf(const fs::path& path) const {
    const fs::path relative = path.lexically_relative(root_);
    const bool inside = !root_.empty() && !relative.empty() && *relative.begin() != "..";
    return inside ? relative.generic_string() : path.generic_string();
}

Document Workspace::load(const fs::path& path) const {
    Document document;
    document.path = path.string();
    document.uri = pathToUri(path.generic_string());
    document.displayName = displayNameOf(path);
    document.text = readFile(path);
    return document;
}

void Workspace::rescan() {
    std::vector<Document> next;
    for (const fs::path& path : listFiles()) {
        Document fresh = load(path);
        fresh.version = ++versions_;
        if (Document* known = findMutable(fresh.uri)) {
            if (known->open || known->text == fresh.text) fresh = std::move(*known);
            known->uri.clear();
        }
        next.push_back(std::move(fresh));
    }
    for (Document& document : documents_)
        if (document.open && !document.uri.empty()) next.push_back(std::move(document));
    documents_ = std::move(next);
}

const Document* Workspace::find(const std::string& uri) const {
    for (const Document& document : documents_)
        if (document.uri == uri) return &document;
    return nullptr;
}

Document* Workspace::findMutable(const std::string& uri) {
    return const_cast<Document*>(std::as_const(*this).find(uri));
}

void Workspace::open(const std::string& uri, std::string text) {
    Document* document = findMutable(uri);
    if (!document) {
        Document added;
        added.uri = uri;
        added.path = uriToPath(uri).value_or(uri);
        added.displayName = displayNameOf(added.path);
        documents_.push_back(std::move(added));
        document = &documents_.back();
    }
    document->open = true;
    document->text = std::move(text);
    document->version = ++versions_;
}

void Workspace::change(const std::string& uri, std::string text) {
    if (Document* document = findMutable(uri); document && document->open) {
        document->text = std::move(text);
        document->version = ++versions_;
    }
}

void Workspace::close(const std::string& uri) {
    Document* document = findMutable(uri);
    if (!document) return;
    document->open = false;
    rescan();
}

}  // namespace lumoidl::lsp
