// The moves of the data to a shared folder as the teacher makes them in the preferences window, with a
// second temporary folder standing in for the share: what the window shows afterwards, this
// computer's preferences file, every file of the shared folder, and the messages, also as the
// program's own message boxes show them. With NBR_SHOTS_DIR set, the screen is saved as a picture
// while each of those boxes is up (run it under a window manager to see them as a teacher does).

#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/prefs_file.h"
#include "main/uiseams.h"
#include "preferences/prefscrn10.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/lookcheck.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>

using myPrefs::Values;

namespace {

template <typename T> T* control(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

QString inFolder(const QString& folder, const char* name) {
    return QDir(folder).filePath(QLatin1String(name));
}

// The program's own message boxes and questions, with the folder chooser answered by the test.
class RealBoxes : public Seams::Dialogs {
public:
    RealBoxes() { Seams::setDialogs(this); }
    ~RealBoxes() override { Seams::setDialogs(nullptr); }
    QString folder;

    void showMsg(bool isCaution, const QString& message, const QString& explanation) override {
        real.showMsg(isCaution, message, explanation);
    }
    void plainMessage(const QString& message, const QString& explanation = QString()) override {
        real.plainMessage(message, explanation);
    }
    Seams::Answer ask(const Seams::Question& question) override { return real.ask(question); }
    QString openFile(const Seams::FileRequest&) override { return {}; }
    QString saveFile(const Seams::FileRequest&) override { return {}; }
    QString selectFolder(const Seams::FileRequest&) override { return folder; }
    void showWaitWindow(const QString& text) override { real.showWaitWindow(text); }
    void closeWaitWindow() override { real.closeWaitWindow(); }

private:
    UiSeams::Dialogs real;
};

// The texts a modal window shows: its labels, its text fields and a message box's own text.
QString textOf(QWidget* modal) {
    QStringList texts;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        texts << box->text() << box->informativeText();
    for (const auto* label : modal->findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            texts << label->text();
    }
    for (const auto* edit : modal->findChildren<QPlainTextEdit*>())
        texts << edit->toPlainText();
    return texts.join(QLatin1Char('\n'));
}

} // namespace

class TestPrefsMove : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void movesThroughTheWindow_data();
    void movesThroughTheWindow();
    void theBoxesTheTeacherSees_data();
    void theBoxesTheTeacherSees();

private:
    // This computer with a database holding one student, its password, and a shared folder as the
    // row describes it. Gives the shared folder.
    QString setUp(const QString& theirPassword, const QString& ourPassword, const QString& folderHolds);
    PrefScrn10* open();

    std::unique_ptr<TestPrefs::Sandbox> sandbox_;
    std::unique_ptr<TestDoubles::RecordingFeedback> feedback_;
    std::unique_ptr<TestDoubles::OtherComputer> other_;
};

void TestPrefsMove::initTestCase() {
    mySounds::loadMySnds();
    myPrefs::setSoundStatesHandler([] { mySounds::setStates(); });
}

void TestPrefsMove::init() {
    feedback_ = std::make_unique<TestDoubles::RecordingFeedback>();
    sandbox_ = std::make_unique<TestPrefs::Sandbox>();
    myPrefs::initPrefs();
    mySounds::setStates();
}

void TestPrefsMove::cleanup() {
    other_.reset();
    if (PrefScrn10::exists())
        PrefScrn10::instance()->close();
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DBCtrl::closeDB();
    sandbox_.reset();
    feedback_.reset();
}

QString TestPrefsMove::setUp(const QString& theirPassword, const QString& ourPassword,
                             const QString& folderHolds) {
    TestDoubles::ScriptedDialogs quiet;
    myPrefs::prPassWord = ourPassword;
    myPrefs::prMaxTries = 4;
    myPrefs::writePrefFile(myPrefs::localPrefFile());
    DBCtrl::check4Database(myPrefs::getLocalDataFol());
    DBCtrl::insertName(QStringLiteral("Local Student"), QString(), QStringLiteral("Default"));
    const QString local = DBCtrl::databasePath();

    const QString share = sandbox_->folder(QStringLiteral("server/Numbrook"));
    const QString database = inFolder(share, DBCtrl::kFileName);
    if (!theirPassword.isNull()) {
        for (const char* name : {myPrefs::kOldPrefFileName, myPrefs::kPrefFileName})
            TestPrefs::writeBytes(inFolder(share, name), TestPrefs::schoolPrefs(theirPassword));
    }
    if (folderHolds.startsWith(QLatin1String("a folder named ")))
        QDir().mkpath(share + QLatin1Char('/') + folderHolds.mid(15));
    if (folderHolds == QLatin1String("damaged database")) {
        TestPrefs::writeBytes(database, QByteArray(4096, 'x'));
    } else if (folderHolds.contains(QLatin1String("database"))) {
        DBCtrl::createNewDBFile(database);
        DBCtrl::insertName(QStringLiteral("Shared Student"), QString(), QStringLiteral("Default"));
        DBCtrl::connectToDB(local);
    }
    if (folderHolds.endsWith(QLatin1String("a link at the newer name"))) {
        // A student's link to a file of the teacher's, where the folder's newer preferences name was.
        const QString teachers = sandbox_->folder(QStringLiteral("teacher")) + QStringLiteral("/.bashrc");
        TestPrefs::writeBytes(teachers, QByteArrayLiteral("the teacher's own file\n"));
        QFile::remove(inFolder(share, myPrefs::kPrefFileName));
        QFile::link(teachers, inFolder(share, myPrefs::kPrefFileName));
    }
    if (folderHolds == QLatin1String("busy database")) {
        other_ = std::make_unique<TestDoubles::OtherComputer>(database);
        other_->holdExclusiveLock();
    }
    return share;
}

