#pragma once
// The files a run reads, one at a time and in a fixed order: each FILE as given; with -r, the
// files in a folder and in its folders, by name (the bytes of the name, a folder's name counted
// with a "/" after it, so that the order is that of the whole paths sorted bytewise, as
// `LC_ALL=C sort` sorts them); then the paths of a --files-from list, in its order. Symbolic
// links found in a folder are not followed, and nothing but regular files is read. Only the
// folder being walked is held, whatever the number of files.
#include "cli/CliRequest.h"
#include "cli/SafeFileNames.h"

#include <QString>
#include <QStringList>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

struct CliFile {
    QString path;
    // Given on the command line: a file found in a folder or a list that is no module is passed
    // over without a word.
    bool named = true;
    // Why the file cannot be read, known before it is opened (a folder without -r, a folder that
    // cannot be read, a list that cannot be read).
    QString failure;
    // extract: the folders below DIR for this file's resources, each a plain name; empty for the
    // one file of a run that is not ManyFiles.
    QStringList outputFolders;
};

class FileInputs {
public:
    explicit FileInputs(const CliRequest &request);
    ~FileInputs();
    FileInputs(const FileInputs &) = delete;
    FileInputs &operator=(const FileInputs &) = delete;

    // The next file, or nothing when all were given.
    std::optional<CliFile> Next();

private:
    struct Folder; // a folder being walked: its sorted entries and where the walk is in them
    std::optional<CliFile> Start(const QString &path, bool named);
    std::optional<CliFile> NextInFolders();
    // The next path of the list into `path` (left empty at its end); 0, or the errno of a failure.
    int ReadListed(QString &path);

    const CliRequest &request_;
    qsizetype nextArgument_ = 0;
    std::FILE *list_ = nullptr;
    char *line_ = nullptr; // the list's line buffer, as getdelim grows it
    std::size_t capacity_ = 0;
    bool listDone_ = false;
    std::vector<std::unique_ptr<Folder>> folders_; // the walk's stack
    SafeFileNames topNames_; // extract: the folders of the files and folders given
};
