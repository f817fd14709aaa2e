#include "cli/InterruptCleanup.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "a signal handler reads the records");

TempNames::Held &TempNames::Held::operator=(Held &&other) noexcept {
    if (this != &other) {
        Release();
        slot_ = other.slot_;
        other.slot_ = nullptr;
    }
    return *this;
}

void TempNames::Held::Release() {
    if (slot_ == nullptr) return;
    slot_->folder.store(-1);
    slot_->used.store(false);
    slot_ = nullptr;
}

TempNames::Held TempNames::Hold(int folder, const QByteArray &name) {
    Held held;
    for (Slot &slot : slots_) {
        bool expected = false;
        if (!slot.used.compare_exchange_strong(expected, true)) continue;
        const std::size_t size = std::min(static_cast<std::size_t>(name.size()), kNameBytes - 1);
        std::memcpy(slot.name, name.constData(), size);
        slot.name[size] = '\0';
        slot.folder.store(folder); // the name is whole before a handler can see it
        held.slot_ = &slot;
        break;
    }
    return held;
}

void TempNames::RemoveAll() {
    for (Slot &slot : slots_) {
        const int folder = slot.folder.load();
        if (folder >= 0) ::unlinkat(folder, slot.name, 0);
    }
}

namespace {
// The one object the handlers reach; set once, before they are installed.
TempNames *gNames = nullptr;

void RemoveAndEnd(int signal) {
    if (gNames != nullptr) gNames->RemoveAll();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
} // namespace

void InstallInterruptCleanup(TempNames &names) {
    gNames = &names;
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        sigaction(s, nullptr, &action);
        if (action.sa_handler == SIG_IGN) continue; // left ignored as it was
        action.sa_handler = RemoveAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(s, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN); // past the file-size limit a write fails with EFBIG instead
}
