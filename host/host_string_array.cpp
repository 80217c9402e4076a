// The operation table of HostStringArray.
#include "host/host_string_array.h"

namespace lumoidl::host {
namespace {

LUMORESULT get(void* me, ILumoString* const** elements, uint32_t* count) {
    const auto& list = static_cast<HostStringArray*>(me)->elements();
    if (elements) *elements = list.data();
    if (count) *count = static_cast<uint32_t>(list.size());
    return LUMO_OK;
}

const ILumoStringArrayVtbl kTable = {&get};

}  // namespace

HostStringArray::HostStringArray() : ILumoStringArray{this, &kTable} {}

void HostStringArray::add(ZEMRA::LumoText text) {
    strings_.push_back(std::make_unique<HostString>(std::move(text)));
    elements_.push_back(strings_.back().get());
}

void HostStringArray::addUtf8(std::string_view utf8) { add(HostString::fromUtf8(utf8).text()); }

void HostStringArray::addNull() { elements_.push_back(nullptr); }

}  // namespace lumoidl::host
