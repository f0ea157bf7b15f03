#include "catalogue.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>

Catalogue fullCatalogue() {
    Catalogue c;
    addButtonPictures(c);
    addDigitAndStarPictures(c);
    addScenePictures(c);
    addGamePictures(c);
    addIconPictures(c);
    return c;
}

namespace {

bool isOpaque(const QImage& img) {
    const QImage a = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (qAlpha(row[x]) != 255)
                return false;
    }
    return true;
}

} // namespace

bool savePicture(const QImage& img, const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    QImageWriter w(path);
    if (ext == QLatin1String("jpg")) {
        // JPEG has no alpha: anything see-through would turn black, so flatten onto white.
        QImage flat(img.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, img);
        }
        w.setFormat("jpeg");
        w.setQuality(92);
        w.setOptimizedWrite(true);
        return w.write(flat);
    }
    w.setFormat("png");
    // For PNG, Qt reads "quality" as the inverse of the zlib level: 0 packs hardest.
    w.setQuality(0);
    if (img.format() == QImage::Format_Grayscale8)
        return w.write(img);
    // Opaque pictures are stored without an alpha channel: smaller and exactly as drawn.
    if (isOpaque(img))
        return w.write(img.convertToFormat(QImage::Format_RGB32));
    return w.write(img.convertToFormat(QImage::Format_ARGB32));
}
