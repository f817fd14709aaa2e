#pragma once
// zorvika-thumbnailer's command line, as the freedesktop thumbnail convention calls a thumbnailer:
// [-s SIZE] INPUT OUTPUT. Status 0: OUTPUT written; 1: no thumbnail for INPUT, or OUTPUT could not
// be written, said in one line; 2: a usage mistake, said in one line.
#include <QString>
#include <QStringList>

struct ThumbnailerOutcome {
    int status = 0;
    QString text; // for standard output (help, version) when status is 0, else the one error line
};

// `arguments`: the command line without the program's name.
ThumbnailerOutcome RunThumbnailer(const QStringList &arguments);
