#include "grid/PropertyListChoosers.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

#include <algorithm>

namespace pelorine {

std::optional<Rgb> QtPropertyListChoosers::chooseColour(QWidget* parent,
                                                        std::optional<Rgb> preset) {
    const auto channel = [](int value) { return std::clamp(value, 0, 255); };
    const QColor initial =
        preset ? QColor(channel(preset->red), channel(preset->green), channel(preset->blue))
               : QColor(Qt::white);
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return Rgb{chosen.red(), chosen.green(), chosen.blue()};
}

std::optional<std::string> QtPropertyListChoosers::chooseFontFace(QWidget* parent) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, parent);
    if (!ok) {
        return std::nullopt;
    }
    return font.family().toStdString();
}

std::optional<std::string> QtPropertyListChoosers::chooseFile(QWidget* parent,
                                                              const std::string& startFolder) {
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("Select file"),
                                                      QString::fromStdString(startFolder),
                                                      QStringLiteral("Gif Files (*.gif)"));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

}  // namespace pelorine
