#include "newmdscrn.h"

#include "app/media.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "data/gamebests.h"
#include "data/globals.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "games/common/focuskeeper.h"
#include "games/common/gamelayout.h"
#include "settings/numbercombo.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTimer>

using GameLayout::kPurple;

namespace {

constexpr int kClockMs = 1000;
constexpr int kShowAnswersMs = 100;
constexpr int kRestoreMs = 3000;
constexpr int kMessageMs = 400;
constexpr int kNumberPixels = 18;
constexpr int kBestIndex = 1;

constexpr std::uint8_t kActionKind = 1;
constexpr std::uint8_t kLightRedKind = 4;

} // namespace

// ---- The squares

mdSquare::mdSquare(int index, newMDScrn* window, QWidget* parent)
    : mySqrBtn(parent), index_(index), window_(window) {
    setObjectName(QStringLiteral("MDBtn"));
    setFocusPolicy(Qt::NoFocus);
    // Not opaque: the face's rounded corners are transparent, and the background must show there
    // rather than what the square showed before.
    setFixedSize(48, 48);
    connect(this, &mySqrBtn::Paint, this, [this](QPainter& g) {
        const MDRules& r = window_->rules_;
        paintFace(g, *this, r.used(index_),
                  r.showNumbers() ? QString::number(r.numberOn(index_)) : QString());
    });
}

void mdSquare::paintFace(QPainter& p, const mySqrBtn& square, bool used, const QString& number) {
    const int w = square.width();
    const int h = square.height();
    const QPixmap face = used ? Pictures::selMDBtn() : Pictures::button64();
    if (face.isNull())
        p.fillRect(0, 0, w, h, used ? QColor(0xF6, 0xE3, 0xA0) : QColor(0xE8, 0xEC, 0xF8));
    else
        p.drawPixmap(QRect(0, 0, w, h), face);
    if (!number.isEmpty())
        square.drawMyNum(p, number, kNumberPixels);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, w - 1, h - 1);
}

void mdSquare::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void mdSquare::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!pressed_)
        return;
    pressed_ = false;
    window_->MDBtn_MouseUp(index_);
}

// ---- The answer fields

mdAnsFld::mdAnsFld(int index, newMDScrn* window, QWidget* parent)
    : QLineEdit(parent), index_(index), window_(window) {
    setObjectName(QStringLiteral("AnsFld"));
    GameLayout::setPixelFont(this, 12);
    setAlignment(Qt::AlignCenter);
    // The field shows exactly what was judged: nothing arrives but typed digits.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    // The Edit menu reaches a focused field directly (Cut, Clear, Undo): whatever changes its text but
    // the game and Backspace is put back, so that a found answer can neither vanish nor count twice.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (writing_) {
            kept_ = text;
        } else if (text != kept_) {
            setEntry(kept_);
            Seams::feedback().beep();
        }
    });
}

void mdAnsFld::setEntry(const QString& text) {
    if (text == this->text())
        return;
    const QScopedValueRollback<bool> ours(writing_, true);
    setText(text);
    kept_ = text;
}

void mdAnsFld::undo() {
    Seams::feedback().beep();
}

void mdAnsFld::redo() {
    Seams::feedback().beep();
}

void mdAnsFld::cut() {
    Seams::feedback().beep();
}

void mdAnsFld::paste() {
    Seams::feedback().beep();
}

bool mdAnsFld::event(QEvent* e) {
    // Tab moves between the answer fields as the game says, not along the window's focus chain.
    if (GameKeys::keepTab(e, [this](QKeyEvent* key) { keyPressEvent(key); }))
        return true;
    return QLineEdit::event(e);
}

void mdAnsFld::keyPressEvent(QKeyEvent* event) {
    if (!window_->AnsFld_KeyDown(index_, event)) {
        const QScopedValueRollback<bool> ours(writing_, true);
        QLineEdit::keyPressEvent(event);
    }
    event->accept();
}

void mdAnsFld::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    window_->AnsFld_GotFocus(index_);
}

void mdAnsFld::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button would paste the selection.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// ---- The window

newMDScrn::newMDScrn()
    : GameWindow(QStringLiteral("newMDScrn"), QStringLiteral("Math Detective"), QSize(843, 530), 11) {
    makeControls();
    InstrFld->setText(QStringLiteral(
        "1) Set the Highest Number.\n2) Select the <Factors> or <Multiples> button to begin."));
    fillData();
    hiNumFld->setFocus();
}

newMDScrn::~newMDScrn() = default;

