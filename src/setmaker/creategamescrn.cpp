#include "creategamescrn.h"

#include "app/helplink.h"
#include "app/menus.h"
#include "app/printsettings.h"
#include "controls/newcnvbtn.h"
#include "controls/pressshift.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/rndset.h"
#include "data/seams.h"
#include "setentry.h"
#include "setfile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

createGameScrn* createGameScrn::shared_ = nullptr;

namespace {

const QColor kPurple(0xAC, 0x00, 0xE1);
const QString kEnterProblem = QStringLiteral("Enter Math Problem");

QFont pixelFont(int size) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(size);
    return f;
}

void setColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

QLabel* label(QWidget* parent, const char* name, QRect place, const QString& text, Qt::Alignment align,
              const QColor& colour, int pixelSize = 0) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(place);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(align | Qt::AlignVCenter);
    setColour(l, colour);
    if (pixelSize > 0)
        l->setFont(pixelFont(pixelSize));
    return l;
}

// The sign of the operation being entered. A press moves it 2 pixels right and down; the release
// moves it back and steps to the next operation.
class SignCanvas : public QWidget {
public:
    SignCanvas(QWidget* parent, std::function<QString()> sign, std::function<void()> released)
        : QWidget(parent), sign_(std::move(sign)), released_(std::move(released)) {
        setFocusPolicy(Qt::NoFocus);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(pixelFont(24));
        p.setPen(Qt::black);
        p.drawText(QPoint(2, 22), sign_());
    }
    void mousePressEvent(QMouseEvent* event) override { shift_.press(*this, event); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (shift_.release(*this, event))
            released_();
    }
    void hideEvent(QHideEvent* event) override {
        shift_.moveBack(*this);
        QWidget::hideEvent(event);
    }

private:
    std::function<QString()> sign_;
    std::function<void()> released_;
    PressShift shift_;
};

// The list's thin dotted line under every row.
class DottedRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1, Qt::DotLine));
        const int y = option.rect.bottom();
        painter->drawLine(option.rect.left(), y, option.rect.right(), y);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 16};
    }
};

void message(const QString& text, const QString& explanation = QString()) {
    Seams::dialogs().plainMessage(text, explanation);
}

} // namespace

// Which of the two arrow keys are held down now, whichever control has the keyboard. A key that goes
// down while the program is in the background is not seen, so leaving the program forgets both.
class HeldArrowKeys : public QObject {
public:
    explicit HeldArrowKeys(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }
    ~HeldArrowKeys() override { qApp->removeEventFilter(this); }

    bool up = false;
    bool down = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat())
                break;
            const bool held = event->type() == QEvent::KeyPress;
            if (key->key() == Qt::Key_Up)
                up = held;
            else if (key->key() == Qt::Key_Down)
                down = held;
            break;
        }
        case QEvent::ApplicationDeactivate:
            up = down = false;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

createGameScrn* createGameScrn::instance() {
    if (!shared_)
        shared_ = new createGameScrn;
    return shared_;
}

bool createGameScrn::exists() {
    return shared_ != nullptr;
}

