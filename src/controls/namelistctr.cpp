#include "namelistctr.h"

#include "controls/printinglb.h"
#include "data/globals.h"
#include "data/seams.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QString kAllClasses = QStringLiteral("All Classes");
const QString kDefaultClass = QStringLiteral("Default");

// Whether the student is still in the database; a question that cannot be answered counts as yes, so
// that a row is never dropped from the list for a student who may still be there.
bool studentExists(int id) {
    DBCtrl::Result r = DBCtrl::exec(QStringLiteral("SELECT StID FROM Names WHERE StID = ?"), {id});
    return !r || r.next();
}

// The password as printed and exported: in clear, so that an exported list can be imported again and
// every student can still sign in. A stored password this program cannot read gives nothing.
QString clearPassword(const QString& stored) {
    const QString clear = myGlobals::unscrambleStr(stored);
    return myGlobals::passwordMatches(clear, clear) ? clear : QString();
}

// A cell of the list. A class list holds thousands, so a cell keeps its text and tag in members of its
// own and answers for them itself, rather than in the store for any number of roles that every table
// item carries (a few allocations a cell, which made up most of the time a long list took to fill).
// Whatever is set later goes through that store as well, so the list hears of the change.
class StudentCell final : public QTableWidgetItem {
public:
    enum class Kind { Name, Password, Stars };

    StudentCell(Kind kind, const QString& text, int id = 0, const QString& className = QString())
        : QTableWidgetItem(QTableWidgetItem::UserType), kind_(kind), text_(text), id_(id), className_(className) {}

    QTableWidgetItem* clone() const override { return new StudentCell(*this); }

    QVariant data(int role) const override {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return text_;
        case printingLB::TagRole:
            if (tagSet_)
                break;
            if (kind_ == Kind::Name)
                return QString::number(id_);
            if (kind_ == Kind::Password)
                return className_;
            break;
        case printingLB::OutputTextRole:
            // Printed and exported in clear, worked out only when a list is printed or exported.
            if (kind_ == Kind::Password)
                return clearPassword(text_);
            break;
        default:
            break;
        }
        return QTableWidgetItem::data(role);
    }

    void setData(int role, const QVariant& value) override {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            text_ = value.toString();
        else if (role == printingLB::TagRole)
            tagSet_ = true;
        QTableWidgetItem::setData(role, value);
    }

private:
    Kind kind_;
    QString text_;
    int id_;
    QString className_;
    bool tagSet_ = false;
};

} // namespace

