#pragma once
// What the Save command makes of one resource: the file types its dialog offers, what it makes
// ready before the dialog opens, and the bytes of the file for the entry the person takes. The
// window's Save and the command-line tool's extract both write through it.
#include "export/SaveForms.h"
#include "imaging/SystemColours.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class SavedResource {
public:
    // A resource made ready as its type asks: the picture of a cursor, bitmap, icon or group (none
    // when it cannot be made; a single cursor or icon without bytes raises code 9), drawn later in
    // `colours`; the text rendering of a menu, accelerator table, message table, version record or
    // string-table block (empty when the rendering fails or is empty); nothing for other types.
    static SavedResource Of(const ModuleCatalogue &module, const ResourceEntry &entry,
                            const SystemColours &colours);
    // The string-table type itself: every block of the module in directory order, each followed by
    // CR LF. Raises what a block's rendering raises.
    static SavedResource AllStringTables(const ModuleCatalogue &module);

    // "Description|*.ext|...", as the dialog offers it.
    const QString &Filter() const { return filter_; }
    // What entry `filterIndex` (1 is the first) writes, given what could be made ready.
    SavedForm FormOf(int filterIndex) const;
    // The file's bytes for entry `filterIndex`; raises what the Save command reports when they
    // cannot be made (481 for a picture without a file form, 9 for a resource without bytes).
    QByteArray FileBytes(int filterIndex) const;
    // Why the picture or the text could not be made ready, where it could not.
    const std::optional<ErrorReport> &PrepareFailure() const { return prepareFailure_; }

private:
    SavedResource(const ModuleCatalogue &module, ResourceEntry entry);

    const ModuleCatalogue &module_;
    ResourceEntry entry_;
    QString filter_;
    std::shared_ptr<Picture> picture_;
    QString text_;
    SystemColours colours_;
    std::optional<ErrorReport> prepareFailure_;
};
