#pragma once
// The one place play mode talks to the window system itself. A window that
// belongs to another program (the converter's preview area) is taken over
// by SDL, and watched for exposure and size changes on SDL's own connection,
// which SDL does not do for windows it did not create.

#include <cstdint>
#include <string>

struct SDL_Window;

namespace zelvic {

// SDL's window for the native window `id`, with its exposure and size events
// reported as SDL window events. Window system errors about it stop being
// fatal: its owner may close it at any time. Null, with the reason in `why`,
// when there is no such window. Call once SDL's video is up.
SDL_Window* openForeignWindow(std::uint64_t id, std::string& why);

}  // namespace zelvic
