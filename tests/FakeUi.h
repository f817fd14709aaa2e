#pragma once
// A Ui that answers from a script and records what it was asked, so tests never wait for a person.
#include "system/Ui.h"

#include <QStringList>
#include <deque>
#include <vector>

class FakeUi : public Ui {
public:
    std::vector<MessageRequest> messages;
    std::deque<MsgAnswer> answers;   // taken in order; Ok for an OK box, No when the script runs out
    std::deque<QString> openAnswers; // full paths; "" cancels
    std::deque<QString> saveAnswers;
    std::deque<int> saveFilterIndexes; // the filter chosen in each save dialog (default: as given)
    std::vector<CommonDialog> openDialogs, saveDialogs;
    QStringList shellOpened;

    MsgAnswer MessageBox(const MessageRequest &request) override {
        messages.push_back(request);
        if (request.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
        if (answers.empty()) return MsgAnswer::No;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void ShowOpen(CommonDialog &dialog) override { Answer(dialog, openDialogs, openAnswers, nullptr); }
    void ShowSave(CommonDialog &dialog) override {
        Answer(dialog, saveDialogs, saveAnswers, &saveFilterIndexes);
    }
    bool OpenWithShell(const QString &target) override {
        shellOpened << target;
        return true;
    }

private:
    static void Answer(CommonDialog &dialog, std::vector<CommonDialog> &log, std::deque<QString> &script,
                       std::deque<int> *filters) {
        log.push_back(dialog);
        dialog.fileName = script.empty() ? QString() : script.front();
        if (!script.empty()) script.pop_front();
        dialog.fileTitle = dialog.fileName.section(QLatin1Char('/'), -1);
        if (filters && !filters->empty()) {
            dialog.filterIndex = filters->front();
            filters->pop_front();
        }
    }
};
