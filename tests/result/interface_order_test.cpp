// Dependency ordering of interface lists: which references count, placement order, cycles.
#include "result/interface_order.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/fake_declarations.h"

namespace {

using lumoidl::test::FakeInterface;
using lumoidl::test::FakeType;

/// Fake interfaces from text. A method is "Owner:Return,Argument,..."; a type is an interface's name
/// (its object type), "-" (LumoInteger), "*" (LumoObject), "!" (an object type in no list, like
/// ILumoError) or "~Name" (an enumeration type with Name's uuid), with template arguments "<T,...>".
class Declarations {
public:
    std::vector<FakeInterface*> declare(const std::string& names) {
        std::vector<FakeInterface*> list;
        std::istringstream in(names);
        for (std::string name; in >> name;) list.push_back(interfaces_[name] = &d_.addInterface(name));
        return list;
    }
    void addMethods(const std::string& methods) {
        std::istringstream in(methods);
        for (std::string text; in >> text;) {
            std::string_view rest = std::string_view(text).substr(text.find(':'));
            const std::vector<FakeType*> types = list(rest);
            d_.addMethod(*interfaces_.at(text.substr(0, text.find(':'))), *types[0], {types.begin() + 1, types.end()});
        }
    }

private:
    /// The types after the character at the front of `rest`, up to the end or a closing '>'.
    std::vector<FakeType*> list(std::string_view& rest) {
        std::vector<FakeType*> types;
        do {
            rest.remove_prefix(1);
            const std::string token(rest.substr(0, rest.find_first_of("<>,")));
            rest.remove_prefix(token.size());
            FakeType& made = token == "-"   ? d_.plainType()
                             : token == "*" ? d_.type(LUMO_KIND_OBJECT)
                             : token == "!" ? d_.type(LUMO_KIND_OBJECT, lumoidl::test::numberedUuid(999))
                             : token[0] == '~' ? d_.type(LUMO_KIND_ENUMERATION, interfaces_.at(token.substr(1))->uuid)
                                               : d_.objectType(*interfaces_.at(token));
            if (!rest.empty() && rest.front() == '<') made.templateArguments = list(rest);
            types.push_back(&made);
        } while (!rest.empty() && rest.front() == ',');
        if (!rest.empty()) rest.remove_prefix(1);
        return types;
    }

    lumoidl::test::FakeDeclarations d_;
    std::map<std::string, FakeInterface*> interfaces_;
};

std::string joinedNames(const std::vector<FakeInterface*>& list) {
    std::string names;
    for (const FakeInterface* item : list) names += (names.empty() ? "" : " ") + item->name;
    return names;
}

TEST(InterfaceOrder, SortsListsByTheirReferences) {
    // List, owned interfaces not in it, methods, sorted list or "cycle": sorting leaves the list alone.
    std::vector<std::array<std::string, 4>> cases = {
        {"X Y Z", "", "X:-,-,Y Y:Z Z:-,-", "Z Y X"},
        {"E X B Y A Z C", "", "X:Y B:-,A Y:-,-,Z Z:X C:X E:B", "cycle"},
        {"U V", "", "U:U,V V:V", "V U"},  // self references
        {"X Box Y Pair", "", "X:-,-,Box<Pair<-,Y>>", "Box Y Pair X"},
        {"X Y Z", "", "X:~Y<Y>,!,* X:~Z Z:-,!,*<Z>", "X Y Z"},  // only object types of the owner refer
        {"X", "Absent", "X:Absent", "X"},                       // a single interface is in order as it is
        {"P C B U Q A T S", "", "P:C,B C:-,A B:A U:-,P Q:-,C Q:B A:- T:A,S", "A C B P Q U S T"},
        {"W L1 M L2 L3 N", "", "W:L2,L1 W:-,-,L3", "L1 M L2 L3 W N"},  // after its last missing one
        {"X V Y Z", "", "X:Y,Y,Z X:*<Y,-> V:Y,Y", "Y V Z X"},           // a repeated one counts once
        {"", "", "", ""},  // a long chain declared backwards, filled in below
    };
    for (int k = 0; k < 100000; ++k) {
        cases.back()[0] += " I" + std::to_string(k);
        cases.back()[2] += k ? " I" + std::to_string(k - 1) + ":-,I" + std::to_string(k) : "";
        cases.back()[3] += "I" + std::to_string(99999 - k) + (k < 99999 ? " " : "");
    }
    for (const auto& [names, ownedBesides, methods, expected] : cases) {
        SCOPED_TRACE(methods.substr(0, 100));
        Declarations d;
        std::vector<FakeInterface*> list = d.declare(names);
        std::vector<FakeInterface*> owned = list;
        for (FakeInterface* extra : d.declare(ownedBesides)) owned.push_back(extra);
        d.addMethods(methods);
        const bool cycle = expected == "cycle";
        EXPECT_EQ(ZEMRA::sortInterfaceList(list, lumoidl::test::registryOf(owned)), !cycle);
        const std::string sorted = joinedNames(list);
        EXPECT_TRUE(sorted == (cycle ? names : expected)) << sorted.substr(0, 100);
    }
}

}  // namespace
