// Finds the place in the source files that a library message is about.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/diagnostics/diagnostic.h"
#include "tools/diagnostics/message_catalog.h"
#include "tools/diagnostics/source_outline.h"

namespace lumoidl::diagnostics {

/// The files of one check, in the order they were handed to the library, with their outlines
/// made on first use.
class SourceSet {
public:
    /// One file: the name to show, its bytes (which the set does not own) and, when already
    /// made, its outline.
    struct File {
        /// A file named `displayName` holding `text`, with its outline when already made.
        File(std::string displayName, std::string_view text, std::shared_ptr<const SourceOutline> outline = nullptr)
            : displayName(std::move(displayName)), text(text), outline(std::move(outline)) {}

        std::string displayName;                       ///< the name as the user gave it
        std::string_view text;                         ///< the file's bytes; empty when unreadable
        std::shared_ptr<const SourceOutline> outline;  ///< made on first use when null
    };

    /// A set of `files`, in order.
    explicit SourceSet(std::vector<File> files);

    /// Number of files.
    size_t size() const { return files_.size(); }
    /// File `index`.
    const File& file(size_t index) const { return files_[index]; }
    /// The outline of file `index`, made the first time it is asked for.
    const SourceOutline& outline(size_t index) const { return *sharedOutline(index); }
    /// The same outline, to hand on to a later set of the same text.
    const std::shared_ptr<const SourceOutline>& sharedOutline(size_t index) const;

private:
    mutable std::vector<File> files_;
};

/// A located message: the diagnostic to show, and what a later check may leave out to go on.
struct Located {
    Diagnostic diagnostic;        ///< the message with its place, notes and suggestions
    MessageFields fields;         ///< the message read back; kind kUnhandledException when unknown
    std::optional<size_t> file;   ///< index of the file the message is about, when known
    Span declaration;             ///< the method or declaration the message is about; line 0 when none
    Span uuid;                    ///< for a uuid used in two libraries: the later use's value
};

/// Locates `message` (UTF-8, file names as shown to the user) in `sources`: the file, line and
/// column of what it names, notes for other places involved, and suggestions.
Located locateMessage(std::string_view message, const SourceSet& sources);

}  // namespace lumoidl::diagnostics
