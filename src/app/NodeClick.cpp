// A click on a node of the tree: the information header, the selection, and the choice of decoder
// and view by the resource's type.
#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "decoders/PictureDecoders.h"
#include "decoders/ResourceAccess.h"
#include "decoders/ViewChoice.h"
#include "resources/IdentifierStrings.h"
#include "resources/Module.h"
#include "resources/tree/ResourceTree.h"
#include "views/dialogs/DialogView.h"
#include "views/display/DisplayBox.h"
#include "views/display/PictureView.h"
#include "views/display/TextBox.h"
#include "views/display/TextView.h"
#include "views/media/MediaViews.h"

#include <QLabel>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

void FrmMain::NodeClick(QStandardItem *node) {
    // Looked at before anything is shown, so that a file changed in place shows no size or bytes.
    const ReadOnlyFile::State onDisk = LoadedFileState();
    const auto failure = RunCatching([&] {
        ClearDisplay();
        SelectedType.clear();
        SelectedName.clear();
        SelectedEntry.reset();
        if (node == nullptr || NodeLevel(node) == 0) return;

        const QString header =
            QStringLiteral("Информация о ресурсе:") + kCrLf + kCrLf + QStringLiteral("Тип ресурса: ");
        LInformation->setText(header + node->text());
        SelectedType = TypeString(node);
        if (NodeLevel(node) == 1) return;

        SetMousePointer(11);
        QStandardItem *typeNode = node->parent();
        const QString type = TypeString(typeNode);
        const QString name = NameString(node);
        // The node reaches the very entry it was listed from, even where its name string would look
        // up another one (a string name "77" beside the integer 77).
        const ResourceEntry entry = EntryOfNode(node).value_or(LoadedEntry(type, name));
        SelectedType = type;
        SelectedName = name;
        SelectedEntry = entry;
        LInformation->setText(header + typeNode->text() + kCrLf + QStringLiteral("Имя ресурса: ") +
                              node->text() + kCrLf + QStringLiteral("Размер ресурса: ") +
                              QString::number(GetResourceSize(CurrentModule(), entry)) +
                              QStringLiteral(" байт"));

        if (!ShowSelectedResource(type, name, entry)) {
            if (TStrings->isVisible())
                ShowText(QStringLiteral("Невозможно загрузить ресурс."), true, *TStrings, ui_);
            else
                PrintMessage(QStringLiteral("Не удаётся загрузить ресурс."), *PDisplay);
        }
        PDisplay->repaint();
        SetMousePointer(0);
    });
    ReportChangedFile(onDisk);
    if (!failure) return;
    SetMousePointer(0);
    if (ReportDisplayFailure(ui_, ShowOverflow, *failure) == TrapOutcome::QuitProgram) QuitProgram();
}

bool FrmMain::ShowTextRow(const std::function<QString()> &decode, bool proportional) {
    // The box is on show before the decoder runs, so a failing decoder leaves it visible and empty.
    TStrings->show();
    return ShowText(decode(), proportional, *TStrings, ui_);
}

bool FrmMain::ShowSelectedResource(const QString &type, const QString &name, const ResourceEntry &entry) {
    const ModuleCatalogue &module = CurrentModule();
    const ResourceView view = ChooseView(type, name);
    if (IsTextView(view))
        return ShowTextRow([&] { return ViewText(view, module, entry); }, IsProportionalText(view));
    switch (view) {
    case ResourceView::Picture:
        return ShowPicture(DecodeResourcePicture(module, entry).take(), *PDisplay);
    case ResourceView::PictureFile:
        return ShowPicture(TempFilePicture(module, entry), *PDisplay);
    case ResourceView::Dialog:
        // A dialog include (type 17) is previewed by its name among the dialogs.
        return ShowDialog(module, {ResourceId::fromNumber(5), entry.name}, *PDisplay, ModulePictures(module));
    case ResourceView::Video:
        return ShowVideo(module, entry, *PDisplay);
    case ResourceView::Sound:
        return ShowSound(module, entry, *PDisplay);
    case ResourceView::Music:
        return ShowMusic(module, entry, *PDisplay);
    default:
        return false; // every text view is shown above
    }
}

ResourceEntry FrmMain::SelectedResource() const {
    if (SelectedEntry && TypeString(SelectedEntry->type) == SelectedType &&
        NameString(SelectedEntry->name) == SelectedName)
        return *SelectedEntry;
    return LoadedEntry(SelectedType, SelectedName);
}
