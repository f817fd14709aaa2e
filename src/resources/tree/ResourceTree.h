#pragma once
// The resource tree: one root node for the file, one node per resource type, and under a type the
// names of its resources, listed only when the type is expanded for the first time.
#include "resources/ResourceEntry.h"

#include <QList>
#include <QStandardItemModel>
#include <QString>
#include <optional>

namespace TreeRole {
constexpr int Key = Qt::UserRole + 1;           // "" or the root's path or "#" + integer type
constexpr int Image = Qt::UserRole + 2;         // 1-based image number, 0 for none
constexpr int SelectedImage = Qt::UserRole + 3; // image while selected
constexpr int Placeholder = Qt::UserRole + 4;   // true on the placeholder only
constexpr int Id = Qt::UserRole + 5;            // a type's or name's identifier: int or QString
} // namespace TreeRole

// The text of the placeholder child that gives an unexpanded type node its plus sign.
inline const QString kPlaceholderText = QStringLiteral("Dummy");

// What an enumeration is filling; valid only while it runs.
struct EnumContext {
    QStandardItemModel *TargetTree = nullptr;
    QStandardItem *ParentTypeNode = nullptr;
    QList<QStandardItem *> pendingNames; // appended in one step when the enumeration ends
};

// Rebuilds the tree for the file: the root node, then one node per type when the file loads.
// Returns the root, which the caller expands.
QStandardItem *OpenResourceFile(QStandardItemModel &tree, const QString &path, const QString &displayName);
bool EnumTypesProc(EnumContext &context, const ResourceId &type);
bool EnumNamesProc(EnumContext &context, const ResourceId &name);
void ListResourceNames(QStandardItemModel &tree, QStandardItem *typeNode);
// The work of the tree's Expand event: replaces the placeholder by the names of the type.
void ExpandNode(QStandardItemModel &tree, QStandardItem *node);

// The exact entry a name node was listed from (a string name "77" is not the integer 77); empty
// for any other node.
std::optional<ResourceEntry> EntryOfNode(const QStandardItem *nameNode);

// 0 for the root, 1 for a type node, 2 for a name node (or a placeholder).
int NodeLevel(const QStandardItem *node);
QString NodeKey(const QStandardItem *node);
// The identifier strings of a node: "3" or "AVI" for a type, "#101" or "NAME" for a name.
QString TypeString(const QStandardItem *typeNode);
QString NameString(const QStandardItem *nameNode);
