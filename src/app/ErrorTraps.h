#pragma once
// How command handlers report failures: a trap runs the handler's body, catches the one failure
// type (and the few the runtime raises) and reports it as the command requires.
#include "system/ErrorReport.h"

#include <QString>
#include <functional>
#include <optional>

class Ui;

// Runs the body; a failure comes back as its record. Memory exhaustion is code 7; any other
// exception is an internal error (code 51) with its own description.
std::optional<ErrorReport> RunCatching(const std::function<void()> &body);

// Whether a file command's message ends with the failure's own words (FailureText: for a file that
// could not be written, the system's reason) on a line of its own.
enum class ReasonLine { Omitted, Shown };
// The trap of the file commands: silent on success and on a cancelled dialog; otherwise one
// message naming the dialog's file (read at report time), the failure line and the summary.
void FileCommandTrap(Ui &ui, const std::function<QString()> &dialogFileName, const QString &failureLine,
                     const QString &summaryLine, const std::function<void()> &body,
                     ReasonLine reason = ReasonLine::Omitted);

enum class TrapOutcome { Continue, QuitProgram };
// The report step of the display trap: overflow, memory and range failures (6, 7, 9) are silent
// unless `showOverflow`; anything else asks whether to ignore it, and No quits.
TrapOutcome ReportDisplayFailure(Ui &ui, bool showOverflow, const ErrorReport &failure);

// For handlers that have no trap of their own: the failure is shown and the program goes on.
void RunReporting(Ui &ui, const std::function<void()> &body);
