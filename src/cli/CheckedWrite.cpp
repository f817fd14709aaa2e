#include "cli/CheckedWrite.h"

#include <cerrno>
#include <cstring>
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

QString SystemReason(int error) {
    char buffer[256];
    // The GNU form, safe on every thread: the message, in `buffer` or in static storage.
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}
