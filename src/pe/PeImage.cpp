#include "pe/PeImage.h"

#include "pe/ByteReader.h"
#include "pe/ResourceLanguage.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kEntrySize = 8;
} // namespace

std::unique_ptr<PeImage> PeImage::Load(const QString &path) {
    std::unique_ptr<PeImage> image(new PeImage);
    image->path_ = path;
    // Only a regular file is a module. The descriptor is opened without blocking and checked
    // before anything is read, so a pipe or a device named as a module can never stall the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !image->file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    const qint64 size = image->file_.size();
    if (size <= 0) return nullptr;
    uchar *mapped = image->file_.map(0, size);
    if (mapped == nullptr) return nullptr;
    image->image_ = std::as_bytes(std::span(mapped, static_cast<std::size_t>(size)));
    // Once mapped, the descriptor is no longer needed: the mapping stays until unmap or destruction.
    if (!image->Parse()) return nullptr;
    return image;
}

PeImage::~PeImage() = default;

bool PeImage::Parse() {
    const ByteReader file(image_);
    // DOS header: "MZ" and, at 0x3C, the offset of the PE signature.
    if (!file.contains(0, 64) || file.u16At(0) != 0x5A4D) return false;
    const std::size_t pe = file.u32At(0x3C);
    if (!file.contains(pe, 24) || file.u32At(pe) != 0x00004550) return false;
    const std::uint16_t sectionCount = file.u16At(pe + 6);
    const std::uint16_t optionalSize = file.u16At(pe + 20);
    const std::size_t optional = pe + 24;
    if (!file.contains(optional, optionalSize) || optionalSize < 2) return false;

    const std::uint16_t magic = file.u16At(optional);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) return false;
    pe32Plus_ = magic == kPe32PlusMagic;
    const std::size_t rvaCountAt = optional + (pe32Plus_ ? 108 : 92);
    const std::size_t directories = rvaCountAt + 4;
    if (optionalSize < 64) return false;
    sizeOfHeaders_ = file.u32At(optional + 60);

    std::size_t sectionTable = optional + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i, sectionTable += 40) {
        if (!file.contains(sectionTable, 40)) return false;
        sections_.push_back({file.u32At(sectionTable + 12), file.u32At(sectionTable + 8),
                             file.u32At(sectionTable + 20), file.u32At(sectionTable + 16)});
    }

    // No resource directory is not a failure: the module loads and lists nothing.
    const std::size_t resourceEntry = directories + kResourceDirectoryIndex * 8;
    if (rvaCountAt + 4 > optional + optionalSize || file.u32At(rvaCountAt) <= kResourceDirectoryIndex ||
        resourceEntry + 8 > optional + optionalSize)
        return true;
    const std::uint32_t resourceRva = file.u32At(resourceEntry);
    if (resourceRva == 0) return true;
    for (const Section &s : sections_) {
        if (resourceRva < s.virtualAddress || resourceRva - s.virtualAddress >= s.rawSize) continue;
        const std::size_t start = std::size_t{s.rawPointer} + (resourceRva - s.virtualAddress);
        const std::size_t end = std::min(std::size_t{s.rawPointer} + s.rawSize, image_.size());
        if (start < end) resources_ = image_.subspan(start, end - start);
        break;
    }
    return true;
}

std::optional<std::size_t> PeImage::FileOffsetOfRva(std::uint32_t rva, std::uint32_t size) const {
    const std::uint64_t rvaEnd = std::uint64_t{rva} + size;
    for (const Section &s : sections_) {
        if (rva < s.virtualAddress || rvaEnd > std::uint64_t{s.virtualAddress} + s.rawSize) continue;
        const std::uint64_t offset = std::uint64_t{s.rawPointer} + (rva - s.virtualAddress);
        if (offset + size > image_.size()) return std::nullopt;
        return static_cast<std::size_t>(offset);
    }
    // Data inside the headers maps one to one.
    if (rvaEnd <= sizeOfHeaders_ && rvaEnd <= image_.size()) return rva;
    return std::nullopt;
}

