#pragma once

// The program's list box: a multi-column list with a heading row, cell texts, per-cell tags and single
// or multiple selection, with light blue stripes on alternate rows, printing of its rows under a title,
// today's date and up to four column headings, and export of its rows to a tab-separated text file.

#include <QList>
#include <QRectF>
#include <QStringList>
#include <QTableWidget>

#include <functional>

class QPainter;

class printingLB : public QTableWidget {
    Q_OBJECT
public:
    // Data role of a cell that is printed and exported in place of its shown text (the class lists
    // show passwords scrambled but hand them out in clear).
    static constexpr int OutputTextRole = Qt::UserRole + 100;
    // Data role of a cell's tag.
    static constexpr int TagRole = Qt::UserRole;

    // Distances of the printed page, in points.
    static constexpr int kTitleDrop = 16;
    static constexpr int kDateDrop = 32;
    static constexpr int kHeadingDrop = 64;
    static constexpr int kFirstRowDrop = 80;
    static constexpr int kRowStep = 16;
    static constexpr int kFontSize = 12;

    explicit printingLB(QWidget* parent = nullptr);

    // The cell texts of a row, from the first column to the last; missing cells are empty.
    QStringList rowTexts(int row) const;
    // What printing and export use for a cell: its output text when it has one, else its shown text.
    QString outputText(int row, int column) const;

    // Appends a row with the given cell texts and returns its index.
    int addRow(const QStringList& cells);
    QVariant cellTag(int row, int column) const;

    // Whether the current cell is framed while the list has the keyboard (on unless switched off).
    bool showsFocusFrame() const { return showsFocusFrame_; }
    void setShowsFocusFrame(bool shows) { showsFocusFrame_ = shows; }

    // Column widths as percentages of the visible width, kept as the list is resized.
    void setColumnPercents(const QList<int>& percents);

    // The stripe behind a cell: even rows that are not selected get a light blue background. True
    // when it painted the background itself.
    virtual bool paintCellBackground(QPainter& g, int row, int column, const QRect& cell) const;

    // Prints the list: page setup (asked for once per run), the print dialog, then the page layout once
    // per copy asked for, all in one job. Cancelling either dialog prints nothing.
    virtual void printMe(const QString& title, const QString& header1, const QString& header2,
                         const QString& header3, const QString& header4);
    // Asks for a file and writes the list to it: the title, the headings joined by tabs, then one line
    // per row with its cells joined by tabs and no trailing tabs.
    virtual void exportMe(const QString& title, const QString& header1, const QString& header2,
                          const QString& header3, const QString& header4);

    // Lays out one copy of the list on g. printable is the printable area of the page in g's units
    // (points): its left, top and width place the columns and its bottom is the lowest baseline of a
    // row. newPage starts a new page; rows after it begin at the printable area's top.
    void printOneCopy(QPainter& g, const QRectF& printable, const QString& title, const QStringList& headings,
                      const std::function<void()>& newPage) const;

    // The exported file's text for the list (lines ended by "\n").
    QString exportText(const QString& title, const QStringList& headings) const;

    static const QColor& stripeColor();
    static const QColor& printBlue();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void applyColumnPercents();
    QList<int> percents_;
    bool showsFocusFrame_ = true;
};
