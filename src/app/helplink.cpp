#include "helplink.h"

#include "menus.h"

#include <QAction>
#include <QWidget>

namespace HelpLink {
namespace {
Opener& opener() {
    static Opener o;
    return o;
}
} // namespace

void install(Opener o) {
    opener() = std::move(o);
}

bool available() {
    return bool(opener());
}

void open(int topic, QWidget* from) {
    if (const Opener& o = opener())
        o(topic, from);
}

void bindHelpItem(Menus::Bar* bar, QWidget* window, int topic) {
    QAction* help = bar ? bar->item(QStringLiteral("HelpHelp")) : nullptr;
    if (!help)
        return;
    QObject::disconnect(help, &QAction::triggered, nullptr, nullptr);
    help->setEnabled(available());
    QObject::connect(help, &QAction::triggered, window, [window, topic] { open(topic, window); });
}

} // namespace HelpLink
