// The live-object count and the purge of all seventeen registries.
#include "tree/orphan_registry.h"

#include "tree/attributes.h"
#include "tree/nodes.h"
#include "tree/token_text.h"

namespace ZEMRA::IDL::PARSER {

std::atomic<long>& liveParseObjects() {
    static std::atomic<long> count{0};
    return count;
}

void purgeAll() {
    // Library bodies go before library items: an item still held by a body is destroyed
    // with it, so the item purge that follows no longer sees it.
    orphanRegistry<ParserType>.purge();
    orphanRegistry<TypeList>.purge();
    orphanRegistry<ParserArg>.purge();
    orphanRegistry<ArgList>.purge();
    orphanRegistry<MethodList>.purge();
    orphanRegistry<ParserMethod>.purge();
    orphanRegistry<NameList>.purge();
    orphanRegistry<ParserInterface>.purge();
    orphanRegistry<ParserEnumItem>.purge();
    orphanRegistry<EnumItemList>.purge();
    orphanRegistry<ParserAttribList>.purge();
    orphanRegistry<ParserEnumeration>.purge();
    orphanRegistry<LibraryBody>.purge();
    orphanRegistry<ParserCatID>.purge();
    orphanRegistry<ParserAttribute>.purge();
    orphanRegistry<TokenText>.purge();
    orphanRegistry<ParserLibraryItem>.purge();
}

size_t registeredOrphans() {
    return orphanRegistry<ParserType>.size() + orphanRegistry<TypeList>.size() +
           orphanRegistry<ParserArg>.size() + orphanRegistry<ArgList>.size() +
           orphanRegistry<MethodList>.size() + orphanRegistry<ParserMethod>.size() +
           orphanRegistry<NameList>.size() + orphanRegistry<ParserInterface>.size() +
           orphanRegistry<ParserEnumItem>.size() + orphanRegistry<EnumItemList>.size() +
           orphanRegistry<ParserAttribList>.size() + orphanRegistry<ParserEnumeration>.size() +
           orphanRegistry<LibraryBody>.size() + orphanRegistry<ParserCatID>.size() +
           orphanRegistry<ParserAttribute>.size() + orphanRegistry<TokenText>.size() +
           orphanRegistry<ParserLibraryItem>.size();
}

}  // namespace ZEMRA::IDL::PARSER
