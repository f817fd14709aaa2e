#pragma once
// The resource tree's view. NodeClick is raised when the person clicks a node or moves the
// selection with the keyboard, never when the program selects a node itself.
#include <QTreeView>

class ResourceTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit ResourceTreeView(QWidget *parent = nullptr);

signals:
    void NodeClick(const QModelIndex &index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPersistentModelIndex pressed_;
};
