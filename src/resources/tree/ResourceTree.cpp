#include "resources/tree/ResourceTree.h"

#include "resources/IdentifierStrings.h"
#include "resources/Module.h"
#include "resources/ResTypeDescription.h"
#include "resources/TextHelpers.h"
#include "resources/tree/TreeImages.h"

namespace {
QStandardItem *MakeNode(const QString &key, const QString &text, int image, int selectedImage) {
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(key, TreeRole::Key);
    item->setData(image, TreeRole::Image);
    item->setData(selectedImage, TreeRole::SelectedImage);
    if (image != 0) item->setIcon(ILResourcesIcon(image, selectedImage));
    return item;
}

void SetId(QStandardItem *node, const ResourceId &id) {
    node->setData(id.isNumber() ? QVariant(int{*id.number}) : QVariant(id.name), TreeRole::Id);
}

std::optional<ResourceId> IdOf(const QStandardItem *node) {
    const QVariant id = node->data(TreeRole::Id);
    if (id.typeId() == QMetaType::Int) return ResourceId::fromNumber(static_cast<std::uint16_t>(id.toInt()));
    if (id.typeId() == QMetaType::QString) return ResourceId::fromName(id.toString());
    return std::nullopt;
}
} // namespace

QStandardItem *OpenResourceFile(QStandardItemModel &tree, const QString &path, const QString &displayName) {
    EnumContext context{&tree, nullptr, {}};
    tree.clear();
    QStandardItem *root = MakeNode(path, displayName, TreeImage::File, TreeImage::File);
    tree.appendRow(root);
    LoadModule(path);
    if (const ModuleCatalogue *module = ModuleHandle()) {
        for (const ResourceId &type : module->Types())
            if (!EnumTypesProc(context, type)) break;
    }
    return root;
}

bool EnumTypesProc(EnumContext &context, const ResourceId &type) {
    QStandardItem *root = context.TargetTree->item(0);
    QStandardItem *node =
        type.isNumber() ? MakeNode(QStringLiteral("#%1").arg(*type.number), ResTypeDescription(*type.number),
                                   TreeImage::Type, TreeImage::TypeSelected)
                        : MakeNode(QString(), type.name, TreeImage::Type, TreeImage::TypeSelected);
    SetId(node, type);
    root->appendRow(node);
    context.ParentTypeNode = node;
    QStandardItem *placeholder = MakeNode(QString(), kPlaceholderText, 0, 0);
    placeholder->setData(true, TreeRole::Placeholder);
    node->appendRow(placeholder);
    return true;
}

bool EnumNamesProc(EnumContext &context, const ResourceId &name) {
    // Every name node starts as a copy of one made once: a copy takes the roles in one piece, where
    // setting them one by one grows each node's list of roles again and again.
    static const auto *const prototype =
        MakeNode(QString(), QString(), TreeImage::Resource, TreeImage::Resource);
    QStandardItem *node = prototype->clone();
    node->setText(IdentifierText(name));
    SetId(node, name);
    context.pendingNames.append(node);
    return true;
}

void ListResourceNames(QStandardItemModel &tree, QStandardItem *typeNode) {
    EnumContext context{&tree, typeNode, {}};
    const ModuleCatalogue *module = ModuleHandle();
    if (module == nullptr) return;
    const QString key = NodeKey(typeNode);
    ResourceId type = ResourceId::fromName(typeNode->text());
    if (!key.isEmpty()) {
        if (const auto n = NumberValue(key.mid(1)); n && *n <= 0xFFFF)
            type = ResourceId::fromNumber(static_cast<std::uint16_t>(*n));
    }
    for (const ResourceId &name : module->Names(type))
        if (!EnumNamesProc(context, name)) break;
    // One insertion for the whole list: a type may hold tens of thousands of names.
    if (!context.pendingNames.isEmpty()) typeNode->appendRows(context.pendingNames);
}

void ExpandNode(QStandardItemModel &tree, QStandardItem *node) {
    if (node == nullptr || !node->hasChildren()) return;
    const QStandardItem *first = node->child(0);
    // The flag keeps a resource that happens to be named "Dummy" from being taken for the placeholder.
    if (first == nullptr || first->text() != kPlaceholderText || !first->data(TreeRole::Placeholder).toBool())
        return;
    node->removeRow(0);
    ListResourceNames(tree, node);
}

int NodeLevel(const QStandardItem *node) {
    int level = 0;
    for (const QStandardItem *p = node ? node->parent() : nullptr; p != nullptr; p = p->parent())
        ++level;
    return level;
}

QString NodeKey(const QStandardItem *node) {
    return node->data(TreeRole::Key).toString();
}

QString TypeString(const QStandardItem *typeNode) {
    const QString key = NodeKey(typeNode);
    return key.isEmpty() ? typeNode->text() : key.mid(1);
}

QString NameString(const QStandardItem *nameNode) {
    return NameStringOfText(nameNode->text());
}

std::optional<ResourceEntry> EntryOfNode(const QStandardItem *nameNode) {
    if (nameNode == nullptr || NodeLevel(nameNode) != 2) return std::nullopt;
    const auto type = IdOf(nameNode->parent());
    const auto name = IdOf(nameNode);
    if (!type || !name) return std::nullopt;
    return ResourceEntry{*type, *name};
}
