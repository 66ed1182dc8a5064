#pragma once
// What the main window's logic needs of the window and of its dialogs. The
// Qt window implements both; tests answer them from a script.

#include <optional>
#include <string>

#include "conversion/BatchRun.h"

namespace pelorine {

inline constexpr const char* kProductTitle = "Pelorine";
inline constexpr const char* kWindowCaption = "Video Batch Converter";
inline constexpr const char* kGuardMessage =
    "Please stop converting the videos and then add files to the list.";
inline constexpr const char* kExitQuestion = "Exit anyway?";
inline constexpr const char* kFolderPrompt = "\"Please Select a Folder:\"";
// Until the project has a domain of its own.
inline constexpr const char* kSupportAddress = "support@pelorine.example";

// The window. BatchView's calls come from the conversion worker; the rest
// from the window's own thread.
class MainView : public BatchView {
public:
    // Takes the keyboard focus away from the button that was used.
    virtual void focusDialog() = 0;
    virtual void minimise() = 0;
    // Shows pop-up menu `menu` under the button `button`; the chosen command
    // id, or 0 when none was chosen.
    virtual int popUpMenu(int menu, int button) = 0;
    virtual void setOutputPathText(const std::string& text) = 0;
    virtual void setOutputCell(std::size_t row, const std::string& text) = 0;
    // Keeps the window painting during a wait on its own thread.
    virtual void keepAlive() = 0;
};

// Message boxes and choosers, modal to the window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const std::string& text) = 0;
    virtual void warning(const std::string& text, const std::string& caption) = 0;
    // OK / Cancel with the exclamation icon; true for OK.
    virtual bool confirm(const std::string& text, const std::string& caption) = 0;
    // A folder chosen by the user, or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& prompt) = 0;
};

}  // namespace pelorine
