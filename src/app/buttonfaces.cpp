#include "buttonfaces.h"

#include "media.h"

#include <QImage>

namespace myGlobals {

std::array<QPixmap, 5>& gActionBtn() {
    static std::array<QPixmap, 5> faces;
    return faces;
}

QPixmap applyGreyMask(const QPixmap& face, const QPixmap& mask) {
    if (face.isNull() || mask.isNull())
        return face;
    QImage out = face.toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage grey = mask.toImage().convertToFormat(QImage::Format_Grayscale8);
    const int w = qMin(out.width(), grey.width());
    const int h = qMin(out.height(), grey.height());
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* shade = grey.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const int alpha = qAlpha(row[x]) * shade[x] / 255;
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), alpha);
        }
    }
    return QPixmap::fromImage(out);
}

void initPicts() {
    const QPixmap mask = Pictures::MaskLrg();
    const std::array<QPixmap, 5> faces{Pictures::CancelLrg(), Pictures::ActionLrg(), Pictures::yellowBtn(),
                                       Pictures::GreenBtn(), Pictures::ltRedBtn()};
    for (std::size_t i = 0; i < faces.size(); ++i)
        gActionBtn()[i] = applyGreyMask(faces[i], mask);
}

} // namespace myGlobals
