#pragma once
// A file system of 64 KiB over a folder, seen only by the calling thread and the programs it starts:
// the thread enters a mount namespace of its own and goes back to the one it left when the disk
// goes. Needs root's rights; mounted() is false where the system gives no mount namespace.
#include <QByteArray>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

class SmallDisk {
public:
    explicit SmallDisk(const QByteArray &folder) : folder_(folder) {
        left_ = ::open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC);
        entered_ = left_ >= 0 && ::unshare(CLONE_NEWNS) == 0;
        mounted_ = entered_ && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                   ::mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.constData(), MNT_DETACH);
        if (entered_) ::setns(left_, CLONE_NEWNS);
        if (left_ >= 0) ::close(left_);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    bool mounted() const { return mounted_; }

private:
    QByteArray folder_;
    int left_ = -1;
    bool entered_ = false, mounted_ = false;
};
