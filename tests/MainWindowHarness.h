#pragma once
// A main window driven in-process: a scripted Ui, a private WINEPREFIX whose system folder holds
// a fixture as Shell32.dll, and EndProgram that only records that the program would end.
#include "FakeUi.h"
#include "Fixtures.h"
#include "app/FrmMain.h"
#include "resources/tree/ResourceTree.h"

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

    QStandardItem *Root() const { return window->TreeModel->item(0); }
    QStandardItem *Type(const QString &text) const {
        for (int i = 0; i < Root()->rowCount(); ++i)
            if (Root()->child(i)->text() == text) return Root()->child(i);
        return nullptr;
    }
    // Expands the type and returns its name node with this text.
    QStandardItem *Name(const QString &typeText, const QString &nameText) const {
        QStandardItem *type = Type(typeText);
        if (type == nullptr) return nullptr;
        window->Expand(type);
        for (int i = 0; i < type->rowCount(); ++i)
            if (type->child(i)->text() == nameText) return type->child(i);
        return nullptr;
    }

    FakeUi ui;
    std::unique_ptr<FrmMain> window;
    int endCalls = 0;

private:
    QTemporaryDir prefix_;
    QByteArray previousPrefix_;
};