createGameScrn::createGameScrn() {
    setObjectName(QStringLiteral("createGameScrn"));
    setWindowTitle(QStringLiteral("Create Problem Sets"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    // A close box and a minimise button, no zoom: the window is drawn for one size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    bar = new CtrlMenu(this);
    bar->attachTo(this);
    bar->bindHandlers(this);
    HelpLink::bindHelpItem(bar, this, 5);
    bar->item(QStringLiteral("FileOpen"))->setText(QStringLiteral("Open Set"));
    bar->item(QStringLiteral("FileNew"))->setText(QStringLiteral("New Set"));
    bar->item(QStringLiteral("FileSave"))->setText(QStringLiteral("Save Set"));

    content = new QWidget(this);
    content->setObjectName(QStringLiteral("content"));
    content->setFixedSize(400, 387);
    column->addWidget(content);
    column->setSizeConstraint(QLayout::SetFixedSize);

    arrowKeys = new HeldArrowKeys(this);
    keyTimer = new QTimer(this);
    keyTimer->setObjectName(QStringLiteral("keyTimer"));
    keyTimer->setInterval(250);
    connect(keyTimer, &QTimer::timeout, this, &createGameScrn::keyTimer_Action);
    calcTimer = new QTimer(this);
    calcTimer->setObjectName(QStringLiteral("calcTimer"));
    calcTimer->setInterval(100);
    calcTimer->setSingleShot(true);
    connect(calcTimer, &QTimer::timeout, this, &createGameScrn::calcTimer_Action);

    makeControls();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

createGameScrn::~createGameScrn() {
    stopTimers();
    if (shared_ == this)
        shared_ = nullptr;
}

void createGameScrn::makeControls() {
    const auto left = Qt::AlignLeft;
    const auto right = Qt::AlignRight;
    const auto centre = Qt::AlignHCenter;
    label(content, "StaticText2", {37, 18, 100, 20}, QStringLiteral("-- Current Set --"), centre, kPurple,
          10);

    probList = new QListWidget(content);
    probList->setObjectName(QStringLiteral("probList"));
    probList->setGeometry(36, 39, 100, 328);
    probList->setFont(pixelFont(12));
    probList->setSelectionMode(QAbstractItemView::SingleSelection);
    probList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    probList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    probList->setUniformItemSizes(true);
    probList->setItemDelegate(new DottedRows(probList));
    probList->setFrameShape(QFrame::Box);
    probList->setLineWidth(1);

    // One number beside each row the list shows.
    for (int i = 0; i < kMaxRows; ++i) {
        QLabel* n = label(content, "NumTxt", {12, 39 + 16 * i, 20, 16},
                          QString::number(i + 1) + QLatin1Char(')'), right, Qt::black);
        n->setProperty("index", i);
        NumTxt << n;
    }

    InstrTxt = label(content, "InstrTxt", {163, 18, 160, 20}, kEnterProblem, centre, kPurple);

    // "C##" and "C#": one character of any kind first (a minus sign, a digit, or something the check
    // at adding refuses), then digits only.
    topFld = new QLineEdit(content);
    topFld->setObjectName(QStringLiteral("topFld"));
    topFld->setGeometry(229, 39, 40, 22);
    topFld->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    topFld->setFont(pixelFont(12));
    topFld->setMaxLength(3);
    topFld->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\x00-\\x1F\\x7F]?[0-9]{0,2}")), topFld));
    QLabel* upTo999 =
        label(content, "StaticText6", {285, 41, 50, 20}, QStringLiteral("<=999"), left, kPurple, 9);
    upTo999->setToolTip(QStringLiteral("Enter a number less than or equal to 999"));

    funcCnv = new SignCanvas(
        content, [this] { return SetEntry::drawnSign(myFuncCt); }, [this] { funcCnv_MouseUp(); });
    funcCnv->setObjectName(QStringLiteral("funcCnv"));
    funcCnv->setGeometry(193, 65, 24, 24);

    botFld = new QLineEdit(content);
    botFld->setObjectName(QStringLiteral("botFld"));
    botFld->setGeometry(229, 67, 40, 22);
    botFld->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    botFld->setFont(pixelFont(12));
    botFld->setMaxLength(2);
    botFld->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\x00-\\x1F\\x7F]?[0-9]?")), botFld));
    QLabel* upTo99 =
        label(content, "StaticText7", {285, 68, 50, 20}, QStringLiteral("<=99"), left, kPurple, 9);
    upTo99->setToolTip(QStringLiteral("Enter a number less than or equal to 99"));

    auto* line = new QWidget(content);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(220, 94, 61, 2);
    line->setAutoFillBackground(true);
    QPalette ink = line->palette();
    ink.setColor(QPalette::Window, Qt::black);
    line->setPalette(ink);

    resultFld = label(content, "resultFld", {229, 101, 40, 20}, QString(), right, Qt::black, 12);

    QLabel* how =
        label(content, "StaticText1", {158, 137, 200, 30},
              QStringLiteral("Click on the function picture, or use the arrow keys, to cycle thru the "
                             "functions"),
              centre, kPurple, 10);
    how->setWordWrap(true);

    addBtn = new newCnvBtn(content);
    addBtn->setObjectName(QStringLiteral("addBtn"));
    addBtn->setGeometry(198, 186, 120, 29);
    connect(addBtn, &newCnvBtn::Open, this, [this] { addBtn->setCaption(QStringLiteral("Add"), 1); });
    connect(addBtn, &newCnvBtn::MouseUp, this, &createGameScrn::addBtn_MouseUp);
    label(content, "Label1", {198, 217, 120, 16}, QStringLiteral("Enter"), centre, Qt::black, 9);

    label(content, "StaticText5", {188, 253, 140, 20}, QStringLiteral("< Current Set Name >"), centre,
          Qt::black);
    nameFld = new QLineEdit(content);
    nameFld->setObjectName(QStringLiteral("nameFld"));
    nameFld->setGeometry(178, 276, 160, 22);

    CloseBtn = new newCnvBtn(content);
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    CloseBtn->setGeometry(193, 337, 120, 29);
    connect(CloseBtn, &newCnvBtn::Open, this, [this] { CloseBtn->setCaption(QStringLiteral("Close"), 0); });
    connect(CloseBtn, &newCnvBtn::MouseUp, this, &createGameScrn::CloseBtn_MouseUp);

    for (QLineEdit* field : {topFld, botFld}) {
        connect(field, &QLineEdit::returnPressed, this, &createGameScrn::doAddProb);
        // The answer is worked out a moment after the typing, from the text as the key left it.
        connect(field, &QLineEdit::textEdited, calcTimer, qOverload<>(&QTimer::start));
    }
    setTabOrder(probList, topFld);
    setTabOrder(topFld, botFld);
    setTabOrder(botFld, nameFld);
}

// ---- Opening and closing

void createGameScrn::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (opened)
        return;
    opened = true;
    Event_Open();
}

