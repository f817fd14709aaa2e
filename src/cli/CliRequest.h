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
    QString file;
    std::optional<QString> type; // TYPE and NAME as given; absent when not given
    std::optional<QString> name;
    bool json = false;    // list --json
    bool rawText = false; // show --raw-text
    ExportChoice choice = ExportChoice::Saved;
    QString outputFolder; // extract -o DIR
};

struct CliParse {
    std::optional<CliRequest> request;
    QString mistake; // what is wrong with the command line, when there is no request
};

// `arguments`: the command line without the program's name.
CliParse ParseCli(const QStringList &arguments);
// Whether the request draws or encodes pictures, for which a QGuiApplication must exist.
bool NeedsPictures(const CliRequest &request);

QString CliHelpText();
QString CliVersionText();
