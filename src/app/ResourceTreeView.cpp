#include "app/ResourceTreeView.h"

#include "views/FileText.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

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
    if (event->button() != Qt::LeftButton) {
        // The right and middle buttons select nothing: the highlight stays on the node on show.
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
    // A press on the expand sign changes nothing but the expansion: that is not a node click.
    const QModelIndex at = indexAt(event->position().toPoint());
    pressed_ = (at.isValid() && currentIndex() == at && visualRect(at).contains(event->position().toPoint()))
                   ? QPersistentModelIndex(at)
                   : QPersistentModelIndex();
}

void ResourceTreeView::mouseMoveEvent(QMouseEvent *event) {
    // Dragging with a button held does not carry the highlight to other nodes.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void ResourceTreeView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
    // The press highlighted the node; wherever the button comes up, that node is shown.
    const QModelIndex node = pressed_;
    pressed_ = QPersistentModelIndex();
    if (node.isValid() && node == currentIndex()) emit NodeClick(node);
}

void ResourceTreeView::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void ResourceTreeView::keyPressEvent(QKeyEvent *event) {
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before) emit NodeClick(currentIndex());
}

bool ResourceTreeView::isTextCutOff(const QModelIndex &index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    if (option.rect.isEmpty()) return false; // not laid out, or not there
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = index.data(Qt::DisplayRole).toString();
    if (index.data(Qt::DecorationRole).isValid()) option.features |= QStyleOptionViewItem::HasDecoration;
    const QRect textRect = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    const int textWidth = option.fontMetrics.horizontalAdvance(option.text);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int left = textRect.left() + margin;
    return left < 0 || left + textWidth > viewport()->width();
}

bool ResourceTreeView::viewportEvent(QEvent *event) {
    // A node whose text the tree's width cuts off shows the whole text; any other help goes to the
    // delegate, which shows what the model holds literally.
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = indexAt(help->pos());
        if (isTextCutOff(index)) {
            QToolTip::showText(help->globalPos(), FileText::ToolTip(index.data(Qt::DisplayRole).toString()),
                               viewport(), visualRect(index));
            return true;
        }
    }
    return QTreeView::viewportEvent(event);
}
