#pragma once

// A resources folder of the test's own: the program looks there for its pictures and sounds while
// the object lives, and forgets what it loaded when it comes and goes.

#include "app/media.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

class TempResources {
public:
    TempResources() : previous_(qgetenv("NBR_RESOURCES_DIR")) {
        qputenv("NBR_RESOURCES_DIR", dir_.path().toLocal8Bit());
        ProjectMedia::forgetAll();
    }
    ~TempResources() {
        qputenv("NBR_RESOURCES_DIR", previous_);
        ProjectMedia::forgetAll();
    }
    TempResources(const TempResources&) = delete;
    TempResources& operator=(const TempResources&) = delete;

    QString path(const QString& fileName) const { return QDir(dir_.path()).filePath(fileName); }

    // Writes the project picture under its file name, in the format the name asks for.
    bool addPicture(const QString& projectName, QSize size, QColor colour = Qt::red) const {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(colour);
        return addImage(projectName, image);
    }
    bool addImage(const QString& projectName, const QImage& image) const {
        const QString file = ProjectMedia::pictureFileName(projectName);
        return image.save(path(file), file.endsWith(QLatin1String(".jpg")) ? "JPG" : "PNG");
    }
    // A sound file; the program only needs it to be there until something plays it.
    bool addSound(const QString& projectName) const {
        QFile f(path(ProjectMedia::soundFileName(projectName)));
        return f.open(QIODevice::WriteOnly) && f.write(minimalWav()) > 0;
    }
    bool remove(const QString& fileName) const { return QFile::remove(path(fileName)); }

private:
    static QByteArray minimalWav() {
        // 8 kHz, 8-bit mono, 8 samples of silence.
        QByteArray w("RIFF");
        const auto le32 = [&w](quint32 v) {
            for (int i = 0; i < 4; ++i)
                w.append(char((v >> (8 * i)) & 0xFF));
        };
        const auto le16 = [&w](quint16 v) {
            w.append(char(v & 0xFF));
            w.append(char(v >> 8));
        };
        le32(36 + 8);
        w.append("WAVEfmt ");
        le32(16);
        le16(1);
        le16(1);
        le32(8000);
        le32(8000);
        le16(1);
        le16(8);
        w.append("data");
        le32(8);
        w.append(QByteArray(8, char(0x80)));
        return w;
    }

    QTemporaryDir dir_;
    QByteArray previous_;
};
