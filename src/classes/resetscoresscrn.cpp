#include "resetscoresscrn.h"

#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/seams.h"
#include "data/strecord.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSqlError>
#include <QScreen>

#include <memory>

namespace {

struct Box {
    int top;
    const char* caption;
};

constexpr Box kBoxes[resetScoresScrn::kBoxes] = {
    {120, "All Addition Facts"},           {150, "All Subtraction Facts"},
    {180, "All Multiplication Facts"},     {210, "All Division Facts"},
    {240, "Numbers Game: Difficulty=1"},   {268, "Math Detective: Difficulty=2"},
    {300, "Math Squares: Difficulty=3"},   {330, "Math Challenge: Difficulty=4"},
    {360, "Zuduzo d' Izuv: Difficulty=5"}, {390, "Mind Games: Difficulty=6"},
};

constexpr int kFirstGameBox = StRecord::kOperations;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

} // namespace

resetScoresScrn::resetScoresScrn(const QString& name, const QString& id, const QString& className,
                                 QWidget* parent)
    : QDialog(parent), rstName(name), rstID(id), rstClass(className) {
    setObjectName(QStringLiteral("resetScoresScrn"));
    setWindowTitle(QStringLiteral("Reset Scores"));
    // No close box: the dialog is left through its two buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setFixedSize(360, 480);

    makeLabel(this, "StaticText1", QStringLiteral("Reset Scores for ..."), {50, 16, 260, 20},
              QColor(0xAC, 0x00, 0xE1));
    NameFld = makeLabel(this, "NameFld", name, {50, 50, 260, 20}, Qt::black);

    selAllBox = new QCheckBox(QStringLiteral("Select All"), this);
    selAllBox->setObjectName(QStringLiteral("selAllBox"));
    selAllBox->setGeometry(24, 90, 100, 16);
    QFont small = selAllBox->font();
    small.setPixelSize(10);
    selAllBox->setFont(small);
    connect(selAllBox, &QCheckBox::clicked, this, &resetScoresScrn::selAllBox_Action);

    for (int i = 0; i < kBoxes; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(::kBoxes[i].caption), this);
        box->setObjectName(QStringLiteral("resetBox(%1)").arg(i));
        box->setGeometry(44, ::kBoxes[i].top, 260, 20);
        resetBox[static_cast<std::size_t>(i)] = box;
    }

    actionBtn = new QPushButton(QStringLiteral("Reset Selected Games"), this);
    actionBtn->setObjectName(QStringLiteral("actionBtn"));
    actionBtn->setGeometry(44, 438, 170, 20);
    actionBtn->setAutoDefault(false);
    cancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    cancelBtn->setGeometry(244, 438, 80, 20);
    cancelBtn->setDefault(true);
    connect(actionBtn, &QPushButton::clicked, this, &resetScoresScrn::actionBtn_Action);
    connect(cancelBtn, &QPushButton::clicked, this, &resetScoresScrn::cancelBtn_Action);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void resetScoresScrn::selAllBox_Action() {
    const bool on = selAllBox->isChecked();
    for (QCheckBox* box : resetBox)
        box->setChecked(on);
}

void resetScoresScrn::cancelBtn_Action() {
    closing = true;
    reject();
}

void resetScoresScrn::actionBtn_Action() {
    Ticks ticked{};
    for (int i = 0; i < kBoxes; ++i)
        ticked[static_cast<std::size_t>(i)] = resetBox[static_cast<std::size_t>(i)]->isChecked();

    std::shared_ptr<StRecord> record;
    bool anyRow = false;
    QSqlError readError;
    {
        // Only the named class is looked in; the ids compare as text.
        DBCtrl::Result rows = DBCtrl::exec(
            QStringLiteral("SELECT StID, StPW, StStars FROM Names WHERE StClass = ? ORDER BY StID"),
            {rstClass});
        if (!rows)
            readError = DBCtrl::lastError();
        while (rows.next()) {
            anyRow = true;
            if (rows.value(0).toString() == rstID) {
                record = std::make_shared<StRecord>(rstName, rstClass, myGlobals::textToInt(rstID),
                                                    rows.value(1).toString(),
                                                    myGlobals::textToInt(rows.value(2).toString()));
                break;
            }
        }
        if (!record && rows && rows->lastError().isValid())
            readError = rows->lastError();
    }
    if (readError.isValid()) {
        // Not "no such student": the database could not say.
        DBCtrl::tellNotDone(QStringLiteral("Nothing was reset"), readError,
                            QStringLiteral("The scores and stars are as they were. Please try again in a "
                                           "moment."));
    } else if (!anyRow) {
        Seams::dialogs().plainMessage(
            QStringLiteral("Unable to find this student's record in the database."));
    } else if (!record) {
        Seams::dialogs().plainMessage(QStringLiteral("Error in getting current student's info."));
    } else {
        // The recount congratulates, and enters into the hall of fame, the signed-in student. A record
        // that could not be read or reset is not kept as the signed-in student: the sign-in window
        // would play on with it, and its next save would store a reset the teacher was told did not
        // happen. The next sign-in loads the student afresh.
        myGlobals::gCurPlayer = record;
        if (!resetRecord(*record, ticked))
            myGlobals::gCurPlayer.reset();
    }
    closing = true;
    accept();
}

bool resetScoresScrn::resetRecord(StRecord& record, const Ticks& ticked) {
    record.getStudentData();
    // A row that could not be read is never written over: the database has said why.
    if (!record.loaded())
        return false;
    changeData(record, ticked);
    return record.recheckStarTot();
}

void resetScoresScrn::changeData(StRecord& record, const Ticks& ticked) {
    // Whatever was loaded, the list has a place for every game before one is written.
    const QStringList defaults = StRecord::defaultZeriScrs();
    while (record.myZeriScrs.size() < StRecord::kGames)
        record.myZeriScrs.append(defaults.at(record.myZeriScrs.size()));
    for (int i = 0; i < kBoxes; ++i) {
        if (!ticked[static_cast<std::size_t>(i)])
            continue;
        // Marked as resets, so that the save stores zeros and defaults in place of whatever the row
        // holds by then, answers another computer saved meanwhile included.
        if (i < kFirstGameBox)
            record.zeroCounts(i);
        else
            record.resetGameBest(i - kFirstGameBox);
    }
}

void resetScoresScrn::keyPressEvent(QKeyEvent* event) {
    // Escape answers neither button; Return and Enter press Cancel, the default button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void resetScoresScrn::closeEvent(QCloseEvent* event) {
    if (!closing && event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
