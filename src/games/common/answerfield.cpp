#include "answerfield.h"

#include "data/seams.h"
#include "focuskeeper.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QSignalBlocker>

AnswerField::AnswerField(const QString& objectName, QWidget* parent) : QLineEdit(parent) {
    setObjectName(objectName);
    setAcceptDrops(false);
    setDragEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Anything that changed the text behind the key filter (Edit > Paste, Undo, Cut) is taken back.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text != accepted_)
            takeBack();
    });
}

void AnswerField::empty() {
    display(QString());
}

void AnswerField::setLargestTextSize(int pixels) {
    largest_ = pixels;
    fitText();
}

void AnswerField::fitText() {
    if (largest_ <= 0)
        return;
    // The frame and the text margins take a few pixels of the width.
    const int room = width() - 8;
    QFont f = font();
    int size = largest_;
    for (; size > 8; --size) {
        f.setPixelSize(size);
        if (QFontMetrics(f).horizontalAdvance(accepted_) <= room)
            break;
    }
    f.setPixelSize(size);
    setFont(f);
}

void AnswerField::display(const QString& text) {
    accepted_ = text;
    fitText();
    setText(text);
    deselect();
    setCursorPosition(int(text.size()));
}

void AnswerField::takeBack() {
    const QSignalBlocker quiet(this);
    setText(accepted_);
    setCursorPosition(int(accepted_.size()));
    Seams::feedback().beep();
}

bool AnswerField::event(QEvent* e) {
    // Tab and Backtab would move the focus before the key filter saw them.
    if (GameKeys::keepTab(e, [this](QKeyEvent* key) { keyPressEvent(key); }))
        return true;
    return QLineEdit::event(e);
}

void AnswerField::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (GameKeys::isModifierOnly(event->key()))
        return;
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
    const QString typed = event->text();
    if (!command && event->key() == Qt::Key_Backspace) {
        display(accepted_.left(accepted_.size() - 1));
        return;
    }
    if (!command && typed == QLatin1String("-")) {
        display(accepted_ + typed);
        return;
    }
    const bool digit = typed.size() == 1 && typed[0] >= QLatin1Char('0') && typed[0] <= QLatin1Char('9');
    if (!command && digit && (!gate_ || gate_())) {
        display(accepted_ + typed);
        emit digitTyped(accepted_);
        return;
    }
    Seams::feedback().beep();
}

void AnswerField::inputMethodEvent(QInputMethodEvent* event) {
    event->ignore();
}

void AnswerField::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}
