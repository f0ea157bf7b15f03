#include "addnamescrn.h"

#include "controls/newcnvbtn.h"
#include "data/dbctrl.h"
#include "signin/namescrn.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  Qt::Alignment alignment = Qt::AlignCenter) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

void setColour(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    w->setPalette(pal);
}

} // namespace

addNameScrn::addNameScrn(const QString& className, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("addNameScrn"));
    setWindowTitle(QStringLiteral("Add New Name"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(380, 320);

    warnNoName =
        makeLabel(this, "warnNoName", QStringLiteral("** Please enter a name **"), {40, 11, 300, 20});
    setColour(warnNoName, QColor(5, 0, 225));
    warnNoName->hide();

    theNmFld = new QLineEdit(this);
    theNmFld->setObjectName(QStringLiteral("theNmFld"));
    theNmFld->setGeometry(40, 32, 300, 22);
    makeLabel(this, "StaticText1", QStringLiteral("Student's Name"), {40, 57, 300, 20});

    thePWFld = new QLineEdit(this);
    thePWFld->setObjectName(QStringLiteral("thePWFld"));
    thePWFld->setGeometry(90, 92, 200, 22);
    QLabel* optional =
        makeLabel(this, "StaticText5", QStringLiteral("Optional"), {293, 96, 53, 16}, Qt::AlignLeft);
    setColour(optional, QColor(255, 0, 0));
    QFont small = optional->font();
    small.setPixelSize(10);
    optional->setFont(small);
    makeLabel(this, "StaticText4", QStringLiteral("Student's Password"), {90, 117, 200, 20});

    QLabel* caption =
        makeLabel(this, "StaticText6", QStringLiteral("Add To Class:"), {40, 168, 100, 20}, Qt::AlignRight);
    caption->setAutoFillBackground(true);

    classMenu2 = new QComboBox(this);
    classMenu2->setObjectName(QStringLiteral("classMenu2"));
    classMenu2->setGeometry(148, 167, 192, 20);

    negBtn = new newCnvBtn(this);
    negBtn->setObjectName(QStringLiteral("negBtn"));
    negBtn->setGeometry(140, 266, 100, 29);
    negBtn->setCaption(QStringLiteral("Cancel"), 0);
    posBtn = new newCnvBtn(this);
    posBtn->setObjectName(QStringLiteral("posBtn"));
    posBtn->setGeometry(260, 266, 100, 29);
    posBtn->setCaption(QStringLiteral("Accept"), 1);

    setTabOrder(theNmFld, thePWFld);
    setTabOrder(thePWFld, classMenu2);
    theNmFld->installEventFilter(this);
    thePWFld->installEventFilter(this);
    connect(posBtn, &newCnvBtn::MouseUp, this, &addNameScrn::posBtn_MouseUp);
    connect(negBtn, &newCnvBtn::MouseUp, this, &addNameScrn::negBtn_MouseUp);
    connect(classMenu2, &QComboBox::currentIndexChanged, this, &addNameScrn::classMenu2_Change);

    this->className = className.isEmpty() ? QStringLiteral("Default") : className;
    buildClassMenu();

    theNmFld->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void addNameScrn::buildClassMenu() {
    {
        // Filling the pop-up chooses nothing yet.
        const QSignalBlocker block(classMenu2);
        classMenu2->clear();
        classMenu2->addItems(DBCtrl::classNames());
        classMenu2->setCurrentIndex(-1);
    }
    for (int i = 0; i < classMenu2->count(); ++i) {
        if (classMenu2->itemText(i).compare(className, Qt::CaseInsensitive) == 0) {
            classMenu2->setCurrentIndex(i); // className takes the stored spelling
            return;
        }
    }
    // No stored class of that name: none is chosen, and the student goes into the class as given,
    // which the add makes.
}

void addNameScrn::classMenu2_Change(int index) {
    if (index >= 0)
        className = classMenu2->itemText(index);
}

void addNameScrn::hndlDone() {
    const QString name = theNmFld->text();
    if (name.trimmed().isEmpty()) {
        warnNoName->show();
        return;
    }
    int addedId = 0;
    if (DBCtrl::hndlAddName(name, thePWFld->text(), className, &addedId))
        return; // back to change the name
    // A failed add has been reported; the student's texts stay for another try.
    if (addedId <= 0)
        return;
    accept();
    if (NameScrn::exists())
        NameScrn::instance()->refreshData(true);
}

void addNameScrn::posBtn_MouseUp() {
    posBtn->hndlMouseUp();
    hndlDone();
}

void addNameScrn::negBtn_MouseUp() {
    negBtn->hndlMouseUp();
    reject();
}

bool addNameScrn::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == theNmFld || watched == thePWFld) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Return and a line feed accept; the keypad's Enter does nothing.
        if (key->key() == Qt::Key_Return || key->text() == QLatin1String("\n")) {
            hndlDone();
            return true;
        }
        if (key->key() == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void addNameScrn::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the dialog, nor does Return reach a default button: there is none.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
