#include "classscrn.h"

#include "app/filetypes.h"

#include "app/helplink.h"
#include "app/media.h"
#include "app/menus.h"
#include "app/printsettings.h"
#include "classes/resetscoresscrn.h"
#include "classes/studentlistfile.h"
#include "controls/ghostef.h"
#include "controls/listfolder.h"
#include "controls/namelistctr.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "controls/printinglb.h"
#include "controls/zeriminuscontainer.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/seams.h"
#include "signin/namescrn.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_set>

namespace {

// Names as the duplicate question compares them: letter case ignored, by the same case folding, and
// without making a folded copy of every name of a long list.
struct SameIgnoringCase {
    bool operator()(QStringView a, QStringView b) const noexcept {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }
};
struct CaseFoldedHash {
    size_t operator()(QStringView text) const noexcept {
        size_t hash = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            char32_t c = text[i].unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(static_cast<char16_t>(c), text[++i].unicode());
            hash = hash * 31 + QChar::toCaseFolded(c);
        }
        return hash;
    }
};

constexpr int kHelpTopic = 4;
constexpr int kSmallText = 10;
const QColor kHeadingBlue(0x41, 0x75, 0xBD);

const QString kAddCaption = QStringLiteral("Add Name");
const QString kEditCaption = QStringLiteral("Edit Name");

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int pixelSize = 0,
                  const QColor& colour = Qt::black) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setAttribute(Qt::WA_TranslucentBackground);
    if (pixelSize > 0) {
        QFont f = label->font();
        f.setPixelSize(pixelSize);
        label->setFont(f);
    }
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    field->setPalette(pal);
    return field;
}

// A student whose password could never be typed is left out whole rather than stored without it: she
// would otherwise sign in with no password where the teacher gave her one, and nothing in the list
// would show it. Left out, she is plainly missing, and the message names her line.
void tellUnusablePasswords(const QList<StudentListFile::Student>& students) {
    if (students.isEmpty())
        return;
    constexpr qsizetype kNamed = 10;
    QStringList lines;
    for (qsizetype i = 0; i < std::min(kNamed, students.size()); ++i)
        lines << QStringLiteral("line %1 (%2)").arg(students[i].line).arg(students[i].name);
    QString named = lines.join(QStringLiteral(", "));
    if (students.size() > kNamed)
        named += QStringLiteral(" and %1 more").arg(students.size() - kNamed);
    // The lines go in the message, which the box grows to hold; the explanation has three short lines.
    const bool one = students.size() == 1;
    myGlobals::gShowMsg(true,
                        (one ? QStringLiteral("1 student was not added: ")
                             : QStringLiteral("%1 students were not added: ").arg(students.size())) +
                            named + QLatin1Char('.'),
                        one ? QStringLiteral("Its password holds a control character, which cannot be typed at "
                                             "sign-in. Add the student with a new password, or correct the file.")
                            : QStringLiteral("Their passwords hold a control character, which cannot be typed at "
                                             "sign-in. Add them with new passwords, or correct the file."));
}

} // namespace

ClassScrn* ClassScrn::shared_ = nullptr;

ClassScrn* ClassScrn::instance() {
    if (!shared_)
        shared_ = new ClassScrn();
    return shared_;
}

bool ClassScrn::exists() {
    return shared_ != nullptr;
}

QString ClassScrn::classHint() {
    return QStringLiteral("Select a class OR enter a new class");
}