void newMDScrn::makeControls() {
    using GameLayout::label;
    QWidget* c = content();
    const Qt::Alignment centred = Qt::AlignCenter;

    mdCtrlCnv = new PictureCanvas(
        QStringLiteral("mdCtrlCnv"), [] { return Pictures::CtrlPanel2(); }, PictureCanvas::Fit::OwnSize, c);
    GameLayout::placeAt(mdCtrlCnv, c, {610, 0, 232, 480});
    QWidget* panel = mdCtrlCnv;
    InfoTxt[0] =
        label(panel, c, QStringLiteral("InfoTxt"), QString(), {634, 86, 189, 20}, {0, Qt::black, centred});
    InfoTxt[1] =
        label(panel, c, QStringLiteral("InfoTxt"), QString(), {634, 144, 189, 20}, {0, Qt::black, centred});
    InfoTxt[0]->setProperty("index", 0);
    InfoTxt[1]->setProperty("index", 1);
    label(panel, c, QStringLiteral("showTxt1"), QStringLiteral("-- Current Player --"), {634, 60, 189, 16},
          {12, kPurple, centred});
    showTxt2 =
        label(panel, c, QStringLiteral("showTxt2"), QString(), {630, 118, 189, 16}, {12, kPurple, centred});

    auto* group = new QFrame(panel);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setFrameShape(QFrame::StyledPanel);
    group->setFrameShadow(QFrame::Sunken);
    GameLayout::placeAt(group, c, {630, 272, 192, 187});
    label(group, c, QStringLiteral("StaticText1"), QStringLiteral("Select Action:"), {636, 280, 100, 20},
          {0, kPurple});
    const auto button = [&](const char* name, int top) {
        auto* b = new newCnvBtn(group);
        b->setObjectName(QString::fromLatin1(name));
        GameLayout::placeAt(b, c, {644, top, 160, 32});
        return b;
    };
    factorBtn = button("factorBtn", 310);
    multBtn = button("multBtn", 360);
    closeBtn = button("closeBtn", 410);

    label(panel, c, QStringLiteral("StaticText2"), QStringLiteral("Highest Number:"), {634, 222, 108, 16},
          {12});
    label(panel, c, QStringLiteral("StaticText3"), QStringLiteral("Allowed Misses:"), {634, 183, 108, 20});
    missFld = new QLineEdit(panel);
    missFld->setObjectName(QStringLiteral("missFld"));
    missFld->setReadOnly(true);
    missFld->setFocusPolicy(Qt::NoFocus);
    GameLayout::placeAt(missFld, c, {750, 184, 68, 22});
    hiNumFld = new NumberCombo(QStringLiteral("hiNumFld"), panel);
    GameLayout::setPixelFont(hiNumFld, 12);
    GameLayout::placeAt(hiNumFld, c, {750, 220, 68, 22});

    for (int i = 0; i < MDRules::kSquares; ++i) {
        auto* square = new mdSquare(i, this, c);
        square->move(MDRules::squareLeft(i), MDRules::squareTop(i));
        MDBtn << square;
    }

    InstrFld = label(c, c, QStringLiteral("InstrFld"), QString(), {40, 3, 461, 65},
                     {18, Qt::black, Qt::AlignLeft | Qt::AlignVCenter});
    InstrFld->setWordWrap(true);

    for (int k = 0; k < MDRules::kFields; ++k) {
        auto* field = new mdAnsFld(k, this, c);
        GameLayout::placeAt(field, c, {520, 80 + 34 * k, 46, 26});
        AnsFld << field;
    }

    StarPict = new PictureCanvas(
        QStringLiteral("StarPict"),
        [this] { return starEarned_ ? Pictures::smallstar() : Pictures::NoStar(); },
        PictureCanvas::Fit::OwnSize, c);
    GameLayout::placeAt(StarPict, c, {527, 36, 32, 32});

    const auto timer = [this](const char* name, int ms, bool single) {
        auto* t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setInterval(ms);
        t->setSingleShot(single);
        return t;
    };
    mdGameTimer = timer("mdGameTimer", kClockMs, false);
    delayTimer = timer("delayTimer", kShowAnswersMs, true);
    auto* hiLo = new PictureCanvas(
        QStringLiteral("Canvas1"), [] { return Pictures::HiLo(); }, PictureCanvas::Fit::Stretch, c);
    GameLayout::placeAt(hiLo, c, {572, 163, 12, 154});
    restoreTimer = timer("restoreTimer", kRestoreMs, true);
    dlyMsgBoxtimer = timer("dlyMsgBoxtimer", kMessageMs, true);

    connect(factorBtn, &newCnvBtn::Open, this,
            [this] { factorBtn->setCaption(QStringLiteral("Find Factors"), kActionKind); });
    connect(multBtn, &newCnvBtn::Open, this,
            [this] { multBtn->setCaption(QStringLiteral("Find Multiples"), kActionKind); });
    connect(closeBtn, &newCnvBtn::Open, this,
            [this] { closeBtn->setCaption(QStringLiteral("Close Screen"), kLightRedKind); });
    connect(factorBtn, &newCnvBtn::MouseUp, this, [this] {
        factorBtn->hndlMouseUp();
        startRound(true);
    });
    connect(multBtn, &newCnvBtn::MouseUp, this, [this] {
        multBtn->hndlMouseUp();
        startRound(false);
    });
    connect(closeBtn, &newCnvBtn::MouseUp, this, [this] {
        closeBtn->hndlMouseUp();
        leave();
    });
    hiNumFld->fillRange(MDRules::kLowestHighNumber, MDRules::kHighestHighNumber);
    connect(hiNumFld, &QComboBox::editTextChanged, this, [this] { hiNumFld_Change(); });
    connect(mdGameTimer, &QTimer::timeout, this, &newMDScrn::mdGameTimer_Action);
    connect(delayTimer, &QTimer::timeout, this, &newMDScrn::delayTimer_Action);
    connect(restoreTimer, &QTimer::timeout, this, &newMDScrn::restoreTimer_Action);
    connect(dlyMsgBoxtimer, &QTimer::timeout, this, &newMDScrn::dlyMsgBoxtimer_Action);
}

