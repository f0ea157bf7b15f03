#include "checkversscrn.h"

#include "data/appversion.h"
#include "newaboutscrn.h"
#include "webclient.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QNetworkReply>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace {

// The texts' size, in pixels.
constexpr int kTextSize = 12;
const QColor kTitleBlue(0x41, 0x75, 0xBD);

QString& serverAddress() {
    // The maker's site, the one the about box links to.
    static QString address = newAboutScrn::webAddress();
    return address;
}

int& answerTime() {
    static int ms = checkVersScrn::kDefaultTimeoutMs;
    return ms;
}

QLabel* label(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
              Qt::Alignment align, const QColor& colour = Qt::black, bool bold = false) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setAlignment(align | Qt::AlignTop);
    QFont f = l->font();
    f.setPixelSize(kTextSize);
    f.setBold(bold);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QRect& geometry, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    QFont f = b->font();
    f.setPixelSize(kTextSize);
    b->setFont(f);
    return b;
}

// The digits that stand at the start of a text (after blanks).
QString leadingDigits(const QString& text) {
    qsizetype from = 0;
    while (from < text.size() && text.at(from).isSpace())
        ++from;
    qsizetype i = from;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'))
        ++i;
    return text.mid(from, i - from);
}

QString withoutLeadingZeros(const QString& digits) {
    qsizetype i = 0;
    while (i < digits.size() && digits.at(i) == QLatin1Char('0'))
        ++i;
    const QString rest = digits.mid(i);
    return rest.isEmpty() ? QStringLiteral("0") : rest;
}

static_assert(checkVersScrn::kNoReleaseError == QNetworkReply::UnknownContentError);

} // namespace

// ---- The spinner

ProgressWheel::ProgressWheel(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("wheelTimer"));
    timer_->setInterval(80);
    connect(timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % 12;
        update();
    });
}

bool ProgressWheel::isTurning() const {
    return timer_->isActive();
}

void ProgressWheel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    timer_->start();
}

void ProgressWheel::hideEvent(QHideEvent* event) {
    timer_->stop();
    QWidget::hideEvent(event);
}

void ProgressWheel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    const double outer = std::min(width(), height()) / 2.0 - 1;
    // Twelve spokes, the one at the current step darkest, the ones behind it fading.
    for (int i = 0; i < 12; ++i) {
        const int age = (step_ - i + 12) % 12;
        QColor c(0x30, 0x30, 0x30);
        c.setAlphaF(std::max(0.15, 1.0 - age / 10.0));
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
        const double a = i * M_PI / 6.0;
        p.drawLine(QPointF(std::sin(a) * outer * 0.45, -std::cos(a) * outer * 0.45),
                   QPointF(std::sin(a) * outer, -std::cos(a) * outer));
    }
}

// ---- Releases

bool checkVersScrn::Release::operator<(const Release& other) const {
    if (year != other.year)
        return year < other.year;
    if (number.size() != other.number.size())
        return number.size() < other.number.size();
    return number < other.number;
}

QString checkVersScrn::Release::shown() const {
    return QString::number(year) + QLatin1Char('r') + number;
}

std::optional<checkVersScrn::Release> checkVersScrn::publishedRelease(const QString& field1) {
    const QString digits = leadingDigits(field1);
    if (digits.size() < 5)
        return std::nullopt;
    return Release{digits.left(4).toLongLong(), withoutLeadingZeros(digits.mid(4))};
}

checkVersScrn::Release checkVersScrn::runningRelease(const QString& shortVersion) {
    const QString digits = leadingDigits(shortVersion);
    if (digits.size() < 4)
        return {};
    if (digits.size() > 4)
        return {digits.left(4).toLongLong(), withoutLeadingZeros(digits.mid(4))};
    // "2012d1": the year, a letter, the release.
    qsizetype i = digits.size();
    while (i < shortVersion.size() && shortVersion.at(i).isLetter())
        ++i;
    QString release;
    for (; i < shortVersion.size() && shortVersion.at(i).isDigit(); ++i)
        release += shortVersion.at(i);
    return {digits.toLongLong(), withoutLeadingZeros(release)};
}

// ---- The window

checkVersScrn* checkVersScrn::shared_ = nullptr;

checkVersScrn* checkVersScrn::instance() {
    if (!shared_)
        shared_ = new checkVersScrn();
    return shared_;
}

bool checkVersScrn::exists() {
    return shared_ != nullptr;
}

void checkVersScrn::showWindow() {
    checkVersScrn* w = instance();
    w->show();
    w->raise();
    w->activateWindow();
}

QString checkVersScrn::server() {
    return serverAddress();
}

void checkVersScrn::setServer(const QString& address, int timeoutMs) {
    serverAddress() = address;
    answerTime() = timeoutMs;
}

QString checkVersScrn::versionFileUrl() {
    return server() + QStringLiteral("/NBQ/NBQVers.txt");
}

QString checkVersScrn::productPageUrl() {
    return server() + QStringLiteral("/pages/VAVava.html");
}

