#include "main/application.h"
#include "signin/splashscrn.h"

#include <QTimer>

int main(int argc, char* argv[]) {
    App::Application app(argc, argv);
    app.installProgramServices();
    SplashScrn::instance();
    // The open step runs once the event loop is going, so that the start window is on screen first.
    QTimer::singleShot(0, &app, &App::Application::Event_Open);
    return app.exec();
}
