#pragma once
// The program asks the person through this interface only: message boxes, the open and save
// dialogs and opening a link with the desktop's handler. The window uses the Qt implementation;
// tests answer with a scripted one, so no test waits for a person.
#include <QString>

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Critical, Question, Warning, Information };
enum class MsgAnswer { Ok, Yes, No };

struct MessageRequest {
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 1; // 1 = first button, 2 = second
};

// The settings of the shared common dialog, as the program fills them before showing it.
struct CommonDialog {
    QString dialogTitle;
    QString fileName;    // in: initial name; out: the full path chosen, empty after a cancel
    QString fileTitle;   // out: the chosen file's name without folder
    QString filter;      // "Description|*.a;*.b|Description|*.*"
    int filterIndex = 1; // 1-based; out: the filter the person chose
    QString initDir;
    quint32 flags = 0;
    QString defaultExt;
};

class Ui {
public:
    virtual ~Ui() = default;
    virtual MsgAnswer MessageBox(const MessageRequest &request) = 0;
    // Both fill dialog.fileName and dialog.fileTitle; a cancel leaves fileName empty.
    virtual void ShowOpen(CommonDialog &dialog) = 0;
    virtual void ShowSave(CommonDialog &dialog) = 0;
    // Opens a file, address or "mailto:" link with the desktop's default handler.
    virtual bool OpenWithShell(const QString &target) = 0;
};
