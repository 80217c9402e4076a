// The live-object count and the purge of all seventeen registries.
#include "tree/orphan_registry.h"

#include "tree/attributes.h"
#include "tree/nodes.h"
#include "tree/token_text.h"

namespace ZEMRA::IDL::PARSER {

namespace live_count_detail {
LUMOIDL_STATIC_TLS thread_local bool tParsing = false;
std::atomic<long> gOnParseThreads{0};
std::atomic<long> gElsewhere{0};
}  // namespace live_count_detail

long liveParseObjects() {
    return live_count_detail::gOnParseThreads.load(std::memory_order_relaxed) +
           live_count_detail::gElsewhere.load(std::memory_order_relaxed);
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
