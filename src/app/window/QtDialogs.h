#pragma once
// Message boxes and the folder chooser, in the dialogs' own colours.

#include <QWidget>

#include "app/MainView.h"

namespace pelorine {

class QtDialogs final : public Dialogs {
public:
    // The dialogs are modal to `owner` once it is set.
    void setOwner(QWidget* owner) { owner_ = owner; }

    void message(const std::string& text) override;
    void warning(const std::string& text, const std::string& caption) override;
    bool confirm(const std::string& text, const std::string& caption) override;
    std::optional<std::string> chooseFolder(const std::string& prompt) override;

private:
    QWidget* owner_ = nullptr;
};

// The colours of every dialog and message box: RGB(213, 224, 240) with black text.
void applyDialogColours();

}  // namespace pelorine
