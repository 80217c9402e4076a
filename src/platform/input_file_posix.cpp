// InputFile and systemErrorText on POSIX systems: names are converted to UTF-8 for open().
#include "platform/input_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text.h"

namespace lumoidl::platform {

InputFile::~InputFile() { close(); }

int InputFile::open(const LumoChar* name) {
    close();
    const std::string path = utf16ToUtf8(TextView(name, unitLength(name)));
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    // A directory opens on POSIX but cannot be read as a file; refuse it the way the
    // Windows runtime does, so the user sees why.
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (known && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    fd_ = fd;
    // A file that grows while it is read is read as it was when opened.
    unread_ = known && S_ISREG(info.st_mode) && info.st_size > 0 ? static_cast<long long>(info.st_size) : -1;
    return 0;
}

size_t InputFile::read(unsigned char* buffer, size_t size) {
    if (fd_ < 0 || unread_ == 0) return 0;
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n > 0 && unread_ > 0) unread_ = n < unread_ ? unread_ - n : 0;
        if (n >= 0) return static_cast<size_t>(n);
        if (errno != EINTR) return 0;
    }
}

void InputFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::string systemErrorText(int errnum) {
    char buffer[512] = {};
    // The GNU strerror_r may return a static text instead of filling the buffer.
    const char* text = strerror_r(errnum, buffer, sizeof buffer);
    std::string result(text ? text : "");
    if (!result.empty() && result.back() == '\n') result.pop_back();
    if (!result.empty() && result.back() == '\r') result.pop_back();
    return result;
}

}  // namespace lumoidl::platform
