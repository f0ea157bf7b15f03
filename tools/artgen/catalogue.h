// The list of every picture the program ships: project name, file name, pixel size, where that
// size comes from, and the function that paints it.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

struct Picture {
    QString name; // the name the program's code uses
    QString file; // the file in resources/ (case and punctuation matter)
    QSize size;
    QString sizeReason; // where the size comes from, for tools/README.md and --list
    bool sizeChosen;    // true when no window fixes the size and we picked it
    std::function<QImage(QSize)> paint;
};

using Catalogue = std::vector<Picture>;

// Each group adds its pictures; the order here is the order of the contact sheet.
void addButtonPictures(Catalogue& c);
void addDigitAndStarPictures(Catalogue& c);
void addScenePictures(Catalogue& c);
void addGamePictures(Catalogue& c);
void addIconPictures(Catalogue& c);

Catalogue fullCatalogue();

// Writes one picture in the format its file extension names. Returns false on failure.
bool savePicture(const QImage& img, const QString& path);

// Renders a labelled sheet of everything in `dir`, at real size, plus previews of how the
// program combines pictures with its own captions and numbers.
bool renderContactSheet(const Catalogue& c, const QString& dir, const QString& outPath);
