#include "app/buttonfaces.h"
#include "app/media.h"
#include "app/picts.h"
#include "help/helpfolder.h"
#include "signin/namescrn.h"
#include "tempresources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

class TestMedia : public QObject {
    Q_OBJECT
private slots:
    void fileNames_data();
    void fileNames();
    void catalogueHoldsEveryPictureAndSound();
    void everyNameReachesAShippedFile();
    void missingPictureIsTriedAgain();
    void loadedPictureIsKept();
    void unreadablePictureIsNoCrash();
    void soundIsTriedOncePerRun();
    void resourcesFolderIsFoundFromTheExecutable();
    void anInstalledProgramFindsWhatShipsWithIt();
    void tablesFollowTheirOrder();
    void tableEntryMissingAtStartStaysEmpty();
    void tableReadersKeepInRange();
    void buttonFacesTakeTheMaskShape();
    void buttonFacesCopeWithMissingPictures();
};

void TestMedia::fileNames_data() {
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("isSound");
    QTest::newRow("dot inside the name") << "HiLo"
                                         << "Hi.Lo.png" << false;
    QTest::newRow("blank inside the name") << "smallstar"
                                           << "small star.jpg" << false;
    QTest::newRow("old picture format ships as PNG") << "plusminuspic"
                                                     << "plusminuspic.png" << false;
    QTest::newRow("digit") << "zero"
                           << "zero.jpg" << false;
    QTest::newRow("capitalised digit") << "Seven"
                                       << "Seven.jpg" << false;
    QTest::newRow("star total") << "new15stars"
                                << "new15stars.png" << false;
    QTest::newRow("jpeg") << "TBHelp"
                          << "TBHelp.jpg" << false;
    QTest::newRow("png") << "CustomBlueBkg"
                         << "CustomBlueBkg.png" << false;
    QTest::newRow("capitalised sound") << "Wrong5"
                                       << "Wrong5.wav" << true;
    QTest::newRow("lower-case sound") << "wrong4"
                                      << "wrong4.wav" << true;
}

void TestMedia::fileNames() {
    QFETCH(QString, project);
    QFETCH(QString, file);
    QFETCH(bool, isSound);
    QCOMPARE(isSound ? ProjectMedia::soundFileName(project) : ProjectMedia::pictureFileName(project), file);

    // The file is found under exactly that name, and not under the project name.
    TempResources res;
    if (isSound) {
        QVERIFY(res.addSound(project));
        QCOMPARE(ProjectMedia::soundPath(project), res.path(file));
    } else {
        QVERIFY(res.addPicture(project, QSize(4, 3)));
        QVERIFY(QFileInfo::exists(res.path(file)));
        QCOMPARE(ProjectMedia::picture(project).size(), QSize(4, 3));
    }
}

void TestMedia::catalogueHoldsEveryPictureAndSound() {
    const QStringList pictures = ProjectMedia::pictureNames();
    const QStringList sounds = ProjectMedia::soundNames();
    QCOMPARE(pictures.size(), 72);
    QCOMPARE(sounds.size(), 25);
    QCOMPARE(QSet<QString>(pictures.begin(), pictures.end()).size(), 72);
    QCOMPARE(QSet<QString>(sounds.begin(), sounds.end()).size(), 25);
    int jpeg = 0;
    int png = 0;
    for (const QString& name : pictures) {
        const QString file = ProjectMedia::pictureFileName(name);
        jpeg += file.endsWith(QLatin1String(".jpg"));
        png += file.endsWith(QLatin1String(".png"));
    }
    QCOMPARE(jpeg, 25);
    QCOMPARE(png, 47); // 46 PNG pictures and the one old-format picture, shipped as PNG
    for (const char* name :
         {"right1", "right8", "wrong1", "Wrong5", "Wrong6", "wrong8", "round1", "round8", "blip"})
        QVERIFY2(sounds.contains(QLatin1String(name)), name);
}

