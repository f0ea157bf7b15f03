#include "gamewindow.h"

#include "app/helplink.h"
#include "app/media.h"
#include "app/menus.h"
#include "controls/picturecanvas.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "signin/namescrn.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

GameWindow::GameWindow(const QString& objectName, const QString& title, QSize design, int helpTopic)
    : design_(design), helpTopic_(helpTopic) {
    setObjectName(objectName);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    // A close box and a minimise button, no zoom: the games are drawn for one size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    bar_ = new MenuBar1(this);
    bar_->attachTo(this);

    // The background is the content area itself, so every control sits on it at its layout place.
    content_ = new PictureCanvas(
        QStringLiteral("CustomBlueBkg"), [] { return Pictures::CustomBlueBkg(); },
        PictureCanvas::Fit::Stretch, this);
    content_->setFixedSize(design);
    // The stretched picture covers the whole content area, so nothing under it is painted first (a
    // plain light blue stands in while the picture is missing).
    content_->setAttribute(Qt::WA_OpaquePaintEvent);
    static_cast<PictureCanvas*>(content_)->setFallback(
        [](QPainter& p, const QRect& area) { p.fillRect(area, QColor(0xE4, 0xEC, 0xFF)); });
    layout()->addWidget(content_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

GameWindow::~GameWindow() = default;

void GameWindow::bindMenus() {
    bar_->bindHandlers(this);
    HelpLink::bindHelpItem(bar_, this, helpTopic_);
}

QString GameWindow::firstName() {
    return myGlobals::gCurPlayer ? myGlobals::gCurPlayer->getFirstName() : QString();
}

QString GameWindow::studentName() {
    return myGlobals::gCurPlayer ? myGlobals::gCurPlayer->curStudent : QString();
}

QString GameWindow::storedBest(int entry, const QString& none) {
    const StRecord* p = myGlobals::gCurPlayer.get();
    return p && entry < p->myZeriScrs.size() ? p->myZeriScrs[entry] : none;
}

void GameWindow::keepBest(int entry, const QString& best, const QString& filler) {
    StRecord* p = myGlobals::gCurPlayer.get();
    if (!p)
        return;
    while (p->myZeriScrs.size() <= entry)
        p->myZeriScrs << filler;
    p->myZeriScrs[entry] = best;
}

bool GameWindow::keepSetting(int param, const QString& value) {
    StRecord* p = myGlobals::gCurPlayer.get();
    if (!p)
        return false;
    while (p->myParams.size() <= param)
        p->myParams << QString();
    p->myParams[param] = value;
    return true;
}

void GameWindow::leave() {
    if (leaving_)
        return;
    leaving_ = true;
    stopTimers();
    aboutToLeave();
    // The record's own messages (a failed save) show while the game is still on screen; the student
    // goes back to the sign-in window whatever the save reported.
    if (dataDirty && myGlobals::gCurPlayer)
        myGlobals::gCurPlayer->rejoinData();
    dataDirty = false;
    close();
    if (!Menus::quitting())
        NameScrn::instance()->show();
}

void GameWindow::closeEvent(QCloseEvent* event) {
    // The close box and Quit leave at any time, also during a game.
    event->accept();
    leave();
}