void createGameScrn::Event_Open() {
    myGlobals::showFileMarks(this, false);
    myFuncCt = 0;
    keyTimer->start();
    topFld->setFocus();
}

void createGameScrn::closeEvent(QCloseEvent* event) {
    if (!isDirty) {
        stopTimers();
        event->accept();
        return;
    }
    // This request is refused whatever the answer; when the answer lets the window go, it asks to
    // close once more, and that request finds the set clean.
    event->ignore();
    isClosing = true;
    if (!askSave())
        isClosing = false; // the window stays: New and Open clear it again rather than close it
}

void createGameScrn::stopTimers() {
    keyTimer->stop();
    calcTimer->stop();
}

// ---- The operation and the live answer

void createGameScrn::funcCnv_MouseUp() {
    setOperation(SetEntry::nextOperation(myFuncCt));
}

void createGameScrn::keyTimer_Action() {
    if (!isActiveWindow())
        return;
    if (arrowKeys->up)
        setOperation(SetEntry::nextOperation(myFuncCt));
    else if (arrowKeys->down)
        setOperation(SetEntry::previousOperation(myFuncCt));
}

void createGameScrn::setOperation(int operation) {
    myFuncCt = operation;
    funcCnv->update();
    // An answer on show belongs to the operation now chosen.
    if (!resultFld->text().isEmpty())
        calcTimer_Action();
}

void createGameScrn::calcTimer_Action() {
    resultFld->setText(SetEntry::liveAnswer(topFld->text(), botFld->text(), myFuncCt));
}

// ---- Adding and deleting problems

void createGameScrn::addBtn_MouseUp() {
    addBtn->hndlMouseUp();
    doAddProb();
}

void createGameScrn::doAddProb() {
    if (probList->count() >= kMaxRows)
        return;
    switch (SetEntry::verify(topFld->text(), botFld->text(), myFuncCt)) {
    case SetEntry::Verdict::ResetTop:
        topFldReset();
        return;
    case SetEntry::Verdict::ResetBottom:
        botFldReset();
        return;
    case SetEntry::Verdict::NotWhole:
        message(QStringLiteral("The answer must be a whole number."));
        return;
    case SetEntry::Verdict::DivideByZero:
        message(QStringLiteral("A number cannot be divided by 0."));
        return;
    case SetEntry::Verdict::Accepted:
        break;
    }
    addToList(SetEntry::rowText(topFld->text(), myFuncCt, botFld->text()));
    topFld->clear();
    botFld->clear();
    resultFld->clear();
    calcTimer->stop();
    if (probList->count() >= kMaxRows)
        setEntryOpen(false);
    setColour(InstrTxt, Qt::black);
    InstrTxt->setText(kEnterProblem);
    setDirty(true);
    if (topFld->isEnabled())
        topFld->setFocus();
}

void createGameScrn::topFldReset() {
    fieldReset(topFld);
}

void createGameScrn::botFldReset() {
    fieldReset(botFld);
}

void createGameScrn::fieldReset(QLineEdit* field) {
    Seams::feedback().beep();
    field->setText(QStringLiteral("?"));
    field->setSelection(0, 2);
    setColour(InstrTxt, QColor(0xFF, 0x00, 0x00));
    InstrTxt->setText(QStringLiteral("Entry Error"));
}

void createGameScrn::addToList(const QString& row) {
    probList->addItem(row);
}

void createGameScrn::setEntryOpen(bool open) {
    topFld->setEnabled(open);
    botFld->setEnabled(open);
    addBtn->setVisible(open);
    if (open)
        addBtn->update();
}

void createGameScrn::EditClear() {
    QListWidgetItem* selected = probList->currentItem();
    if (!selected || !selected->isSelected()) {
        Seams::feedback().beep();
        return;
    }
    delete probList->takeItem(probList->row(selected));
    if (probList->count() < kMaxRows && !topFld->isEnabled())
        setEntryOpen(true);
    if (!isDirty)
        setDirty(true);
}

