#pragma once
// Nodes of the main window's tree, reached as a person reaches them: a type is expanded before its
// names are looked at.
#include "app/FrmMain.h"
#include "resources/tree/ResourceTreeModel.h"

#include <QModelIndex>
#include <functional>

inline QString Text(const QModelIndex &node) {
    return node.data().toString();
}
inline QString Key(const QModelIndex &node) {
    return node.data(TreeRole::Key).toString();
}
inline int Rows(const QModelIndex &node) {
    return node.model()->rowCount(node);
}
inline QModelIndex Child(const QModelIndex &node, int row) {
    return node.model()->index(row, 0, node);
}
// The type string of a type node as its key and text give it: "3" for an integer type, "AVI".
inline QString TypeText(const QModelIndex &typeNode) {
    return Key(typeNode).isEmpty() ? Text(typeNode) : Key(typeNode).mid(1);
}

// The child with this text of a type node that `isType` accepts (each such type is expanded);
// invalid when there is none.
inline QModelIndex FindNameNode(FrmMain &window, const std::function<bool(const QModelIndex &)> &isType,
                                const QString &text) {
    const QModelIndex root = window.TreeModel->Root();
    for (int t = 0; root.isValid() && t < Rows(root); ++t) {
        const QModelIndex type = Child(root, t);
        if (!isType(type)) continue;
        window.Expand(type);
        for (int n = 0; n < Rows(type); ++n)
            if (Text(Child(type, n)) == text) return Child(type, n);
    }
    return {};
}
