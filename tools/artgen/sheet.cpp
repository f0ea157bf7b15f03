// Contact sheet: every picture at its real size with its name, then a few previews that put
// pictures together the way the windows do (captions on buttons, numbers on tiles, the message
// box, the basket chute), so a look at one image tells whether anything is off.
#include "catalogue.h"
#include "paintkit.h"

#include <QDir>
#include <QFontMetricsF>

#include <algorithm>
#include <cstdio>
#include <map>

using namespace kit;

namespace {

struct Item {
    QImage img;
    QString label;
    bool checker;
};

QImage checkerUnder(const QImage& img) {
    QImage out = newImage(img.size(), Qt::white);
    QPainter p(&out);
    for (int y = 0; y < img.height(); y += 6)
        for (int x = 0; x < img.width(); x += 6)
            if (((x / 6) + (y / 6)) % 2)
                p.fillRect(x, y, 6, 6, QColor(0xd8, 0xd8, 0xd8));
    p.drawImage(0, 0, img);
    return out;
}

// Uses a grey mask the way the windows do: white shows the picture, black hides it.
QImage applyMask(const QImage& face, const QImage& mask) {
    QImage out = face.convertToFormat(QImage::Format_ARGB32);
    const QImage m = mask.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < out.height() && y < m.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* mr = m.constScanLine(y);
        for (int x = 0; x < out.width() && x < m.width(); ++x)
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), mr[x] * 255 / 255);
    }
    return out;
}

// A push button as the program paints it: face stretched over the button, caption centred
// with a one-pixel black shadow.
QImage pushButton(const QImage& face, QSize size, const QString& caption, QColor capColour, bool pressed) {
    QImage out = newImage(size + QSize(4, 4));
    QPainter p(&out);
    prepare(p);
    const int W = size.width(), H = size.height();
    const int shift = pressed ? 4 : 0;
    p.translate(shift, shift);
    if (!pressed)
        p.drawImage(QRect(0, 0, W, H), face);
    else
        p.drawImage(QRect(0, 0, W - 5, H - 5), face, QRect(0, 0, face.width() - 5, face.height() - 5));
    const int pt = W <= 100 ? 12 : (W <= 160 ? 14 : 18);
    // The program's sizes are in points of a 72-dpi screen, so one point is one pixel.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pt);
    p.setFont(f);
    const QFontMetricsF fm(f);
    const int tw = int(fm.horizontalAdvance(caption));
    const int a = int(fm.ascent());
    const int x = (W - tw) / 2;
    const int y = H - (H - a) / 2 - H / 10 - (H > 25 ? 2 : 1);
    p.setPen(Qt::black);
    p.drawText(x, y, caption);
    p.setPen(capColour);
    p.drawText(x - 1, y - 1, caption);
    return out;
}

// A number tile as the games write on it: bold, blue over a black shadow.
void tileNumber(QPainter& p, QSize tile, const QString& text, int size) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(size);
    f.setBold(true);
    p.setFont(f);
    const int tw = int(QFontMetricsF(f).horizontalAdvance(text));
    const int x = (tile.width() - tw) / 2, y = tile.height() - 17;
    p.setPen(Qt::black);
    p.drawText(x, y, text);
    p.setPen(QColor(0x41, 0x75, 0xbd));
    p.drawText(x - 2, y - 2, text);
}

class Sheet {
public:
    explicit Sheet(int width) : m_width(width) {}

    void section(const QString& title) {
        newRow();
        m_y += 10;
        m_ops.push_back({QImage(), title, QPoint(12, m_y), true});
        m_y += 26;
    }

    void add(const Item& it) {
        const QImage shown = it.checker ? checkerUnder(it.img) : it.img;
        const int w = std::max(shown.width(), labelWidth(it.label));
        if (m_x + w > m_width - 12)
            newRow();
        m_ops.push_back({shown, QString(), QPoint(m_x, m_y), false});
        m_ops.push_back({QImage(), it.label, QPoint(m_x, m_y + shown.height() + 14), false});
        m_rowH = std::max(m_rowH, shown.height() + 20);
        m_x += w + 18;
    }

    QImage render() const {
        const int h = m_y + m_rowH + 20;
        QImage out = newImage(QSize(m_width, h), QColor(0xf3, 0xf3, 0xf3));
        QPainter p(&out);
        prepare(p);
        for (const Op& op : m_ops) {
            if (!op.img.isNull()) {
                p.setPen(QColor(0xbb, 0xbb, 0xbb));
                p.drawRect(QRect(op.at - QPoint(1, 1), op.img.size() + QSize(1, 1)));
                p.drawImage(op.at, op.img);
            } else {
                p.setFont(op.heading ? boldFont(17) : plainFont(11));
                p.setPen(op.heading ? QColor(0x1d, 0x3b, 0x6e) : Qt::black);
                p.drawText(op.at + QPoint(0, op.heading ? 16 : 0), op.text);
            }
        }
        return out;
    }

private:
    struct Op {
        QImage img;
        QString text;
        QPoint at;
        bool heading;
    };
    static int labelWidth(const QString& s) {
        return int(QFontMetricsF(plainFont(11)).horizontalAdvance(s)) + 2;
    }
    void newRow() {
        if (m_x > 12) {
            m_y += m_rowH + 12;
        }
        m_x = 12;
        m_rowH = 0;
    }
    int m_width;
    int m_x = 12, m_y = 10, m_rowH = 0;
    std::vector<Op> m_ops;
};

} // namespace

