#include "expreporterscrn.h"

#include "controls/newcnvbtn.h"
#include "data/appversion.h"
#include "data/dbctrl.h"
#include "data/seams.h"
#include "mailhandler.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTextEdit>
#include <QUrl>

const char* const expReporterScrn::kSupportAddress = "support@orlavo.com";
const char* const expReporterScrn::kSubject = "NB Riza 2012d1 error";

namespace {

// A size of the layout is on its 72-per-inch grid: one point a pixel.
QLabel* label(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
              int size = 0, const QColor& colour = Qt::black) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setWordWrap(true);
    if (size > 0) {
        QFont f = l->font();
        f.setPixelSize(size);
        l->setFont(f);
    }
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}

newCnvBtn* button(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                  std::uint8_t kind, const QString& tip) {
    auto* b = new newCnvBtn(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setCaption(caption, kind);
    b->setToolTip(tip);
    return b;
}

} // namespace

expReporterScrn::expReporterScrn(const QString& reportText, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("expReporterScrn"));
    setWindowTitle(QStringLiteral("Error Reporting"));
    setModal(true);
    setFixedSize(450, 440);

    StaticText1 = label(this, "StaticText1", {84, 14, 283, 24}, QStringLiteral("An Error Has Occurred"), 18,
                        QColor(255, 6, 12));
    StaticText1->setAlignment(Qt::AlignCenter);
    errVersTxt = label(this, "errVersTxt", {147, 50, 157, 20}, App::LongVersion());
    errVersTxt->setAlignment(Qt::AlignCenter);
    StaticText2 =
        label(this, "StaticText2", {40, 71, 370, 83},
              QStringLiteral("Please report this error so Orlavo Software can use this info to improve "
                             "Numbrook Riza. ONLY the info shown in the box is sent to Orlavo Software "
                             "using your default email account.\nThank you."));
    StaticText2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    StaticText3 =
        label(this, "StaticText3", {40, 164, 370, 38},
              QStringLiteral("NOTE: Depending on the type and severity of the error, Numbrook Riza may or "
                             "may not be able to continue."),
              0, QColor(65, 117, 189));
    QFont italic = StaticText3->font();
    italic.setItalic(true);
    StaticText3->setFont(italic);
    StaticText4 = label(this, "StaticText4", {39, 215, 100, 16}, QStringLiteral("Error Message:"), 10);

    errFld = new QTextEdit(this);
    errFld->setObjectName(QStringLiteral("errFld"));
    errFld->setGeometry(40, 234, 370, 134);
    errFld->setAcceptRichText(false);
    errFld->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    errFld->setStyleSheet(QStringLiteral("QTextEdit { background: white; color: black; }"));
    errFld->setPlainText(reportText + QLatin1Char('\n') + App::LongVersion() + QLatin1Char('\n') +
                         DBCtrl::todayText() + QLatin1Char('\n') +
                         QStringLiteral(" :Please feel free to add your comments."));
    errFld->setFocus();

    reportBtn = button(this, "reportBtn", {30, 386, 120, 29}, QStringLiteral("Report..."), 0,
                       QStringLiteral("Report the problem to Orlavo Software"));
    ignoreBtn = button(this, "ignoreBtn", {165, 386, 120, 29}, QStringLiteral("Ignore"), 0,
                       QStringLiteral("Ignore the error and attempt to continue."));
    quitBtn = button(this, "quitBtn", {300, 386, 120, 29}, QStringLiteral("Quit VAVava"), 1,
                     QStringLiteral("Quit this application. Unsaved changes will be lost."));
    connect(reportBtn, &newCnvBtn::MouseUp, this, &expReporterScrn::reportBtn_MouseUp);
    connect(ignoreBtn, &newCnvBtn::MouseUp, this, &expReporterScrn::ignoreBtn_MouseUp);
    connect(quitBtn, &newCnvBtn::MouseUp, this, &expReporterScrn::quitBtn_MouseUp);
}

namespace {
bool openWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

expReporterScrn::MailOpener& mailOpener() {
    static expReporterScrn::MailOpener opener = openWithDesktop;
    return opener;
}
} // namespace

void expReporterScrn::setMailOpener(MailOpener opener) {
    mailOpener() = opener ? std::move(opener) : openWithDesktop;
}

QString expReporterScrn::mailLink(const QString& body) {
    // Mail links carry line ends as CR LF, and every character outside the unreserved set encoded.
    QString crlf = body;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return QStringLiteral("mailto:") + QLatin1String(kSupportAddress) + QStringLiteral("?subject=") +
           QString::fromLatin1(QUrl::toPercentEncoding(QLatin1String(kSubject))) + QStringLiteral("&body=") +
           QString::fromLatin1(QUrl::toPercentEncoding(crlf));
}

void expReporterScrn::reportBtn_MouseUp() {
    reportBtn->hndlMouseUp();
    // The desktop's launcher takes any link, with or without a mail program behind it: the link is
    // handed over only when the desktop names a program for mail.
    const bool handedOver =
        !MailHandler::current().isEmpty() &&
        mailOpener()(QUrl::fromEncoded(mailLink(errFld->toPlainText()).toLatin1(), QUrl::StrictMode));
    if (!handedOver) {
        // No mail program takes the report: it goes to the clipboard, so that it can be pasted into
        // any mail, and "Report..." stays for another try.
        QGuiApplication::clipboard()->setText(QStringLiteral("To: ") + QLatin1String(kSupportAddress) +
                                              QStringLiteral("\nSubject: ") + QLatin1String(kSubject) +
                                              QStringLiteral("\n\n") + errFld->toPlainText());
        Seams::dialogs().showMsg(
            true, QStringLiteral("No mail program could take the report."),
            QStringLiteral("The report has been copied to the clipboard. Please paste it "
                           "into an e-mail to ") +
                QLatin1String(kSupportAddress) + QLatin1Char('.'));
        return;
    }
    ignoreBtn->setCaption(QStringLiteral("Continue"), 0);
    ignoreBtn->update();
    reportBtn->hide();
}

void expReporterScrn::ignoreBtn_MouseUp() {
    ignoreBtn->hndlMouseUp();
    accept();
}

void expReporterScrn::quitBtn_MouseUp() {
    quitBtn->hndlMouseUp();
    done(QDialog::Rejected);
    QCoreApplication::exit(0);
}

void expReporterScrn::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(QPen(QColor(255, 0, 0), 4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
}

void expReporterScrn::keyPressEvent(QKeyEvent* event) {
    // The window has no keyboard way out: Return and Enter belong to the comment box, where they make
    // a new line, and Escape must not throw the report (and the user's comments) away.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void expReporterScrn::reject() {
    // Only "Ignore", "Continue" and "Quit VAVava" close the window.
}
