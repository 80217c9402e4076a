// The files a language server checks together: the workspace's IDL files and the open buffers.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumoidl::lsp {

/// One document of the workspace.
struct Document {
    std::string uri;          ///< the client's name for it
    std::string path;         ///< the file's path on disk
    std::string displayName;  ///< the path relative to the workspace folder, or the full path outside it
    std::string text;         ///< the open buffer's text, else the file's bytes
    bool open = false;        ///< true while the client has it open
    unsigned version = 0;     ///< bumped by the workspace on every change of `text`
};

/// The IDL files of a folder, in the order they are handed to the library, and the buffers the
/// client has open, whose text wins over the file on disk. Without a folder, only the open
/// buffers.
class Workspace {
public:
    /// A workspace of the folder `root`; empty for none. Reads the file list at once.
    explicit Workspace(std::filesystem::path root = {});

    /// Reads the folder's file list again: every `*.idl` file below it, outside folders whose
    /// name begins with '.', ordered by relative path, or, when the folder holds a `lumoidl.json`
    /// with a "files" array of relative paths, those files in that order. Files no longer listed
    /// are dropped unless open; files of unchanged text keep their version.
    void rescan();
    /// The client opened `uri` with `text`.
    void open(const std::string& uri, std::string text);
    /// The buffer `uri` now holds `text`.
    void change(const std::string& uri, std::string text);
    /// The client closed `uri`: the file on disk counts again, or the document goes when it is
    /// not a workspace file.
    void close(const std::string& uri);

    /// The documents in check order: the workspace files, then open buffers outside the list
    /// in the order they were opened.
    const std::vector<Document>& documents() const { return documents_; }
    /// The document of `uri`, or null.
    const Document* find(const std::string& uri) const;
    /// A problem met reading `lumoidl.json`, or empty.
    const std::string& listProblem() const { return listProblem_; }

private:
    /// The listed files of the folder, in order.
    std::vector<std::filesystem::path> listFiles();
    /// The document of `uri` to change, or null.
    Document* findMutable(const std::string& uri);
    /// `path` relative to the folder when inside it, else in full.
    std::string displayNameOf(const std::filesystem::path& path) const;
    /// A document for `path` with the file's bytes.
    Document load(const std::filesystem::path& path) const;

    std::filesystem::path root_;      ///< the folder, absolute; empty for none
    std::vector<Document> documents_;  ///< in check order
    std::string listProblem_;          ///< what was wrong with lumoidl.json, or empty
    unsigned versions_ = 0;  ///< the last version handed out
};

}  // namespace lumoidl::lsp
