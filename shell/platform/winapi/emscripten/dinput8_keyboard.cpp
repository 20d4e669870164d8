// The browser backend's keyboard: the page's key events, by KeyboardEvent.code, keep a snapshot
// indexed by DIK_* code (page.js). Keys count while the page has focus; when it loses focus every key
// reads as up, since the browser reports no releases meanwhile. A tap is held for one read (WebKeysRead).
#include <cstring>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/resets.h"
#include "shell/platform/winapi/emscripten/page.h"

namespace {

BYTE keySnapshot[256];

}  // namespace

BYTE* layer::web::KeySnapshot()
{
    return keySnapshot;
}

namespace layer::backend {

void ReadKeyboard(BYTE (&keys)[256])
{
    std::memcpy(keys, keySnapshot, sizeof(keys));
    WebKeysRead();
}

void ResetKeyboard()
{
    std::memset(keySnapshot, 0, sizeof(keySnapshot));
}

}  // namespace layer::backend
