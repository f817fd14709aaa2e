#include "media/sound/PcmSource.h"

#include <algorithm>
#include <cstring>

qint64 PcmSource::Read(char *data, qint64 maxBytes) {
    const qint64 frameBytes = format_.bytesPerFrame();
    if (frameBytes <= 0) return 0;
    const qint64 wanted = maxBytes / frameBytes * frameBytes;
    qint64 written = 0;
    while (written < wanted) {
        if (pendingPos_ == pending_.size()) {
            pending_.clear();
            pendingPos_ = 0;
            if (ended_) break;
            Produce();
            continue;
        }
        const auto n = static_cast<std::size_t>(
            std::min<qint64>(wanted - written, static_cast<qint64>(pending_.size() - pendingPos_)));
        std::memcpy(data + written, pending_.data() + pendingPos_, n);
        pendingPos_ += n;
        written += static_cast<qint64>(n);
    }
    return written;
}
