#pragma once
// Our stand-in for loading a file as a data module and for the platform's resource enumeration
// and lookup: a PE32 or PE32+ image mapped read-only, whose resource directory is read with every
// offset checked. Nothing is read ahead: types, names and data are looked up when asked for.
#include "pe/ResourceId.h"

#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class PeImage {
public:
    // Maps the file; empty when it cannot be opened or is not a PE image.
    static std::unique_ptr<PeImage> Load(const QString &path);
    ~PeImage();
    PeImage(const PeImage &) = delete;
    PeImage &operator=(const PeImage &) = delete;

    const QString &path() const { return path_; }
    bool isPe32Plus() const { return pe32Plus_; }

    // In directory order, as the platform enumerates them.
    std::vector<ResourceId> Types() const;
    std::vector<ResourceId> Names(const ResourceId &type) const;
    std::vector<std::uint16_t> Languages(const ResourceId &type, const ResourceId &name) const;

    // The data of one resource in the language the program prefers (see ResourceLanguage.h), or
    // in the given language. Empty when the resource does not exist or its data lies outside the file.
    std::optional<std::span<const std::byte>> Find(const ResourceId &type, const ResourceId &name) const;
    std::optional<std::span<const std::byte>> Find(const ResourceId &type, const ResourceId &name,
                                                   std::uint16_t language) const;

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
    // The subdirectory entry of `id`, found by binary search where the directory is sorted.
    std::optional<DirectoryEntry> Lookup(std::uint32_t directory, const ResourceId &id) const;
    // The data entries (languages) of a name's directory; deeper levels are not followed.
    std::vector<DirectoryEntry> LanguageEntries(std::uint32_t nameDirectory) const;
    // The data entry of the language the program prefers in a name's directory, without listing the
    // languages; empty when the directory has none.
    std::optional<std::uint32_t> PreferredDataEntry(std::uint32_t nameDirectory) const;
    // The bytes a data entry points at, or only their size; empty when they lie outside the file.
    std::optional<std::span<const std::byte>> DataAt(std::uint32_t dataEntry) const;
    std::optional<std::uint32_t> DataSize(std::uint32_t dataEntry) const;

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

    PeImage() = default;
    bool Parse();
    std::optional<std::size_t> FileOffsetOfRva(std::uint32_t rva, std::uint32_t size) const;
    Directory DirectoryAt(std::uint32_t offset) const;
    Entry EntryAt(const Directory &dir, std::size_t index) const;
    std::optional<ResourceId> EntryId(const Entry &entry) const;
    std::optional<std::vector<DirectoryEntry>> LanguagesOf(const ResourceId &type,
                                                           const ResourceId &name) const;
    // The file offset of a data entry's bytes, and their size.
    std::optional<std::size_t> DataOffset(std::uint32_t dataEntry, std::uint32_t &size) const;

    QString path_;
    QFile file_;
    std::span<const std::byte> image_;
    std::span<const std::byte> resources_; // from the resource directory to the end of its section
    std::vector<Section> sections_;
    std::uint32_t sizeOfHeaders_ = 0;
    bool pe32Plus_ = false;
};
