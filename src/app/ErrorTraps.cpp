#include "app/ErrorTraps.h"

#include "system/Ui.h"

#include <new>

namespace {
QString CodeAndDescription(const ErrorReport &failure) {
    return QStringLiteral("\tКод: %1\r\n\tОписание: %2").arg(failure.code()).arg(failure.description());
}
} // namespace

std::optional<ErrorReport> RunCatching(const std::function<void()> &body) {
    try {
        body();
        return std::nullopt;
    } catch (const ErrorReport &failure) {
        return failure;
    } catch (const std::bad_alloc &) {
        return ErrorReport(ErrorReport::OutOfMemory, QStringLiteral("Недостаточно памяти"));
    } catch (const std::exception &e) {
        return ErrorReport(51, QStringLiteral("Внутренняя ошибка: %1").arg(QString::fromLocal8Bit(e.what())));
    }
}

void FileCommandTrap(Ui &ui, const std::function<QString()> &dialogFileName, const QString &failureLine,
                     const QString &summaryLine, const std::function<void()> &body, ReasonLine reason) {
    const auto failure = RunCatching(body);
    if (!failure || failure->code() == ErrorReport::DialogCancelled) return;
    QString text =
        dialogFileName() + QStringLiteral("\r\n") + failureLine + QStringLiteral("\r\n") + summaryLine;
    if (reason == ReasonLine::Shown) text += QStringLiteral("\r\n") + FailureText(*failure);
    ui.MessageBox({text, QStringLiteral("Ошибка"), MsgButtons::Ok, MsgIcon::Warning, 1});
}

TrapOutcome ReportDisplayFailure(Ui &ui, bool showOverflow, const ErrorReport &failure) {
    const qint32 code = failure.code();
    if (code == ErrorReport::Overflow || code == ErrorReport::OutOfMemory ||
        code == ErrorReport::OutOfRange) {
        if (showOverflow)
            ui.MessageBox({QStringLiteral("Критическое переполнение в программе!"), QStringLiteral("Ошибка"),
                           MsgButtons::Ok, MsgIcon::Warning, 1});
        return TrapOutcome::Continue;
    }
    const QString text = QStringLiteral("В программе произошла неизвестная ошибка!\r\n") +
                         CodeAndDescription(failure) + QStringLiteral("\r\nИгнорировать?");
    const MsgAnswer answer =
        ui.MessageBox({text, QStringLiteral("Ошибка"), MsgButtons::YesNo, MsgIcon::Critical, 2});
    return answer == MsgAnswer::Yes ? TrapOutcome::Continue : TrapOutcome::QuitProgram;
}

void RunReporting(Ui &ui, const std::function<void()> &body) {
    if (const auto failure = RunCatching(body))
        ui.MessageBox({QStringLiteral("В программе произошла ошибка.\r\n") + CodeAndDescription(*failure),
                       QStringLiteral("Ошибка"), MsgButtons::Ok, MsgIcon::Warning, 1});
}