PeImage::Directory PeImage::DirectoryAt(std::uint32_t offset) const {
    const ByteReader dir(resources_);
    if (!dir.contains(offset, kDirectoryHeaderSize)) return {};
    const std::size_t named = dir.u16At(offset + 12);
    const std::size_t count = named + dir.u16At(offset + 14);
    // Entries past the end of the section are dropped, so a huge count costs nothing.
    const std::size_t available = (resources_.size() - offset - kDirectoryHeaderSize) / kEntrySize;
    return {offset, std::min(named, available), std::min(count, available)};
}

PeImage::Entry PeImage::EntryAt(const Directory &dir, std::size_t index) const {
    const ByteReader reader(resources_);
    const std::size_t at = dir.offset + kDirectoryHeaderSize + index * kEntrySize;
    return {reader.u32At(at), reader.u32At(at + 4)};
}

std::optional<ResourceId> PeImage::EntryId(const Entry &entry) const {
    if ((entry.nameField & 0x80000000u) == 0)
        return ResourceId::fromNumber(static_cast<std::uint16_t>(entry.nameField));
    ByteReader dir(resources_);
    const std::size_t at = entry.nameField & 0x7FFFFFFFu;
    if (!dir.contains(at, 2)) return std::nullopt;
    const std::size_t length = dir.u16At(at);
    if (!dir.contains(at + 2, length * 2)) return std::nullopt;
    dir.seek(at + 2);
    return ResourceId::fromName(dir.utf16(length));
}

std::vector<PeImage::DirectoryEntry> PeImage::Entries(std::uint32_t directory) const {
    const Directory dir = DirectoryAt(directory);
    std::vector<DirectoryEntry> entries;
    entries.reserve(dir.count);
    for (std::size_t i = 0; i < dir.count; ++i) {
        const Entry e = EntryAt(dir, i);
        if (auto id = EntryId(e)) entries.push_back({std::move(*id), e.target(), e.isSubdirectory()});
    }
    return entries;
}

