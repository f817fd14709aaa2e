#include "pe/PeImage.h"

#include "pe/ByteReader.h"
#include "pe/ResourceLanguage.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kSectionHeaderSize = 40;
} // namespace

std::unique_ptr<PeImage> PeImage::Load(const QString &path) {
    auto file = ReadOnlyFile::Open(path);
    if (!file || file->size() == 0) return nullptr;
    std::unique_ptr<PeImage> image(new PeImage(std::move(file)));
    if (!image->Parse()) return nullptr;
    return image;
}

PeImage::PeImage(std::unique_ptr<ReadOnlyFile> file) : file_(std::move(file)) {}

PeImage::~PeImage() = default;

std::optional<std::vector<std::byte>> PeImage::ReadFile(std::uint64_t offset, std::size_t count) const {
    if (offset > file_->size() || count > file_->size() - offset) return std::nullopt;
    std::vector<std::byte> bytes(count);
    if (file_->ReadAt(offset, bytes) != count) return std::nullopt;
    return bytes;
}

bool PeImage::Parse() {
    // DOS header: "MZ" and, at 0x3C, the offset of the PE signature.
    const auto dos = ReadFile(0, 64);
    if (!dos || ByteReader(*dos).u16At(0) != 0x5A4D) return false;
    const std::uint64_t pe = ByteReader(*dos).u32At(0x3C);
    const auto fileHeader = ReadFile(pe, 24);
    if (!fileHeader) return false;
    const ByteReader header(*fileHeader);
    if (header.u32At(0) != 0x00004550) return false;
    const std::uint16_t sectionCount = header.u16At(6);
    const std::uint16_t optionalSize = header.u16At(20);
    const auto optionalHeader = ReadFile(pe + 24, optionalSize);
    if (!optionalHeader || optionalSize < 2) return false;
    const ByteReader optional(*optionalHeader);

    const std::uint16_t magic = optional.u16At(0);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) return false;
    pe32Plus_ = magic == kPe32PlusMagic;
    const std::size_t rvaCountAt = pe32Plus_ ? 108 : 92;
    const std::size_t directories = rvaCountAt + 4;
    if (optionalSize < 64) return false;
    sizeOfHeaders_ = optional.u32At(60);

    const auto sectionTable =
        ReadFile(pe + 24 + optionalSize, std::size_t{sectionCount} * kSectionHeaderSize);
    if (!sectionTable) return false;
    const ByteReader table(*sectionTable);
    for (std::size_t at = 0; at < table.size(); at += kSectionHeaderSize)
        sections_.push_back(
            {table.u32At(at + 12), table.u32At(at + 8), table.u32At(at + 20), table.u32At(at + 16)});

    // No resource directory is not a failure: the module loads and lists nothing.
    const std::size_t resourceEntry = directories + kResourceDirectoryIndex * 8;
    if (rvaCountAt + 4 > optionalSize || optional.u32At(rvaCountAt) <= kResourceDirectoryIndex ||
        resourceEntry + 8 > optionalSize)
        return true;
    const std::uint32_t resourceRva = optional.u32At(resourceEntry);
    if (resourceRva == 0) return true;
    for (const Section &s : sections_) {
        if (resourceRva < s.virtualAddress || resourceRva - s.virtualAddress >= s.rawSize) continue;
        const std::uint64_t start = std::uint64_t{s.rawPointer} + (resourceRva - s.virtualAddress);
        const std::uint64_t end = std::min(std::uint64_t{s.rawPointer} + s.rawSize, file_->size());
        if (start < end) {
            resourceStart_ = start;
            resourceSize_ = static_cast<std::size_t>(end - start);
            blocks_.resize(((resourceSize_ - 1) >> kBlockShift) + 1);
        }
        break;
    }
    return true;
}

std::optional<std::uint64_t> PeImage::FileOffsetOfRva(std::uint32_t rva, std::uint32_t size) const {
    const std::uint64_t rvaEnd = std::uint64_t{rva} + size;
    for (const Section &s : sections_) {
        if (rva < s.virtualAddress || rvaEnd > std::uint64_t{s.virtualAddress} + s.rawSize) continue;
        const std::uint64_t offset = std::uint64_t{s.rawPointer} + (rva - s.virtualAddress);
        if (offset + size > file_->size()) return std::nullopt;
        return offset;
    }
    // Data inside the headers maps one to one.
    if (rvaEnd <= sizeOfHeaders_ && rvaEnd <= file_->size()) return rva;
    return std::nullopt;
}

