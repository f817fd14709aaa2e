#pragma once
// A main window driven in-process: a scripted Ui, a private WINEPREFIX whose system folder holds
// a fixture as Shell32.dll, and EndProgram that only records that the program would end.
#include "FakeUi.h"
#include "Fixtures.h"
#include "TreeNodes.h"
#include "app/FrmMain.h"

#include <QDir>
#include <memory>

class MainWindowHarness {
public:
    // `systemDll`: the fixture that stands in for Shell32.dll ("" for none at all).
    explicit MainWindowHarness(const QString &arguments,
                               const QString &systemDll = QStringLiteral("tree32.dll")) {
        previousPrefix_ = qgetenv("WINEPREFIX");
        const QString system = prefix_.path() + QStringLiteral("/drive_c/windows/system32");
        QDir().mkpath(system);
        if (!systemDll.isEmpty())
            QFile::copy(FixturePath(systemDll), system + QStringLiteral("/shell32.dll"));
        qputenv("WINEPREFIX", QFile::encodeName(prefix_.path()));
        window = std::make_unique<FrmMain>(ui, arguments);
        window->EndProgram = [this] { ++endCalls; };
    }
    ~MainWindowHarness() {
        window.reset();
        if (previousPrefix_.isNull())
            qunsetenv("WINEPREFIX");
        else
            qputenv("WINEPREFIX", previousPrefix_);
    }
    QString SystemDir() const { return prefix_.path() + QStringLiteral("/drive_c/windows/system32"); }

    QModelIndex Root() const { return window->TreeModel->Root(); }
    QModelIndex Type(const QString &text) const {
        for (int i = 0; i < Rows(Root()); ++i)
            if (::Text(Child(Root(), i)) == text) return Child(Root(), i);
        return {};
    }
    // Expands the type and returns its name node with this text.
    QModelIndex Name(const QString &typeText, const QString &nameText) const {
        const QModelIndex type = Type(typeText);
        if (!type.isValid()) return {};
        window->Expand(type);
        for (int i = 0; i < Rows(type); ++i)
            if (::Text(Child(type, i)) == nameText) return Child(type, i);
        return {};
    }

    FakeUi ui;
    std::unique_ptr<FrmMain> window;
    int endCalls = 0;

private:
    QTemporaryDir prefix_;
    QByteArray previousPrefix_;
};
