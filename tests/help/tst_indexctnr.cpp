#include "app/tempresources.h"
#include "help/indexctnr.h"

#include <QSignalSpy>
#include <QTest>

class TestIndexCtnr : public QObject {
    Q_OBJECT

    static QListWidgetItem* row(indexCtnr& index, int r) { return index.list()->item(r); }
    static void pick(indexCtnr& index, int r) {
        QListWidgetItem* item = row(index, r);
        QTest::mouseClick(index.list()->viewport(), Qt::LeftButton, {},
                          index.list()->visualItemRect(item).center());
    }

private slots:
    void rowsOfTheTable_data();
    void rowsOfTheTable();
    void topicToFile_data();
    void topicToFile();
    void rowBackgroundsByIndexOnly();
    void pickingRaisesTheRowsFile();
    void titleIsBlueOverItsShadow();
    void listDrawsNoFocusRing();
    void borderStretchesItsPicture();
    void borderWithoutPictureIsFlat();
    void tallerPanelStretchesListAndBorder();
};

void TestIndexCtnr::rowsOfTheTable_data() {
    QTest::addColumn<int>("r");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("tag");
    const struct {
        const char* text;
        bool bold;
        const char* tag;
    } rows[] = {{"Basic Play:", true, "folder"},
                {"   Play Numbrook", false, "nbq_play.html"},
                {"   Individual Data", false, "nbq_indD.html"},
                {"Administration:", true, "folder"},
                {"   Class Lists", false, "nbq_cls.html"},
                {"   Creating Sets", false, "nbq_psets.html"},
                {"   Preferences", false, "nbq_pref.html"},
                {"   Networking", false, "nbq_net.html"},
                {"   Help Menu Items", false, "nbq_hlp.html"},
                {"VAVava Games:", true, "folder"},
                {"   Numbers Game", false, "nbq_01h.html"},
                {"   Math Detective", false, "nbq_02h.html"},
                {"   Math Squares", false, "nbq_03h.html"},
                {"   Math Challenge", false, "nbq_04h.html"},
                {"   Zuduzo d' Izuv", false, "nbq_05h.html"},
                {"   Mind Games", false, "nbq_06h.html"},
                {"Additional Information:", true, "folder"},
                {"   Information", false, "nbq_info.html"}};
    int r = 0;
    for (const auto& e : rows) {
        QTest::addRow("%d", r) << r << QString::fromUtf8(e.text) << e.bold << QString::fromLatin1(e.tag);
        ++r;
    }
}

void TestIndexCtnr::rowsOfTheTable() {
    QFETCH(int, r);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(QString, tag);
    indexCtnr index;
    QCOMPARE(index.list()->count(), 18);
    QCOMPARE(row(index, r)->text(), text);
    QCOMPARE(row(index, r)->font().bold(), bold);
    QCOMPARE(row(index, r)->data(Qt::UserRole).toString(), tag);
    // Row and topic number name the same page.
    QCOMPARE(index.getTopic(r), tag);
    QVERIFY(index.list()->selectedItems().isEmpty());
}

void TestIndexCtnr::topicToFile_data() {
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("file");
    QTest::newRow("drill") << 1 << "nbq_play.html";
    QTest::newRow("basket") << 14 << "nbq_05h.html";
    QTest::newRow("last") << 17 << "nbq_info.html";
    QTest::newRow("heading 0") << 0 << "folder";
    QTest::newRow("heading 3") << 3 << "folder";
    QTest::newRow("heading 9") << 9 << "folder";
    QTest::newRow("heading 16") << 16 << "folder";
    // Numbers that name no row give nothing rather than reading past the table.
    QTest::newRow("past the end") << 18 << "";
    QTest::newRow("negative") << -1 << "";
    QTest::newRow("huge") << 1000 << "";
}

void TestIndexCtnr::topicToFile() {
    QFETCH(int, topic);
    QFETCH(QString, file);
    indexCtnr index;
    QCOMPARE(index.getTopic(topic), file);
}

void TestIndexCtnr::rowBackgroundsByIndexOnly() {
    indexCtnr index;
    for (int r = 0; r < index.list()->count(); ++r) {
        const QColor expected = r % 2 == 0 ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xDD, 0xEE, 0xFF);
        QCOMPARE(row(index, r)->background().color(), expected);
    }
}

void TestIndexCtnr::pickingRaisesTheRowsFile() {
    indexCtnr index;
    index.show();
    QVERIFY(QTest::qWaitForWindowExposed(&index));
    QSignalSpy picked(&index, &indexCtnr::linkClicked);

    pick(index, 12);
    QCOMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).toString(), QStringLiteral("nbq_03h.html"));
    // The row already selected: no change, nothing raised.
    pick(index, 12);
    QCOMPARE(picked.size(), 1);
    pick(index, 9);
    QCOMPARE(picked.size(), 2);
    QCOMPARE(picked.at(1).at(0).toString(), QStringLiteral("folder"));
    // Clearing the selection raises nothing.
    index.list()->clearSelection();
    QCOMPARE(picked.size(), 2);
}