void newMDScrn::fillData() {
    InfoTxt[0]->setText(studentName());
    InfoTxt[1]->setText(storedBest(kBestIndex));
    showTxt2->setText(firstName() + QStringLiteral("'s Best Avg. Time."));
    // A stored value outside the game's range (an old or damaged row) is held within it.
    rules_.setHighest(myGlobals::conv2Int(StRecord::HighestParam));
    hiNumFld->setTextQuietly(QString::number(rules_.highest()));
}

void newMDScrn::hiNumFld_Change() {
    keepSetting(StRecord::HighestParam,
                myGlobals::limitEntry(hiNumFld->currentText(), MDRules::kHighestHighNumber,
                                      MDRules::kLowestHighNumber));
    rules_.setHighest(myGlobals::conv2Int(StRecord::HighestParam));
    dataDirty = true;
}

// ---- Rounds

void newMDScrn::chgBtnStates(bool visible) {
    factorBtn->setVisible(visible);
    multBtn->setVisible(visible);
}

void newMDScrn::startRound(bool factors) {
    if (!rules_.roundDone() || leaving())
        return;
    chgBtnStates(false);
    // The previous round's pending answers or message must not land on the new one.
    delayTimer->stop();
    dlyMsgBoxtimer->stop();
    restoreTimer->stop();
    if (factors)
        rules_.startFactors();
    else
        rules_.startMultiples();
    repaintBoard();
    initGame();
}

void newMDScrn::initGame() {
    setupInstr = rules_.instructions(firstName());
    InstrFld->setText(setupInstr);
    starEarned_ = false;
    StarPict->update();
    for (int k = 0; k < MDRules::kFields; ++k) {
        AnsFld[k]->setEntry(QString());
        AnsFld[k]->setVisible(k < rules_.count());
    }
    missFld->setText(QString::number(rules_.missesLeft()));
    AnsFld[0]->setFocus();
    mdGameTimer->start();
}

void newMDScrn::repaintSquare(int square) {
    if (square < 0 || square >= MDBtn.size())
        return;
    MDBtn[square]->setAccessibleName(rules_.showNumbers() ? QString::number(rules_.numberOn(square))
                                                          : QString());
    MDBtn[square]->update();
}

void newMDScrn::repaintBoard() {
    for (int s = 0; s < MDBtn.size(); ++s)
        repaintSquare(s);
}

void newMDScrn::MDBtn_MouseUp(int square) {
    if (leaving())
        return;
    const MDRules::Outcome o = rules_.click(square);
    if (o.kind == MDRules::Kind::Refused) {
        Seams::feedback().beep();
        return;
    }
    repaintSquare(square);
    hndlOutcome(o, true);
}

bool newMDScrn::AnsFld_KeyDown(int field, QKeyEvent* event) {
    if (leaving())
        return true;
    if (rules_.roundDone()) {
        Seams::feedback().beep();
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        advFocus(field);
        return true;
    case Qt::Key_Backspace:
        return false;
    case Qt::Key_Escape:
        leave();
        return true;
    default:
        break;
    }
    const QString typed = event->text();
    // A modifier pressed on its own is no key yet.
    if (GameKeys::isModifierOnly(event->key()))
        return true;
    if (typed.size() != 1 || !typed[0].isDigit() || typed[0].unicode() > '9') {
        Seams::feedback().beep();
        return true;
    }
    // The entry judged is the field's text with the digit at its end, wherever the caret stands; the
    // field then shows exactly that.
    mdAnsFld* f = AnsFld[field];
    const QString judged = f->text() + typed;
    const MDRules::Outcome o = rules_.entry(judged, field);
    switch (o.kind) {
    case MDRules::Kind::Growing:
    case MDRules::Kind::Found:
    case MDRules::Kind::Won:
        f->setEntry(judged);
        f->deselect();
        f->setCursorPosition(static_cast<int>(judged.size()));
        break;
    case MDRules::Kind::Missed:
    case MDRules::Kind::Lost:
        f->setEntry(QString());
        break;
    case MDRules::Kind::Refused:
        Seams::feedback().beep();
        return true;
    }
    if (o.kind != MDRules::Kind::Growing) {
        repaintSquare(rules_.squareOf(myGlobals::textToInt(judged)));
        hndlOutcome(o, false);
        if (o.kind == MDRules::Kind::Found)
            advFocus(field);
    }
    return true;
}

