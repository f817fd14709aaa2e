// Previews a picture that goes through the temporary file, in a process of its own, and prints
// what the person would meet: the picture's information lines or the error question, and where
// the temporary file was made. PrivateTempFileTest runs it as another user.
//   zorvika_temp_probe <pictures dll>
#include "FakeUi.h"
#include "app/FrmMain.h"
#include "resources/Playback.h"
#include "resources/tree/ResourceTree.h"
#include "views/display/DisplayBox.h"

#include <QApplication>
#include <QTextStream>

namespace {
QStandardItem *NameNode(const FrmMain &form, const QString &type, const QString &name) {
    QStandardItem *root = form.TreeModel->item(0);
    for (int t = 0; root != nullptr && t < root->rowCount(); ++t) {
        QStandardItem *typeNode = root->child(t);
        if (TypeString(typeNode) != type) continue;
        const_cast<FrmMain &>(form).Expand(typeNode);
        for (int n = 0; n < typeNode->rowCount(); ++n)
            if (typeNode->child(n)->text() == name) return typeNode->child(n);
    }
    return nullptr;
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    FakeUi ui;
    ui.answers.push_back(MsgAnswer::Yes); // "Игнорировать?": go on
    FrmMain form(ui, QStringLiteral("/EMPTYLOAD"));
    form.EndProgram = [] {};
    form.Load();
    ui.openAnswers.push_back(QString::fromLocal8Bit(argv[1]));
    form.MnuOpenFile_Click();
    QStandardItem *node = NameNode(form, QStringLiteral("GIF"), QStringLiteral("ANIM"));
    if (node == nullptr) return 3;
    form.NodeClick(node);

    QTextStream out(stdout);
    out << "temp " << TempFilePath() << '\n';
    for (const QString &line : form.PDisplay->printedLines())
        out << "shown " << line << '\n';
    for (MessageRequest &asked : ui.messages)
        out << "asked " << asked.text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << '\n';
    return 0;
}