void TestIndexCtnr::titleIsBlueOverItsShadow() {
    indexCtnr index;
    index.show();
    QVERIFY(QTest::qWaitForWindowExposed(&index));
    QWidget* title = index.findChild<QWidget*>(QStringLiteral("titleCnv"));
    QVERIFY(title);
    QCOMPARE(title->geometry(), QRect(20, 2, 160, 30));
    const QImage image = title->grab().toImage();
    const auto leftmost = [&](QRgb colour) {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                    return x;
        return -1;
    };
    const int blue = leftmost(qRgb(0x41, 0x75, 0xBD));
    const int black = leftmost(qRgb(0, 0, 0));
    QVERIFY(blue >= 0);
    QVERIFY(black > blue);
    // Centred: about as much room on the left of the shadow as on the right of the text.
    int right = -1;
    for (int x = image.width() - 1; x >= 0 && right < 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0)
                right = x;
    QVERIFY2(qAbs(blue - (image.width() - 1 - right)) <= 6, qPrintable(QString::number(blue)));

    // Whole inside the canvas: the blue text stands on the baseline 22, its shadow on 24, and the
    // tops of the capitals are below the canvas's top edge.
    const auto rowsOf = [&](QRgb colour) {
        int top = -1, bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                    if (top < 0)
                        top = y;
                    bottom = y;
                }
        return std::pair{top, bottom};
    };
    const auto [blueTop, blueBottom] = rowsOf(qRgb(0x41, 0x75, 0xBD));
    const auto [blackTop, blackBottom] = rowsOf(qRgb(0, 0, 0));
    QVERIFY2(blueTop >= 2, qPrintable(QString::number(blueTop)));
    QCOMPARE(blueBottom, 21);
    QCOMPARE(blackBottom, 23);
    QCOMPARE(blackTop, blueTop + 2);
}

void TestIndexCtnr::listDrawsNoFocusRing() {
    indexCtnr index;
    index.show();
    index.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&index));
    pick(index, 4);
    QListWidget* list = index.list();
    // The list still takes the keyboard; it only draws nothing to show it has it.
    QVERIFY(list->focusPolicy() != Qt::NoFocus);
    list->clearFocus();
    QTRY_VERIFY(!list->hasFocus());
    const QImage without = list->grab().toImage();
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    const QImage with = list->grab().toImage();
    QCOMPARE(with, without);
}

void TestIndexCtnr::borderStretchesItsPicture() {
    TempResources resources;
    QImage picture(2, 10, QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y) {
        picture.setPixel(0, y, qRgb(255, 0, 0));
        picture.setPixel(1, y, qRgb(0, 0, 255));
    }
    QVERIFY(resources.addImage(QStringLiteral("newIndxbdr"), picture));
    indexCtnr index;
    QWidget* border = index.findChild<QWidget*>(QStringLiteral("border"));
    QCOMPARE(border->geometry(), QRect(192, 0, 8, 540));
    const QImage drawn = border->grab().toImage();
    for (int y : {0, 270, 539}) {
        QCOMPARE(drawn.pixel(1, y) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);
        QCOMPARE(drawn.pixel(6, y) & 0xFFFFFF, qRgb(0, 0, 255) & 0xFFFFFF);
    }
}

void TestIndexCtnr::borderWithoutPictureIsFlat() {
    TempResources noPictures;
    indexCtnr index;
    const QImage drawn = index.findChild<QWidget*>(QStringLiteral("border"))->grab().toImage();
    const QRgb first = drawn.pixel(0, 0);
    for (int x = 0; x < drawn.width(); ++x)
        for (int y = 0; y < drawn.height(); y += 37)
            QCOMPARE(drawn.pixel(x, y), first);
}

void TestIndexCtnr::tallerPanelStretchesListAndBorder() {
    indexCtnr index;
    index.show();
    QVERIFY(QTest::qWaitForWindowExposed(&index));
    index.resize(200, 700);
    QCOMPARE(index.findChild<QWidget*>(QStringLiteral("titleCnv"))->geometry(), QRect(20, 2, 160, 30));
    QCOMPARE(index.list()->geometry(), QRect(0, 32, 192, 668));
    QCOMPARE(index.findChild<QWidget*>(QStringLiteral("border"))->geometry(), QRect(192, 0, 8, 700));
}

QTEST_MAIN(TestIndexCtnr)
#include "tst_indexctnr.moc"
