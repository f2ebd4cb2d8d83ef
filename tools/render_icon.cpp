// Build step: draws the program's icon from its SVG at the sizes task bars and trays ask for,
// one PNG a size, so that the program does not draw them at every start.
//
//   dasom-render-icon ICON_SVG OUTPUT_FOLDER SIZE...
//
// Writes OUTPUT_FOLDER/SIZE.png for each SIZE.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: dasom-render-icon ICON_SVG OUTPUT_FOLDER SIZE...\n";
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::cerr << "dasom-render-icon: cannot read " << argv[1] << "\n";
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::stoi(argv[i]);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString file = folder + QStringLiteral("/%1.png").arg(size);
        if (!image.save(file, "PNG")) {
            std::cerr << "dasom-render-icon: cannot write " << file.toStdString() << "\n";
            return 1;
        }
    }
    return 0;
}
