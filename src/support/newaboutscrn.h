#pragma once

// The about box: the maker's logo with a link to the maker's web site, the running version and build,
// and a few lines of credits. Modal; every opening makes a new box, so the texts are read anew.

#include <QDialog>

class PictureCanvas;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class StaticURL;
class newCnvBtn;

class newAboutScrn : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 470;

    // The maker's web site, shown and opened by the link on the logo.
    static QString webAddress();
    // The credits, each line ended by a line end.
    static QString creditsText();

    // The box, made when there is none; the caller shows it modally.
    static newAboutScrn* instance();
    static bool exists();
    ~newAboutScrn() override;

    void hndlContBtn();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    newAboutScrn();

    static newAboutScrn* shared_;

    PictureCanvas* Canvas1 = nullptr;
    StaticURL* myURLFld = nullptr;
    QLabel* versTxt = nullptr;
    QLabel* StaticText1 = nullptr;
    QPlainTextEdit* displayFld = nullptr;
    QLineEdit* buildFld = nullptr;
    newCnvBtn* contBtn = nullptr;
};
