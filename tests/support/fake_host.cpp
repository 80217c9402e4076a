// Test doubles of host objects.
#include "support/fake_host.h"

#include <atomic>
#include <fstream>
#include <random>

namespace lumoidl::test {
namespace {

LUMORESULT stringGet(void* me, const LumoChar** data, uint32_t* length) {
    auto* self = static_cast<RecordingString*>(me);
    *data = self->content.c_str();
    *length = static_cast<uint32_t>(self->content.size());
    return LUMO_OK;
}

LUMORESULT stringSet(void* me, const LumoChar* data, uint32_t length) {
    auto* self = static_cast<RecordingString*>(me);
    ++self->setCalls;
    if (self->setResult == LUMO_OK) self->content.assign(data, length);
    return self->setResult;
}

const ILumoStringVtbl kStringTable = {&stringGet, &stringSet};

FakeError* fake(void* me) { return static_cast<FakeError*>(me); }

LUMORESULT write(ILumoString* receiver, bool doWrite, const ZEMRA::LumoText& value, LUMORESULT result) {
    if (doWrite) receiver->vTbl->set(receiver->me, value.data(), static_cast<uint32_t>(value.size()));
    return result;
}

void errorAddReference(void* me) { ++fake(me)->references; }
void errorRelease(void* me) { --fake(me)->references; }
LUMORESULT errorGetText(void* me, ILumoString* text) {
    return write(text, fake(me)->writeErrorText, fake(me)->errorText, fake(me)->errorTextResult);
}
LUMORESULT errorGetCause(void* me, ILumoError** cause) {
    if ((*cause = fake(me)->cause)) ++fake(me)->cause->references;
    return fake(me)->causeResult;
}
LUMORESULT errorGetSource(void* me, ILumoString* source) {
    ++fake(me)->sourceCalls;
    return write(source, fake(me)->writeSource, fake(me)->source, fake(me)->sourceResult);
}
LUMORESULT errorGetScope(void* me, ILumoString* scope) {
    ++fake(me)->scopeCalls;
    return write(scope, fake(me)->writeScope, fake(me)->scope, fake(me)->scopeResult);
}

const ILumoErrorVtbl kErrorTable = {&errorAddReference, &errorRelease,   &errorGetText,
                                    &errorGetCause,     &errorGetSource, &errorGetScope};

using Slot = void (*)();

LUMORESULT failedGetLastError(void* me, ILumoError** error) {
    auto* self = static_cast<FailedObject*>(me);
    ++self->calls;
    if ((*error = self->error)) ++self->error->references;
    return LUMO_OK;
}

const Slot kFailedTable[] = {nullptr, nullptr, nullptr, reinterpret_cast<Slot>(&failedGetLastError)};

}  // namespace

ZEMRA::LumoText text(std::string_view utf8) {
    ZEMRA::LumoText out;
    // Test texts are ASCII or carry explicit escapes; decode the common UTF-8 forms.
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80)
            out += static_cast<LumoChar>(c);
        else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size())
            out += static_cast<LumoChar>(((c & 0x1F) << 6) | (utf8[++i] & 0x3F));
        else if ((c & 0xF0) == 0xE0 && i + 2 < utf8.size())
            i += 2, out += static_cast<LumoChar>(((c & 0x0F) << 12) | ((utf8[i - 1] & 0x3F) << 6) | (utf8[i] & 0x3F));
        else
            out += static_cast<LumoChar>(0xFFFD);
    }
    return out;
}

std::string utf8(const ZEMRA::LumoText& text) {
    std::string out;
    for (LumoChar unit : text) {
        const auto u = static_cast<uint32_t>(unit);
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        if (u >= 0x800) out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(u < 0x800 ? 0xC0 | (u >> 6) : 0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
    return out;
}

RecordingString::RecordingString() : ILumoString{this, &kStringTable} {}

FakeError::FakeError() : ILumoError{this, &kErrorTable} {}

FailedObject::FailedObject() : record{this, kFailedTable} {}

ScratchDir::ScratchDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    dir_ = std::filesystem::temp_directory_path() /
           ("lumoidl-test-" + std::to_string(seed()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::filesystem::path ScratchDir::path(std::string_view name) const {
    return dir_ / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::filesystem::path ScratchDir::write(std::string_view name, std::string_view content) const {
    const std::filesystem::path file = path(name);
    std::ofstream out(file, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return file;
}

std::string pathUtf8(const std::filesystem::path& path) {
    const std::u8string bytes = path.u8string();
    return std::string(bytes.begin(), bytes.end());
}

ZEMRA::LumoText pathText(const std::filesystem::path& path) {
#if defined(_WIN32)
    return path.wstring();
#else
    return text(path.string());
#endif
}

}  // namespace lumoidl::test
