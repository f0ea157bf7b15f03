#pragma once

// The sign-in window, the hub of the student side. A student picks a class and a name, sees their
// stars, and leaves through "Play Numbrook" for a drill round (or the drill settings first) or
// through a game button for one of the games; every one of those windows shows this window again
// when it hands back. The menus lead to the help, the hall of fame and, behind the administrative
// password, the teacher's windows.
//
// The window keeps nothing across a close: every show after a close makes a new window that reads
// the classes and students from the database again and reselects the signed-in student
// (myGlobals::gCurPlayer), who then plays on with the record already loaded.

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class MenuBar1;
class PictureCanvas;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTimer;
class newCnvBtn;
class printingLB;

class NameScrn : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 800;
    static constexpr int kDesignHeight = 676;
    static constexpr int kMaxWidth = 1280;
    static constexpr int kMaxHeight = 960;
    static constexpr int kGames = 6;

    // The one window, made when there is none.
    static NameScrn* instance();
    // Whether the window exists now (it is dropped when it closes).
    static bool exists();
    // Decodes and scales the background for the window's design size ahead of its first paint.
    static void prepareBackground();

    // The windows of other parts of the program that this window opens. The part that builds such a
    // window installs its opener here; until one is installed, its button or menu item is shown
    // disabled. Windows read the openers when they are made.
    struct Links {
        std::function<void()> classLists;   // the teacher's class window; the sign-in window closes after it
        std::function<void()> preferences;  // the preferences window; the sign-in window closes after it
        std::function<void()> createSets;   // the problem-set maker, modal; the sign-in window stays
        std::function<void()> about;        // the about box, modal
        std::function<void()> help;         // a new help window showing its topic index
        std::function<void()> checkVersion; // the version check
        std::array<std::function<void()>, kGames> games; // by game button; the sign-in window closes after
        // The add-my-own-name dialog for a class (empty: none chosen), modal. When it stored a student
        // it calls refreshData(true).
        std::function<void(const QString& className)> addMyName;
    };
    static Links& links();

    // Opens a document with its default application; true when it was handed over. Replaceable so
    // that tests open nothing.
    using DocumentOpener = std::function<bool(const QString& path)>;
    static void setDocumentOpener(DocumentOpener opener);
    // The quick-start guide, beside the program.
    static QString quickStartGuidePath();

    // Fills the lists again. sel false: the window opens, and reselects the signed-in student. sel true:
    // a student was just added; selects that student in the class it went into.
    void refreshData(bool sel);
    void SetGameBtns(bool show);
    // Lays the lists and the student panel out in proportion to the window's width.
    void SetPositions();
    // Opens a teacher window: 0 the class lists, 1 the preferences, 2 the problem-set maker.
    void hndlEvent(std::uint8_t command);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    // Menu handlers, named as the items they handle.
    void HelpAboutNumbrookZeri();
    void HelpHelp();
    void HelpGettingStarted();
    void HelpCheckVersion();
    void HallofFameShowList();
    void AdminClassLists();
    void AdminCreate();
    void AdminPreferences();

private:
    NameScrn();
    ~NameScrn() override;

    void makeControls();
    void makeMenus();
    void Event_Open();
    void openTimer_Action();
    void followAnchors();

    void getClasses();
    void fillNamesList();
    void ClassList_Change();
    void NameList_Change();
    bool selectClass(const QString& className);
    int rowOfStudent(int id) const;

    bool initNewPlayer();
    void ContBtn_MouseUp();
    void gamesBtn_MouseUp(int index);
    void AddMeBtn_MouseUp();
    // Closes this window after it showed the next one; the program goes on.
    void handOver();

    void mySetup();
    void setSrcTxt();
    void getPWord(int command);

    // The controls the window lays out itself: design place and the edges they keep their distance to.
    struct Anchored {
        QWidget* control;
        QRect design;
        Qt::Edges edges;
    };
    std::vector<Anchored> anchored_;
    bool positioned_ = false; // the first SetPositions has run
    bool opened_ = false;
    bool handingOver_ = false;

    int whichRow = -1;
    QString theStudPW;
    QString curClassSel;
    int curNumStars = 0;
    bool useSamePlayer = false;

    QWidget* content;
    MenuBar1* menuBar;
    printingLB* ClassList;
    printingLB* NameList;
    QLabel* InstrFld;
    newCnvBtn* AddMeBtn;
    QLabel* platTxt;
    QTimer* starRefTimer;
    PictureCanvas* curStudTitle;
    QLineEdit* StNameFld;
    QLabel* StaticText3;
    QLineEdit* ClNameFld;
    QLabel* StaticText4;
    QFrame* ImageWell1;
    QWidget* starCnv;
    QLabel* StaticText7;
    newCnvBtn* ContBtn;
    QCheckBox* repeatBtn1;
    QLabel* rptTxt;
    QLabel* probSrcTxt;
    PictureCanvas* gamesTitle;
    std::array<newCnvBtn*, kGames> gamesBtn;
    QTimer* openTimer;

    static NameScrn* shared_;
};
