#include "resources/tree/ResourceTreeModel.h"

#include "resources/IdentifierStrings.h"
#include "resources/ResTypeDescription.h"
#include "resources/tree/TreeImages.h"

ResourceTreeModel::ResourceTreeModel(QObject *parent)
    : QAbstractItemModel(parent), fileIcon_(ILResourcesIcon(TreeImage::File, TreeImage::File)),
      typeIcon_(ILResourcesIcon(TreeImage::Type, TreeImage::TypeSelected)),
      nameIcon_(ILResourcesIcon(TreeImage::Resource, TreeImage::Resource)) {}

void ResourceTreeModel::Show(std::shared_ptr<const ModuleCatalogue> module, const QString &path,
                             const QString &displayName) {
    beginResetModel();
    module_ = std::move(module);
    path_ = path;
    displayName_ = displayName;
    shown_ = true;
    types_ = module_ ? module_->Types() : std::vector<ResourceId>();
    listing_.assign(types_.size(), Listing::Unlisted);
    endResetModel();
}

void ResourceTreeModel::Clear() {
    beginResetModel();
    module_.reset();
    shown_ = false;
    types_.clear();
    listing_.clear();
    endResetModel();
}

const std::vector<ResourceId> &ResourceTreeModel::NamesOf(std::size_t type) const {
    return module_->Names(types_[type]);
}

void ResourceTreeModel::Expand(const QModelIndex &node) {
    if (Level(node) != 1) return;
    const auto type = static_cast<std::size_t>(node.row());
    if (listing_[type] != Listing::Unlisted) return;
    beginRemoveRows(node, 0, 0);
    listing_[type] = Listing::Emptied;
    endRemoveRows();
    // The names are read from the file now, on the type's first expansion, and inserted in one go:
    // a type may hold tens of thousands.
    const auto count = static_cast<int>(NamesOf(type).size());
    if (count > 0) beginInsertRows(node, 0, count - 1);
    listing_[type] = Listing::Listed;
    if (count > 0) endInsertRows();
}

QModelIndex ResourceTreeModel::Root() const {
    return shown_ ? createIndex(0, 0, kRootNode) : QModelIndex();
}

int ResourceTreeModel::Level(const QModelIndex &node) {
    if (!node.isValid()) return -1;
    if (node.internalId() == kRootNode) return 0;
    return node.internalId() == kTypeNode ? 1 : 2;
}

std::optional<ResourceId> ResourceTreeModel::TypeOf(const QModelIndex &node) const {
    switch (Level(node)) {
    case 1:
        return types_[static_cast<std::size_t>(node.row())];
    case 2:
        return types_[node.internalId() - kFirstType];
    default:
        return std::nullopt;
    }
}

std::optional<ResourceEntry> ResourceTreeModel::EntryOf(const QModelIndex &node) const {
    if (Level(node) != 2 || IsPlaceholder(node)) return std::nullopt;
    const std::size_t type = node.internalId() - kFirstType;
    return ResourceEntry{types_[type], NamesOf(type)[static_cast<std::size_t>(node.row())]};
}

bool ResourceTreeModel::IsPlaceholder(const QModelIndex &node) const {
    return Level(node) == 2 && listing_[node.internalId() - kFirstType] == Listing::Unlisted;
}

QModelIndex ResourceTreeModel::index(int row, int column, const QModelIndex &parent) const {
    if (!hasIndex(row, column, parent)) return {};
    switch (Level(parent)) {
    case -1:
        return createIndex(row, column, kRootNode);
    case 0:
        return createIndex(row, column, kTypeNode);
    case 1:
        return createIndex(row, column, kFirstType + static_cast<quintptr>(parent.row()));
    default:
        return {};
    }
}

QModelIndex ResourceTreeModel::parent(const QModelIndex &child) const {
    switch (Level(child)) {
    case 1:
        return Root();
    case 2:
        return createIndex(static_cast<int>(child.internalId() - kFirstType), 0, kTypeNode);
    default:
        return {};
    }
}

int ResourceTreeModel::rowCount(const QModelIndex &parent) const {
    if (parent.column() > 0) return 0;
    switch (Level(parent)) {
    case -1:
        return shown_ ? 1 : 0;
    case 0:
        return static_cast<int>(types_.size());
    case 1:
        switch (listing_[static_cast<std::size_t>(parent.row())]) {
        case Listing::Unlisted:
            return 1;
        case Listing::Emptied:
            return 0;
        case Listing::Listed:
            return static_cast<int>(NamesOf(static_cast<std::size_t>(parent.row())).size());
        }
        return 0;
    default:
        return 0;
    }
}

int ResourceTreeModel::columnCount(const QModelIndex &) const {
    return 1;
}

Qt::ItemFlags ResourceTreeModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant ResourceTreeModel::data(const QModelIndex &index, int role) const {
    const int level = Level(index);
    if (level < 0) return {};
    const bool placeholder = IsPlaceholder(index);
    switch (role) {
    case Qt::DisplayRole:
        if (level == 0) return displayName_;
        if (level == 1) {
            const ResourceId &type = types_[static_cast<std::size_t>(index.row())];
            return type.isNumber() ? ResTypeDescription(*type.number) : type.name;
        }
        if (placeholder) return QString::fromUtf16(kPlaceholderText);
        return IdentifierText(EntryOf(index)->name);
    case Qt::DecorationRole:
        if (placeholder) return {};
        return level == 0 ? fileIcon_ : level == 1 ? typeIcon_ : nameIcon_;
    case TreeRole::Key:
        if (level == 0) return path_;
        if (level == 1) {
            const ResourceId &type = types_[static_cast<std::size_t>(index.row())];
            if (type.isNumber()) return QStringLiteral("#%1").arg(*type.number);
        }
        return QString();
    default:
        return {};
    }
}
