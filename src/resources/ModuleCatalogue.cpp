#include "resources/ModuleCatalogue.h"

#include <algorithm>

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
    if (slot.names) return *slot.names;
    auto list = std::make_unique<NameList>();
    auto entries = image_->Entries(slot.entry.target);
    list->ids.reserve(entries.size());
    list->directories.reserve(entries.size());
    list->chosen.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PeImage::DirectoryEntry &e = entries[i];
        // Only subdirectories lead to data. The language shown is chosen once, here, so that a
        // listing's sizes and every later click cost no walk of the languages.
        const std::uint32_t chosen =
            e.subdirectory ? image_->PreferredDataEntry(e.target).value_or(kNoData) : kNoData;
        if (e.subdirectory && e.id.isNumber())
            list->numbers.emplace_back(*e.id.number, static_cast<std::uint32_t>(i));
        list->directories.push_back(e.subdirectory ? e.target : PeImage::kRootDirectory);
        list->chosen.push_back(chosen);
        list->ids.push_back(std::move(e.id));
    }
    // Compilers sort integer names already; a stable sort keeps a repeated one's first entry first.
    if (!std::is_sorted(list->numbers.begin(), list->numbers.end()))
        std::stable_sort(list->numbers.begin(), list->numbers.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
    slot.names = std::move(list);
    return *slot.names;
}

const std::vector<ResourceId> &ModuleCatalogue::Names(const ResourceId &type) const {
    static const std::vector<ResourceId> kNone;
    const TypeSlot *slot = TypeOf(type);
    return slot ? NamesOf(*slot).ids : kNone;
}

std::optional<std::size_t> ModuleCatalogue::IndexOf(const NameList &names, const ResourceId &name) {
    if (name.isNumber()) {
        const auto at = std::lower_bound(names.numbers.begin(), names.numbers.end(), *name.number,
                                         [](const auto &e, std::uint16_t n) { return e.first < n; });
        if (at != names.numbers.end() && at->first == *name.number) return at->second;
        return std::nullopt;
    }
    if (!names.names) {
        // Names compare without case; most types have few, and many are never looked up by name.
        names.names = std::make_unique<QHash<QString, std::size_t>>();
        for (std::size_t i = 0; i < names.ids.size(); ++i) {
            if (names.ids[i].isNumber() || names.directories[i] == PeImage::kRootDirectory) continue;
            const QString key = names.ids[i].name.toUpper();
            if (!names.names->contains(key)) names.names->insert(key, i);
        }
    }
    const auto at = names.names->constFind(name.name.toUpper());
    if (at == names.names->cend()) return std::nullopt;
    return *at;
}

std::optional<std::pair<const ModuleCatalogue::NameList *, std::size_t>>
ModuleCatalogue::Locate(const ResourceEntry &entry) const {
    const TypeSlot *slot = TypeOf(entry.type);
    if (slot == nullptr) return std::nullopt;
    const NameList &names = NamesOf(*slot);
    const auto index = IndexOf(names, entry.name);
    if (!index) return std::nullopt;
    return std::pair{&names, *index};
}

std::optional<PeImage::DataExtent> ModuleCatalogue::DataOf(const ResourceEntry &entry,
                                                           std::optional<std::uint16_t> language) const {
    const auto at = Locate(entry);
    if (!at) return std::nullopt;
    const auto &[names, index] = *at;
    if (!language) {
        if (names->chosen[index] == kNoData) return std::nullopt;
        return image_->DataAt(names->chosen[index]);
    }
    const auto dataEntry = image_->LanguageDataEntry(names->directories[index], *language);
    if (!dataEntry) return std::nullopt;
    return image_->DataAt(*dataEntry);
}

std::vector<std::uint16_t> ModuleCatalogue::Languages(const ResourceEntry &entry) const {
    std::vector<std::uint16_t> ids;
    const auto at = Locate(entry);
    if (!at) return ids;
    for (const PeImage::DirectoryEntry &e : image_->LanguageEntries(at->first->directories[at->second]))
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
    // The size the directory declares, while the file holds that much as it was opened.
    const auto extent = DataOf(entry, std::nullopt);
    if (!extent || !image_->Holds(*extent)) return std::nullopt;
    return extent->size;
}

ReadOnlyFile::State ModuleCatalogue::StateOnDisk() const {
    return image_ ? image_->StateOnDisk() : ReadOnlyFile::State::Unchanged;
}
