#pragma once
// An opened module as the program sees it: its types, the names of each type, their languages and
// the bytes of each resource, reached by exact entry. It needs no widgets and no global state, so
// each window, the command-line tool and tests hold their own.
#include "pe/PeImage.h"
#include "resources/ResourceEntry.h"

#include <QHash>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// An exact copy of one resource's data.
using ResourceBytes = std::vector<std::byte>;

class ModuleCatalogue {
public:
    // Opens a regular file as a data module; nullptr when it is missing, is not a regular file (a
    // pipe or a device is never opened, so nothing can block), or is not a PE image.
    static std::shared_ptr<const ModuleCatalogue> Open(const QString &path);
    // A module with no resources at all, for callers that have no file open.
    static const ModuleCatalogue &Empty();

    const QString &path() const;
    bool isPe32Plus() const { return image_ && image_->isPe32Plus(); }

    // In directory order, as the platform enumerates them. The names of a type are read once, on
    // the first request, and kept; the catalogue is used from one thread.
    const std::vector<ResourceId> &Types() const { return types_; }
    const std::vector<ResourceId> &Names(const ResourceId &type) const;
    std::vector<std::uint16_t> Languages(const ResourceEntry &entry) const;

    // The entry's data in the language the program prefers, or in the given language, read from
    // the file now. Empty when the entry does not exist or its data lies outside the file, and
    // once the file has been changed in place since it was opened; a resource of size 0 gives an
    // empty vector.
    std::optional<ResourceBytes> Bytes(const ResourceEntry &entry) const;
    std::optional<ResourceBytes> Bytes(const ResourceEntry &entry, std::uint16_t language) const;
    // The size of that data without reading it; empty as for Bytes, where a change of the file is
    // known from the last read or look at it (StateOnDisk), so a listing costs no look at the file.
    std::optional<std::uint32_t> Size(const ResourceEntry &entry) const;

    // What became of the file on disk since it was opened, looked at now (Unchanged for the empty
    // module). A change in place seen here makes Size and Bytes find nothing from then on.
    ReadOnlyFile::State StateOnDisk() const;

private:
    struct NameList {
        std::vector<ResourceId> ids;
        std::vector<std::uint32_t> directories; // each name's language directory
        std::vector<std::uint32_t> chosen;      // the data entry of the language shown, or kNoData
        std::vector<std::pair<std::uint16_t, std::uint32_t>> numbers; // (number, index), sorted
        mutable std::unique_ptr<QHash<QString, std::size_t>> names;   // upper-cased; made on first use
    };
    static constexpr std::uint32_t kNoData = 0xFFFFFFFFu;
    struct TypeSlot {
        PeImage::DirectoryEntry entry;
        mutable std::unique_ptr<NameList> names; // read on the first request
    };

    explicit ModuleCatalogue(std::unique_ptr<PeImage> image);
    const TypeSlot *TypeOf(const ResourceId &type) const;
    const NameList &NamesOf(const TypeSlot &slot) const;
    // The position of a name in its type's list; a repeated identifier reaches its first entry.
    static std::optional<std::size_t> IndexOf(const NameList &names, const ResourceId &name);
    // The name's list and position; empty when the entry does not exist.
    std::optional<std::pair<const NameList *, std::size_t>> Locate(const ResourceEntry &entry) const;
    std::optional<PeImage::DataExtent> DataOf(const ResourceEntry &entry,
                                              std::optional<std::uint16_t> language) const;

    std::unique_ptr<PeImage> image_;
    std::vector<ResourceId> types_;
    std::vector<TypeSlot> typeSlots_;
};
