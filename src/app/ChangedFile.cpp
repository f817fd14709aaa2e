// The loaded file changed on disk after it was opened: the next click says so, once per loaded
// file, and Reset reads the file again.
#include "app/FrmMain.h"
#include "resources/tree/ResourceTreeModel.h"

namespace {
const QString kReadAgain = QStringLiteral(
    "\r\nЧтобы прочитать его заново, откройте его или выберите в меню «Вид» команду «Сбросить».");

QString ChangeText(ReadOnlyFile::State state) {
    switch (state) {
    case ReadOnlyFile::State::Modified:
        return QStringLiteral("Файл изменён на диске после открытия: его ресурсы больше не читаются.") +
               kReadAgain;
    case ReadOnlyFile::State::Replaced:
        return QStringLiteral("Файл на диске заменён другим после открытия: показаны ресурсы файла, "
                              "каким он был при открытии.") +
               kReadAgain;
    case ReadOnlyFile::State::Moved:
        return QStringLiteral(
            "Файл перемещён или переименован после открытия: его ресурсы читаются по-прежнему.");
    case ReadOnlyFile::State::Removed:
        return QStringLiteral(
            "Файл удалён с диска после открытия: показаны ресурсы файла, каким он был при открытии.");
    case ReadOnlyFile::State::Unchanged:
        break;
    }
    return QString();
}
} // namespace

ReadOnlyFile::State FrmMain::LoadedFileState() const {
    return Session.Module().StateOnDisk();
}

void FrmMain::ReportChangedFile(ReadOnlyFile::State state) {
    const ModuleCatalogue *module = Session.Catalogue().get();
    if (module == nullptr || state == ReadOnlyFile::State::Unchanged || changeReportedFor_ == Session.Opens())
        return;
    changeReportedFor_ = Session.Opens();
    MessageRequest notice;
    notice.text = module->path() + QStringLiteral("\r\n") + ChangeText(state);
    notice.title = QStringLiteral("Внимание");
    notice.icon = MsgIcon::Warning;
    ui_.MessageBox(notice);
}

bool FrmMain::ReloadChangedFile() {
    if (Session.Catalogue() == nullptr) return false;
    // A file moved away or removed from disk is still read as it was opened; there is nothing newer
    // to read.
    const ReadOnlyFile::State state = LoadedFileState();
    if (state != ReadOnlyFile::State::Modified && state != ReadOnlyFile::State::Replaced) return false;
    ShowFile(Session.Path(), displayName_);
    return true;
}
