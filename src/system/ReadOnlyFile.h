#pragma once
// A regular file opened for reading whose bytes are copied out with pread. Whatever happens to the
// file afterwards (cut short, extended, rewritten, deleted, replaced), a read gets what the file
// holds at that moment or less, never a signal, as a read through a mapping of the file would; and
// nothing is resident but what the caller keeps.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <span>
#include <sys/types.h>

class ReadOnlyFile {
public:
    // Opens a regular file only: a pipe or a device is checked on its descriptor, opened without
    // blocking, and never read. Empty when the file cannot be opened or is not a regular file.
    static std::unique_ptr<ReadOnlyFile> Open(const QString &path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    const QString &path() const { return path_; }
    // The size when the file was opened.
    std::uint64_t size() const { return size_; }

    // Copies what the file holds at [offset, offset + into.size()) into `into`; gives the number of
    // bytes copied, fewer at the end of the file or when the file cannot be read.
    std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> into) const;
    // True while the opened file has the size and modification time it had when opened. Once a
    // change is seen it stays seen: what was read before it no longer matches what the file holds.
    bool Unchanged() const;
    // Whether Unchanged or StateOnDisk has seen a change, without looking at the file again.
    bool SeenChanged() const { return changed_; }

    // What became of the file since it was opened, as its path shows it now.
    enum class State {
        Unchanged, // the same file, as it was
        Modified,  // written, cut or extended in place: what it holds now is not what was opened
        Replaced,  // the path now names another file; the opened one is still read as it was
        Moved,     // the path names nothing, but the opened file is still on disk under another name
        Removed,   // the opened file is gone from the disk; it is still read as it was opened
    };
    State StateOnDisk() const;

private:
    ReadOnlyFile() = default;

    QString path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    timespec modified_{};
    mutable bool changed_ = false;
};
