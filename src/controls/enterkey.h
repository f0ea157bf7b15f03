#pragma once

#include "data/globals.h"

#include <QKeyEvent>

// Whether a key press confirms: Return, the keypad's Enter, or a key that types the Enter character
// (some keyboards send it as text only).
inline bool isEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
           myGlobals::gIsEnterKey(event->text());
}
