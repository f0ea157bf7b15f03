// shotscale IN.png OUT.png [WIDTH]: the picture at most WIDTH (560) pixels wide, smoothly scaled,
// saved as PNG without the metadata that would make the file differ from run to run.

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: shotscale IN.png OUT.png [WIDTH]\n");
        return 2;
    }
    const int width = argc > 3 ? QByteArray(argv[3]).toInt() : 560;
    QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull() || width <= 0) {
        std::fprintf(stderr, "shotscale: cannot read %s\n", argv[1]);
        return 1;
    }
    if (image.width() > width)
        image = image.scaledToWidth(width, Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setText(QString(), QString());
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "shotscale: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
