// Renders the program's SVG icon as PNG files of the given sizes, at build
// time, so the icon is drawn once and every size follows it.
//   icon-render ICON.svg OUTDIR SIZE...   writes OUTDIR/SIZE.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: icon-render ICON.svg OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "icon-render: %s is not an SVG picture\n", qPrintable(args[1]));
        return 1;
    }
    QDir().mkpath(args[2]);
    for (const QString &size : args.mid(3)) {
        const int px = size.toInt();
        if (px <= 0) {
            std::fprintf(stderr, "icon-render: '%s' is not a size\n", qPrintable(size));
            return 2;
        }
        QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        const QString file = QDir(args[2]).filePath(size + QStringLiteral(".png"));
        if (!image.save(file)) {
            std::fprintf(stderr, "icon-render: can't write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
