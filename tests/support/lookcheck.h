#pragma once

// What the tests that look at a window share: saving it as a picture under NBR_SHOTS_DIR, and
// finding a text cut off by its control or a control lying on another. The checks return what they
// found (empty when all is well), so that a test asserts on it and names the culprit:
//     const QString cut = Look::firstCutOff(shown);
//     QVERIFY2(cut.isEmpty(), qPrintable(cut));

#include "controls/newcnvbtn.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

namespace Look {

// The folder the pictures go to, made if need be; empty when NBR_SHOTS_DIR is not set.
inline QString shotsFolder() {
    const QString folder = qEnvironmentVariable("NBR_SHOTS_DIR");
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    return folder;
}

// Saves the picture as fileName in the shots folder. True when it was saved or no folder is set.
inline bool saveShot(const QImage& picture, const QString& fileName) {
    const QString folder = shotsFolder();
    return folder.isEmpty() || picture.save(QDir(folder).filePath(fileName));
}
inline bool saveShot(const QPixmap& picture, const QString& fileName) {
    const QString folder = shotsFolder();
    return folder.isEmpty() || picture.save(QDir(folder).filePath(fileName));
}
inline bool saveShot(QWidget* w, const QString& fileName) {
    const QString folder = shotsFolder();
    return folder.isEmpty() || w->grab().save(QDir(folder).filePath(fileName));
}

// The direct children of content that are shown.
inline QList<QWidget*> shownChildren(const QWidget* content) {
    QList<QWidget*> shown;
    for (QWidget* w : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisible())
            shown << w;
    }
    return shown;
}

// The room the label's text takes at the label's width, wrapped when the label wraps.
inline QRect neededFor(const QLabel* label) {
    return label->fontMetrics().boundingRect(
        QRect(0, 0, label->width(), 1000),
        int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), label->text());
}

// Which controls firstCutOff measures: labels and line edits, or picture buttons' captions too.
enum class Captions { Skip, Measure };

// The first of the controls whose text does not fit: a label (width and height), a line edit (its
// text and a 4-pixel frame each side) or, when asked, a picture button (its bold caption at the size
// it draws). The label's or field's name, or the button's caption; empty when every text fits.
inline QString firstCutOff(const QList<QWidget*>& shown, Captions captions = Captions::Measure) {
    for (QWidget* w : shown) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            const QRect needed = neededFor(label);
            if (needed.width() > label->width() || needed.height() > label->height())
                return w->objectName();
        } else if (auto* field = qobject_cast<QLineEdit*>(w)) {
            if (field->fontMetrics().horizontalAdvance(field->text()) > field->width() - 8)
                return w->objectName();
        } else if (auto* button = qobject_cast<newCnvBtn*>(w); button && captions == Captions::Measure) {
            QFont f = button->font();
            f.setPixelSize(newCnvBtn::getSize(button->width()));
            f.setBold(true);
            if (QFontMetrics(f).horizontalAdvance(button->myCaption()) > button->width() - 8)
                return button->myCaption();
        }
    }
    return {};
}

// The first two controls that lie on each other (a pixel of touching frames aside), as "a / b", or
// the first control that reaches out of area; empty when each has its own place inside it.
inline QString firstOverlap(const QList<QWidget*>& shown, const QRect& area) {
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            const QRect a = shown[i]->geometry().adjusted(1, 1, -1, -1);
            if (a.intersects(shown[j]->geometry().adjusted(1, 1, -1, -1)))
                return shown[i]->objectName() + QStringLiteral(" / ") + shown[j]->objectName();
        }
        if (!area.contains(shown[i]->geometry()))
            return shown[i]->objectName();
    }
    return {};
}

} // namespace Look
