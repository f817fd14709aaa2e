#include "about/FrmAbout.h"

#include "ProgramVersion.h"
#include "about/LinkLabel.h"
#include "about/ProgramResources.h"
#include "system/Twips.h"
#include "system/Ui.h"

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

namespace {
template <typename T>
T *Placed(T *w, const char *name, double left, double top, double width, double height) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
    return w;
}

// The width of a label's whole text in its own font.
int TextWidth(const QLabel *label) {
    return label->sizeHint().width();
}

// The room a label takes in its row: its text and a blank before whatever follows.
int RowWidth(const QLabel *label) {
    return TextWidth(label) + label->fontMetrics().horizontalAdvance(QLatin1Char(' '));
}

// Labels draw their text from the top-left corner, so the texts of one row share a baseline. A
// label narrower than its text grows to it (our font may be wider than the one the window was
// designed with); it never shrinks below its designed size.
void FitToText(QLabel *label) {
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->resize(std::max(label->width(), TextWidth(label)),
                  std::max(label->height(), label->sizeHint().height()));
}

// `right` stands to the right of `left` in one row: where the text of `left` reaches past the
// designed place of `right`, `right` moves along.
void KeepRightOf(const QLabel *left, QLabel *right) {
    right->move(std::max(right->x(), left->x() + RowWidth(left)), right->y());
}
} // namespace

FrmAbout::FrmAbout(Ui &ui, QWidget *owner) : QDialog(owner), ui_(ui) {
    InitProgramResources();
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(TwipsToPixelsX(5520), TwipsToPixelsY(4320));
    setModal(true);

    ILogo = Placed(new QLabel(this), "ILogo", 0, 0, 5550, 1200);
    ILogo->setPixmap(QPixmap(QStringLiteral(":/zorvika/banner.jpg")));
    IIcon = Placed(new QLabel(this), "IIcon", 240, 1440, 480, 480);
    IIcon->setPixmap(QPixmap(QStringLiteral(":/zorvika/icon32.png")));

    // The load step: every text of the window.
    setWindowTitle(QStringLiteral("О программе"));
    LTitle =
        Placed(new QLabel(QStringLiteral("Программа: \"Зорвика\""), this), "LTitle", 960, 1440, 4335, 255);
    LVersion = Placed(
        new QLabel(QStringLiteral("Версия: %1.%2").arg(ProgramVersion::Major).arg(ProgramVersion::Minor),
                   this),
        "LVersion", 960, 1680, 4335, 255);
    LAutor = Placed(
        new QLabel(QStringLiteral("Автор программы: ") + QString::fromUtf8(ProgramVersion::LegalCopyright),
                   this),
        "LAutor", 960, 1920, 4335, 255);
    LMailInfo =
        Placed(new QLabel(QStringLiteral("Электронная почта:"), this), "LMailInfo", 960, 2160, 1575, 255);
    LMail = Placed(new LinkLabel(kAuthorMail, this), "LMail", 2520, 2160, 1335, 255);
    LThanks =
        Placed(new QLabel(QStringLiteral("Особая благодарность:"), this), "LThanks", 960, 2520, 4335, 255);
    for (int i = 0; i < kThankedSites.size(); ++i) {
        const double top = 2880 + 240 * i;
        LWebInfo.append(
            Placed(new QLabel(QStringLiteral("Веб-сайту:"), this), "LWebInfo", 960, top, 855, 255));
        LinkLabel *web = Placed(new LinkLabel(kThankedSites[i], this), "LWeb", 1800, top, 855, 255);
        web->setProperty("Index", i);
        web->resize(TextWidth(web), web->height()); // width fitted to the text
        LWeb.append(web);
        connect(web, &LinkLabel::Click, this, [this, web] { ui_.OpenWithShell(web->text()); });
    }
    connect(LMail, &LinkLabel::Click, this,
            [this] { ui_.OpenWithShell(QStringLiteral("mailto:") + LMail->text()); });

    CmdOK = Placed(new QPushButton(QStringLiteral("&ОК"), this), "CmdOK", 4200, 3840, 1215, 375);
    CmdOK->setDefault(true);
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::accept);
    LayOutTexts();
}

void FrmAbout::LayOutTexts() {
    for (QLabel *label : findChildren<QLabel *>())
        if (label != ILogo && label != IIcon) FitToText(label);
    KeepRightOf(LMailInfo, LMail);
    for (qsizetype i = 0; i < LWeb.size(); ++i)
        KeepRightOf(LWebInfo[i], LWeb[i]);
    // Texts that now reach past the window's edge widen it, keeping the designed margin; the
    // button keeps its place at the right.
    int right = 0;
    for (const QLabel *label : findChildren<QLabel *>())
        if (label != ILogo) right = std::max(right, label->geometry().right() + 1);
    const int margin = TwipsToPixelsX(5520 - 960 - 4335);
    const int growth = std::max(0, right + margin - width());
    if (growth == 0) return;
    setFixedSize(width() + growth, height());
    CmdOK->move(CmdOK->x() + growth, CmdOK->y());
}
