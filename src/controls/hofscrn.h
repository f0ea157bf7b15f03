#pragma once

// The hall of fame: under a strip of stars and a title, every student who reached four stars with
// the date of entry, in the order the database holds them (oldest first). It only reads. There is
// at most one window: showing it again while it is open brings the same window forward without
// reading the list again.

#include <QWidget>

class QTreeWidget;

class HOFScrn : public QWidget {
    Q_OBJECT
public:
    // The one window, made (with its list) when there is none.
    static HOFScrn* shared();
    // Shows the one window, not modally, and returns at once.
    static void showList();
    // The open window, or nullptr.
    static HOFScrn* current();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit HOFScrn(QWidget* parent = nullptr);
    void HOFList_Open();
    void fitDateColumn();

    QTreeWidget* HOFList;
};
