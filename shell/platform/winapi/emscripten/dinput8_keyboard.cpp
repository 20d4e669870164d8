// The browser backend's keyboard: the page's key events, by KeyboardEvent.code, keep a snapshot
// indexed by DIK_* code (page.js). Keys count while the page has focus; when it loses focus every key
// reads as up, since the browser reports no releases meanwhile. A tap is held for one read (WebKeysRead).
#include <cstring>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/emscripten/backendstate.h"
#include "shell/platform/winapi/emscripten/page.h"

void layer::backend::ReadKeyboard(BYTE (&keys)[256])
{
    std::memcpy(keys, web::State().keys, sizeof(keys));
    WebKeysRead();
}
