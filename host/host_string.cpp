// The operation table of HostString.
#include "host/host_string.h"

#include "platform/text.h"

namespace lumoidl::host {
namespace {

HostString* self(void* me) { return static_cast<HostString*>(me); }

LUMORESULT get(void* me, const LumoChar** data, uint32_t* length) {
    const ZEMRA::LumoText& text = self(me)->text();
    if (data) *data = text.c_str();
    if (length) *length = static_cast<uint32_t>(text.size());
    return LUMO_OK;
}

LUMORESULT set(void* me, const LumoChar* data, uint32_t length) {
    self(me)->assign(data ? ZEMRA::LumoText(data, length) : ZEMRA::LumoText());
    return LUMO_OK;
}

const ILumoStringVtbl kTable = {&get, &set};

}  // namespace

HostString::HostString() : ILumoString{this, &kTable} {}

HostString::HostString(ZEMRA::LumoText text) : ILumoString{this, &kTable}, text_(std::move(text)) {}

HostString::HostString(const HostString& other) : ILumoString{this, &kTable}, text_(other.text_) {}

HostString& HostString::operator=(const HostString& other) {
    text_ = other.text_;
    return *this;
}

HostString HostString::fromUtf8(std::string_view utf8) { return HostString(platform::utf8ToUtf16(utf8)); }

std::string HostString::utf8() const { return platform::utf16ToUtf8(text_); }

}  // namespace lumoidl::host
