// Block reading of source files.
#include "frontend/source_reader.h"

namespace ZEMRA::IDL::PARSER {

SourceReader::SourceReader(size_t blockSize)
    : buffer_(new unsigned char[(blockSize ? blockSize : 1) + 1 + kScanPadding]()),
      blockSize_(blockSize ? blockSize : 1) {}

int SourceReader::open(const LumoChar* name) {
    position_ = filled_ = 0;
    buffer_[0] = 0;
    return file_.open(name);
}

void SourceReader::close() {
    file_.close();
    position_ = filled_ = 0;
    buffer_[0] = 0;
}

bool SourceReader::refill() {
    filled_ = file_.read(buffer_.get(), blockSize_);
    buffer_[filled_] = 0;
    position_ = 0;
    return filled_ > 0;
}

}  // namespace ZEMRA::IDL::PARSER
