#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QUrl;
class QTextEdit;
class newCnvBtn;

// The report of an error that no code caught: the user may hand it to the mail program, go on, or
// quit. Made anew for each error with the report text.

class expReporterScrn : public QDialog {
    Q_OBJECT
public:
    explicit expReporterScrn(const QString& reportText, QWidget* parent = nullptr);

    // The mail link for a report: subject and body percent-encoded, so the mail program gets them as
    // they are (line ends included).
    static QString mailLink(const QString& body);
    // Hands a mail link to the mail program; false when none took it. Replaceable so that tests can
    // stand in for a computer without one.
    using MailOpener = std::function<bool(const QUrl&)>;
    static void setMailOpener(MailOpener opener);
    static const char* const kSupportAddress;
    static const char* const kSubject;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void reportBtn_MouseUp();
    void ignoreBtn_MouseUp();
    void quitBtn_MouseUp();

    QLabel* StaticText1;
    QLabel* errVersTxt;
    QLabel* StaticText2;
    QLabel* StaticText3;
    QLabel* StaticText4;
    QTextEdit* errFld;
    newCnvBtn* reportBtn;
    newCnvBtn* ignoreBtn;
    newCnvBtn* quitBtn;
};
