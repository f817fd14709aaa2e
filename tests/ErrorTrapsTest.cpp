// The traps of the command handlers: which failures are reported, with which texts and buttons,
// and what the answers do.
#include "app/ErrorTraps.h"
#include "FakeUi.h"

#include <gtest/gtest.h>

TEST(DisplayTrap, OverflowMemoryAndRangeAreSilentUnlessAsked) {
    for (const qint32 code : {6, 7, 9}) {
        FakeUi ui;
        EXPECT_EQ(ReportDisplayFailure(ui, false, ErrorReport(code, QStringLiteral("x"))),
                  TrapOutcome::Continue);
        EXPECT_TRUE(ui.messages.empty()) << code;
        EXPECT_EQ(ReportDisplayFailure(ui, true, ErrorReport(code, QStringLiteral("x"))),
                  TrapOutcome::Continue);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("Критическое переполнение в программе!"));
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Ошибка"));
        EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    }
}

TEST(DisplayTrap, OtherFailuresAskWhetherToIgnoreWithNoAsDefault) {
    for (const qint32 code : {8, 10, 481}) {
        FakeUi ui;
        ui.answers = {MsgAnswer::Yes, MsgAnswer::No};
        const ErrorReport failure(code, QStringLiteral("Описание сбоя"));
        EXPECT_EQ(ReportDisplayFailure(ui, false, failure), TrapOutcome::Continue);
        EXPECT_EQ(ReportDisplayFailure(ui, true, failure), TrapOutcome::QuitProgram);
        ASSERT_EQ(ui.messages.size(), 2u);
        const MessageRequest &m = ui.messages[0];
        EXPECT_EQ(m.text, QStringLiteral("В программе произошла неизвестная ошибка!\r\n\tКод: %1\r\n"
                                         "\tОписание: Описание сбоя\r\nИгнорировать?")
                              .arg(code));
        EXPECT_EQ(m.title, QStringLiteral("Ошибка"));
        EXPECT_EQ(m.buttons, MsgButtons::YesNo);
        EXPECT_EQ(m.icon, MsgIcon::Critical);
        EXPECT_EQ(m.defaultButton, 2);
    }
}

TEST(FileCommandTrap, NamesTheFileAndStaysSilentOnCancel) {
    FakeUi ui;
    QString file;
    auto trap = [&](const std::function<void()> &body, ReasonLine reason = ReasonLine::Omitted) {
        FileCommandTrap(
            ui, [&] { return file; }, QStringLiteral("Невозможно сохранить ресурс."),
            QStringLiteral("При сохранении произошла неизвестная ошибка!"), body, reason);
    };
    trap([] {});
    trap([] { throw ErrorReport(ErrorReport::DialogCancelled, QStringLiteral("cancel")); });
    EXPECT_TRUE(ui.messages.empty());
    // A failure before any file was chosen: the first line is empty.
    trap([] { throw ErrorReport(75, QStringLiteral("denied")); });
    file = QStringLiteral("/tmp/out.bin");
    trap([] { throw std::bad_alloc(); });
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(
        ui.messages[0].text,
        QStringLiteral("\r\nНевозможно сохранить ресурс.\r\nПри сохранении произошла неизвестная ошибка!"));
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("/tmp/out.bin\r\nНевозможно сохранить ресурс.\r\n"
                                                  "При сохранении произошла неизвестная ошибка!"));
    EXPECT_EQ(ui.messages[1].title, QStringLiteral("Ошибка"));
    EXPECT_EQ(ui.messages[1].icon, MsgIcon::Warning);
    // With the reason line, the failure's own words follow; its code where it has none.
    trap([] { throw ErrorReport(481, QString()); }, ReasonLine::Shown);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].text, ui.messages[1].text + QStringLiteral("\r\nошибка 481"));
}

TEST(RunCatching, RuntimeFailuresBecomeRecords) {
    EXPECT_EQ(RunCatching([] { throw std::bad_alloc(); })->code(), ErrorReport::OutOfMemory);
    EXPECT_EQ(RunCatching([] { CheckedAdd<std::int16_t>(32767, 1); })->code(), ErrorReport::Overflow);
    EXPECT_EQ(RunCatching([] { CheckedCast<std::int16_t>(40000); })->code(), ErrorReport::Overflow);
    EXPECT_EQ(RunCatching([] { throw std::runtime_error("boom"); })->code(), 51);
    EXPECT_FALSE(RunCatching([] {}));
    // Handlers without a trap of their own report and go on.
    FakeUi ui;
    RunReporting(ui, [] { throw ErrorReport(13, QStringLiteral("type")); });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Код: 13")));
}
