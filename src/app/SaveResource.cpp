// The Save resource as... command: the dialog, and the form the resource is written in (raw
// bytes, the text pane's text, or a picture file).
#include "app/SaveResource.h"

#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "decoders/PictureDecoders.h"
#include "decoders/ResourceAccess.h"
#include "decoders/StringTableText.h"
#include "imaging/PictureFiles.h"
#include "resources/Module.h"
#include "resources/tree/ResourceTree.h"
#include "system/FileWriters.h"
#include "system/SystemFolders.h"
#include "views/display/PictureView.h"
#include "views/display/TextBox.h"

namespace {
// OFN_OVERWRITEPROMPT + OFN_HIDEREADONLY + OFN_NOREADONLYRETURN
constexpr quint32 kSaveFlags = 0x8006;

bool OneOf(const QString &key, std::initializer_list<const char *> keys) {
    for (const char *k : keys)
        if (key == QLatin1String(k)) return true;
    return false;
}

std::span<const std::byte> AsBytes(const QByteArray &b) {
    return std::as_bytes(std::span(b.constData(), static_cast<std::size_t>(b.size())));
}

} // namespace

QString SaveFilter(const QString &type) {
    const QString key = type.toUpper();
    if (OneOf(key, {"1", "12"})) return QStringLiteral("Файл курсора|*.cur|Точечный рисунок|*.bmp");
    if (OneOf(key, {"2"})) return QStringLiteral("Точечный рисунок|*.bmp");
    if (OneOf(key, {"3", "14"})) return QStringLiteral("Файл иконки|*.ico|Точечный рисунок|*.bmp");
    if (OneOf(key, {"4", "9", "11", "16"})) return QStringLiteral("Текстовый файл|*.txt|Файл с данными|*.*");
    if (OneOf(key, {"6"})) return QStringLiteral("Текстовый файл|*.txt");
    if (OneOf(key, {"23"})) return QStringLiteral("Веб-страница|*.html|Файл с данными|*.*");
    if (OneOf(key, {"AVI", "JPG", "JPEG", "GIF", "WMF", "EMF"}))
        return key + QStringLiteral(" файл|*.") + type.toLower();
    if (OneOf(key, {"WAVE"})) return QStringLiteral("Звук Windows Audio|*.wav");
    if (OneOf(key, {"MIDI"})) return QStringLiteral("MIDI файл|*.mid");
    return QStringLiteral("Файл с данными|*.*");
}

QString FrmMain::AllStringTables() {
    // The string-table type node: its names are listed first, then every block is rendered in
    // tree order, each followed by CR LF.
    QStandardItem *root = TreeModel->item(0);
    QStandardItem *typeNode = nullptr;
    for (int i = 0; root != nullptr && i < root->rowCount(); ++i)
        if (NodeKey(root->child(i)) == QLatin1String("#6")) typeNode = root->child(i);
    if (typeNode == nullptr) return QString();
    Expand(typeNode);
    QString text;
    for (int i = 0; i < typeNode->rowCount(); ++i) {
        QStandardItem *node = typeNode->child(i);
        const auto entry = EntryOfNode(node);
        text += (entry ? StringTableText(CurrentModule(), *entry) : StringTableText(NameString(node))) +
                QStringLiteral("\r\n");
    }
    return text;
}

void FrmMain::MnuSaveResource_Click() {
    FileCommandTrap(
        ui_, [this] { return CDlg.fileName; }, QStringLiteral("Невозможно сохранить ресурс."),
        QStringLiteral("При сохранении произошла неизвестная ошибка!"),
        [this] {
            CDlg.dialogTitle = QStringLiteral("Сохранение ресурса");
            CDlg.fileName.clear();
            CDlg.filterIndex = 1;
            CDlg.initDir = GetSpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
            CDlg.flags = kSaveFlags;
            CDlg.defaultExt.clear();
            CDlg.filter = SaveFilter(SelectedType);

            const QString key = SelectedType.toUpper();
            std::shared_ptr<Picture> picture;
            QString text;
            if (OneOf(key, {"1", "12", "2", "3", "14"})) {
                picture = DecodeResourcePicture(CurrentModule(), SelectedResource()).take();
            } else if (OneOf(key, {"4", "9", "11", "16"})) {
                text = TStrings->text();
            } else if (key == QLatin1String("6")) {
                text = SelectedName.isEmpty() ? AllStringTables() : TStrings->text();
            }

            ui_.ShowSave(CDlg);
            if (CDlg.fileName.isEmpty()) return;

            if (picture) {
                if (CDlg.filterIndex == 1) {
                    const auto file = picture->FileBytes();
                    if (!file) ErrorReport::invalidPicture();
                    WriteBytesFile(CDlg.fileName, AsBytes(*file));
                } else {
                    WriteBytesFile(CDlg.fileName, AsBytes(BmpFileBytes(DrawOnScratch(*picture, *PTemp))));
                }
            } else if (CDlg.filterIndex == 1 && !text.isEmpty()) {
                WriteTextFile(CDlg.fileName, text);
            } else {
                const auto bytes = GetResourceBytes(CurrentModule(), SelectedResource());
                if (!bytes) ErrorReport::outOfRange(); // nothing to write: an empty array
                WriteBytesFile(CDlg.fileName, *bytes);
            }
        });
}
