// user32 message boxes and wsprintfA. A message box is written to stderr, so a failure stays visible
// in a terminal or a log, and then shown by the backend (modal), unless another message-box service is
// installed (hooks.h).
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/user32.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const char* shownText = text ? text : "";
    const char* shownCaption = caption ? caption : "Error";
    // One line on stderr, whether or not the text ends with its own newline.
    int length = static_cast<int>(std::strlen(shownText));
    while (length > 0 && shownText[length - 1] == '\n') --length;
    std::fprintf(stderr, "%s: %.*s\n", shownCaption, length, shownText);
    return layer::Services().messageBox(owner, shownText, shownCaption, type);
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
