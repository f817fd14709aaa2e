#include "app/QtUi.h"

#include "views/FileText.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

QtUi::QtUi(std::function<QWidget *()> owner) : owner_(std::move(owner)) {}

MsgAnswer QtUi::MessageBox(const MessageRequest &request) {
    QMessageBox box(owner_ ? owner_() : nullptr);
    box.setWindowTitle(request.title);
    // The texts quote file names and failure descriptions.
    FileText::MakePlain(box);
    QString text = request.text;
    box.setText(text.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    switch (request.icon) {
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::None:
        break;
    }
    if (request.buttons == MsgButtons::YesNo) {
        QPushButton *yes = box.addButton(QMessageBox::Yes);
        QPushButton *no = box.addButton(QMessageBox::No);
        box.setDefaultButton(request.defaultButton == 2 ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setDefaultButton(box.addButton(QMessageBox::Ok));
    box.exec();
    return MsgAnswer::Ok;
}

QStringList QtNameFilters(const QString &filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns)
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return result;
}

namespace {
void RunFileDialog(QWidget *owner, CommonDialog &dialog, bool save) {
    QFileDialog fd(owner, dialog.dialogTitle, dialog.initDir);
    // Qt's own dialog: the same on every desktop, and name filters that ignore case, as the
    // program's home platform does with file names.
    fd.setOption(QFileDialog::DontUseNativeDialog);
    fd.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fd.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(dialog.filter);
    fd.setNameFilters(filters);
    if (dialog.filterIndex >= 1 && dialog.filterIndex <= filters.size())
        fd.selectNameFilter(filters[dialog.filterIndex - 1]);
    if (!dialog.defaultExt.isEmpty()) fd.setDefaultSuffix(dialog.defaultExt);
    if (!dialog.fileName.isEmpty()) fd.selectFile(dialog.fileName);
    dialog.fileName.clear();
    dialog.fileTitle.clear();
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) return;
    dialog.fileName = fd.selectedFiles().constFirst();
    dialog.fileTitle = QFileInfo(dialog.fileName).fileName();
    dialog.filterIndex = static_cast<int>(filters.indexOf(fd.selectedNameFilter())) + 1;
}
} // namespace

void QtUi::ShowOpen(CommonDialog &dialog) {
    RunFileDialog(owner_ ? owner_() : nullptr, dialog, false);
}
void QtUi::ShowSave(CommonDialog &dialog) {
    RunFileDialog(owner_ ? owner_() : nullptr, dialog, true);
}

bool QtUi::OpenWithShell(const QString &target) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}
