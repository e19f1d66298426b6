// orla-icons: writes the program's icon as PNG files in the hicolor theme's
// layout (DIR/hicolor/NxN/apps/orla.png), for the package and the desktop menu.
// It paints the same icon as the window's, so there is one drawing of it.
#include "shell/icon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orla-icons DIR\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QString("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + "/orla.png";
        if (!QDir().mkpath(folder) || !PROGRAMICONPIXMAP(size).save(file, "PNG")) {
            std::fprintf(stderr, "orla-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
