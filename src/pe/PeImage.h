#pragma once
// Our stand-in for loading a file as a data module and for the platform's resource enumeration
// and lookup: a PE32 or PE32+ image whose resource directory is read with every offset checked.
// Nothing is read ahead: types, names and data are looked up when asked for.
//
// The file is read with pread into buffers of our own, never mapped, so no change of the file on
// disk can turn a read into a signal. The directory is read in blocks on first use and kept, so
// what was listed stays as it was listed; a resource's data is read when asked for. Once the file
// has changed in place, nothing more is read from it: every read that would need its bytes finds
// nothing, as for data outside the file.
#include "pe/ResourceId.h"
#include "system/ReadOnlyFile.h"

#include <QHash>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class PeImage {
public:
    // Opens the file; empty when it cannot be opened, is not a regular file or is not a PE image.
    static std::unique_ptr<PeImage> Load(const QString &path);
    ~PeImage();
    PeImage(const PeImage &) = delete;
    PeImage &operator=(const PeImage &) = delete;

    const QString &path() const { return file_->path(); }
    bool isPe32Plus() const { return pe32Plus_; }

    // Where one resource's data lies in the file, as its data entry says.
    struct DataExtent {
        std::uint64_t offset = 0;
        std::uint32_t size = 0;
    };
    // The bytes of an extent as the file holds them now; empty when the file no longer holds them
    // all as they were when opened (cut short or changed in place since).
    std::optional<std::vector<std::byte>> Read(const DataExtent &extent) const;
    // True while Read of an extent would find its bytes, as far as the file was last looked at
    // (by Read or StateOnDisk); looks at nothing itself, so a listing may ask it of every resource.
    bool Holds(const DataExtent &extent) const;
    // What became of the file on disk since it was opened, looked at now.
    ReadOnlyFile::State StateOnDisk() const { return file_->StateOnDisk(); }

    // The directory walk itself, for callers that keep what they listed: directory 0 is the root
    // (types); a type's target is its names' directory, a name's its languages' directory, and a
    // language's target is its data entry.
    struct DirectoryEntry {
        ResourceId id;
        std::uint32_t target = 0;
        bool subdirectory = false;
    };
    static constexpr std::uint32_t kRootDirectory = 0;
    // Every entry whose identifier can be read, in directory order.
    std::vector<DirectoryEntry> Entries(std::uint32_t directory) const;
    // The data entries (languages) of a name's directory; deeper levels are not followed.
    std::vector<DirectoryEntry> LanguageEntries(std::uint32_t nameDirectory) const;
    // The data entry of the language the program prefers in a name's directory, without listing the
    // languages; empty when the directory has none.
    std::optional<std::uint32_t> PreferredDataEntry(std::uint32_t nameDirectory) const;
    // The data entry of the first entry in `language` in a name's directory, without listing them.
    std::optional<std::uint32_t> LanguageDataEntry(std::uint32_t nameDirectory, std::uint16_t language) const;
    // The extent a data entry points at; empty when it lies outside the file as it was opened.
    std::optional<DataExtent> DataAt(std::uint32_t dataEntry) const;

private:
    struct Section {
        std::uint32_t virtualAddress, virtualSize, rawPointer, rawSize;
    };
    struct Entry {
        std::uint32_t nameField, offsetField;
        bool isSubdirectory() const { return (offsetField & 0x80000000u) != 0; }
        std::uint32_t target() const { return offsetField & 0x7FFFFFFFu; }
    };

    // One directory: its named entries first, then its integer entries, both sorted by the
    // resource compiler; `count` is cut at the end of the section.
    struct Directory {
        std::size_t offset = 0, named = 0, count = 0;
    };

    // A piece of the resource section as read from the file; `size` is short where the file was.
    struct Block {
        std::unique_ptr<std::byte[]> bytes;
        std::size_t size = 0;
        bool read = false;
    };
    static constexpr std::size_t kBlockShift = 16;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockShift; // 64 KiB

    explicit PeImage(std::unique_ptr<ReadOnlyFile> file);
    bool Parse();
    std::optional<std::vector<std::byte>> ReadFile(std::uint64_t offset, std::size_t count) const;
    std::optional<std::uint64_t> FileOffsetOfRva(std::uint32_t rva, std::uint32_t size) const;
    const Block &BlockAt(std::size_t index) const;
    // Copies resource-section bytes at `offset` (from the directory's start); false when any of
    // them lies outside the section or the file.
    bool CopySection(std::size_t offset, std::span<std::byte> into) const;
    // N section bytes at `offset`: where they lie in a block, or copied into `scratch`; nullptr
    // when any of them lies outside the section or the file.
    template <std::size_t N> const std::byte *SectionPiece(std::size_t offset, std::byte (&scratch)[N]) const;
    // The directory at `offset`, read no further than its first `most` entries.
    Directory DirectoryAt(std::uint32_t offset, std::size_t most = SIZE_MAX) const;
    // No resource is in more languages than there are language identifiers in use: a name's
    // directory claiming more is hostile, and every name pointing at it must not cost a walk of
    // it all.
    static constexpr std::size_t kMostLanguages = 1024;
    static constexpr std::size_t kFewLanguages = 8;
    std::optional<Entry> EntryAt(const Directory &dir, std::size_t index) const;
    std::optional<ResourceId> EntryId(const Entry &entry) const;

    std::unique_ptr<ReadOnlyFile> file_;
    std::vector<Section> sections_;
    std::uint32_t sizeOfHeaders_ = 0;
    bool pe32Plus_ = false;
    // The resource section: from the resource directory to the end of its section in the file.
    std::uint64_t resourceStart_ = 0;
    std::size_t resourceSize_ = 0;
    mutable std::vector<Block> blocks_; // one slot per 64 KiB of the section, read on first use
    // The preferred data entry of each language directory of more than kFewLanguages entries.
    mutable QHash<std::uint32_t, std::optional<std::uint32_t>> preferredInLarge_;
};
