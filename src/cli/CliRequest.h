#pragma once
// What a command line asks of zorvika-cli, read from its arguments; a usage mistake is said in
// words and ends with status 2.
#include "export/ResourceExport.h"

#include <QString>
#include <QStringList>
#include <optional>

enum class CliCommand { Help, Version, List, Show, Extract };

struct CliRequest {
    CliCommand command = CliCommand::Help;
    QStringList files;               // FILE arguments as given, in order
    std::optional<QString> fileList; // --files-from LIST: more files, read from LIST ("-": standard input)
    bool nulSeparated = false;       // --null: the list's paths end with NUL, not with a line end
    bool recursive = false;          // -r: the files in folders, and in their folders
    int jobs = 0;                    // -j N: files read at once; 0 for one per core
    std::optional<QString> type;     // TYPE and NAME as given; absent when not given
    std::optional<QString> name;
    bool json = false;    // list --json, show --json
    bool rawText = false; // show --raw-text
    ExportChoice choice = ExportChoice::Saved;
    QString outputFolder; // extract -o DIR

    // Whether each file's output names its file: several files, a folder or a list of them. With
    // one file and none of these, the output is that file's alone, as it always was.
    bool ManyFiles() const { return files.size() > 1 || recursive || fileList.has_value(); }
};

struct CliParse {
    std::optional<CliRequest> request;
    QString mistake; // what is wrong with the command line, when there is no request
};

// `arguments`: the command line without the program's name.
CliParse ParseCli(const QStringList &arguments);
// Whether the request draws or encodes pictures, for which a QGuiApplication must exist.
bool NeedsPictures(const CliRequest &request);
// The most files read at once that -j accepts.
inline constexpr int kMostJobs = 256;

QString CliHelpText();
QString CliVersionText();