PrefScrn10* TestPrefsMove::open() {
    PrefScrn10* w = PrefScrn10::instance();
    w->show();
    return w;
}

void TestPrefsMove::movesThroughTheWindow_data() {
    QTest::addColumn<QString>("theirPassword"); // both names in the folder hold it; none: no files
    QTest::addColumn<QString>("ourPassword");
    QTest::addColumn<Seams::Answer>("answer");
    QTest::addColumn<QString>("folderHolds");
    QTest::addColumn<QString>("lastMessage"); // its beginning; "%1" is the folder's database
    QTest::addColumn<QString>("passwordAfter"); // none: the move is refused
    const auto R = Seams::Answer::Default;      // "Replace"
    const auto C = Seams::Answer::Cancel;
    const QString none;
    QTest::newRow("Cancel takes the folder's")
        << "Principal" << "Teacher" << C << "database"
        << "Numbrook Riza will now use the database at the new location." << "Principal";
    QTest::newRow("Replace from an empty password")
        << "Principal" << "" << R << "database" << "The shared folder's administrative password was kept."
        << "Principal";
    // A student who saved a password of their own on this computer does not lock the teacher out.
    QTest::newRow("Replace from another password") << "Principal"
                                                   << "Student" << R << "database"
                                                   << "The shared folder's administrative password was kept."
                                                   << "Principal";
    QTest::newRow("refused: a link at the newer name")
        << "Principal"
        << "Teacher" << R << "database, a link at the newer name"
        << "Unable to create a Preferences file at the new location." << none;
    QTest::newRow("refused: another computer holds the database")
        << "Principal" << "" << R << "busy database"
        << "The student data file at <%1> is in use and could not be opened." << none;
    QTest::newRow("refused: damaged database")
        << "Principal" << "Teacher" << C << "damaged database"
        << "The file at <%1> is not a Numbrook Riza student data file, or it is damaged." << none;
    // The superuser too cannot write a file where a folder stands.
    QTest::newRow("refused: a folder where the file must go")
        << none << "Teacher" << R << "a folder named nbq10.pref"
        << "Unable to create a Preferences file at the new location." << none;
}

