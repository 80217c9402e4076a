// Registration of the result-code describer and the fixed text used without one.
#include "errors/result_code_describer.h"

#include <atomic>
#include <string>

namespace ZEMRA {
namespace {

std::atomic<ResultCodeDescriber> gDescriber{nullptr};

}  // namespace

void setResultCodeDescriber(ResultCodeDescriber describer) { gDescriber.store(describer); }

void describeResultCode(LUMORESULT code, ILumoString* text) {
    if (const ResultCodeDescriber describer = gDescriber.load()) {
        describer(code, text);
        return;
    }
    const std::string digits = std::to_string(code);
    LumoText fixed = LUMO_TEXT("Result code ");
    fixed.append(digits.begin(), digits.end());
    text->vTbl->set(text->me, fixed.data(), static_cast<uint32_t>(fixed.size()));
}

}  // namespace ZEMRA
