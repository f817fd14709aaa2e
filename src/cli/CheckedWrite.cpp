#include "cli/CheckedWrite.h"

#include <cerrno>
#include <unistd.h>

int WriteAll(int fd, const QByteArray &bytes) {
    const char *at = bytes.constData();
    std::size_t left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO; // a write that makes no progress would never end
        at += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}