checkVersScrn::checkVersScrn() : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("checkVersScrn"));
    setWindowTitle(QStringLiteral("Check Version"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(kWidth, kIdleHeight);

    StaticText1 = label(this, "StaticText1", {40, 14, 360, 20},
                        QStringLiteral("Your current version of Numbrook Riza is:"), Qt::AlignHCenter,
                        kTitleBlue, true);
    StaticText2 =
        label(this, "StaticText2", {40, 35, 360, 20}, App::LongVersion(), Qt::AlignHCenter, kTitleBlue);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Separator1"));
    line->setGeometry(50, 60, 340, 4);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    StaticText3 = label(this, "StaticText3", {40, 74, 354, 55},
                        QStringLiteral("To check as to whether a more recent version exists:\n"
                                       "   1) Connect to the internet as you normally do.\n"
                                       "   2) Click the button to check with the Orlavo site."),
                        Qt::AlignLeft);
    checkBtn = button(this, "checkBtn", {140, 145, 160, 20}, QStringLiteral("Check for Update"));
    checkBtn->setDefault(true);
    progArrows = new ProgressWheel(this);
    progArrows->setObjectName(QStringLiteral("progArrows"));
    progArrows->setGeometry(350, 147, 16, 16);
    progArrows->hide();
    closeBtn = button(this, "closeBtn", {180, 180, 80, 20}, QStringLiteral("Close"));
    ResultTxt = label(this, "ResultTxt", {40, 214, 360, 48}, QString(), Qt::AlignLeft);
    ResultTxt->setWordWrap(true);
    downloadBtn = button(this, "downloadBtn", {120, 273, 200, 20}, QStringLiteral("Go to 'Orlavo' Site"));
    StaticText4 = label(this, "StaticText4", {40, 305, 354, 36},
                        QStringLiteral("Click the button to visit the <Orlavo Software> web site for more "
                                       "information about the recent version."),
                        Qt::AlignHCenter, kTitleBlue);
    StaticText4->setWordWrap(true);
    setTabOrder(checkBtn, closeBtn);
    setTabOrder(closeBtn, downloadBtn);

    mySocket = new WebClient(kMaxBody, this);
    connect(mySocket, &WebClient::pageReceived, this, [this](int status, const QByteArray& body) {
        deadline_->stop();
        pageReceived(status, body);
    });
    connect(mySocket, &WebClient::error, this, [this](int code) {
        deadline_->stop();
        socketError(code);
    });
    deadline_ = new QTimer(this);
    deadline_->setObjectName(QStringLiteral("deadline"));
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] { outOfTime(); });
    connect(checkBtn, &QPushButton::clicked, this, [this] { checkBtn_Action(); });
    connect(closeBtn, &QPushButton::clicked, this, [this] { closeBtn_Action(); });
    connect(downloadBtn, &QPushButton::clicked, this, [this] { downloadBtn_Action(); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

checkVersScrn::~checkVersScrn() {
    dropPending();
    if (shared_ == this)
        shared_ = nullptr;
}

void checkVersScrn::setHeight(int height) {
    setFixedSize(kWidth, height);
}

void checkVersScrn::dropPending() {
    deadline_->stop();
    mySocket->close();
}

void checkVersScrn::checkBtn_Action() {
    // Only the newest request may answer.
    dropPending();
    mySocket->get(QUrl(versionFileUrl()));
    // A server that answers slowly, or without end, must not keep the spinner turning.
    deadline_->start(answerTime());
    progArrows->show();
}

void checkVersScrn::outOfTime() {
    if (!mySocket->isBusy())
        return;
    dropPending();
    socketError(QNetworkReply::OperationCanceledError);
}

void checkVersScrn::pageReceived(int status, const QByteArray& body) {
    QString first;
    QString second;
    if (status == 200) {
        const QString text = QString::fromUtf8(body);
        const QStringList fields = text.split(QLatin1Char('\t'));
        const std::optional<Release> published = publishedRelease(fields.value(0));
        // A page that holds no release (a captive portal's sign-in page, an empty or moved file
        // served all the same) tells nothing of the running one.
        if (!published) {
            socketError(kNoReleaseError);
            return;
        }
        const QString note = fields.value(1);
        if (runningRelease(App::ShortVersion()) < *published) {
            first = QStringLiteral("Numbrook Riza version ") + published->shown() +
                    QStringLiteral(" is available.");
            second = note;
            setHeight(kNewerHeight);
        } else {
            first = QStringLiteral("You have the latest version");
            second = QStringLiteral("Check back for new updates");
            setHeight(kLatestHeight);
        }
    } else if (status == 404) {
        first = QStringLiteral("File Not Found");
    } else if (status == 403) {
        first = QStringLiteral("Path is Forbidden");
    } else {
        first = QStringLiteral("There was an error in getting the information.");
    }
    if (status != 200)
        setHeight(kIdleHeight);
    ResultTxt->setText(first + QLatin1Char('\n') + second);
    checkBtn->setEnabled(false);
    progArrows->hide();
}

void checkVersScrn::socketError(int code) {
    if (code == QNetworkReply::HostNotFoundError)
        ResultTxt->setText(QStringLiteral("ERROR: No internet connection found."));
    else
        ResultTxt->setText(QStringLiteral("An error occurred. Type: ") + QString::number(code));
    progArrows->hide();
}

void checkVersScrn::closeBtn_Action() {
    close();
}

void checkVersScrn::downloadBtn_Action() {
    QDesktopServices::openUrl(QUrl(productPageUrl()));
}

void checkVersScrn::keyPressEvent(QKeyEvent* event) {
    // Escape leaves the window open; only Close closes it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void checkVersScrn::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Without a title bar the box needs an edge of its own to stand out from what lies behind it.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void checkVersScrn::closeEvent(QCloseEvent* event) {
    dropPending();
    progArrows->hide();
    if (shared_ == this)
        shared_ = nullptr;
    QDialog::closeEvent(event);
}