ClassScrn::ClassScrn() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("ClassScrn"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Manage Classes"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    bar = new CtrlMenu(this);
    bar->attachTo(this);
    bar->bindHandlers(this);
    HelpLink::bindHelpItem(bar, this, kHelpTopic);
    if (QAction* print = bar->item(QStringLiteral("FilePrint")))
        print->setText(QStringLiteral("Print Class List"));
    if (QMenu* file = bar->menu(QStringLiteral("FileMenu")))
        connect(file, &QMenu::aboutToShow, this, &ClassScrn::Event_EnableMenuItems);

    // The background is the content area itself, stretched to whatever size the window has.
    content = new PictureCanvas(
        QStringLiteral("CustomBlueBkg"), [] { return Pictures::CustomBlueBkg(); },
        PictureCanvas::Fit::Stretch, this);
    content->setMinimumSize(64, 64);
    content->setMaximumSize(32000, 32000);
    content->resize(kDesignWidth, kDesignHeight);
    column->addWidget(content);
    content->installEventFilter(this);

    makeControls();

    resize(kDesignWidth, kDesignHeight + bar->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

ClassScrn::~ClassScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

void ClassScrn::makeControls() {
    QWidget* c = content;
    const auto place = [this](QWidget* w, const QRect& design) {
        w->setGeometry(design);
        rightColumn.append({w, design});
    };

    myNameCtr = new nameListCtr(c);
    myNameCtr->setObjectName(QStringLiteral("myNameCtr"));
    myNameCtr->setGeometry(10, 20, 464, 564);

    StaticText1 = makeLabel(c, "StaticText1", QStringLiteral("-- Add/Delete Classes --"), 0, kHeadingBlue);
    place(StaticText1, {500, 20, 260, 20});

    classFld = new ghostEF(c);
    classFld->setObjectName(QStringLiteral("classFld"));
    place(classFld, {500, 54, 260, 22});

    StaticText2 =
        makeLabel(c, "StaticText2", QStringLiteral("-- Add/Edit/Delete Students --"), 0, kHeadingBlue);
    place(StaticText2, {500, 166, 260, 20});

    stNameFld = makeField(c, "stNameFld");
    place(stNameFld, {500, 198, 260, 22});
    StaticText3 = makeLabel(c, "StaticText3", QStringLiteral("Student Name"), kSmallText);
    place(StaticText3, {500, 225, 260, 16});

    stStarsFld = makeLabel(c, "stStarsFld", QString());
    place(stStarsFld, {590, 265, 80, 22});
    StaticText6 = makeLabel(c, "StaticText6", QStringLiteral("Total Stars"), kSmallText);
    place(StaticText6, {560, 290, 140, 20});

    pwFld = makeField(c, "pwFld");
    place(pwFld, {590, 330, 80, 22});
    StaticText7 = makeLabel(c, "StaticText7", QStringLiteral("Password (optional)"), kSmallText);
    place(StaticText7, {560, 355, 140, 20});

    const auto button = [&](const char* name, const QRect& design, const QString& caption, int kind) {
        auto* b = new newCnvBtn(c);
        b->setObjectName(QLatin1String(name));
        place(b, design);
        connect(b, &newCnvBtn::Open, this, [b, caption, kind] { b->setCaption(caption, kind); });
        return b;
    };
    addBtn = button("addBtn", {570, 394, 120, 29}, kAddCaption, 1);
    closeBtn = button("closeBtn", {570, 551, 120, 29}, QStringLiteral("Close Screen"), 0);
    deleteBtn = button("deleteBtn", {570, 438, 120, 29}, QStringLiteral("Delete Student"), 0);
    deleteBtn->hide();

    ZeriMinusContainer1 = new ZeriMinusContainer(c);
    ZeriMinusContainer1->setObjectName(QStringLiteral("ZeriMinusContainer1"));
    ZeriMinusContainer1->setFocusPolicy(Qt::NoFocus);
    place(ZeriMinusContainer1, {502, 81, ZeriMinusContainer::kWidth, ZeriMinusContainer::kHeight});

    resetScrsBtn = button("resetScrsBtn", {570, 482, 120, 29}, QStringLiteral("Reset Scores"), 0);
    resetScrsBtn->hide();

    setTabOrder(classFld, stNameFld);
    setTabOrder(stNameFld, pwFld);

    // The controls' own opening: the list panel filled itself as it was made; the class field shows
    // its hint.
    classFld->setMyText(QString(), classHint());

    connect(myNameCtr, &nameListCtr::classNameSet, this, &ClassScrn::myNameCtr_classNameSet);
    connect(myNameCtr, &nameListCtr::studentNameSet, this, &ClassScrn::myNameCtr_studentNameSet);
    connect(stNameFld, &QLineEdit::returnPressed, this, &ClassScrn::enterPressed);
    connect(pwFld, &QLineEdit::returnPressed, this, &ClassScrn::enterPressed);
    connect(addBtn, &newCnvBtn::MouseUp, this, &ClassScrn::addBtn_MouseUp);
    connect(deleteBtn, &newCnvBtn::MouseUp, this, &ClassScrn::deleteBtn_MouseUp);
    connect(closeBtn, &newCnvBtn::MouseUp, this, &ClassScrn::closeBtn_MouseUp);
    connect(resetScrsBtn, &newCnvBtn::MouseUp, this, &ClassScrn::resetScrsBtn_MouseUp);
    connect(ZeriMinusContainer1, &ZeriMinusContainer::ZeriPressed, this,
            &ClassScrn::ZeriMinusContainer1_ZeriPressed);
    connect(ZeriMinusContainer1, &ZeriMinusContainer::MinusPressed, this,
            &ClassScrn::ZeriMinusContainer1_MinusPressed);
    Event_EnableMenuItems();
}

bool ClassScrn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content && event->type() == QEvent::Resize)
        layoutControls();
    return QWidget::eventFilter(watched, event);
}

