// The Save resource as... command: the dialog, and the file written for the entry the person takes
// (what the export room makes of the selected resource).
#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "export/SavedResource.h"
#include "system/ByteView.h"
#include "system/FileWriters.h"
#include "system/SystemFolders.h"

namespace {
// OFN_OVERWRITEPROMPT + OFN_HIDEREADONLY + OFN_NOREADONLYRETURN
constexpr quint32 kSaveFlags = 0x8006;

} // namespace

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

            // Made ready before the dialog opens. The string-table type node stands for every
            // block of the module; no other type node can be saved.
            std::optional<SavedResource> saved;
            if (SelectedEntry)
                saved.emplace(SavedResource::Of(Session.Module(), *SelectedEntry, Colours()));
            else if (SelectedType == QLatin1String("6"))
                saved.emplace(SavedResource::AllStringTables(Session.Module()));
            else
                return;
            CDlg.filter = saved->Filter();

            ui_.ShowSave(CDlg);
            if (CDlg.fileName.isEmpty()) return;
            WriteBytesFile(CDlg.fileName, AsBytes(saved->FileBytes(CDlg.filterIndex)));
        },
        ReasonLine::Shown);
}
