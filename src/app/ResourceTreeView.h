#pragma once
// The resource tree's view. NodeClick is raised when the person clicks a node with the left
// button or moves the selection with the keyboard, never when the program selects a node itself.
// Other mouse buttons leave the highlight where it is, so the highlighted node is always the one
// on show. A node whose text the tree's width cuts off shows its whole text as a tooltip.
#include <QTreeView>

class ResourceTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit ResourceTreeView(QWidget *parent = nullptr);

    // Whether the node's text runs past either edge of the visible part of the tree.
    bool isTextCutOff(const QModelIndex &index) const;

signals:
    void NodeClick(const QModelIndex &index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    QPersistentModelIndex pressed_;
};
