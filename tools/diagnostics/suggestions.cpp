// Edit distance and the choice of the closest known name.
#include "tools/diagnostics/suggestions.h"

#include <algorithm>
#include <numeric>

#include "semantics/builtin_names.h"
#include "tools/diagnostics/locator.h"

namespace lumoidl::diagnostics {
namespace {

std::string_view plainPart(std::string_view name) {
    const size_t colons = name.rfind("::");
    return colons == std::string_view::npos ? name : name.substr(colons + 2);
}

/// How far `candidate` is from `name`: a different qualifier of the same plain name is one edit.
size_t typeDistance(std::string_view name, std::string_view candidate) {
    if (name != candidate && plainPart(name) == plainPart(candidate)) return 1;
    return editDistance(name, candidate);
}

/// The first candidate at the smallest distance, when within the limit for `name`'s length.
std::optional<std::string> closest(std::string_view name, const std::vector<std::string>& candidates,
                                   size_t limit, size_t (*distance)(std::string_view, std::string_view)) {
    std::optional<std::string> best;
    size_t bestDistance = limit + 1;
    for (const std::string& candidate : candidates) {
        const size_t d = candidate == name ? 0 : distance(name, candidate);
        if (d > 0 && d < bestDistance) {
            bestDistance = d;
            best = candidate;
        }
    }
    return best;
}

}  // namespace

size_t editDistance(std::string_view a, std::string_view b) {
    // Three rows of the optimal-string-alignment table: two back for swaps of neighbours.
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    std::iota(previous.begin(), previous.end(), size_t{0});
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

std::optional<std::string> closestName(std::string_view name, const std::vector<std::string>& candidates) {
    return closest(name, candidates, std::max<size_t>(2, name.size() / 3), &editDistance);
}

std::optional<std::string> closestType(std::string_view name, const SourceSet& sources, size_t file,
                                       const std::vector<Word>& templateParameters) {
    std::vector<std::string> candidates;
    for (const Word& parameter : templateParameters) candidates.push_back(parameter.text);
    for (const auto& builtin : ZEMRA::IDL::PARSER::kBuiltinNames) candidates.emplace_back(builtin.name);
    candidates.emplace_back("ILumoError");
    const std::string& ownLibrary = sources.outline(file).libraryName.text;
    for (size_t i = 0; i < sources.size(); ++i) {
        const SourceOutline& outline = sources.outline(i);
        const auto add = [&](const Word& declared) {
            if (outline.libraryName.text == ownLibrary) candidates.push_back(declared.text);
            candidates.push_back(outline.libraryName.text + "::" + declared.text);
        };
        for (const Interface& declared : outline.interfaces) add(declared.name);
        for (const Enumeration& declared : outline.enumerations) add(declared.name);
    }
    return closest(name, candidates, std::max<size_t>(1, std::min<size_t>(3, name.size() / 3)), &typeDistance);
}

}  // namespace lumoidl::diagnostics
