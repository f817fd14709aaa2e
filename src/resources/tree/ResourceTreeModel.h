#pragma once
// The resource tree as an item model over a module's catalogue: one root node for the file, one
// node per resource type, and under a type the names of its resources, listed only when the type
// is expanded for the first time; until then a placeholder child gives the type its plus sign.
// Every name node knows the exact entry it stands for.
#include "resources/ModuleCatalogue.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <optional>
#include <vector>

namespace TreeRole {
constexpr int Key = Qt::UserRole + 1; // "" or the root's path or "#" + integer type
} // namespace TreeRole

// The text of the placeholder child that gives an unexpanded type node its plus sign.
inline constexpr char16_t kPlaceholderText[] = u"Dummy";

class ResourceTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ResourceTreeModel(QObject *parent = nullptr);

    // Shows a file: a root node with key `path` and text `displayName`, and under it one node per
    // type of `module` (none when the file did not load). What was shown before goes.
    void Show(std::shared_ptr<const ModuleCatalogue> module, const QString &path, const QString &displayName);
    // Shows nothing at all.
    void Clear();
    // The work of the tree's Expand event: replaces a type's placeholder by the type's names.
    // Any other node, and a type already listed, is left as it is.
    void Expand(const QModelIndex &node);

    // The root node; invalid while nothing is shown.
    QModelIndex Root() const;
    // 0 for the root, 1 for a type node, 2 for a name node or a placeholder; -1 for no node.
    static int Level(const QModelIndex &node);
    // The type of a type node or of a name node's parent.
    std::optional<ResourceId> TypeOf(const QModelIndex &node) const;
    // The exact entry a name node stands for (a string name "77" is not the integer 77); empty for
    // any other node.
    std::optional<ResourceEntry> EntryOf(const QModelIndex &node) const;
    bool IsPlaceholder(const QModelIndex &node) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    // Which type a node lies under, by the internal identifier of its index: the root is
    // kRootNode, a type kTypeNode, a name or placeholder the number of its type plus kFirstType.
    static constexpr quintptr kRootNode = 0, kTypeNode = 1, kFirstType = 2;
    const std::vector<ResourceId> &NamesOf(std::size_t type) const;

    std::shared_ptr<const ModuleCatalogue> module_;
    QString path_, displayName_;
    bool shown_ = false;
    std::vector<ResourceId> types_;
    // Per type: unlisted (the placeholder), emptied (for the moment between the placeholder's
    // removal and the names' insertion) or listed.
    enum class Listing : std::uint8_t { Unlisted, Emptied, Listed };
    std::vector<Listing> listing_;
    QIcon fileIcon_, typeIcon_, nameIcon_;
};
