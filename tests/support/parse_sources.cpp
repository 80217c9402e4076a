// ParsedSources: scratch files through the driver.
#include "support/parse_sources.h"

#include "driver/driver.h"
#include "platform/process_lock.h"
#include "platform/text.h"

namespace lumoidl::test {
namespace {

/// A string array over the given names.
struct NameArray : ILumoStringArray {
    explicit NameArray(std::vector<RecordingString>& names) : ILumoStringArray{this, &kTable} {
        for (RecordingString& name : names) elements.push_back(&name);
    }
    static LUMORESULT get(void* me, ILumoString* const** out, uint32_t* count) {
        *out = static_cast<NameArray*>(me)->elements.data();
        *count = static_cast<uint32_t>(static_cast<NameArray*>(me)->elements.size());
        return LUMO_OK;
    }
    static constexpr ILumoStringArrayVtbl kTable = {&NameArray::get};
    std::vector<ILumoString*> elements;
};

}  // namespace

ParsedSources::ParsedSources(const std::vector<std::string>& sources) {
    std::vector<RecordingString> names(sources.size());
    for (size_t k = 0; k < sources.size(); ++k) {
        const auto path = dir_.write(std::string(1, static_cast<char>('a' + k)) + ".idl", sources[k]);
        files_.push_back(pathUtf8(path));
        names[k].content = pathText(path);
    }
    NameArray array(names);
    result_ = new ZEMRA::IDL::PARSER::ParserResult();
    result_->addReference();
    lumoidl::platform::ProcessLockGuard lock;
    ZEMRA::IDL::PARSER::runParse(&array, *result_);
}

ParsedSources::~ParsedSources() { result_->release(); }

std::string ParsedSources::error() const { return utf8(result_->errorText.text); }

std::string ParsedSources::file(size_t k) const { return files_.at(k); }

}  // namespace lumoidl::test