nameListCtr::nameListCtr(QWidget* parent) : QWidget(parent) {
    resize(kWidth, kHeight);

    StaticText1 = new QLabel(QStringLiteral("Select A Class:"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(20, 4, 94, 20);
    StaticText1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette labelPalette = StaticText1->palette();
    labelPalette.setColor(QPalette::WindowText, QColor(65, 117, 189));
    StaticText1->setPalette(labelPalette);

    classMenu = new QComboBox(this);
    classMenu->setObjectName(QStringLiteral("classMenu"));
    classMenu->setGeometry(116, 4, 328, 20);
    classMenu->addItem(kAllClasses);

    nameList = new printingLB(this);
    nameList->setObjectName(QStringLiteral("nameList"));
    nameList->setGeometry(0, 38, 460, 500);
    nameList->setColumnCount(3);
    nameList->setHorizontalHeaderLabels(
        {QStringLiteral("Student Name"), QStringLiteral("Password"), QStringLiteral("*s")});
    nameList->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    nameList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    nameList->horizontalHeader()->setHighlightSections(false);
    nameList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    nameList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    nameList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nameList->setShowGrid(false);
    nameList->setColumnPercents({68, 24, 8});
    setTabOrder(classMenu, nameList);

    connect(classMenu, &QComboBox::currentIndexChanged, this, &nameListCtr::classMenu_Change);
    connect(nameList, &QTableWidget::itemSelectionChanged, this, &nameListCtr::nameList_Change);

    curClass.clear();
    fillClassMenu();
}

void nameListCtr::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The list is fixed to all four edges: it grows with the panel.
    nameList->setGeometry(0, 38, std::max(width() - (kWidth - 460), 0), std::max(height() - 44, 0));
}

QString nameListCtr::starsCellText(int halfStars) {
    const auto format = [](int half) {
        const QString text = myGlobals::starText(half);
        return text.startsWith(QLatin1String("0.")) ? text.mid(1) : text;
    };
    // A list shows thousands of star totals, all of them one of the nine a student can have.
    static const std::array<QString, 9> usual = [&format] {
        std::array<QString, 9> texts;
        for (int half = 0; half < 9; ++half)
            texts[half] = format(half);
        return texts;
    }();
    return halfStars >= 0 && halfStars < 9 ? usual[halfStars] : format(halfStars);
}

int nameListCtr::halfStarsFromText(const QString& stars) {
    QString text = stars.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return 0;
    return std::clamp(static_cast<int>(std::lround(value * 2)), 0, 8);
}

void nameListCtr::fillClassMenu() {
    {
        const QSignalBlocker block(classMenu);
        classMenu->clear();
        classMenu->addItem(kAllClasses);
        bool read = false;
        classMenu->addItems(DBCtrl::classNames(&read));
        if (!read)
            DBCtrl::DisplayDatabaseError(DBCtrl::lastError());
        curClass.clear();
        classMenu->setCurrentIndex(0);
    }
    // Choosing the first row here is a choice like the user's: the window hears of it.
    classMenu_Change();
}

void nameListCtr::putStudent(int row, const DBCtrl::StudentRow& student, const QString& starsText) {
    // The cells are complete before they go into the list, which then hears of each cell once.
    nameList->setItem(row, 0, new StudentCell(StudentCell::Kind::Name, student.name, student.id));
    nameList->setItem(row, 1, new StudentCell(StudentCell::Kind::Password, student.storedPassword, 0,
                                              student.className));
    nameList->setItem(row, 2, new StudentCell(StudentCell::Kind::Stars, starsText));
}

void nameListCtr::fillNameList() {
    const bool hadSelection = !selectedRows().isEmpty();
    {
        const QSignalBlocker block(nameList);
        nameList->setUpdatesEnabled(false);
        nameList->clearSelection();
        nameList->setRowCount(0);
        bool read = false;
        const QList<DBCtrl::StudentRow> students =
            curClass.isEmpty() ? DBCtrl::allStudents(&read) : DBCtrl::studentsOf(curClass, &read);
        if (!read)
            DBCtrl::DisplayDatabaseError(DBCtrl::lastError());
        nameList->setRowCount(static_cast<int>(students.size()));
        {
            // The rows are new and nothing is drawn until the list is whole: the view need not hear of
            // each of thousands of cells.
            const QSignalBlocker quietModel(nameList->model());
            for (int row = 0; row < students.size(); ++row)
                putStudent(row, students[row], starsCellText(students[row].halfStars));
        }
        nameList->setUpdatesEnabled(true);
        nameList->viewport()->update();
    }
    // Emptying the list drops its selection, and the window's student form must hear of that.
    if (hadSelection)
        nameList_Change();
}

void nameListCtr::classMenu_Change() {
    const int index = classMenu->currentIndex();
    if (index < 0)
        return;
    const QString chosen = classMenu->itemText(index);
    curClass = chosen.compare(kAllClasses, Qt::CaseInsensitive) == 0 ? QString() : chosen;
    emit classNameSet(curClass);
    fillNameList();
}

QList<int> nameListCtr::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : nameList->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void nameListCtr::nameList_Change() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        emit studentNameSet(QString(), QString(), QStringLiteral("0"), -1, QString());
        return;
    }
    const int row = rows.first();
    const QStringList cells = nameList->rowTexts(row);
    emit studentNameSet(cells.value(0), cells.value(1), cells.value(2),
                        myGlobals::textToInt(nameList->cellTag(row, 0).toString()),
                        nameList->cellTag(row, 1).toString());
}

