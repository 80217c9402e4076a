// The operation table of LumoStringImpl.
#include "errors/lumo_string.h"

namespace ZEMRA {
namespace {

LumoStringImpl* self(void* me) { return static_cast<LumoStringImpl*>(static_cast<ILumoString*>(me)); }

LUMORESULT get(void* me, const LumoChar** data, uint32_t* length) {
    const LumoText& text = self(me)->text;
    if (data) *data = text.c_str();
    if (length) *length = static_cast<uint32_t>(text.size());
    return LUMO_OK;
}

LUMORESULT set(void* me, const LumoChar* data, uint32_t length) {
    LumoText& text = self(me)->text;
    if (data)
        text.assign(data, length);
    else
        text.clear();
    return LUMO_OK;
}

const ILumoStringVtbl kTable = {&get, &set};

}  // namespace

LumoStringImpl::LumoStringImpl() : ILumoString{this, &kTable} {}

}  // namespace ZEMRA