void newMDScrn::hndlOutcome(const MDRules::Outcome& o, bool fromClick) {
    missFld->setText(QString::number(rules_.missesLeft()));
    switch (o.kind) {
    case MDRules::Kind::Found:
    case MDRules::Kind::Won: {
        const int field = rules_.count() - 1 - o.answer;
        if (fromClick) {
            AnsFld[field]->setEntry(QString::number(rules_.answers()[static_cast<std::size_t>(o.answer)]));
            AnsFld[field]->deselect();
        }
        if (o.kind == MDRules::Kind::Won) {
            mySounds::playRound();
            starEarned_ = true;
            StarPict->update();
            InstrFld->setText(QStringLiteral("Congratulations! You were perfect this round."));
            hndlDone(true);
        } else {
            mySounds::playRight();
            if (fromClick)
                advFocus(field);
        }
        return;
    }
    case MDRules::Kind::Missed:
    case MDRules::Kind::Lost:
        mySounds::playWrong();
        if (o.kind == MDRules::Kind::Lost) {
            InstrFld->setText(QStringLiteral("Sorry! Too many misses. Your time was not counted.\n") +
                              QStringLiteral("Click <Factors> or <Multiples> to play again."));
            hndlDone(false);
        } else if (o.warn) {
            InstrFld->setText(QStringLiteral("Careful!!! Only 1 more miss allowed."));
            restoreTimer->start();
        }
        return;
    default:
        return;
    }
}

void newMDScrn::hndlDone(bool won) {
    mdGameTimer->stop();
    restoreTimer->stop();
    // The window's own focus, which it keeps while another window is in front and gives back when
    // it is active again.
    if (QWidget* f = focusWidget(); f && AnsFld.contains(static_cast<mdAnsFld*>(f)))
        f->clearFocus();
    chgBtnStates(true);
    if (!won) {
        delayTimer->start();
        return;
    }
    const double average = rules_.average();
    if (!GameBests::beatsAverage(average, storedBest(kBestIndex)))
        return;
    const QString stored = GameBests::formatAverage(average);
    keepBest(kBestIndex, stored);
    InfoTxt[1]->setText(stored);
    dataDirty = true;
    dlyMsgBoxtimer->start();
}

void newMDScrn::advFocus(int field) {
    if (rules_.roundDone())
        return;
    const int n = rules_.count();
    std::vector<bool> empty(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        empty[static_cast<std::size_t>(k)] = AnsFld[k]->text().isEmpty();
    const int next = MDRules::nextField(field, empty);
    if (next >= 0 && next < n)
        AnsFld[next]->setFocus();
}

void newMDScrn::AnsFld_GotFocus(int field) {
    if (rules_.roundDone() || leaving() || AnsFld[field]->text().isEmpty())
        return;
    // A filled field passes the focus on, but only to an empty one: with none left the focus would
    // pass from filled field to filled field without end.
    for (int k = 0; k < rules_.count(); ++k) {
        if (k != field && AnsFld[k]->text().isEmpty()) {
            advFocus(field);
            return;
        }
    }
}

// ---- Timers

void newMDScrn::mdGameTimer_Action() {
    if (!leaving())
        rules_.tick();
}

void newMDScrn::restoreTimer_Action() {
    if (!leaving() && !rules_.roundDone())
        InstrFld->setText(setupInstr);
}

void newMDScrn::delayTimer_Action() {
    if (leaving())
        return;
    for (int k = 0; k < rules_.count() && k < AnsFld.size(); ++k)
        AnsFld[k]->setEntry(QString::number(rules_.fieldAnswer(k)));
}

void newMDScrn::dlyMsgBoxtimer_Action() {
    if (leaving())
        return;
    myGlobals::gShowMsg(false,
                        QStringLiteral("Congratulations, ") + firstName() + QStringLiteral("!\n") +
                            QStringLiteral("You have improved your average time per problem."),
                        QStringLiteral("Try to beat this score next time."));
}

void newMDScrn::stopTimers() {
    mdGameTimer->stop();
    delayTimer->stop();
    restoreTimer->stop();
    dlyMsgBoxtimer->stop();
    rules_.stop();
}