bool nameListCtr::addClass(const QString& name) {
    QString cleaned = myGlobals::oneLine(name);
    if (cleaned.contains(QLatin1Char('\''))) {
        cleaned.remove(QLatin1Char('\''));
        Seams::dialogs().plainMessage(QStringLiteral("The apostrophe (') is not permitted in class names."));
    }
    // A class without a name could never be chosen on its own: an empty choice means all classes.
    if (cleaned.trimmed().isEmpty())
        return false;
    // Refused when a class of that name is stored, looked for in the insert's own transaction.
    if (!DBCtrl::insertClass(cleaned, 0))
        return false;
    const QSignalBlocker block(classMenu);
    classMenu->addItem(cleaned);
    return true;
}

void nameListCtr::addName(const QString& name, const QString& password) {
    const QString className = curClass.isEmpty() ? kDefaultClass : curClass;
    int newId = 0;
    if (DBCtrl::hndlAddName(name, password, className, &newId))
        return;
    // A failed add has been reported by the database layer; the list shows only real students.
    if (newId <= 0)
        return;
    {
        const QSignalBlocker block(nameList);
        const int row = nameList->rowCount();
        nameList->insertRow(row);
        putStudent(row, {newId, myGlobals::oneLine(name), className, 0, myGlobals::scrambleStr(password)},
                   QStringLiteral("0.0"));
    }
    // Adding to a class the database did not have yet made that class; the pop-up shows it too.
    if (classMenu->findText(className, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
        const QSignalBlocker block(classMenu);
        classMenu->addItem(className);
    }
}

void nameListCtr::deleteSelectedStudent() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    Seams::Question q;
    q.icon = Seams::Icon::Caution;
    q.message = rows.size() == 1
                    ? QStringLiteral("Are you sure you want to delete ") +
                          nameList->rowTexts(rows.first()).value(0) + QStringLiteral(" from this list?")
                    : QStringLiteral("Are you sure you want to delete the selected student names?");
    q.explanation = QStringLiteral("Click 'Cancel' to leave the name. ");
    q.defaultCaption = QStringLiteral("Delete");
    q.cancelCaption = QStringLiteral("Cancel");
    if (Seams::dialogs().ask(q) != Seams::Answer::Default)
        return;
    {
        const QSignalBlocker block(nameList);
        for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
            const QString id = nameList->cellTag(*it, 0).toString();
            DBCtrl::deleteName(id);
            // A deletion that failed was reported; its row stays, as the student does.
            if (!studentExists(myGlobals::textToInt(id)))
                nameList->removeRow(*it);
        }
        nameList->clearSelection();
    }
    nameList_Change();
}

void nameListCtr::deleteClass(const QString& name) {
    DBCtrl::deleteClass(name);
    // Back on "All Classes", which refills the list with every remaining student.
    fillClassMenu();
}

void nameListCtr::setMyParent(QWidget* parent) {
    myParent = parent;
}

void nameListCtr::editName(const QString& name, const QString& password, const QString& className, int id,
                           const QString& stars) {
    DBCtrl::updateNames(name, className, QString::number(id), password,
                        stars.isEmpty() ? QString() : QString::number(halfStarsFromText(stars)));
    fillNameList();
}

void nameListCtr::doPrinting() {
    nameList->printMe(curClass.isEmpty() ? kAllClasses : curClass, QStringLiteral("Student Name"),
                      QStringLiteral("Password"), QStringLiteral("Stars"), QString());
}

void nameListCtr::doSelectAll() {
    if (nameList->rowCount() > 0)
        nameList->selectAll();
}

bool nameListCtr::isClassSelected() const {
    return !curClass.isEmpty();
}

void nameListCtr::exportNames() {
    if (nameList->rowCount() == 0)
        return;
    nameList->exportMe(curClass, QStringLiteral("Student Name"), QStringLiteral("Password"),
                       QStringLiteral("Stars"), QString());
}
