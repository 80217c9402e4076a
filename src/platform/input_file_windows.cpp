// InputFile and systemErrorText on Windows, on the C runtime's wide-name file functions.
#include "platform/input_file.h"

#include <cstring>
#include <wchar.h>

namespace lumoidl::platform {

InputFile::~InputFile() { close(); }

int InputFile::open(const LumoChar* name) {
    close();
    FILE* stream = nullptr;
    errno_t error = _wfopen_s(&stream, name, L"rb");
    if (error != 0) return error;
    stream_ = stream;
    return 0;
}

size_t InputFile::read(unsigned char* buffer, size_t size) {
    if (!stream_) return 0;
    return fread(buffer, 1, size, stream_);
}

void InputFile::close() {
    if (stream_) {
        fclose(stream_);
        stream_ = nullptr;
    }
}

std::string systemErrorText(int errnum) {
    char buffer[512] = {};
    strerror_s(buffer, sizeof buffer, errnum);
    std::string result(buffer);
    if (!result.empty() && result.back() == '\n') result.pop_back();
    if (!result.empty() && result.back() == '\r') result.pop_back();
    return result;
}

}  // namespace lumoidl::platform