void TestMedia::everyNameReachesAShippedFile() {
    // The shipped folder (the test environment points at the source tree's resources): every name the
    // code asks for must find its file there, in the exact case.
    ProjectMedia::forgetAll();
    for (const QString& name : ProjectMedia::pictureNames())
        QVERIFY2(!ProjectMedia::picture(name).isNull(), qPrintable(ProjectMedia::pictureFileName(name)));
    for (const QString& name : ProjectMedia::soundNames())
        QVERIFY2(!ProjectMedia::soundPath(name).isEmpty(), qPrintable(ProjectMedia::soundFileName(name)));
    ProjectMedia::forgetAll();
}

void TestMedia::missingPictureIsTriedAgain() {
    TempResources res;
    QVERIFY(Pictures::NoStar().isNull());
    QVERIFY(Pictures::NoStar().isNull());
    QVERIFY(res.addPicture(QStringLiteral("NoStar"), QSize(32, 32)));
    QCOMPARE(Pictures::NoStar().size(), QSize(32, 32));
}

void TestMedia::loadedPictureIsKept() {
    TempResources res;
    QVERIFY(res.addPicture(QStringLiteral("congratsBKG2"), QSize(20, 10), Qt::blue));
    const QPixmap first = Pictures::congratsBKG2();
    QVERIFY(!first.isNull());
    // Replaced and then removed on disk: the run keeps what it loaded.
    QVERIFY(res.addPicture(QStringLiteral("congratsBKG2"), QSize(5, 5), Qt::green));
    QCOMPARE(Pictures::congratsBKG2().cacheKey(), first.cacheKey());
    QVERIFY(res.remove(QStringLiteral("congratsBKG2.png")));
    QCOMPARE(Pictures::congratsBKG2().cacheKey(), first.cacheKey());
}

