// MethodRules: the rules of an interface's methods and their arguments.
#pragma once

#include <string>
#include <vector>

#include "errors/lumo_string.h"
#include "semantics/recycling_string_set.h"
#include "semantics/rule_report.h"
#include "semantics/signature_set.h"
#include "tree/nodes.h"
#include "tree/prefetch.h"

namespace ZEMRA::IDL::PARSER {

/// The method and argument rules of one interface at a time, with the sets and texts they
/// reuse from method to method and from interface to interface.
class MethodRules {
public:
    /// Checks the methods of `iface` in order and writes the first failure through `report`;
    /// false when a rule fails.
    bool check(const RuleReport& report, const ParserInterface& iface);
    /// Checks the methods of an interface just parsed, while its nodes are still in the
    /// processor's caches, and reports nothing: when every rule holds it marks the interface,
    /// whose methods the file's checks then pass over; a failure marks nothing, and the file's
    /// checks find it again and report it in its turn.
    void precheck(ParserInterface& iface);

private:
    /// The case-folded argument names of the method being checked, when it has many.
    RecyclingStringSet argumentNames_;
    /// The interface's methods checked so far, by signature.
    SignatureSet signatures_;
    /// Two signature texts, compared when two methods' signatures hash alike.
    std::string signature_, otherSignature_;
    /// One case-folded argument name.
    std::string folded_;
    /// Fetches the nodes of the next methods while the current ones are checked.
    PrefetchAhead ahead_;
    /// Where precheck's failures go: nobody reads them.
    LumoText discarded_;

    /// Checks one method of `iface`; false when a rule fails.
    bool checkMethod(const RuleReport& report, const ParserInterface& iface, ParserMethod& method);
    /// Checks argument `index` of `method`; `seenOut` tells whether an earlier one was "out" and
    /// is set when this one is. False when a rule fails.
    bool checkArgument(const RuleReport& report, const ParserInterface& iface, const ParserMethod& method,
                       size_t index, bool& seenOut);
};

/// Forgets what validation entered into the attribute indexes of the methods and arguments of
/// `interfaces` from `first` on: the file's checks stopped before them, and a precheck must not
/// leave them looking checked.
void forgetMethodChecks(const std::vector<ParserInterface*>& interfaces, size_t first);

}  // namespace ZEMRA::IDL::PARSER
