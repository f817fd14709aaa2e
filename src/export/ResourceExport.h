#pragma once
// One resource made into the bytes of a file, in the form the Save command writes it when the
// person takes the entry that matches the choice, or as a PNG picture. Used where no dialog is
// asked (the command-line tool's extract).
#include "imaging/SystemColours.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <QByteArray>
#include <QString>
#include <optional>

enum class ExportChoice {
    Saved, // the dialog's first entry: picture files, text renderings, raw bytes
    Drawn, // the second entry of icons and cursors: the picture drawn as a BMP
    Png,   // pictures (bitmaps, icons, cursors, their groups, picture files) as PNG with transparency
    Raw,   // the raw bytes of every resource
    Groups, // icon and cursor groups as whole icon and cursor files, every image in them; the rest
            // as Saved
};

struct ExportedResource {
    // Nothing to write when the resource yields no data at all.
    std::optional<QByteArray> bytes;
    // Without the dot: "ico", "txt", "png", ...; "bin" for raw bytes of no other kind.
    QString extension;
    // Why the form asked for could not be made: the raw bytes stand in for it, as in the Save
    // command (or, with no bytes, nothing is written).
    std::optional<ErrorReport> failure;
};

// `colours`: what a bitmap's greys become and what a drawn picture is drawn over.
ExportedResource ExportResource(const ModuleCatalogue &module, const ResourceEntry &entry,
                                ExportChoice choice, const SystemColours &colours);
