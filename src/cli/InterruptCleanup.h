#pragma once
// What an interrupted zorvika-cli leaves behind: nothing. While a file is being put in place it
// exists for a moment under a temporary name; a run records that name here, and the handlers that
// the program's main installs for SIGINT, SIGTERM and SIGHUP remove every recorded name before the
// program ends by the signal, as it would have without them.
#include <QByteArray>
#include <atomic>
#include <cstddef>

class TempNames {
public:
    // As many names as files can be put in place at once: one per thread of the run.
    static constexpr std::size_t kSlots = 256;
    static constexpr std::size_t kNameBytes = 64;

    struct Slot {
        std::atomic<bool> used{false};
        std::atomic<int> folder{-1}; // -1 while nothing is recorded
        char name[kNameBytes] = {};
    };

    // A name recorded while it exists; the record ends with the object.
    class Held {
    public:
        Held() = default;
        Held(Held &&other) noexcept : slot_(other.slot_) { other.slot_ = nullptr; }
        Held &operator=(Held &&other) noexcept;
        ~Held() { Release(); }
        void Release();

    private:
        friend class TempNames;
        Slot *slot_ = nullptr;
    };

    // Records `name` (a plain name of at most kNameBytes - 1 bytes) in the folder `folder`; nothing is
    // recorded when every slot is in use, which the run's limit on threads rules out.
    Held Hold(int folder, const QByteArray &name);
    // Removes every recorded name; safe in a signal handler.
    void RemoveAll();

private:
    Slot slots_[kSlots];
};

// Installs the handlers that remove `names` on SIGINT, SIGTERM and SIGHUP (a signal the program was
// started ignoring stays ignored), and ignores SIGPIPE and SIGXFSZ, so that a write to a reader that
// went away, or past the file-size limit, fails with its reason and the run ends as it decides.
// Called once, by the program's main.
void InstallInterruptCleanup(TempNames &names);