void ClassScrn::layoutControls() {
    // The list keeps its distance to all four edges; the right column keeps its distance to the top
    // and the right edge, and its size.
    const int w = content->width();
    const int h = content->height();
    myNameCtr->setGeometry(10, 20, std::max(w - 336, 0), std::max(h - 36, 0));
    const int dx = w - kDesignWidth;
    for (const Placed& p : std::as_const(rightColumn)) {
        QRect r = p.design.translated(dx, 0);
        // A pressed button stands 4 pixels off its place until it is released.
        if (auto* b = qobject_cast<newCnvBtn*>(p.control); b && b->isPressed())
            r.translate(4, 4);
        p.control->setGeometry(r);
    }
}

void ClassScrn::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (opened)
        return;
    opened = true;
    Event_Open();
}

void ClassScrn::Event_Open() {
    myGlobals::showFileMarks(this, false);
    myNameCtr->setMyParent(this);
    curSelectedID = -1;
    activateWindow();
    stNameFld->setFocus();
}

void ClassScrn::Event_EnableMenuItems() {
    const bool oneClass = myNameCtr->isClassSelected();
    for (const char* name : {"FileImport", "FileExport"}) {
        if (QAction* item = bar->item(QString::fromLatin1(name)))
            item->setEnabled(oneClass);
    }
}

void ClassScrn::closeEvent(QCloseEvent* event) {
    event->accept();
    if (shared_ == this)
        shared_ = nullptr;
    // Quitting closes every window; only then does no window take over.
    if (!Menus::quitting())
        NameScrn::instance()->show();
}

// ---- The list panel's reports

void ClassScrn::myNameCtr_classNameSet(const QString& className) {
    classFld->setMyText(className, QString());
    Event_EnableMenuItems();
}

void ClassScrn::myNameCtr_studentNameSet(const QString& name, const QString& password, const QString& stars,
                                         int id, const QString& className) {
    if (name.isEmpty()) {
        toAddMode(QStringLiteral("0"));
    } else {
        stNameFld->setText(name);
        pwFld->setText(myGlobals::unscrambleStr(password));
        stStarsFld->setText(stars);
        // Shown as a real value, in black, even while the field showed its hint.
        classFld->setMyText(className, QString());
        deleteBtn->show();
        resetScrsBtn->show();
        addBtn->setCaption(kEditCaption, 1);
        addBtn->update();
    }
    curSelectedID = id;
}

void ClassScrn::toAddMode(const QString& starsText) {
    stNameFld->clear();
    pwFld->clear();
    stStarsFld->setText(starsText);
    deleteBtn->hide();
    resetScrsBtn->hide();
    addBtn->setCaption(kAddCaption, 1);
    addBtn->update();
    curSelectedID = -1;
}

// ---- The student form

void ClassScrn::enterPressed() {
    if (addBtn->myCaption() == kAddCaption)
        hndlAddingStudent();
    else
        hndlEditingStudent();
}

void ClassScrn::addBtn_MouseUp() {
    addBtn->hndlMouseUp();
    if (addBtn->myCaption() == kAddCaption)
        hndlAddingStudent();
    else if (addBtn->myCaption() == kEditCaption)
        hndlEditingStudent();
}

bool ClassScrn::classFieldEmpty() const {
    const QString text = classFld->text();
    return text.isEmpty() || text == classHint();
}

std::optional<QString> ClassScrn::storedClassOfField(const QString& notDone) const {
    if (classFieldEmpty())
        return QString();
    const QString typed = classFld->text();
    bool read = false;
    const QStringList classes = DBCtrl::classNames(&read);
    if (!read) {
        // Not "no such class": the database could not say.
        DBCtrl::tellNotDone(notDone, DBCtrl::lastError());
        return std::nullopt;
    }
    if (classes.contains(typed))
        return typed;
    const QString line = myGlobals::oneLine(typed);
    for (const QString& c : classes) {
        if (myGlobals::oneLine(c).compare(line, Qt::CaseInsensitive) == 0)
            return c;
    }
    return QString();
}

