#pragma once
// The Ui of the running program: Qt's message boxes and file dialogs, the desktop's link handler.
#include "system/Ui.h"

#include <QStringList>
#include <functional>

class QWidget;

class QtUi : public Ui {
public:
    // Message boxes and dialogs are modal to the window that `owner` returns when they are shown.
    explicit QtUi(std::function<QWidget *()> owner);
    MsgAnswer MessageBox(const MessageRequest &request) override;
    void ShowOpen(CommonDialog &dialog) override;
    void ShowSave(CommonDialog &dialog) override;
    bool OpenWithShell(const QString &target) override;

private:
    std::function<QWidget *()> owner_;
};

// "Description|*.a;*.b|All|*.*" as Qt's name filters: "Description (*.a *.b)", "All (*)".
QStringList QtNameFilters(const QString &filter);