void createGameScrn::setDirty(bool b) {
    isDirty = b;
    myGlobals::showFileMarks(this, b);
}

// ---- The file commands

void createGameScrn::FileNew() {
    if (isDirty) {
        askSave();
        isClosing = false;
    } else {
        reinit();
    }
}

void createGameScrn::FileOpen() {
    FileNew();
    hndlOpen();
}

void createGameScrn::FileSave() {
    hndlSave();
}

void createGameScrn::FileClose() {
    isClosing = true;
    close();
}

void createGameScrn::CloseBtn_MouseUp() {
    CloseBtn->hndlMouseUp();
    FileClose();
}

bool createGameScrn::hndlSave() {
    const QString name = nameFld->text();
    if (name.isEmpty()) {
        message(QStringLiteral("Please provide a name for this set."));
        return false;
    }
    // The name becomes a file name in the sets folder and must not lead out of it.
    if (!SetFile::nameAllowed(name)) {
        message(QStringLiteral("A set name cannot contain / or \\ or begin with a dot."));
        return false;
    }
    QStringList rows;
    for (int i = 0; i < probList->count(); ++i)
        rows << probList->item(i)->text();
    bool nameTaken = false;
    if (!SetFile::save(myPrefs::makeInputSetsFolder(), name, rows, &nameTaken)) {
        // A name already used is the teacher's to mend, unlike a full disk: say so under the message.
        message(QStringLiteral("There was an error in saving the current set."),
                nameTaken
                    ? QStringLiteral("A set named <") + name +
                          QStringLiteral("> is saved already, and a saved set is never replaced. Please "
                                         "choose a new name for this set.")
                    : QString());
        return false;
    }
    message(QStringLiteral("The problem set <") + name +
            QStringLiteral("> was saved into the <NBQ_InputSets> folder."));
    setDirty(false);
    return true;
}

void createGameScrn::hndlOpen() {
    Seams::FileRequest request;
    request.title = rndSet::openTitle();
    request.fileTypes = {QLatin1String(rndSet::kSetFileType)};
    // Only saving makes the sets folder; before the first save the chooser starts where it will be.
    request.folder = myPrefs::getInputSetsFolder();
    if (!request.folder.isEmpty() && !QFileInfo(request.folder).isDir())
        request.folder = QFileInfo(request.folder).absolutePath();
    if (request.folder.isEmpty())
        request.folder = QDir::homePath();
    const QString path = Seams::dialogs().openFile(request);
    if (path.isEmpty())
        return;
    const rndSet::SavedSetRecords records = rndSet::readSavedSetFile(path);
    if (!records.readable) {
        message(records.tooLarge ? QStringLiteral("That file is too large to be a problem set.")
                                 : QStringLiteral("That set file could not be read."));
        return;
    }
    // The drill takes at most 20 problems from a set, so no set may hold more.
    const qsizetype room = kMaxRows - probList->count();
    const qsizetype taken = std::min(room, records.texts.size());
    for (qsizetype i = 0; i < taken; ++i)
        addToList(records.texts[i]);
    nameFld->setText(SetFile::setNameOf(QFileInfo(path).fileName()));
    if (probList->count() >= kMaxRows)
        setEntryOpen(false);
    if (taken < records.texts.size() || records.leftOut)
        message(QStringLiteral("Only 20 problems fit in a set; the rest of this file was not added."));
}

void createGameScrn::reinit() {
    probList->clear();
    topFld->clear();
    botFld->clear();
    nameFld->clear();
    resultFld->clear();
    setEntryOpen(true);
}

bool createGameScrn::askSave() {
    Seams::Question q;
    q.icon = Seams::Icon::Caution;
    q.message = QStringLiteral("Do you want to save this problem set before closing?");
    q.explanation = QStringLiteral("If you don't save, your changes will be lost. ");
    q.defaultCaption = QStringLiteral("Save");
    q.alternateCaption = QStringLiteral("Don't Save");
    q.cancelCaption = QStringLiteral("Cancel");
    switch (Seams::dialogs().ask(q)) {
    case Seams::Answer::Default:
        if (!hndlSave())
            return false;
        break;
    case Seams::Answer::Alternate:
        setDirty(false);
        break;
    case Seams::Answer::Cancel:
        return false;
    }
    if (isClosing)
        QTimer::singleShot(0, this, &QWidget::close); // a close cannot be asked for inside another
    else
        reinit();
    return true;
}
