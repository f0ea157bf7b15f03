#include "ovrmsgbox.h"

#include "app/media.h"
#include "controls/enterkey.h"
#include "data/globals.h"
#include "newcnvbtn.h"
#include "picturecanvas.h"
#include "wrappedlabel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScreen>

// Drawn when the icon pictures are missing: a yellow warning triangle or a blue note disc.
void ovrMsgBox::drawPlainIcon(QPainter& p, bool caution) {
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = p.font();
    f.setPixelSize(38);
    f.setBold(true);
    p.setFont(f);
    if (caution) {
        QPainterPath triangle;
        triangle.moveTo(32, 4);
        triangle.lineTo(62, 58);
        triangle.lineTo(2, 58);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(0x8A, 0x5A, 0x00), 2));
        p.setBrush(QColor(0xFF, 0xC8, 0x2E));
        p.drawPath(triangle);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 14, 64, 44), Qt::AlignCenter, QStringLiteral("!"));
    } else {
        p.setPen(QPen(QColor(0x1B, 0x4F, 0x9C), 2));
        p.setBrush(QColor(0x3D, 0x8B, 0xF0));
        p.drawEllipse(QRect(3, 3, 58, 58));
        p.setPen(Qt::white);
        p.drawText(QRect(3, 3, 58, 58), Qt::AlignCenter, QStringLiteral("i"));
    }
}

QFont ovrMsgBox::messageFont() {
    QFont f = QGuiApplication::font();
    f.setPixelSize(13); // one line fits in the box's 16-pixel line unit
    f.setBold(true);
    return f;
}

QFont ovrMsgBox::explanationFont() {
    QFont f = QGuiApplication::font();
    f.setPixelSize(kExplanationSize);
    return f;
}

namespace {

// The layout gives the explanation one line. A longer one keeps its small type and wraps into the
// room above the Close button; one longer than that room (a list of folders, a long install path)
// makes the box grow downward, as a long message does, rather than lose its end.
int explanationHeight(const QString& explanation) {
    const QFont font = ovrMsgBox::explanationFont();
    const int needed =
        WrappedLabel::lineCount(explanation, font, ovrMsgBox::kMessageWidth) * QFontMetrics(font).lineSpacing();
    return qMax(ovrMsgBox::kLineHeight, needed);
}

} // namespace

ovrMsgBox::ovrMsgBox(bool isCaution, const QString& message, const QString& explanation, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), isCautionIcon(isCaution) {
    setModal(true);
    setWindowTitle(QString());

    auto* icon = new PictureCanvas(
        QStringLiteral("Canvas1"),
        [caution = isCautionIcon] { return caution ? Pictures::newCaution64() : Pictures::new10Icon64(); },
        PictureCanvas::Fit::OwnSize, this);
    icon->setFallback([caution = isCautionIcon](QPainter& p, const QRect&) { drawPlainIcon(p, caution); });
    icon->setGeometry(12, 12, 72, 72);

    // The hidden field keeps the keyboard (it lies beyond the box's right edge) and a copy of the
    // message; the lines are counted the way the message label itself wraps them.
    testFld = new QPlainTextEdit(this);
    testFld->setObjectName(QStringLiteral("testFld"));
    testFld->setGeometry(435, 14, 288, 119);
    testFld->setPlainText(message);
    testFld->installEventFilter(this);

    lines = qMax(WrappedLabel::lineCount(message, messageFont(), kMessageWidth), 3);
    const int h = kLineHeight * lines;
    const int explained = explanationHeight(explanation);
    // What the explanation adds to the box: its lines and a little air above the Close button, whose
    // caption would otherwise sit against the last line.
    const int below = qMax(0, explained + kExplanationRoom / 8 - kExplanationRoom);
    setFixedSize(kWidth, h + 136 + below);

    auto* alertFld = new WrappedLabel(QStringLiteral("alertFld"), this);
    alertFld->setFont(messageFont());
    alertFld->setGeometry(108, 24, kMessageWidth, h);
    alertFld->setText(message);

    auto* msgTxt = new WrappedLabel(QStringLiteral("msgTxt"), this);
    msgTxt->setFont(explanationFont());
    msgTxt->setGeometry(108, h + 40, kMessageWidth, explained);
    msgTxt->setText(explanation);

    auto* closeBtn = new newCnvBtn(this);
    closeBtn->setObjectName(QStringLiteral("closeBtn"));
    closeBtn->setGeometry(276, h + 90 + below, 120, 29);
    closeBtn->setCaption(QStringLiteral("Close"), 1);
    connect(closeBtn, &newCnvBtn::MouseUp, this, [this, closeBtn] {
        closeBtn->hndlMouseUp();
        closeBox();
    });

    congrats = message.left(4).compare(QLatin1String("Cong"), Qt::CaseInsensitive) == 0;

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void ovrMsgBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xDD, 0xDD, 0xDD));
    if (congrats) {
        const QPixmap backdrop = Pictures::congratsBKG2();
        if (!backdrop.isNull())
            p.drawPixmap(0, 0, backdrop);
    }
    const QPixmap overlay = Pictures::cautionBkg4();
    if (!overlay.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), overlay);
    }
}

void ovrMsgBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    testFld->setFocus(Qt::OtherFocusReason);
}

bool ovrMsgBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == testFld &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        // Every key is taken here, so that none changes the hidden copy of the message.
        if (event->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(event)))
            closeBox();
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ovrMsgBox::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event))
        closeBox();
    event->accept();
}

void ovrMsgBox::reject() {}

void ovrMsgBox::closeEvent(QCloseEvent* event) {
    if (closing)
        event->accept();
    else
        event->ignore();
}

void ovrMsgBox::closeBox() {
    closing = true;
    accept();
}
