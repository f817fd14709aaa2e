#pragma once
// The rules of the Save command, decided without widgets: the file types its dialog offers, what it
// makes ready before the dialog opens, which form the chosen entry writes, and the bytes of each
// form. SavedResource applies them to one resource.
#include "imaging/Picture.h"
#include "resources/ModuleCatalogue.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// The dialog's file types for a type ("Description|*.ext|..."); "|" separates descriptions,
// patterns and entries.
QString SaveFilter(const ResourceId &type);
// The extension of entry `index` (1-based) of a filter: "ico" for "*.ico"; empty for "*.*" and for
// an entry the filter does not have.
QString SaveFilterExtension(const QString &filter, int index);

// What is made ready before the dialog opens, by the type.
enum class SaveSource {
    Picture, // cursors, bitmaps, icons and their groups: the decoded picture
    Text,    // menus, accelerators, message tables, versions, string tables: the text pane's text
    Nothing, // every other type: its raw bytes
};
SaveSource SaveSourceOf(const ResourceId &type);

enum class SavedForm {
    PictureFile, // the picture's own file form: a BMP for a bitmap, an icon or cursor file
    DrawnBitmap, // the picture drawn over the scratch box's background, as a BMP file
    Text,        // the text in the ANSI code page
    RawBytes,    // the resource's bytes as they are
};
// The form that the chosen entry writes, given what could be made ready: a picture that was made,
// a text that is not empty. Entry 1 writes the picture or the text; any other entry of a picture
// type draws the picture; everything else is raw bytes.
SavedForm SavedFormOf(bool havePicture, bool haveText, int filterIndex);

// The bytes of each form; each raises what the Save command reports when it cannot be made.
// The picture's own file; the invalid-picture failure (481) when it has none.
QByteArray PictureFileBytes(const Picture &picture);
// The text in Windows-1251, line ends as given.
QByteArray TextFileBytes(const QString &text);
// The resource's bytes; code 9 when it yields none (missing, or of size 0).
QByteArray RawFileBytes(const ModuleCatalogue &module, const ResourceEntry &entry);

// The picture's size in pixels when it is drawn at its own size; overflow (6) past 32,767.
QSize PicturePixelSize(const Picture &picture);
// The picture at its own size over `background`, opaque: what the scratch box keeps of it. A
// picture of more than 2^28 pixels raises code 7, out of memory.
QImage DrawnPicture(const Picture &picture, const QColor &background);
// The picture at its own size over transparency, transparent wherever it draws nothing.
QImage PictureWithAlpha(const Picture &picture);
