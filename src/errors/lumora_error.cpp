// lumora_error: code, error object and the texts composed from the chain of causes.
#include <algorithm>
#include <cstring>
#include <new>

#include "errors/result_code_describer.h"
#include "lumoidl/lumoidl.h"
#include "platform/text.h"
#include "errors/lumo_string.h"

namespace ZEMRA {
namespace {

const LumoChar kFailedText[] = LUMO_TEXT("Failed to obtain error text");
const LumoChar kSeparator[] = LUMO_TEXT("; ");
const LumoChar kElement[] = LUMO_TEXT("in %SCOPE% of %SOURCE%");
const LumoChar kScope[] = LUMO_TEXT("%SCOPE%");
const LumoChar kSource[] = LUMO_TEXT("%SOURCE%");
const LumoChar kUnknownScope[] = LUMO_TEXT("<unknown scope>");
const LumoChar kUnknownSource[] = LUMO_TEXT("<unknown source>");
const LumoChar kColon[] = LUMO_TEXT(": ");
const LumoChar kComma[] = LUMO_TEXT(", ");
const LumoChar kCausedBy[] = LUMO_TEXT("caused by: ");

/// Content of a receiver up to its first zero unit.
LumoText upToZero(const LumoText& text) { return text.substr(0, text.find(LumoChar(0))); }

/// Reads the error's own text into `receiver`, and on failure appends the failure note to
/// `target` and puts the description of LUMO_FAILED into `receiver` instead.
void readErrorText(ILumoError* error, LumoStringImpl& receiver, LumoText& target) {
    if (error->vTbl->getErrorText(error->me, &receiver) == LUMO_FAILED) {
        target += kFailedText;
        target += kSeparator;
        describeResultCode(LUMO_FAILED, &receiver);
    }
}

/// Replaces the first occurrence of `placeholder` in `text` by what `query` writes into
/// `receiver`, or by `unknown` when the query fails; a missing placeholder asks nothing.
template <class Query>
void fillPlaceholder(LumoText& text, const LumoChar* placeholder, const LumoChar* unknown,
                     LumoStringImpl& receiver, Query query) {
    const size_t at = text.find(placeholder);
    if (at == LumoText::npos) return;
    const LumoText replacement =
        query(&receiver) == LUMO_FAILED ? LumoText(unknown) : upToZero(receiver.text);
    text.replace(at, std::char_traits<LumoChar>::length(placeholder), replacement);
}

/// Holds one counted reference on an error of the chain until it is released.
class ChainLink {
public:
    explicit ChainLink(ILumoError* error) : error_(error) {}
    ChainLink(const ChainLink&) = delete;
    ChainLink& operator=(const ChainLink&) = delete;
    ~ChainLink() { releaseNow(); }
    ILumoError* get() const { return error_; }
    void releaseNow() {
        if (error_) error_->vTbl->release(error_->me);
        error_ = nullptr;
    }
    void reset(ILumoError* error) {
        releaseNow();
        error_ = error;
    }

private:
    ILumoError* error_;
};

}  // namespace

lumora_error::lumora_error(LUMORESULT code, const LumoInterface* object) : code_(code) {
    if (code == LUMO_FAILED && object) {
        const auto* table = static_cast<const LumoGetLastErrorFn*>(object->vTbl);
        table[LUMO_GET_LAST_ERROR_SLOT](object->me, &error_);
    }
}

lumora_error::lumora_error(const lumora_error& other)
    : std::exception(other),
      error_(other.error_),
      ownText_(other.ownText_),
      fullText_(other.fullText_),
      code_(other.code_) {
    if (error_) error_->vTbl->addReference(error_->me);
}

lumora_error::~lumora_error() {
    if (error_) error_->vTbl->release(error_->me);
    delete[] narrowText_;
}

const LumoText& lumora_error::error_text() const noexcept {
    if (!ownText_.empty()) return ownText_;
    try {
        LumoStringImpl receiver;
        if (code_ != LUMO_FAILED || !error_) {
            describeResultCode(code_, &receiver);
            ownText_ = receiver.text;
            return ownText_;
        }
        readErrorText(error_, receiver, ownText_);
        ownText_ += receiver.text;
    } catch (...) {
        // Composition never throws; out of memory it returns what it has.
    }
    return ownText_;
}

const LumoText& lumora_error::full_text() const noexcept {
    if (!fullText_.empty()) return fullText_;
    if (code_ != LUMO_FAILED || !error_) return error_text();
    try {
        // The receiver is shared by every query of the chain and never cleared: a query that
        // writes nothing leaves the previous content in place.
        LumoStringImpl receiver;
        error_->vTbl->addReference(error_->me);
        ChainLink link(error_);
        for (;;) {
            ILumoError* error = link.get();
            fullText_ += kElement;
            fillPlaceholder(fullText_, kScope, kUnknownScope, receiver,
                            [error](ILumoString* r) { return error->vTbl->getScope(error->me, r); });
            fillPlaceholder(fullText_, kSource, kUnknownSource, receiver,
                            [error](ILumoString* r) { return error->vTbl->getSource(error->me, r); });
            fullText_ += kColon;
            readErrorText(error, receiver, fullText_);
            fullText_ += receiver.text;
            ILumoError* cause = nullptr;
            const LUMORESULT code = error->vTbl->getCause(error->me, &cause);
            link.releaseNow();
            if (code != LUMO_OK) {
                if (cause) cause->vTbl->release(cause->me);
                break;
            }
            if (!cause) break;
            fullText_ += kComma;
            fullText_ += kCausedBy;
            link.reset(cause);
        }
    } catch (...) {
        // Composition never throws; out of memory it returns what it has.
    }
    return fullText_;
}

const char* lumora_error::what() const noexcept {
    try {
        const LumoText& text = full_text();
        const size_t length = std::min(text.size(), text.find(LumoChar(0)));
        const std::string utf8 =
            lumoidl::platform::utf16ToUtf8(lumoidl::platform::TextView(text.data(), length));
        char* buffer = new char[utf8.size() + 1];
        std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
        delete[] narrowText_;
        narrowText_ = buffer;
        return narrowText_;
    } catch (...) {
        return narrowText_ ? narrowText_ : "";
    }
}

}  // namespace ZEMRA
