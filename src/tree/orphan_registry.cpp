// The purge of all seventeen registries.
#include "tree/orphan_registry.h"

#include "tree/attributes.h"
#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {

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
    orphanRegistry<ParserLibraryItem>.purge();
}

}  // namespace ZEMRA::IDL::PARSER
