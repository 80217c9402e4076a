// Writing a listing to standard output, or to a file replaced only by a complete copy.
#include "tools/output_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>

namespace lumoidl::tool {
namespace {

/// Writes all of `bytes` to `fd`; false with errno set when that fails.
bool writeAll(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        done += static_cast<size_t>(count);
    }
    return true;
}

/// Writes `bytes` to a temporary file beside `file` and renames it to `file`. Returns 0, or the
/// errno of the step that failed, with nothing left behind.
int replaceFile(const std::string& file, const std::string& bytes) {
    std::string temporary = file + ".tmp-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return errno;
    // mkstemp makes the file private; give it the permissions a newly created file would get.
    const mode_t mask = umask(0);
    umask(mask);
    int fault = fchmod(fd, 0666 & ~mask) == 0 && writeAll(fd, bytes) ? 0 : errno;
    if (::close(fd) != 0 && !fault) fault = errno;
    if (!fault && std::rename(temporary.c_str(), file.c_str()) != 0) fault = errno;
    if (fault) ::unlink(temporary.c_str());
    return fault;
}

}  // namespace

int writeOutput(const std::string& file, const std::function<void(std::ostream&)>& render) {
    if (file.empty()) {
        render(std::cout);
        std::cout.flush();
        if (std::cout) return 0;
        std::cerr << "lumoidl: could not write the output\n";
        return 1;
    }
    std::ostringstream listing;
    render(listing);
    const int fault = replaceFile(file, listing.str());
    if (!fault) return 0;
    std::cerr << "lumoidl: cannot write \"" << file << "\": " << std::strerror(fault) << '\n';
    return 1;
}

}  // namespace lumoidl::tool
