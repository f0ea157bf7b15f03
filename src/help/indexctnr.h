#pragma once

// The help topic index: a column of topics under bold headings, and the one table that turns a help
// topic number into its page. Every window passes the number of its row; the help window asks this
// panel for the page's file name.

#include <QListWidget>
#include <QStringList>
#include <QWidget>

// The list of the index. Rows are added once, in table order.
class indexLB : public QListWidget {
    Q_OBJECT
public:
    explicit indexLB(QWidget* parent = nullptr);
    // One row per "Caption,file" entry: a heading ("folder") bold and flush left, a topic indented
    // by three blanks. Each row keeps its file field as its tag (Qt::UserRole).
    void populateMe(const QStringList& entries);

protected:
    // No focus ring: neither the frame nor the current row shows that the list has the keyboard.
    void initStyleOption(QStyleOptionFrame* option) const override;
};

class indexCtnr : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 540;

    explicit indexCtnr(QWidget* parent = nullptr);

    // The 18 entries "Caption,file" in row order; the row is the topic number.
    static const QStringList& topicTable();

    // The file field of a topic: a page's file name, "folder" for a heading, empty for a number that
    // names no row.
    QString getTopic(int topic) const;

    indexLB* list() const { return myIndexLB; }

signals:
    // A row was picked: its file name, or "folder" for a heading.
    void linkClicked(const QString& fileName);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void mySetup();
    void placeControls();
    void myIndexLB_Change();

    QStringList topicArray;
    QWidget* titleCnv = nullptr;
    indexLB* myIndexLB = nullptr;
    QWidget* border = nullptr;
};
