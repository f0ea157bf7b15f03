#include "app/filetypes.h"
#include "main/uiseams.h"
#include "controls/printinglb.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/rndset.h"
#include "data/strecord.h"
#include "onmodal.h"

#include <QFileDialog>

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestFileTypes : public QObject {
    Q_OBJECT
private slots:
    void tenTypesInOrder();
    void filterAdmitsItsFiles_data();
    void filterAdmitsItsFiles();
    void desktopKnowsProblemSetFiles();
    void realDialogsShowTheTablesFilters();
};

namespace {

bool admits(const QString& filter, const QString& fileName) {
    const qsizetype open = filter.indexOf(QLatin1Char('('));
    const QStringList patterns = filter.mid(open + 1).chopped(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& p : patterns) {
        const auto re = QRegularExpression::fromWildcard(p, Qt::CaseInsensitive);
        if (re.match(fileName).hasMatch())
            return true;
    }
    return false;
}

} // namespace

void TestFileTypes::tenTypesInOrder() {
    QStringList names;
    for (const FileTypes1::FileType& t : FileTypes1::all())
        names << t.name;
    QCOMPARE(names, (QStringList{"thePref", "database", "anyfile", "image/x-pict", "image/x-tiff",
                                 "image/jpeg", "image/gif", "SavedSet", "tmpfile", "text/plain"}));
    const FileTypes1::FileType* set = FileTypes1::byName(QStringLiteral("SavedSet"));
    QVERIFY(set);
    QCOMPARE(set->extensions, QStringLiteral(".nbx"));
    QCOMPARE(set->macType, QStringLiteral("NB+s"));
    QCOMPARE(set->macCreator, QStringLiteral("NBRB"));
    const QStringList text = FileTypes1::byName(QStringLiteral("text/plain"))->extensionList();
    QCOMPARE(text.size(), 18);
    QVERIFY(text.contains(QStringLiteral(".tsv"))); // class lists exported by spreadsheets
    QCOMPARE(text.last(), QStringLiteral(".txt"));
    QVERIFY(!FileTypes1::byName(QStringLiteral("savedset")));
    QVERIFY(FileTypes1::filter(QStringLiteral("nothing")).isEmpty());
}

void TestFileTypes::filterAdmitsItsFiles_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("problem set") << "SavedSet"
                                 << "Times tables.nbx" << true;
    QTest::newRow("problem set, upper case") << "SavedSet"
                                             << "WEEK3.NBX" << true;
    QTest::newRow("not a problem set") << "SavedSet"
                                       << "week3.nbx.bak" << false;
    QTest::newRow("text file for a problem set") << "SavedSet"
                                                 << "list.txt" << false;
    QTest::newRow("student list") << "text/plain"
                                  << "Grade 3.txt" << true;
    QTest::newRow("first text extension") << "text/plain"
                                          << "names.asc" << true;
    QTest::newRow("another text extension") << "text/plain"
                                            << "names.mak" << true;
    QTest::newRow("a picture is no text") << "text/plain"
                                          << "names.png" << false;
    QTest::newRow("no extension") << "text/plain"
                                  << "names" << false;
}

void TestFileTypes::filterAdmitsItsFiles() {
    QFETCH(QString, type);
    QFETCH(QString, file);
    QFETCH(bool, admitted);
    QCOMPARE(admits(FileTypes1::filter(type), file), admitted);
}

void TestFileTypes::desktopKnowsProblemSetFiles() {
    // The description that ships for the desktop, installed into a data folder of this test's own.
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkpath(QStringLiteral("mime/packages")));
    const QString shipped =
        qEnvironmentVariable("NBR_RESOURCES_DIR") + QStringLiteral("/mime/numbrook-riza.xml");
    QVERIFY2(QFile::copy(shipped, data.path() + QStringLiteral("/mime/packages/numbrook-riza.xml")),
             qPrintable(shipped));
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(QStringLiteral("Week 3.nbx"), QMimeDatabase::MatchExtension);
    QCOMPARE(type.name(), QStringLiteral("application/x-numbrook-riza-set"));
    QCOMPARE(type.comment(), QStringLiteral("Numbrook Riza problem set"));
}

// The choosers the program really opens take their filters from the table alone: the round's saved-set
// chooser and the class list export, each caught while its dialog is up.
void TestFileTypes::realDialogsShowTheTablesFilters() {
    UiSeams::Dialogs dialogs;
    Seams::setDialogs(&dialogs);
    QStringList shown;
    const auto capture = [&shown] {
        onModal([&shown](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser);
            shown = chooser->nameFilters();
        });
    };

    // The round asks for a teacher's set.
    myPrefs::initPrefs();
    myPrefs::prDataSource = 2;
    auto player = std::make_shared<StRecord>("Ann Lee", "Default", 1, QString(), 0);
    player->myParams = StRecord::defaultParams();
    myGlobals::gCurPlayer = player;
    // Cancelled, the chooser is followed by the round's note that a random set is made: closed too.
    onModal([&shown](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        QVERIFY(chooser);
        shown = chooser->nameFilters();
        onModal([](QWidget*) {});
    });
    rndSet(10, 10, 0, false, false, QDir::tempPath());
    QCOMPARE(shown, QStringList{FileTypes1::filter(QStringLiteral("SavedSet"))});
    QCOMPARE(shown.first(), QStringLiteral("Numbrook Riza problem sets (*.nbx)"));
    myGlobals::gCurPlayer.reset();

    // The export of a class list.
    shown.clear();
    printingLB list;
    list.setColumnCount(1);
    capture();
    list.exportMe("Grade 3", "Student Name", "", "", "");
    QCOMPARE(shown, QStringList{FileTypes1::filter(QStringLiteral("text/plain"))});

    Seams::setDialogs(nullptr);
}

QTEST_MAIN(TestFileTypes)
#include "tst_filetypes.moc"
