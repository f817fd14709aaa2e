// The Save resource as... command: the dialog, and the form the resource is written in (raw
// bytes, the text pane's text, or a picture file).
#include "app/SaveResource.h"

#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "decoders/PictureDecoders.h"
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

std::span<const std::byte> AsBytes(const QByteArray &b) {
    return std::as_bytes(std::span(b.constData(), static_cast<std::size_t>(b.size())));
}
} // namespace

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

            std::shared_ptr<Picture> picture;
            QString text;
            switch (SaveSourceOf(SelectedType)) {
            case SaveSource::Picture:
                picture = DecodeResourcePicture(CurrentModule(), SelectedResource()).take();
                break;
            case SaveSource::Text:
                // The string-table type node stands for every block of the module.
                text = SelectedType == QLatin1String("6") && SelectedName.isEmpty() ? AllStringTables()
                                                                                    : TStrings->text();
                break;
            case SaveSource::Nothing:
                break;
            }

            ui_.ShowSave(CDlg);
            if (CDlg.fileName.isEmpty()) return;

            switch (SavedFormOf(picture != nullptr, !text.isEmpty(), CDlg.filterIndex)) {
            case SavedForm::PictureFile:
                WriteBytesFile(CDlg.fileName, AsBytes(PictureFileBytes(*picture)));
                break;
            case SavedForm::DrawnBitmap:
                // Drawn on the window's own scratch box, over its background colour.
                WriteBytesFile(CDlg.fileName, AsBytes(BmpFileBytes(DrawOnScratch(*picture, *PTemp))));
                break;
            case SavedForm::Text:
                WriteTextFile(CDlg.fileName, text);
                break;
            case SavedForm::RawBytes:
                WriteBytesFile(CDlg.fileName, AsBytes(RawFileBytes(CurrentModule(), SelectedResource())));
                break;
            }
        });
}
