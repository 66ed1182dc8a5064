#include "play/NativeWindow.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace zelvic {
namespace {

// Errors about a window that went away are not worth dying for: the run
// ends when the converter writes quit.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

SDL_Window* openForeignWindow(std::uint64_t id, std::string& why) {
    XSetErrorHandler(ignoreError);
    const auto xid = static_cast<Window>(id);
    SDL_Window* window = SDL_CreateWindowFrom(reinterpret_cast<const void*>(xid));
    if (!window) {
        why = std::string("cannot use window ") + std::to_string(id) + ": " + SDL_GetError();
        return nullptr;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    XWindowAttributes attributes{};
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 ||
        XGetWindowAttributes(info.info.x11.display, xid, &attributes) == 0) {
        why = "there is no window " + std::to_string(id) + " to draw into";
        SDL_DestroyWindow(window);
        return nullptr;
    }
    XSelectInput(info.info.x11.display, xid, ExposureMask | StructureNotifyMask);
    XFlush(info.info.x11.display);
    return window;
}

}  // namespace zelvic