void TestPrefsMove::movesThroughTheWindow() {
    QFETCH(QString, theirPassword);
    QFETCH(QString, ourPassword);
    QFETCH(Seams::Answer, answer);
    QFETCH(QString, folderHolds);
    QFETCH(QString, lastMessage);
    QFETCH(QString, passwordAfter);
    const QString share = setUp(theirPassword, ourPassword, folderHolds);
    const QString database = inFolder(share, DBCtrl::kFileName);
    const QString local = DBCtrl::databasePath();
    const QMap<QString, QByteArray> shareBefore = TestPrefs::folderContents(share);
    const QByteArray localPrefsBefore = TestPrefs::readBytes(myPrefs::localPrefFile());
    // A sound choice made in the Sounds tab acts at once and is saved only by Save.
    mySounds::setSndState(0);

    TestDoubles::ScriptedDialogs dialogs;
    PrefScrn10* w = open();
    dialogs.paths.push_back(share);
    dialogs.answers.push_back(answer);
    control<QPushButton>(w, "chgLocBtn")->click();
    const QMap<QString, QByteArray> shareAfter = TestPrefs::folderContents(share);
    other_.reset();

    QVERIFY(!dialogs.messages().isEmpty());
    QVERIFY2(dialogs.messages().last().startsWith(lastMessage.arg(database)),
             qPrintable(dialogs.messages().last()));
    if (passwordAfter.isNull()) {
        QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("This Computer"));
        QCOMPARE(shareAfter, shareBefore);
        QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), localPrefsBefore);
        QCOMPARE(myPrefs::prPassWord, ourPassword);
        QCOMPARE(mySounds::getSndState(), 0);
        QCOMPARE(DBCtrl::databasePath(), local);
        QVERIFY(DBCtrl::isConnected());
        return;
    }
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
    QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(), QDir::toNativeSeparators(share));
    const bool tookTheirs = answer == Seams::Answer::Cancel;
    // The folder's sounds come with its preferences; "Replace" leaves the choice made in the tab.
    QCOMPARE(mySounds::getSndState(), tookTheirs ? 1 : 0);
    for (const QString& file : {myPrefs::localPrefFile(), inFolder(share, myPrefs::kOldPrefFileName),
                                inFolder(share, myPrefs::kPrefFileName)}) {
        const auto v = myPrefs::decodeFile(TestPrefs::readBytes(file));
        QVERIFY2(v, qPrintable(file));
        QCOMPARE(v->passWord, passwordAfter);
        QCOMPARE(v->maxTries, tookTheirs ? 6 : 4);
        QCOMPARE(v->altFileLoc, share);
    }
    QCOMPARE(DBCtrl::databasePath(), database);

    // The window now shows the preferences in force, and a plain Save writes them again, never the
    // ones it read when it opened (an empty password, this computer's criteria).
    QCOMPARE(control<QLineEdit>(w, "pwFld")->text(), passwordAfter);
    QTest::mouseClick(control<newCnvBtn>(w, "saveBtn"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QString& file : {myPrefs::localPrefFile(), inFolder(share, myPrefs::kPrefFileName)}) {
        const auto v = myPrefs::decodeFile(TestPrefs::readBytes(file));
        QVERIFY2(v, qPrintable(file));
        QCOMPARE(v->passWord, passwordAfter);
        QCOMPARE(v->maxTries, tookTheirs ? 6 : 4);
        QVERIFY(v->useAltLoc);
    }
}

void TestPrefsMove::theBoxesTheTeacherSees_data() {
    QTest::addColumn<QString>("theirPassword");
    QTest::addColumn<QString>("folderHolds");
    QTest::addColumn<QStringList>("boxes"); // the beginning of each box's text, in order
    QTest::addColumn<QString>("picture");
    QTest::newRow("a refused move")
        << QString() << "damaged database"
        << QStringList{"The file at <%1> is not a Numbrook Riza student data file, or it is damaged."}
        << "shared-refused-move.png";
    QTest::newRow("a move refused while another computer writes")
        << "Principal" << "busy database"
        << QStringList{"There is already a Pref file at that location.",
                       "The student data file at <%1> is in use and could not be opened."}
        << "shared-refused-busy.png";
    QTest::newRow("a kept password")
        << "Principal" << "database"
        << QStringList{"There is already a Pref file at that location.",
                       "Numbrook Riza will now use the database at the new location.",
                       "The shared folder's administrative password was kept."}
        << "shared-kept-password.png";
    QTest::newRow("a planted link") << "Principal"
                                    << "database, a link at the newer name"
                                    << QStringList{"There is already a Pref file at that location.",
                                                   "Unable to create a Preferences file at the new location."}
                                    << "shared-refused-link.png";
}

void TestPrefsMove::theBoxesTheTeacherSees() {
    QFETCH(QString, theirPassword);
    QFETCH(QString, folderHolds);
    QFETCH(QStringList, boxes);
    QFETCH(QString, picture);
    const QString share = setUp(theirPassword, QString(), folderHolds);
    const QString database = inFolder(share, DBCtrl::kFileName);
    RealBoxes real;
    real.folder = share;
    PrefScrn10* w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));

    // Each box that opens is read, the last one pictured, and closed: the question by its default
    // button ("Replace"), the program's message box by its Close. Should a box stay up longer than a
    // box is looked at, it is closed all the same, so that nothing hangs.
    QStringList seen;
    QPointer<QWidget> handled;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == handled || !modal->isVisible())
            return;
        handled = modal;
        QTest::qWait(300); // drawn, and placed by the window manager
        seen << textOf(modal);
        if (seen.size() == boxes.size() && !Look::shotsFolder().isEmpty())
            Look::saveShot(QGuiApplication::primaryScreen()->grabWindow(0), picture);
        if (auto* button = modal->findChild<QPushButton*>(QStringLiteral("defaultButton")))
            button->click();
        else if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Accepted);
    });
    poll.start();
    control<QPushButton>(w, "chgLocBtn")->click();
    poll.stop();

    QCOMPARE(seen.size(), boxes.size());
    for (int i = 0; i < boxes.size(); ++i)
        QVERIFY2(seen[i].contains(boxes[i].arg(database)), qPrintable(seen[i]));
}

QTEST_MAIN(TestPrefsMove)
#include "tst_prefsmove.moc"