std::optional<PeImage::DirectoryEntry> PeImage::Lookup(std::uint32_t directory, const ResourceId &id) const {
    const Directory dir = DirectoryAt(directory);
    // Integer entries follow the named ones. Both runs are sorted by the resource compiler, so a
    // binary search finds an entry at once in a directory of tens of thousands; a file whose
    // entries are out of order is still searched entry by entry before giving up.
    const std::size_t first = id.isNumber() ? dir.named : 0;
    const std::size_t last = id.isNumber() ? dir.count : dir.named;
    // Compilers store names in upper case, ordered by code unit; compare the same way.
    const QString wanted = id.name.toUpper();
    auto order = [&](const Entry &e) -> std::optional<int> {
        if (id.isNumber()) {
            if ((e.nameField & 0x80000000u) != 0) return std::nullopt;
            const auto n = static_cast<std::uint16_t>(e.nameField);
            return n < *id.number ? -1 : (n > *id.number ? 1 : 0);
        }
        if ((e.nameField & 0x80000000u) == 0) return std::nullopt;
        const auto entryId = EntryId(e);
        if (!entryId) return std::nullopt;
        return entryId->name.toUpper().compare(wanted);
    };
    auto found = [&](const Entry &e) -> std::optional<DirectoryEntry> {
        if (!e.isSubdirectory()) return std::nullopt;
        return DirectoryEntry{id, e.target(), true};
    };
    std::size_t lo = first, hi = last;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const Entry e = EntryAt(dir, mid);
        const auto c = order(e);
        if (!c) break;
        if (*c == 0) return found(e);
        if (*c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (std::size_t i = first; i < last; ++i) {
        const Entry e = EntryAt(dir, i);
        if (e.isSubdirectory() && order(e) == 0) return found(e);
    }
    return std::nullopt;
}

std::vector<PeImage::DirectoryEntry> PeImage::LanguageEntries(std::uint32_t nameDirectory) const {
    const Directory dir = DirectoryAt(nameDirectory);
    std::vector<DirectoryEntry> languages;
    for (std::size_t i = 0; i < dir.count; ++i) {
        // The third level holds data entries; anything deeper is not followed. A language is the
        // low word of the entry's first field, whatever its flag says.
        const Entry e = EntryAt(dir, i);
        if (!e.isSubdirectory())
            languages.push_back(
                {ResourceId::fromNumber(static_cast<std::uint16_t>(e.nameField)), e.target(), false});
    }
    return languages;
}

std::optional<std::vector<PeImage::DirectoryEntry>> PeImage::LanguagesOf(const ResourceId &type,
                                                                         const ResourceId &name) const {
    const auto typeDir = Lookup(kRootDirectory, type);
    if (!typeDir) return std::nullopt;
    const auto nameDir = Lookup(typeDir->target, name);
    if (!nameDir) return std::nullopt;
    return LanguageEntries(nameDir->target);
}

std::vector<ResourceId> PeImage::Types() const {
    std::vector<ResourceId> types;
    for (DirectoryEntry &e : Entries(kRootDirectory))
        types.push_back(std::move(e.id));
    return types;
}

std::vector<ResourceId> PeImage::Names(const ResourceId &type) const {
    std::vector<ResourceId> names;
    const auto typeDir = Lookup(kRootDirectory, type);
    if (!typeDir) return names;
    auto entries = Entries(typeDir->target);
    names.reserve(entries.size());
    for (DirectoryEntry &e : entries)
        names.push_back(std::move(e.id));
    return names;
}

std::vector<std::uint16_t> PeImage::Languages(const ResourceId &type, const ResourceId &name) const {
    std::vector<std::uint16_t> ids;
    if (const auto entries = LanguagesOf(type, name))
        for (const DirectoryEntry &e : *entries)
            ids.push_back(*e.id.number);
    return ids;
}

std::optional<std::uint32_t> PeImage::PreferredDataEntry(std::uint32_t nameDirectory) const {
    const Directory dir = DirectoryAt(nameDirectory);
    std::optional<std::uint32_t> best;
    int bestRank = kUnpreferredLanguageRank + 1;
    for (std::size_t i = 0; i < dir.count; ++i) {
        const Entry e = EntryAt(dir, i);
        if (e.isSubdirectory()) continue;
        // The first of equal rank wins, so a resource in no preferred language gives its first.
        if (const int rank = LanguageRank(static_cast<std::uint16_t>(e.nameField)); rank < bestRank) {
            best = e.target();
            bestRank = rank;
        }
    }
    return best;
}

std::optional<std::size_t> PeImage::DataOffset(std::uint32_t dataEntry, std::uint32_t &size) const {
    const ByteReader dir(resources_);
    if (!dir.contains(dataEntry, 16)) return std::nullopt;
    size = dir.u32At(dataEntry + 4);
    return FileOffsetOfRva(dir.u32At(dataEntry), size);
}

std::optional<std::span<const std::byte>> PeImage::DataAt(std::uint32_t dataEntry) const {
    std::uint32_t size = 0;
    const auto offset = DataOffset(dataEntry, size);
    if (!offset) return std::nullopt;
    return image_.subspan(*offset, size);
}

std::optional<std::uint32_t> PeImage::DataSize(std::uint32_t dataEntry) const {
    std::uint32_t size = 0;
    if (!DataOffset(dataEntry, size)) return std::nullopt;
    return size;
}

std::optional<std::span<const std::byte>> PeImage::Find(const ResourceId &type,
                                                        const ResourceId &name) const {
    const auto typeDir = Lookup(kRootDirectory, type);
    const auto nameDir = typeDir ? Lookup(typeDir->target, name) : std::nullopt;
    const auto dataEntry = nameDir ? PreferredDataEntry(nameDir->target) : std::nullopt;
    if (!dataEntry) return std::nullopt;
    return DataAt(*dataEntry);
}

std::optional<std::span<const std::byte>> PeImage::Find(const ResourceId &type, const ResourceId &name,
                                                        std::uint16_t language) const {
    if (const auto entries = LanguagesOf(type, name))
        for (const DirectoryEntry &e : *entries)
            if (*e.id.number == language) return DataAt(e.target);
    return std::nullopt;
}
