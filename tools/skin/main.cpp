// Writes every picture of the skin as <id>.png, and skin.qrc listing them, into
// the folder given as the only argument (the repository's res/ folder), and
// the program's desktop icons under icons/hicolor there.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include "Pictures.h"

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_generator OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const auto pictures = skin::drawAllPictures();
    QFile qrc(folder.filePath(QStringLiteral("skin.qrc")));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(qrc.fileName()));
        return 1;
    }
    QTextStream list(&qrc);
    list << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/skin\">\n";
    for (const auto& [id, image] : pictures) {
        const QString name = QStringLiteral("%1.png").arg(id);
        if (!image.save(folder.filePath(name), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
        list << "    <file>" << name << "</file>\n";
    }
    list << "</qresource>\n</RCC>\n";

    // The desktop's icons, in the layout of the hicolor icon theme.
    for (const auto& [size, image] : skin::drawDesktopIcons()) {
        const QString name = QStringLiteral("icons/hicolor/%1x%1/apps/pelorine.png").arg(size);
        if (!QDir().mkpath(QFileInfo(folder.filePath(name)).path()) ||
            !image.save(folder.filePath(name), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    std::printf("%zu pictures written to %s\n", pictures.size(), argv[1]);
    return 0;
}
