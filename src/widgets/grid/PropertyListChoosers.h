#pragma once
// The modal choosers behind the grid's "..." button. They block, so the grid
// reaches them through this interface and tests answer them from a script.

#include <optional>
#include <string>

#include "grid/PropertyListLogic.h"

class QWidget;

namespace pelorine {

class PropertyListChoosers {
public:
    virtual ~PropertyListChoosers() = default;
    // `preset` is the row's current colour when it has one. nullopt: cancelled.
    virtual std::optional<Rgb> chooseColour(QWidget* parent, std::optional<Rgb> preset) = 0;
    // Returns the chosen face name.
    virtual std::optional<std::string> chooseFontFace(QWidget* parent) = 0;
    // Opens "Select file" for GIF pictures in `startFolder` (empty: the default).
    virtual std::optional<std::string> chooseFile(QWidget* parent,
                                                  const std::string& startFolder) = 0;
};

// The desktop's own colour, font and file dialogs.
class QtPropertyListChoosers final : public PropertyListChoosers {
public:
    std::optional<Rgb> chooseColour(QWidget* parent, std::optional<Rgb> preset) override;
    std::optional<std::string> chooseFontFace(QWidget* parent) override;
    std::optional<std::string> chooseFile(QWidget* parent, const std::string& startFolder) override;
};

}  // namespace pelorine
