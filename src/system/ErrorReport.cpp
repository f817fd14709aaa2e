#include "system/ErrorReport.h"

void ErrorReport::outOfRange() {
    throw ErrorReport(OutOfRange, QStringLiteral("Индекс выходит за пределы допустимого диапазона"));
}
void ErrorReport::overflow() {
    throw ErrorReport(Overflow, QStringLiteral("Переполнение"));
}
void ErrorReport::outOfMemory() {
    throw ErrorReport(OutOfMemory, QStringLiteral("Недостаточно памяти"));
}
void ErrorReport::invalidArgument() {
    throw ErrorReport(InvalidArgument, QStringLiteral("Недопустимый вызов процедуры или аргумент"));
}
void ErrorReport::invalidPicture() {
    throw ErrorReport(InvalidPicture, QStringLiteral("Недопустимый рисунок"));
}
ErrorReport ErrorReport::missingResource() {
    return ErrorReport(ResourceNotFound, QStringLiteral("Ресурс не найден в файле"));
}

QString FailureText(const ErrorReport &failure) {
    if (failure.description().isEmpty()) return QStringLiteral("ошибка %1").arg(failure.code());
    return failure.description();
}
