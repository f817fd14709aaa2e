#include "resources/ModuleCatalogue.h"

#include "resources/IdentifierStrings.h"

std::shared_ptr<const ModuleCatalogue> ModuleCatalogue::Open(const QString &path) {
    auto image = PeImage::Load(path);
    if (!image) return nullptr;
    return std::shared_ptr<const ModuleCatalogue>(new ModuleCatalogue(std::move(image)));
}

const ModuleCatalogue &ModuleCatalogue::Empty() {
    static const ModuleCatalogue empty(nullptr);
    return empty;
}

const QString &ModuleCatalogue::path() const {
    static const QString kNone;
    return image_ ? image_->path() : kNone;
}

ModuleCatalogue::ModuleCatalogue(std::unique_ptr<PeImage> image) : image_(std::move(image)) {
    if (!image_) return;
    for (PeImage::DirectoryEntry &type : image_->Entries(PeImage::kRootDirectory)) {
        types_.push_back(type.id);
        typeSlots_.push_back({std::move(type), nullptr});
    }
}

const ModuleCatalogue::TypeSlot *ModuleCatalogue::TypeOf(const ResourceId &type) const {
    // A handful of types: the first that matches in directory order, as a listing reaches it.
    for (const TypeSlot &slot : typeSlots_)
        if (slot.entry.subdirectory && slot.entry.id.matches(type)) return &slot;
    return nullptr;
}

const ModuleCatalogue::NameList &ModuleCatalogue::NamesOf(const TypeSlot &slot) const {
    if (!slot.names) {
        auto list = std::make_unique<NameList>();
        const auto entries = image_->Entries(slot.entry.target);
        list->ids.reserve(entries.size());
        list->directories.reserve(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const PeImage::DirectoryEntry &e = entries[i];
            list->ids.push_back(e.id);
            // Only subdirectories lead to data.
            list->directories.push_back(e.subdirectory ? e.target : PeImage::kRootDirectory);
            if (!e.subdirectory) continue;
            // A repeated identifier reaches the first of its entries.
            if (e.id.isNumber()) {
                if (!list->numbers.contains(*e.id.number)) list->numbers.insert(*e.id.number, i);
            } else if (const QString key = e.id.name.toUpper(); !list->names.contains(key)) {
                list->names.insert(key, i);
            }
        }
        slot.names = std::move(list);
    }
    return *slot.names;
}

const std::vector<ResourceId> &ModuleCatalogue::Names(const ResourceId &type) const {
    static const std::vector<ResourceId> kNone;
    const TypeSlot *slot = TypeOf(type);
    return slot ? NamesOf(*slot).ids : kNone;
}

std::optional<std::uint32_t> ModuleCatalogue::NameDirectory(const NameList &names, const ResourceId &name) {
    if (name.isNumber()) {
        const auto at = names.numbers.constFind(*name.number);
        if (at != names.numbers.cend()) return names.directories[*at];
    } else {
        const auto at = names.names.constFind(name.name.toUpper());
        if (at != names.names.cend()) return names.directories[*at];
    }
    return std::nullopt;
}

std::optional<PeImage::DataExtent>
ModuleCatalogue::DataOf(const ResourceEntry &entry, std::optional<std::uint16_t> language) const {
    const TypeSlot *slot = TypeOf(entry.type);
    if (slot == nullptr) return std::nullopt;
    const std::optional<std::uint32_t> directory = NameDirectory(NamesOf(*slot), entry.name);
    if (!directory) return std::nullopt;
    const auto languages = image_->LanguageEntries(*directory);
    if (languages.empty()) return std::nullopt;
    if (!language) return image_->PreferredData(languages);
    for (const PeImage::DirectoryEntry &e : languages)
        if (*e.id.number == *language) return image_->DataAt(e.target);
    return std::nullopt;
}

std::vector<std::uint16_t> ModuleCatalogue::Languages(const ResourceEntry &entry) const {
    std::vector<std::uint16_t> ids;
    const TypeSlot *slot = TypeOf(entry.type);
    if (slot == nullptr) return ids;
    const std::optional<std::uint32_t> directory = NameDirectory(NamesOf(*slot), entry.name);
    if (!directory) return ids;
    for (const PeImage::DirectoryEntry &e : image_->LanguageEntries(*directory))
        ids.push_back(*e.id.number);
    return ids;
}

std::optional<ResourceBytes> ModuleCatalogue::Bytes(const ResourceEntry &entry) const {
    const auto extent = DataOf(entry, std::nullopt);
    return extent ? image_->Read(*extent) : std::nullopt;
}

std::optional<ResourceBytes> ModuleCatalogue::Bytes(const ResourceEntry &entry,
                                                    std::uint16_t language) const {
    const auto extent = DataOf(entry, language);
    return extent ? image_->Read(*extent) : std::nullopt;
}

std::optional<std::uint32_t> ModuleCatalogue::Size(const ResourceEntry &entry) const {
    // The size the directory declares, while the file still holds that much as it was opened.
    const auto extent = DataOf(entry, std::nullopt);
    if (!extent || !image_->Holds(*extent)) return std::nullopt;
    return extent->size;
}

ReadOnlyFile::State ModuleCatalogue::StateOnDisk() const {
    return image_ ? image_->StateOnDisk() : ReadOnlyFile::State::Unchanged;
}

std::optional<ResourceEntry> ModuleCatalogue::Find(const QString &type, const QString &name) const {
    const ResourceId nameId = NameIdOfString(name);
    if (const auto integerType = IntegerTypeOfString(type)) {
        ResourceEntry entry{*integerType, nameId};
        if (DataOf(entry, std::nullopt)) return entry;
    }
    ResourceEntry entry{ResourceId::fromName(type), nameId};
    if (DataOf(entry, std::nullopt)) return entry;
    return std::nullopt;
}

ResourceEntry ModuleCatalogue::EntryFor(const QString &type, const QString &name) const {
    if (auto found = Find(type, name)) return *found;
    return {IntegerTypeOfString(type).value_or(ResourceId::fromName(type)), NameIdOfString(name)};
}