bool renderContactSheet(const Catalogue& c, const QString& dir, const QString& outPath) {
    std::map<QString, QImage> pics;
    bool ok = true;
    for (const Picture& p : c) {
        QImage img(QDir(dir).filePath(p.file));
        if (img.isNull()) {
            std::fprintf(stderr, "artgen: cannot read %s\n", qPrintable(p.file));
            ok = false;
            img = newImage(p.size, Qt::red);
        }
        pics[p.name] = img;
    }

    Sheet sheet(1400);
    sheet.section(QStringLiteral("Every picture at its real size"));
    for (const Picture& p : c) {
        const QImage& img = pics[p.name];
        sheet.add({img, QStringLiteral("%1  %2x%3").arg(p.file).arg(img.width()).arg(img.height()),
                   img.hasAlphaChannel()});
    }

    sheet.section(QStringLiteral("Push buttons as painted by the program (normal and pressed)"));
    const char* faces[5] = {"CancelLrg", "ActionLrg", "yellowBtn", "GreenBtn", "ltRedBtn"};
    const char* caps[5] = {"Cancel", "Start Round", "My Settings", "My Progress", "Close Screen"};
    for (int k = 0; k < 5; ++k) {
        const QImage face = applyMask(pics[faces[k]], pics["MaskLrg"]);
        const QColor col = k < 2 ? QColor(0xff, 0xf6, 0xe6) : QColor(0xbd, 0xd8, 0xff);
        sheet.add({pushButton(face, QSize(120, 29), caps[k], col, false), QStringLiteral("120x29"), false});
        sheet.add({pushButton(face, QSize(160, 36), caps[k], col, false), QStringLiteral("160x36"), false});
        sheet.add({pushButton(face, QSize(180, 36), caps[k], col, false), QStringLiteral("180x36"), false});
        sheet.add({pushButton(face, QSize(160, 36), caps[k], col, true), QStringLiteral("pressed"), false});
    }

    sheet.section(QStringLiteral("Tiles, digits, check box, stepper, bar"));
    for (const char* n : {"button64", "selMDBtn", "curLocBtn"}) {
        QImage tile = newImage(QSize(48, 48), QColor(0xc8, 0xe2, 0xf8));
        QPainter p(&tile);
        p.drawImage(QRect(0, 0, 48, 48), pics[n]);
        tileNumber(p, tile.size(), QStringLiteral("12"), 18);
        sheet.add({tile, QString::fromLatin1(n) + QStringLiteral(" + 12"), false});
    }
    {
        QImage num = newImage(QSize(36 * 3 + 24, 44 * 2 + 8), QColor(0xec, 0xec, 0xec));
        QPainter p(&num);
        const char* digits[] = {"One", "Four", "Four"};
        for (int i = 0; i < 3; ++i)
            p.drawImage(24 + 36 * i + 6, 6, pics[digits[i]]);
        p.drawImage(24 + 6, 52, pics["Blank"]);
        p.drawImage(24 + 36 + 6, 52, pics["neg"]);
        p.drawImage(24 + 72 + 6, 52, pics["Seven"]);
        p.drawImage(QRect(0, 52, 22, 22), pics["Prim_Minus3"]);
        sheet.add({num, QStringLiteral("144 over -7"), false});
    }
    {
        QImage cb = newImage(QSize(220, 26), QColor(0xe8, 0xf2, 0xfc));
        QPainter p(&cb);
        prepare(p);
        p.drawImage(1, 1, applyMask(pics["boxWithCheck"], pics["CkBoxMask"]));
        p.setFont(plainFont(12));
        p.setPen(Qt::black);
        p.drawText(42, 20, QStringLiteral("Allow Negative Numbers"));
        sheet.add({cb, QStringLiteral("check box"), false});
    }
    {
        const QImage strip = pics["plusminuspic"];
        QImage st = newImage(QSize(45 * 3 + 20, 22), QColor(0xec, 0xec, 0xec));
        QPainter p(&st);
        p.drawImage(0, 0, strip, 0, 0, 45, 22);
        p.drawImage(55, 0, strip, 0, 0, 45, 22);
        p.drawImage(55, 0, strip, 0, 22, 22, 22);
        p.drawImage(110, 0, strip, 0, 0, 45, 22);
        p.drawImage(110 + 23, 0, strip, 23, 44, 22, 22);
        sheet.add({st, QStringLiteral("stepper / plus pressed / minus off"), false});
    }
    {
        QImage bar = newImage(QSize(32, 320), QColor(0xec, 0xec, 0xec));
        QPainter p(&bar);
        p.setPen(Qt::black);
        p.drawRect(0, 0, 31, 319);
        const int unit = 320 / 15, top = (15 - 7) * unit;
        p.setClipRect(0, 0, 32, 320);
        p.drawImage(QRect(1, top, 29, 319), pics["newProgCnv"]);
        sheet.add({bar, QStringLiteral("7 of 15"), false});
    }
    {
        // The basket game's column: funnel, chute with a falling digit, basket with its sign.
        QImage col = newImage(QSize(90, 74 + 120 + 108), QColor(0xe4, 0xec, 0xff));
        QPainter p(&col);
        p.drawImage(0, 0, pics["MathFunnel2"]);
        p.fillRect(QRect(28, 73, 34, 120), QColor(0xf2, 0xf1, 0xd2));
        p.drawImage(28 + 5, 73 + 50, pics["Seven"]);
        p.drawImage(0, 73 + 120, pics["MathBskt2"]);
        p.drawImage(21, 73 + 120 + 19, pics["Prim_Times3"]);
        sheet.add({col, QStringLiteral("basket game"), false});
    }
    {
        // Challenge: the question tile in a slot, and the trash can closed and open.
        QImage ch = newImage(QSize(38 + 46 + 59 * 2 + 30, 110), QColor(0xd6, 0xe8, 0xfa));
        QPainter p(&ch);
        const QImage tile = applyMask(pics["TBHelp"], pics["roundTBmask"]);
        p.drawImage(4, 2, tile);
        p.drawImage(38 + 10 + 4, 2, tile);
        p.setClipRect(QRect(38 + 46 + 10, 0, 59, 110));
        p.drawImage(QRect(38 + 46 + 10, 43, 59, 110), pics["can_closed3"]);
        p.setClipRect(QRect(38 + 46 + 20 + 59, 0, 59, 110));
        p.drawImage(QRect(38 + 46 + 20 + 59, 0, 59, 110), pics["can_open3"]);
        sheet.add({ch, QStringLiteral("challenge tile, can closed/open"), false});
    }

    sheet.section(QStringLiteral("Message boxes and password prompt"));
    auto box = [&](bool congrats, bool caution, const QString& msg, QSize size) {
        QImage b = newImage(size, QColor(0xdd, 0xdd, 0xdd));
        QPainter p(&b);
        prepare(p);
        if (congrats)
            p.drawImage(0, 0, pics["congratsBKG2"]);
        p.drawImage(QRect(QPoint(0, 0), size), pics["cautionBkg4"]);
        p.drawImage(12, 12, pics[caution ? "newCaution64" : "new10Icon64"]);
        p.setFont(boldFont(13));
        p.setPen(Qt::black);
        p.drawText(QRect(108, 24, 288, 48), Qt::TextWordWrap, msg);
        p.setFont(plainFont(10));
        p.drawText(108, 88 + 12, QStringLiteral("A smaller line that explains a little more."));
        const QImage face = applyMask(pics["ActionLrg"], pics["MaskLrg"]);
        p.drawImage(
            276, size.height() - 46,
            pushButton(face, QSize(120, 29), QStringLiteral("Close"), QColor(0xff, 0xf6, 0xe6), false));
        return b;
    };
    sheet.add({box(true, false, QStringLiteral("Congratulations, Sam! You have earned another half star."),
                   QSize(420, 184)),
               QStringLiteral("congratulation"), false});
    sheet.add({box(false, true, QStringLiteral("Please choose a class first."), QSize(420, 184)),
               QStringLiteral("caution"), false});
    sheet.add(
        {box(true, false,
             QStringLiteral("Congratulations, Sam!\nA new best time.\nKeep going!\nYou rock!\nLine five"),
             QSize(420, 232)),
         QStringLiteral("congratulation, 6 lines"), false});
    {
        QImage pw = newImage(QSize(390, 226), QColor(0xec, 0xec, 0xec));
        QPainter p(&pw);
        prepare(p);
        p.drawImage(QRect(0, 0, 390, 226), pics["cautionBkg4"]);
        p.drawImage(10, 10, pics["newCaution64"]);
        p.setFont(plainFont(13));
        p.setPen(QColor(0x41, 0x75, 0xbd));
        p.drawText(QRect(84, 20, 286, 36), Qt::TextWordWrap,
                   QStringLiteral("Please enter the administrative password."));
        p.fillRect(QRect(125, 77, 140, 22), Qt::white);
        const QColor cream(0xff, 0xf6, 0xe6);
        p.drawImage(112, 177,
                    pushButton(applyMask(pics["CancelLrg"], pics["MaskLrg"]), QSize(120, 29),
                               QStringLiteral("Cancel"), cream, false));
        p.drawImage(250, 177,
                    pushButton(applyMask(pics["ActionLrg"], pics["MaskLrg"]), QSize(120, 29),
                               QStringLiteral("Accept"), cream, false));
        sheet.add({pw, QStringLiteral("password prompt"), false});
    }

    const QImage out = sheet.render();
    if (!out.save(outPath)) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(outPath));
        return false;
    }
    std::printf("artgen: contact sheet %dx%d written to %s\n", out.width(), out.height(),
                qPrintable(outPath));
    return ok;
}