namespace {
std::uint16_t Le16(const std::byte *p) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) | std::to_integer<unsigned>(p[1]) << 8);
}
std::uint32_t Le32(const std::byte *p) {
    return std::uint32_t{Le16(p)} | std::uint32_t{Le16(p + 2)} << 16;
}
} // namespace

const PeImage::Block &PeImage::BlockAt(std::size_t index) const {
    Block &block = blocks_[index];
    if (block.read) return block;
    block.read = true;
    const std::size_t start = index << kBlockShift;
    const std::size_t wanted = std::min(kBlockSize, resourceSize_ - start);
    // A block of a file changed in place would mix its new bytes with the directory listed so far.
    if (!file_->Unchanged()) return block;
    block.bytes = std::make_unique_for_overwrite<std::byte[]>(wanted);
    block.size = file_->ReadAt(resourceStart_ + start, std::span(block.bytes.get(), wanted));
    if (!file_->Unchanged()) block.size = 0;
    return block;
}

bool PeImage::CopySection(std::size_t offset, std::span<std::byte> into) const {
    if (offset > resourceSize_ || into.size() > resourceSize_ - offset) return false;
    for (std::size_t done = 0; done < into.size();) {
        const std::size_t at = offset + done;
        const Block &block = BlockAt(at >> kBlockShift);
        const std::size_t within = at & (kBlockSize - 1);
        if (within >= block.size) return false;
        const std::size_t n = std::min(block.size - within, into.size() - done);
        std::memcpy(into.data() + done, block.bytes.get() + within, n);
        done += n;
    }
    return true;
}

template <std::size_t N>
const std::byte *PeImage::SectionPiece(std::size_t offset, std::byte (&scratch)[N]) const {
    if (offset > resourceSize_ || N > resourceSize_ - offset) return nullptr;
    // Almost every piece lies inside one block and is read where it is.
    const Block &block = BlockAt(offset >> kBlockShift);
    const std::size_t within = offset & (kBlockSize - 1);
    if (within + N <= block.size) return block.bytes.get() + within;
    return CopySection(offset, scratch) ? scratch : nullptr;
}

PeImage::Directory PeImage::DirectoryAt(std::uint32_t offset, std::size_t most) const {
    std::byte scratch[kDirectoryHeaderSize];
    const std::byte *header = SectionPiece(offset, scratch);
    if (header == nullptr) return {};
    const std::size_t named = Le16(header + 12);
    const std::size_t count = named + Le16(header + 14);
    // Entries past the end of the section are dropped, so a huge count costs nothing.
    const std::size_t available = (resourceSize_ - offset - kDirectoryHeaderSize) / kEntrySize;
    return {offset, std::min(named, available), std::min({count, available, most})};
}

std::optional<PeImage::Entry> PeImage::EntryAt(const Directory &dir, std::size_t index) const {
    std::byte scratch[kEntrySize];
    const std::byte *entry = SectionPiece(dir.offset + kDirectoryHeaderSize + index * kEntrySize, scratch);
    if (entry == nullptr) return std::nullopt;
    return Entry{Le32(entry), Le32(entry + 4)};
}

std::optional<ResourceId> PeImage::EntryId(const Entry &entry) const {
    if ((entry.nameField & 0x80000000u) == 0)
        return ResourceId::fromNumber(static_cast<std::uint16_t>(entry.nameField));
    const std::size_t at = entry.nameField & 0x7FFFFFFFu;
    std::byte scratch[2];
    const std::byte *length = SectionPiece(at, scratch);
    if (length == nullptr) return std::nullopt;
    std::vector<std::byte> text(std::size_t{Le16(length)} * 2);
    if (!CopySection(at + 2, text)) return std::nullopt;
    ByteReader reader(text);
    return ResourceId::fromName(reader.utf16(Le16(length)));
}

