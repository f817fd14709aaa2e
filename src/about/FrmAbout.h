#pragma once
// The About window: the program's name, version and author, and links to write to the author
// and to the sites the author thanks.
#include <QDialog>
#include <QList>

class LinkLabel;
class QLabel;
class QPushButton;
class Ui;

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    FrmAbout(Ui &ui, QWidget *owner);

    QLabel *ILogo, *IIcon, *LTitle, *LVersion, *LAutor, *LMailInfo, *LThanks;
    LinkLabel *LMail;
    QList<QLabel *> LWebInfo;
    QList<LinkLabel *> LWeb;
    QPushButton *CmdOK;

private:
    // Fits the labels to their texts in the window's real font.
    void LayOutTexts();

    Ui &ui_;
};

// The About window's links (content of the program's own choosing).
inline const QString kAuthorMail = QStringLiteral("zorvika@example.org");
inline const QStringList kThankedSites = {QStringLiteral("https://www.winehq.org"),
                                          QStringLiteral("https://www.qt.io"),
                                          QStringLiteral("https://ffmpeg.org")};
