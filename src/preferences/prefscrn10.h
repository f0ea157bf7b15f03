#pragma once

// The teacher's program-wide preferences in three tabs. The General tab (password, student options,
// tries, criteria) is stored only by Save, which writes what the teacher changed here over the
// preferences file as it stands then, so that another computer's change to another field survives,
// and closes the window.
// The problem source, the sound state and the three sounds act at once for the whole program, and
// the Networking tab moves the data to a shared folder and back at once; closing the window with
// its close box undoes none of these and writes nothing.
//
// There is at most one window; it is dropped when it closes, so every opening starts on the General
// tab and reads the preferences as they are then; after a move of the data it shows the preferences
// then in force, keeping what the teacher had edited. Whenever it closes, the sign-in window comes
// back.

#include "data/prefs.h"

#include <QWidget>

#include <array>

class MenuBar1;
class NumberCombo;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class newCnvBtn;

class PrefScrn10 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kContentWidth = 640;
    static constexpr int kContentHeight = 600;
    static constexpr int kHelpTopic = 6;

    // The one window, made when there is none.
    static PrefScrn10* instance();
    static bool exists();
    ~PrefScrn10() override;

    // What the Networking tab's path field shows for the location in force: in network mode the
    // shared folder itself (even while it is out of reach), otherwise the folder of the local
    // preferences file; empty when there is neither.
    static QString locationText();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    PrefScrn10();
    void makeGeneralTab(QWidget* page);
    void makeSoundsTab(QWidget* page);
    void makeNetworkingTab(QWidget* page);

    void setValues();
    // After a move: every field the teacher has not edited shows the preferences now in force.
    void showValuesInForce();
    // The problem source and the sound state, which act at once, as they are in force.
    void showChoicesInForce();
    myPrefs::Changes editedValues() const;
    void getValues();
    void setBtnState(bool show);
    void showLocation();

    void saveBtn_MouseUp();
    void clearBtn_Action();
    void probSrcBtn_Action(int index);
    void critFld_Change();
    void chgLocBtn_Action();
    void useLocalBtn_Action();
    void hearSndBtn_Action(int index);
    void sndSelect_Change(int index, int row);
    void sndStateBtn_Action(int index);

    static PrefScrn10* shared_;

    bool allowShowNotice = false;
    bool leaving_ = false;
    // The General tab as it was filled, to tell the teacher's edits from what was shown.
    myPrefs::Values shown_;
    // Clear was pressed: an empty field then means "no password", also when none was shown.
    bool passwordCleared_ = false;

    MenuBar1* bar_ = nullptr;
    QWidget* content_ = nullptr;
    QTabWidget* TabPanel1 = nullptr;
    newCnvBtn* saveBtn = nullptr;

    QLineEdit* pwFld = nullptr;
    QPushButton* clearBtn = nullptr;
    QCheckBox* allowNoClass = nullptr;
    QCheckBox* reqPWbtn = nullptr;
    QCheckBox* noAnimBox = nullptr;
    NumberCombo* NumTries = nullptr;
    std::array<QRadioButton*, 3> probSrcBtn{};
    NumberCombo* numCritFld = nullptr;
    NumberCombo* hiCritFld = nullptr;
    NumberCombo* pctCritFld = nullptr;
    QLabel* noticeFld = nullptr;

    std::array<QRadioButton*, 3> sndStateBtn{};
    std::array<QComboBox*, 3> sndSelect{};
    std::array<QPushButton*, 3> hearSndBtn{};

    QLabel* localLocFld = nullptr;
    QLineEdit* remoteLocFld = nullptr;
    QPushButton* chgLocBtn = nullptr;
    QPushButton* useLocalBtn = nullptr;
};
