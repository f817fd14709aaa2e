#include "app/ResourceTreeView.h"

#include "views/FileText.h"

#include <QHeaderView>
#include <QMouseEvent>

ResourceTreeView::ResourceTreeView(QWidget *parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new FileText::ItemDelegate(this));
    setUniformRowHeights(true); // keeps types with tens of thousands of names fast
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
}

void ResourceTreeView::mousePressEvent(QMouseEvent *event) {
    QTreeView::mousePressEvent(event);
    // A press on the expand sign changes nothing but the expansion: that is not a node click.
    const QModelIndex at = indexAt(event->position().toPoint());
    pressed_ = (event->button() == Qt::LeftButton && at.isValid() && currentIndex() == at &&
                visualRect(at).contains(event->position().toPoint()))
                   ? QPersistentModelIndex(at)
                   : QPersistentModelIndex();
}

void ResourceTreeView::mouseReleaseEvent(QMouseEvent *event) {
    QTreeView::mouseReleaseEvent(event);
    const QModelIndex node = pressed_;
    pressed_ = QPersistentModelIndex();
    if (node.isValid() && indexAt(event->position().toPoint()) == node) emit NodeClick(node);
}

void ResourceTreeView::keyPressEvent(QKeyEvent *event) {
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before) emit NodeClick(currentIndex());
}
