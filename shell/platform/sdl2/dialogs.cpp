// Message boxes and wsprintfA. A message box is an SDL one (modal) and is also written to stderr,
// so a failure stays visible in a terminal or a log. The test seam records boxes instead.
// BRICKS_MESSAGE_BOXES=stderr (for scripted and headless runs): the text goes to stderr only and the
// box counts as answered, so nothing waits for a click.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/platform/sdl2/layerwindow.h"
#include "shell/platform/sdl2/seamstate.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const char* shownText = text ? text : "";
    const char* shownCaption = caption ? caption : "Error";
    // One line on stderr, whether or not the text ends with its own newline.
    int length = static_cast<int>(std::strlen(shownText));
    while (length > 0 && shownText[length - 1] == '\n') --length;
    std::fprintf(stderr, "%s: %.*s\n", shownCaption, length, shownText);
    auto& seam = testseam::State();
    if (seam.recordMessageBoxes) {
        seam.messageBoxes.push_back({owner, shownText, shownCaption, type});
        return IDOK;
    }
    const char* boxes = std::getenv("BRICKS_MESSAGE_BOXES");
    if (boxes && std::strcmp(boxes, "stderr") == 0) return IDOK;
    layer::LayerWindow* window = layer::FindWindow(owner);
    Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Without a display no box can be shown; the text is on stderr already.
    SDL_ShowSimpleMessageBox(flags, shownCaption, shownText, window ? window->sdlWindow : nullptr);
    return IDOK;
}

int wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    // Like Windows, write at most 1024 characters including the terminator.
    constexpr size_t kLimit = 1024;
    if (!buffer || !format) return 0;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, kLimit, format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return written < static_cast<int>(kLimit) ? written : static_cast<int>(kLimit) - 1;
}