void TestMedia::unreadablePictureIsNoCrash() {
    TempResources res;
    QFile junk(res.path(QStringLiteral("One.jpg")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is no picture at all");
    junk.close();
    QVERIFY(Pictures::One().isNull());
    QVERIFY(res.addPicture(QStringLiteral("One"), QSize(24, 32)));
    QCOMPARE(Pictures::One().size(), QSize(24, 32));
}

void TestMedia::soundIsTriedOncePerRun() {
    TempResources res;
    QVERIFY(Sounds::blip().isEmpty());
    QVERIFY(res.addSound(QStringLiteral("blip")));
    QVERIFY2(Sounds::blip().isEmpty(), "a sound missing at its first use stays missing for the run");
    QVERIFY(res.addSound(QStringLiteral("right3")));
    QCOMPARE(Sounds::right3(), res.path(QStringLiteral("right3.wav")));
    QVERIFY(res.remove(QStringLiteral("right3.wav")));
    QCOMPARE(Sounds::right3(), res.path(QStringLiteral("right3.wav")));
}

void TestMedia::resourcesFolderIsFoundFromTheExecutable() {
    const QByteArray previous = qgetenv("NBR_RESOURCES_DIR");
    qunsetenv("NBR_RESOURCES_DIR");
    QCOMPARE(SpecialFolderWendle::BundleMacOSFolder(), QCoreApplication::applicationDirPath());

    // A program folder of the test's own, laid out as a bundle-like tree: contents/bin/program.
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    const QString exeDir = tree.filePath(QStringLiteral("contents/bin"));
    QVERIFY(QDir().mkpath(exeDir));
    qputenv("NBR_PROGRAM_DIR", exeDir.toLocal8Bit());
    QCOMPARE(SpecialFolderWendle::BundleMacOSFolder(), exeDir);
    QCOMPARE(SpecialFolderWendle::BundleContentsFolder(), tree.filePath(QStringLiteral("contents")));
    QVERIFY(SpecialFolderWendle::BundleResourcesFolder().isEmpty());

    // A "Resources" beside the program's folder is found...
    const QString besideParent = tree.filePath(QStringLiteral("contents/Resources"));
    QVERIFY(QDir().mkpath(besideParent));
    QCOMPARE(SpecialFolderWendle::BundleResourcesFolder(), besideParent);
    // ...but an installed or built program keeps the folder right beside itself, and that one wins.
    const QString beside = QDir(exeDir).filePath(QStringLiteral("Resources"));
    QVERIFY(QDir().mkpath(beside));
    const QString found = SpecialFolderWendle::BundleResourcesFolder();
    qunsetenv("NBR_PROGRAM_DIR");
    qputenv("NBR_RESOURCES_DIR", previous);
    QCOMPARE(found, beside);
}

// Installed, the program lies in bin/ and what it reads in share/numbrook-riza/; a copy of the
// program's folder as it is (or the build) keeps everything beside the program, and that wins.
void TestMedia::anInstalledProgramFindsWhatShipsWithIt() {
    const QByteArray resourcesBefore = qgetenv("NBR_RESOURCES_DIR");
    const QByteArray helpBefore = qgetenv("NBR_HELP_DIR");
    const auto putBack = qScopeGuard([&] {
        qunsetenv("NBR_PROGRAM_DIR");
        qputenv("NBR_RESOURCES_DIR", resourcesBefore);
        qputenv("NBR_HELP_DIR", helpBefore);
    });
    qunsetenv("NBR_RESOURCES_DIR");
    qunsetenv("NBR_HELP_DIR");
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(QStringLiteral("bin")));
    qputenv("NBR_PROGRAM_DIR", root.filePath(QStringLiteral("bin")).toLocal8Bit());
    const QString guideName = QStringLiteral("NBQ Quick Start Guide.rtf");

    // Nothing anywhere: no folder is made up, and the help and guide name the place beside the program.
    QVERIFY(SpecialFolderWendle::BundleResourcesFolder().isEmpty());
    QCOMPARE(HelpFolder::path(), root.filePath(QStringLiteral("bin/NBQ_Help")));
    QCOMPARE(NameScrn::quickStartGuidePath(), root.filePath(QStringLiteral("bin/") + guideName));

    const QString share = root.filePath(QStringLiteral("share/numbrook-riza"));
    QVERIFY(QDir(share).mkpath(QStringLiteral("Resources")));
    QVERIFY(QDir(share).mkpath(QStringLiteral("NBQ_Help")));
    QFile guide(QDir(share).filePath(guideName));
    QVERIFY(guide.open(QIODevice::WriteOnly));
    guide.close();
    QCOMPARE(SpecialFolderWendle::BundleResourcesFolder(), QDir(share).filePath(QStringLiteral("Resources")));
    QCOMPARE(HelpFolder::path(), QDir(share).filePath(QStringLiteral("NBQ_Help")));
    QCOMPARE(NameScrn::quickStartGuidePath(), QDir(share).filePath(guideName));

    for (const QString& name : {QStringLiteral("bin/Resources"), QStringLiteral("bin/NBQ_Help")})
        QVERIFY(root.mkpath(name));
    QFile besideGuide(root.filePath(QStringLiteral("bin/") + guideName));
    QVERIFY(besideGuide.open(QIODevice::WriteOnly));
    besideGuide.close();
    QCOMPARE(SpecialFolderWendle::BundleResourcesFolder(), root.filePath(QStringLiteral("bin/Resources")));
    QCOMPARE(HelpFolder::path(), root.filePath(QStringLiteral("bin/NBQ_Help")));
    QCOMPARE(NameScrn::quickStartGuidePath(), root.filePath(QStringLiteral("bin/") + guideName));
}

void TestMedia::tablesFollowTheirOrder() {
    TempResources res;
    // Each picture gets a width of its own, so that the tables show which picture went where.
    const QStringList digits{"zero", "One",   "Two",   "Three", "Four",  "Five",
                             "Six",  "Seven", "Eight", "Nine",  "Blank", "neg"};
    for (int i = 0; i < digits.size(); ++i)
        QVERIFY(res.addPicture(digits[i], QSize(10 + i, 5)));
    for (int half = 0; half <= 8; ++half)
        QVERIFY(res.addPicture(QStringLiteral("new%1stars").arg(half * 5), QSize(50 + half, 5)));
    myPicts::loadPics();
    for (int i = 0; i < 12; ++i)
        QCOMPARE(myPicts::numPicts()[i].width(), 10 + i);
    for (int half = 0; half <= 8; ++half)
        QCOMPARE(myPicts::myStarPict()[half].width(), 50 + half);
    QCOMPARE(myPicts::myStarPict()[3].cacheKey(), Pictures::new15stars().cacheKey());
    QCOMPARE(myPicts::digit(myPicts::kMinus).width(), 21);
}

void TestMedia::tableEntryMissingAtStartStaysEmpty() {
    TempResources res;
    QVERIFY(res.addPicture(QStringLiteral("Six"), QSize(24, 32)));
    myPicts::loadPics();
    QVERIFY(!myPicts::numPicts()[6].isNull());
    QVERIFY(myPicts::numPicts()[7].isNull());
    QVERIFY(res.addPicture(QStringLiteral("Seven"), QSize(24, 32)));
    QVERIFY(!Pictures::Seven().isNull());
    QVERIFY(myPicts::numPicts()[7].isNull());
}

void TestMedia::tableReadersKeepInRange() {
    TempResources res;
    for (int half = 0; half <= 8; ++half)
        QVERIFY(res.addPicture(QStringLiteral("new%1stars").arg(half * 5), QSize(50 + half, 5)));
    QVERIFY(res.addPicture(QStringLiteral("zero"), QSize(7, 5)));
    myPicts::loadPics();
    QCOMPARE(myPicts::stars(-3).width(), 50);
    QCOMPARE(myPicts::stars(4).width(), 54);
    QCOMPARE(myPicts::stars(99).width(), 58);
    QCOMPARE(myPicts::digit(0).width(), 7);
    QVERIFY(myPicts::digit(-1).isNull());
    QVERIFY(myPicts::digit(12).isNull());
}

void TestMedia::buttonFacesTakeTheMaskShape() {
    TempResources res;
    const QStringList faces{"CancelLrg", "ActionLrg", "yellowBtn", "GreenBtn", "ltRedBtn"};
    for (int i = 0; i < faces.size(); ++i)
        QVERIFY(res.addPicture(faces[i], QSize(20, 10), QColor::fromHsv(i * 60, 255, 200)));
    // The mask covers only the left 16 columns: white rows show, black rows hide, grey half shows.
    QImage mask(16, 10, QImage::Format_Grayscale8);
    mask.fill(255);
    for (int x = 0; x < 16; ++x) {
        mask.setPixel(x, 0, qRgb(0, 0, 0));
        mask.setPixel(x, 1, qRgb(128, 128, 128));
    }
    QVERIFY(res.addImage(QStringLiteral("MaskLrg"), mask));
    myGlobals::initPicts();
    for (int i = 0; i < 5; ++i) {
        const QImage face = myGlobals::gActionBtn()[i].toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(face.size(), QSize(20, 10));
        QCOMPARE(qAlpha(face.pixel(3, 0)), 0);
        QVERIFY(qAbs(qAlpha(face.pixel(3, 1)) - 128) <= 1);
        QCOMPARE(qAlpha(face.pixel(3, 5)), 255);
        QCOMPARE(qAlpha(face.pixel(18, 0)), 255); // beyond the mask's reach
        QCOMPARE(QColor(face.pixel(3, 5)).hue(), i * 60);
    }
}

void TestMedia::buttonFacesCopeWithMissingPictures() {
    TempResources res;
    QVERIFY(res.addPicture(QStringLiteral("GreenBtn"), QSize(20, 10)));
    myGlobals::initPicts(); // no mask, four faces missing
    QVERIFY(myGlobals::gActionBtn()[0].isNull());
    QCOMPARE(qAlpha(myGlobals::gActionBtn()[3].toImage().pixel(5, 5)), 255);
}

QTEST_MAIN(TestMedia)
#include "tst_media.moc"
