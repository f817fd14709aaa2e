// A click on a node of the tree: the information header, the selection, and the choice of decoder
// and view by the resource's type.
#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "decoders/PictureDecoders.h"
#include "decoders/ResourceAccess.h"
#include "decoders/ViewChoice.h"
#include "resources/IdentifierStrings.h"
#include "resources/tree/ResourceTreeModel.h"
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

void FrmMain::NodeClick(const QModelIndex &node) {
    // Looked at before anything is shown, so that a file changed in place shows no size or bytes.
    const ReadOnlyFile::State onDisk = LoadedFileState();
    const auto failure = RunCatching([&] {
        ClearDisplay();
        SelectedType.clear();
        SelectedName.clear();
        SelectedEntry.reset();
        const int level = ResourceTreeModel::Level(node);
        if (level <= 0) return;

        const QString header =
            QStringLiteral("Информация о ресурсе:") + kCrLf + kCrLf + QStringLiteral("Тип ресурса: ");
        LInformation->setText(header + node.data().toString());
        const ResourceId type = *TreeModel->TypeOf(node);
        SelectedType = TypeString(type);
        if (level == 1) return;

        SetMousePointer(11);
        // The node stands for its very entry, even where its name string would look up another one
        // (a string name "77" beside the integer 77).
        const ResourceEntry entry = TreeModel->EntryOf(node).value_or(
            ResourceEntry{type, ResourceId::fromName(node.data().toString())});
        SelectedName = NameString(entry.name);
        SelectedEntry = entry;
        LInformation->setText(
            header + node.parent().data().toString() + kCrLf + QStringLiteral("Имя ресурса: ") +
            node.data().toString() + kCrLf + QStringLiteral("Размер ресурса: ") +
            QString::number(GetResourceSize(Session.Module(), entry)) + QStringLiteral(" байт"));

        if (!ShowSelectedResource(entry)) {
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

bool FrmMain::ShowSelectedResource(const ResourceEntry &entry) {
    const ModuleCatalogue &module = Session.Module();
    const ResourceView view = ChooseView(entry);
    if (IsTextView(view))
        return ShowTextRow([&] { return ViewText(view, module, entry); }, IsProportionalText(view));
    switch (view) {
    case ResourceView::Picture:
        return ShowPicture(DecodeResourcePicture(module, entry, Colours()).take(), *PDisplay,
                           Session.viewport);
    case ResourceView::PictureFile:
        return ShowPicture(DecodePictureFile(module, entry), *PDisplay, Session.viewport);
    case ResourceView::Dialog:
        // A dialog include (type 17) is previewed by its name among the dialogs.
        return ShowDialog(module, {ResourceId::fromNumber(5), entry.name}, *PDisplay,
                          ModulePictures(module, Colours()), Session.preview);
    case ResourceView::Video:
        return ShowVideo(Session.media, module, entry, *PDisplay, Session.viewport);
    case ResourceView::Sound:
        return ShowSound(Session.media, module, entry, *PDisplay);
    case ResourceView::Music:
        return ShowMusic(Session.media, module, entry, *PDisplay);
    default:
        return false; // every text view is shown above
    }
}
