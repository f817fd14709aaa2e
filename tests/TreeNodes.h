#pragma once
// A name node of the main window's tree, found as a person finds it: the type expanded first.
#include "app/FrmMain.h"

#include <QStandardItem>
#include <functional>

// The child with this text of a type node that `isType` accepts (each such type is expanded);
// nullptr when there is none.
inline QStandardItem *FindNameNode(FrmMain &window, const std::function<bool(const QStandardItem &)> &isType,
                                   const QString &text) {
    QStandardItem *root = window.TreeModel->item(0);
    for (int t = 0; root != nullptr && t < root->rowCount(); ++t) {
        QStandardItem *type = root->child(t);
        if (!isType(*type)) continue;
        window.Expand(type);
        for (int n = 0; n < type->rowCount(); ++n)
            if (type->child(n)->text() == text) return type->child(n);
    }
    return nullptr;
}
