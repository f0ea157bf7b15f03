#pragma once

// The version check: shows the running version and, on request, asks the maker's web server for the
// version file "/NBQ/NBQVers.txt", compares the release published there with the running one and
// says in the window whether a newer one is out. Every answer and failure is written into the
// window; nothing here opens a dialog. A button opens the maker's product page in the browser.
//
// One window, not modal, without a title bar; it is dropped when it closes, together with any
// request still under way, so that nothing reaches a closed window.

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTimer;
class WebClient;

// The indeterminate 16 × 16 spinner shown while the version file is on its way. Its timer runs only
// while the spinner is shown.
class ProgressWheel : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWheel(QWidget* parent = nullptr);
    bool isTurning() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* timer_;
    int step_ = 0;
};

class checkVersScrn : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 442;
    static constexpr int kIdleHeight = 230;
    static constexpr int kLatestHeight = 300;
    static constexpr int kNewerHeight = 364;
    static constexpr int kDefaultTimeoutMs = 15000;
    // The most of the version file that is read: once that much has come, the answer is taken as it
    // stands and the rest is not waited for.
    static constexpr qsizetype kMaxBody = 64 * 1024;

    // The one window, made when there is none.
    static checkVersScrn* instance();
    static bool exists();
    // Shows the window, or brings the open one to the front in whatever state it is.
    static void showWindow();

    // The maker's web server (its domain is that of the support address), and the time the whole
    // answer may take, from the press of the button to its last byte, before the check counts as
    // failed. Tests point the window at a server of their own.
    static QString server();
    static void setServer(const QString& address, int timeoutMs = kDefaultTimeoutMs);

    static QString versionFileUrl();
    static QString productPageUrl();

    // What an answer of status 200 shows when its first field holds no release (text, fewer than five
    // leading digits, nothing at all): the error of an answer that cannot be read, which leaves the
    // check to be tried again.
    static constexpr int kNoReleaseError = 299; // QNetworkReply::UnknownContentError

    // A release as (year, release): the published one from field 1 of the version file, none when
    // it does not begin with five digits at least; the running one from the short version ("2012d1").
    struct Release {
        qint64 year = 0;
        QString number = QStringLiteral("0"); // the release's digits without leading zeros
        bool operator<(const Release& other) const;
        QString shown() const; // "2013r12"
    };
    static std::optional<Release> publishedRelease(const QString& field1);
    static Release runningRelease(const QString& shortVersion);

    ~checkVersScrn() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    checkVersScrn();

    void checkBtn_Action();
    void closeBtn_Action();
    void downloadBtn_Action();
    void outOfTime();
    void pageReceived(int status, const QByteArray& body);
    void socketError(int code);
    void dropPending();
    void setHeight(int height);

    static checkVersScrn* shared_;

    WebClient* mySocket = nullptr;
    QTimer* deadline_ = nullptr; // runs while a request is pending

    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QPushButton* checkBtn = nullptr;
    ProgressWheel* progArrows = nullptr;
    QPushButton* closeBtn = nullptr;
    QLabel* ResultTxt = nullptr;
    QPushButton* downloadBtn = nullptr;
    QLabel* StaticText4 = nullptr;
};