std::vector<PeImage::DirectoryEntry> PeImage::Entries(std::uint32_t directory) const {
    const Directory dir = DirectoryAt(directory);
    std::vector<DirectoryEntry> entries;
    entries.reserve(dir.count);
    for (std::size_t i = 0; i < dir.count; ++i) {
        // Entries the file no longer holds end the directory.
        const auto e = EntryAt(dir, i);
        if (!e) break;
        if (auto id = EntryId(*e)) entries.push_back({std::move(*id), e->target(), e->isSubdirectory()});
    }
    return entries;
}

std::vector<PeImage::DirectoryEntry> PeImage::LanguageEntries(std::uint32_t nameDirectory) const {
    const Directory dir = DirectoryAt(nameDirectory, kMostLanguages);
    std::vector<DirectoryEntry> languages;
    for (std::size_t i = 0; i < dir.count; ++i) {
        // The third level holds data entries; anything deeper is not followed. A language is the
        // low word of the entry's first field, whatever its flag says.
        const auto e = EntryAt(dir, i);
        if (!e) break;
        if (!e->isSubdirectory())
            languages.push_back(
                {ResourceId::fromNumber(static_cast<std::uint16_t>(e->nameField)), e->target(), false});
    }
    return languages;
}

std::optional<std::uint32_t> PeImage::PreferredDataEntry(std::uint32_t nameDirectory) const {
    const Directory dir = DirectoryAt(nameDirectory, kMostLanguages);
    // A real name has a language or three. A directory of many is weighed once, however many names
    // a hostile file points at it.
    const bool large = dir.count > kFewLanguages;
    if (large)
        if (const auto known = preferredInLarge_.constFind(nameDirectory); known != preferredInLarge_.cend())
            return *known;
    // Gathered without a trip to the heap for the usual few.
    QVarLengthArray<std::uint16_t, 8> languages;
    QVarLengthArray<std::uint32_t, 8> dataEntries;
    for (std::size_t i = 0; i < dir.count; ++i) {
        const auto e = EntryAt(dir, i);
        if (!e) break;
        if (e->isSubdirectory()) continue;
        languages.append(static_cast<std::uint16_t>(e->nameField));
        dataEntries.append(e->target());
    }
    std::optional<std::uint32_t> preferred;
    if (!languages.isEmpty())
        preferred = dataEntries[static_cast<qsizetype>(PreferredLanguageIndex(
            std::span<const std::uint16_t>(languages.data(), static_cast<std::size_t>(languages.size()))))];
    if (large) preferredInLarge_.insert(nameDirectory, preferred);
    return preferred;
}

std::optional<std::uint32_t> PeImage::LanguageDataEntry(std::uint32_t nameDirectory,
                                                        std::uint16_t language) const {
    const Directory dir = DirectoryAt(nameDirectory, kMostLanguages);
    for (std::size_t i = 0; i < dir.count; ++i) {
        const auto e = EntryAt(dir, i);
        if (!e) break;
        if (!e->isSubdirectory() && static_cast<std::uint16_t>(e->nameField) == language) return e->target();
    }
    return std::nullopt;
}

std::optional<PeImage::DataExtent> PeImage::DataAt(std::uint32_t dataEntry) const {
    // A data entry is 16 bytes: address, size, code page, reserved.
    std::byte scratch[16];
    const std::byte *entry = SectionPiece(dataEntry, scratch);
    if (entry == nullptr) return std::nullopt;
    const std::uint32_t size = Le32(entry + 4);
    const auto offset = FileOffsetOfRva(Le32(entry), size);
    if (!offset) return std::nullopt;
    return DataExtent{*offset, size};
}

bool PeImage::Holds(const DataExtent &extent) const {
    // Every extent lies inside the file as it was opened; the file holds it until a change is seen.
    // No look at the file here: a listing asks this of every resource.
    return extent.offset + extent.size <= file_->size() && !file_->SeenChanged();
}

std::optional<std::vector<std::byte>> PeImage::Read(const DataExtent &extent) const {
    if (!Holds(extent)) return std::nullopt;
    std::vector<std::byte> bytes(extent.size);
    // Checked again after the read: a change while it ran may have cut or rewritten what it got.
    if (file_->ReadAt(extent.offset, bytes) != bytes.size() || !file_->Unchanged()) return std::nullopt;
    return bytes;
}
