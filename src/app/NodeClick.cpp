// A click on a node of the tree: the information header, the selection, and the choice of decoder
// and view by the resource's type.
#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "decoders/AcceleratorText.h"
#include "decoders/HexDump.h"
#include "decoders/MenuText.h"
#include "decoders/MessageTableText.h"
#include "decoders/PictureDecoders.h"
#include "decoders/ResourceAccess.h"
#include "decoders/StringTableText.h"
#include "decoders/VersionText.h"
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

// The HTML test: the name string ends in "HTML" or "HTM", whatever the case. A name "#" + digits
// never passes, so integer-named documents are dumped.
bool IsHtmlName(const QString &name) {
    const QString upper = name.toUpper();
    return upper.endsWith(QLatin1String("HTML")) || upper.endsWith(QLatin1String("HTM"));
}
} // namespace

void FrmMain::NodeClick(QStandardItem *node) {
    const auto failure = RunCatching([&] {
        ClearDisplay();
        SelectedType.clear();
        SelectedName.clear();
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
        SelectedType = type;
        SelectedName = name;
        LInformation->setText(header + typeNode->text() + kCrLf + QStringLiteral("Имя ресурса: ") +
                              node->text() + kCrLf + QStringLiteral("Размер ресурса: ") +
                              QString::number(GetResourceSize(type, name)) + QStringLiteral(" байт"));

        if (!ShowSelectedResource(type, name)) {
            if (TStrings->isVisible())
                ShowText(QStringLiteral("Невозможно загрузить ресурс."), true, *TStrings, ui_);
            else
                PrintMessage(QStringLiteral("Не удаётся загрузить ресурс."), *PDisplay);
        }
        PDisplay->repaint();
        SetMousePointer(0);
    });
    if (!failure) return;
    SetMousePointer(0);
    if (ReportDisplayFailure(ui_, ShowOverflow, *failure) == TrapOutcome::QuitProgram) QuitProgram();
}

bool FrmMain::ShowTextRow(const std::function<QString()> &decode, bool proportional) {
    // The box is on show before the decoder runs, so a failing decoder leaves it visible and empty.
    TStrings->show();
    return ShowText(decode(), proportional, *TStrings, ui_);
}

bool FrmMain::ShowSelectedResource(const QString &type, const QString &name) {
    // The dispatch table: the upper-cased type string picks the row, the first match wins; the
    // decoders get the type string as derived.
    const QString key = type.toUpper();
    auto is = [&key](std::initializer_list<const char *> keys) {
        for (const char *k : keys)
            if (key == QLatin1String(k)) return true;
        return false;
    };
    auto dump = [&] { return ShowTextRow([&] { return HexDumpText(type, name); }, false); };
    if (is({"1", "2", "3", "12", "14"})) return ShowPicture(ResourcePicture(type, name), *PDisplay);
    if (is({"4"})) return ShowTextRow([&] { return MenuText(name); }, true);
    if (is({"5", "17"})) return ShowDialog(name, *PDisplay);
    if (is({"6"})) return ShowTextRow([&] { return StringTableText(name); }, true);
    if (is({"9"})) return ShowTextRow([&] { return AcceleratorText(name); }, true);
    if (is({"11"})) return ShowTextRow([&] { return MessageTableText(name); }, true);
    if (is({"16"})) return ShowTextRow([&] { return VersionText(name); }, true);
    if (is({"23"})) {
        if (IsHtmlName(name)) return ShowTextRow([&] { return HtmlText(type, name); }, true);
        return dump();
    }
    if (is({"AVI"})) return ShowVideo(name, *PDisplay);
    if (is({"WAVE"})) return ShowSound(name, *PDisplay);
    if (is({"MIDI"})) return ShowMusic(name, *PDisplay);
    if (is({"JPG", "JPEG", "GIF", "WMF", "EMF"})) return ShowPicture(TempFilePicture(type, name), *PDisplay);
    return dump();
}
