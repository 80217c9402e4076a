// The loop that checks again after each failure, with the failing part left out.
#include "tools/diagnostics/checker.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "tools/diagnostics/locator.h"

namespace lumoidl::diagnostics {
namespace {

/// One input during the search.
struct Active {
    CheckInput input;
    std::shared_ptr<const SourceOutline> outline;  ///< of the text as it is now, once made
    bool dropped = false;   ///< left out of later checks
    bool modified = false;  ///< holds left-out parts, so a syntax error in it is of our making
};

/// Replaces every byte of `span` but line ends with a blank, keeping every other position.
void blank(std::string& text, const Span& span) {
    const size_t end = std::min<size_t>(text.size(), size_t{span.offset} + span.length);
    for (size_t i = span.offset; i < end; ++i)
        if (text[i] != '\n' && text[i] != '\r') text[i] = ' ';
}

/// Writes a fresh uuid of the same shape over the uuid text at `span`.
void replaceUuid(std::string& text, const Span& span, unsigned serial) {
    char fresh[40];
    std::snprintf(fresh, sizeof fresh, "FFFFFFFF-FFFF-4FFF-8FFF-%012X", serial);
    const size_t start = span.offset + (span.length == 38 ? 1 : 0);
    if (start + 36 <= text.size()) text.replace(start, 36, fresh);
}

class Search {
public:
    Search(std::vector<CheckInput> inputs, const ParseFunction& parse, const StageFunction& stage)
        : parse_(parse), stage_(stage) {
        for (CheckInput& input : inputs) {
            Active& added = active_.emplace_back();
            added.outline = std::move(input.outline);
            added.input = std::move(input);
        }
    }

    CheckReport run(std::string message, size_t maxErrors) {
        bool ownChecksFailed = false;
        // Every round reports one failure or leaves out one file, so the rounds are bounded.
        for (size_t round = 0; !message.empty() && round <= maxErrors + active_.size() + 1; ++round) {
            std::vector<size_t> order = activeOrder();
            const SourceSet sources = sourcesOf(order);
            const Located located = locateMessage(toDisplay(message), sources);
            for (size_t k = 0; k < order.size(); ++k) active_[order[k]].outline = sources.sharedOutline(k);
            const std::optional<size_t> file =
                located.file ? std::optional<size_t>(order[*located.file]) : std::nullopt;
            const MessageKind kind = located.fields.kind;
            const MessagePhase phase = phaseOf(kind);
            const bool ours = file && active_[*file].modified && (kind == MessageKind::kSyntaxError ||
                                                                 kind == MessageKind::kStackOverflow);
            if (ours) {
                active_[*file].dropped = true;
            } else {
                if (ownChecksFailed && phase != MessagePhase::kFile) break;
                if (reported(located)) break;
                if (report_.diagnostics.size() == maxErrors) {
                    report_.stoppedAtLimit = true;
                    break;
                }
                report_.diagnostics.push_back(located.diagnostic);
                if (!leaveOut(located, file, phase)) break;
                ownChecksFailed = ownChecksFailed || phase == MessagePhase::kFile;
            }
            message = parse_(paths());
        }
        if (report_.diagnostics.empty()) return std::move(report_);
        const Diagnostic first = report_.diagnostics.front();
        std::stable_sort(report_.diagnostics.begin(), report_.diagnostics.end(),
                         [&](const Diagnostic& a, const Diagnostic& b) { return sortKey(a) < sortKey(b); });
        while (!samePlace(report_.diagnostics[report_.libraryMessage], first)) ++report_.libraryMessage;
        return std::move(report_);
    }

private:
    std::vector<size_t> activeOrder() const {
        std::vector<size_t> order;
        for (size_t i = 0; i < active_.size(); ++i)
            if (!active_[i].dropped) order.push_back(i);
        return order;
    }

    SourceSet sourcesOf(const std::vector<size_t>& order) const {
        std::vector<SourceSet::File> files;
        for (size_t i : order) files.push_back({active_[i].input.displayName, active_[i].input.text, active_[i].outline});
        return SourceSet(std::move(files));
    }

    std::vector<std::string> paths() const {
        std::vector<std::string> out;
        for (size_t i : activeOrder()) out.push_back(active_[i].input.libraryPath);
        return out;
    }

    /// `message` with each quoted path handed to the library replaced by its display name.
    std::string toDisplay(std::string message) const {
        for (const Active& a : active_) {
            if (a.input.libraryPath != a.input.displayName)
                showFileName(message, a.input.libraryPath, a.input.displayName);
        }
        return message;
    }

    static bool samePlace(const Diagnostic& a, const Diagnostic& b) {
        return a.message == b.message && a.location.file == b.location.file && a.location.line == b.location.line &&
               a.location.column == b.location.column;
    }

    /// True when the failure was reported already, so that going on cannot help.
    bool reported(const Located& located) const {
        for (const Diagnostic& d : report_.diagnostics)
            if (samePlace(d, located.diagnostic)) return true;
        return false;
    }

    /// Leaves out what failed, so that the next check can get further; false when nothing can.
    bool leaveOut(const Located& located, std::optional<size_t> file, MessagePhase phase) {
        if (!file) return false;
        Active& target = active_[*file];
        switch (phase) {
        case MessagePhase::kCall:
            return false;
        case MessagePhase::kFile:
            if (located.declaration.line == 0) {
                target.dropped = true;
                return true;
            }
            blank(target.input.text, located.declaration);
            break;
        case MessagePhase::kAcrossLibraries:
            // Which of two libraries' types of one name the others mean is not known: stop.
            if (located.uuid.line == 0) return false;
            replaceUuid(target.input.text, located.uuid, ++serial_);
            break;
        case MessagePhase::kResolution:
            if (located.declaration.line == 0) return false;
            blank(target.input.text, located.declaration);
            break;
        }
        target.modified = true;
        target.outline.reset();
        target.input.libraryPath = stage_(*file, target.input.text);
        return true;
    }

    std::tuple<size_t, uint32_t, uint32_t> sortKey(const Diagnostic& d) const {
        size_t file = active_.size();
        for (size_t i = 0; i < active_.size() && file == active_.size(); ++i)
            if (active_[i].input.displayName == d.location.file) file = i;
        return {file, d.location.line, d.location.column};
    }

    const ParseFunction& parse_;
    const StageFunction& stage_;
    std::vector<Active> active_;
    CheckReport report_;
    unsigned serial_ = 0;
};

}  // namespace

void showFileName(std::string& message, const std::string& path, const std::string& display) {
    const std::string from = '"' + path + '"', to = '"' + display + '"';
    for (size_t at = message.find(from); at != std::string::npos; at = message.find(from, at + to.size()))
        message.replace(at, from.size(), to);
}

CheckReport collectDiagnostics(std::vector<CheckInput> inputs, const std::string& firstMessage, size_t maxErrors,
                               const ParseFunction& parse, const StageFunction& stage) {
    return Search(std::move(inputs), parse, stage).run(firstMessage, std::max<size_t>(1, maxErrors));
}

}  // namespace lumoidl::diagnostics