QString ClassScrn::checkedFormClass(const QString& notDone) {
    if (stNameFld->text().trimmed().isEmpty()) {
        Seams::feedback().beep();
        stNameFld->selectAll();
        return {};
    }
    if (classFieldEmpty()) {
        Seams::feedback().beep();
        myGlobals::gShowMsg(false, QStringLiteral("Please select a class from the Popup Menu"),
                            QStringLiteral("Your name will be added to that class."));
        return {};
    }
    const std::optional<QString> className = storedClassOfField(notDone);
    if (className && className->isEmpty()) {
        Seams::feedback().beep();
        myGlobals::gShowMsg(false, QStringLiteral("Please click the + button to add this class to the list."),
                            QStringLiteral("Then select this class from the drop down menu."));
    }
    return className.value_or(QString());
}

void ClassScrn::hndlAddingStudent() {
    const QString className = checkedFormClass(QStringLiteral("The student was not added"));
    if (className.isEmpty())
        return;
    const QString name = stNameFld->text().trimmed();
    const QString password = pwFld->text().trimmed();
    // The student goes into the class the field names, which the list then shows.
    if (myNameCtr->currentClass() != className) {
        QComboBox* popup = myNameCtr->classPopup();
        int index = popup->findText(className, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        // Another computer may have added the class since the list was read.
        if (index < 0) {
            const QSignalBlocker block(popup);
            popup->addItem(className);
            index = popup->count() - 1;
        }
        popup->setCurrentIndex(index);
    }
    if (myNameCtr->currentClass() == className)
        myNameCtr->addName(name, password);
    stNameFld->clear();
    pwFld->clear();
    stNameFld->setFocus();
    deleteBtn->hide();
    curSelectedID = -1;
}

void ClassScrn::hndlEditingStudent() {
    const QString className = checkedFormClass(QStringLiteral("The student's changes were not saved"));
    if (className.isEmpty())
        return;
    const QString name = stNameFld->text();
    // The stars belong to the saves that count them, not to the form: an edit writes no total at all,
    // so that stars saved meanwhile on another computer (or by a reset) stay.
    myNameCtr->editName(name, pwFld->text(), className, curSelectedID, QString());
    toAddMode(QString());
    stNameFld->setFocus();
}

void ClassScrn::deleteBtn_MouseUp() {
    deleteBtn->hndlMouseUp();
    myNameCtr->deleteSelectedStudent();
}

void ClassScrn::EditClear() {
    myNameCtr->deleteSelectedStudent();
}

void ClassScrn::resetScrsBtn_MouseUp() {
    resetScrsBtn->hndlMouseUp();
    const int id = curSelectedID;
    {
        resetScoresScrn dialog(stNameFld->text(), QString::number(id), classFld->text(), this);
        dialog.exec();
    }
    // The reset may have recounted the stars: the list and the form show the stored total, so that a
    // later edit starts from it.
    myNameCtr->refreshList();
    printingLB* list = myNameCtr->list();
    for (int row = 0; row < list->rowCount(); ++row) {
        if (myGlobals::textToInt(list->cellTag(row, 0).toString()) == id) {
            list->selectRow(row);
            break;
        }
    }
}

void ClassScrn::closeBtn_MouseUp() {
    closeBtn->hndlMouseUp();
    close();
}

void ClassScrn::FileClose() {
    close();
}

// ---- Classes

void ClassScrn::ZeriMinusContainer1_ZeriPressed() {
    if (classFieldEmpty()) {
        Seams::feedback().beep();
        return;
    }
    const QString typed = classFld->text();
    QString cleaned = myGlobals::oneLine(typed);
    cleaned.remove(QLatin1Char('\''));
    // Nothing would be left to name the class by.
    if (cleaned.trimmed().isEmpty()) {
        Seams::feedback().beep();
        return;
    }
    if (myNameCtr->addClass(typed)) {
        classFld->setMyText(QString(), classHint());
        return;
    }
    // Not added: a class of that name is stored, or the database failed and has said why itself.
    if (!DBCtrl::lastError().isValid()) {
        Seams::dialogs().plainMessage(QStringLiteral("That <Class Name> already exists"));
        classFld->setFocus();
        classFld->setSelection(0, 255);
    }
}

void ClassScrn::ZeriMinusContainer1_MinusPressed() {
    if (classFieldEmpty()) {
        Seams::feedback().beep();
        return;
    }
    const std::optional<QString> className = storedClassOfField(QStringLiteral("The class was not deleted"));
    if (!className)
        return;
    if (className->isEmpty()) {
        Seams::feedback().beep();
        return;
    }
    if (askDeleteClass(*className))
        classFld->setMyText(QString(), QString());
}

bool ClassScrn::askDeleteClass(const QString& className) {
    Seams::Question q;
    q.icon = Seams::Icon::Caution;
    q.message = QStringLiteral("Delete the ") + className +
                QStringLiteral(" class and all students from this class?");
    q.explanation = QStringLiteral("Click cancel to leave the class as is.");
    q.defaultCaption = QStringLiteral("Delete");
    q.cancelCaption = QStringLiteral("Cancel");
    if (Seams::dialogs().ask(q) != Seams::Answer::Default)
        return false;
    myNameCtr->deleteClass(className);
    return true;
}

// ---- File and Edit commands

void ClassScrn::FilePageSetup() {
    myGlobals::obtainPrinterSettings();
}

void ClassScrn::FilePrint() {
    myNameCtr->doPrinting();
}

void ClassScrn::FileExport() {
    if (myNameCtr->isClassSelected())
        myNameCtr->exportNames();
}

void ClassScrn::EditSelectAll() {
    myNameCtr->doSelectAll();
}

void ClassScrn::FileImport() {
    importNames();
}

void ClassScrn::importNames() {
    const QString className = myNameCtr->currentClass();
    if (className.isEmpty())
        return;
    Seams::FileRequest request;
    request.title = QStringLiteral("Select a text file to import");
    request.prompt =
        QStringLiteral("Select a text file (TSV) containing student names. See HELP for more info.");
    request.folder = ListFolder::start();
    request.fileTypes = {QLatin1String(FileTypes1::kText)};
    request.anyFile = true;
    const QString path = Seams::dialogs().openFile(request);
    if (path.isEmpty())
        return;
    ListFolder::remember(path);

    const StudentListFile::Contents contents = StudentListFile::readFile(path);
    const QString where = QStringLiteral("<") + QDir::toNativeSeparators(path) + QStringLiteral(">");
    switch (contents.problem) {
    case StudentListFile::Problem::None:
        break;
    case StudentListFile::Problem::CannotOpen:
        myGlobals::gShowMsg(true, QStringLiteral("The file could not be opened."),
                            QStringLiteral("Unable to read ") + where +
                                QStringLiteral(". No students were added."));
        return;
    case StudentListFile::Problem::TooLarge:
        myGlobals::gShowMsg(true, QStringLiteral("This file is too large to be a class list."),
                            where + QStringLiteral(" holds more than %1 MB; a list of a whole school is far "
                                                   "smaller. No students were added.")
                                        .arg(StudentListFile::kMaxBytes / (1024 * 1024)));
        return;
    case StudentListFile::Problem::NotText:
        myGlobals::gShowMsg(true, QStringLiteral("This file is not a text file."),
                            where +
                                QStringLiteral(" cannot be read as text. No students were added. See HELP "
                                               "for how to save a list as text."));
        return;
    case StudentListFile::Problem::NoStudents:
        myGlobals::gShowMsg(true, QStringLiteral("No student names were found in this file."),
                            QStringLiteral("Each student needs a line of its own: the name, a tab, then the "
                                           "password (optional). No students were added."));
        return;
    }

    // Every question is asked before anything is stored: the students then go in together. A file's
    // names are single lines already (the file is split at line breaks and tabs), as stored names are.
    bool read = false;
    const QList<DBCtrl::StudentRow> stored = DBCtrl::studentsOf(className, &read);
    if (!read) {
        // Without the class's names no duplicate could be asked about: nothing is added.
        DBCtrl::tellNotDone(QStringLiteral("No students were added"), DBCtrl::lastError());
        return;
    }
    std::unordered_set<QStringView, CaseFoldedHash, SameIgnoringCase> taken;
    taken.reserve(static_cast<size_t>(stored.size() + contents.students.size()));
    for (const DBCtrl::StudentRow& s : stored)
        taken.insert(s.name);
    QList<std::pair<QString, QString>> toAdd;
    toAdd.reserve(contents.students.size());
    for (const StudentListFile::Student& s : contents.students) {
        if (taken.contains(s.name) && !DBCtrl::askAddDuplicate(s.name, className))
            continue;
        taken.insert(s.name);
        toAdd.append({s.name, s.password});
    }
    if (!toAdd.isEmpty())
        DBCtrl::insertNames(toAdd, className);
    myNameCtr->refreshList();
    toAddMode(QString());
    stNameFld->setFocus();
    tellUnusablePasswords(contents.unusablePasswords);
}
