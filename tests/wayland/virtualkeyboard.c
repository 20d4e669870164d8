/* A keyboard for the Wayland tests (scripts/test-wayland): a client of the compositor's virtual-keyboard
 * protocol that uploads the standard us keymap of evdev keycodes, compiled by xkbcommon, so the
 * compositor and Xwayland name each key as a real keyboard's (RGHT, SPCE...). It reads commands on
 * standard input, one a line, once it has said "ready", and answers "ok" once the compositor has taken each:
 *   down CODE    presses the key of evdev code CODE (linux/input-event-codes.h: 106 Right, 57 space)
 *   up CODE      releases it
 * At the end of its input it releases what is still down. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"

static struct wl_seat* seat;
static struct zwp_virtual_keyboard_manager_v1* manager;

static void Global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version)
{
    (void)data;
    (void)version;
    if (!seat && strcmp(interface, wl_seat_interface.name) == 0)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
}

static void GlobalRemove(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static int Fail(const char* message)
{
    fprintf(stderr, "virtualkeyboard: %s\n", message);
    return 1;
}

/* The us keymap of evdev keycodes, as text in a file the compositor maps. */
static int UploadKeymap(struct zwp_virtual_keyboard_v1* keyboard)
{
    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const struct xkb_rule_names names = {.rules = "evdev", .model = "pc105", .layout = "us"};
    struct xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, &names, 0) : NULL;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : NULL;
    if (!text) return Fail("xkbcommon cannot compile the us keymap");
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    const int written = fd >= 0 && write(fd, text, size) == (ssize_t)size;
    free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    if (!written) return Fail("cannot write the keymap");
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    close(fd);
    return 0;
}

static uint32_t Milliseconds(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(void)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) return Fail("no Wayland display (WAYLAND_DISPLAY)");
    struct wl_registry* registry = wl_display_get_registry(display);
    static const struct wl_registry_listener listener = {Global, GlobalRemove};
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!seat || !manager) return Fail("the compositor offers no seat or no virtual keyboards");
    struct zwp_virtual_keyboard_v1* keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);
    if (UploadKeymap(keyboard) != 0) return 1;
    if (wl_display_roundtrip(display) < 0) return Fail("the compositor refused the keyboard");
    printf("ready\n");
    fflush(stdout);

    char down[256] = {0};
    char line[64];
    while (fgets(line, sizeof line, stdin)) {
        char command[8];
        unsigned code = 0;
        if (sscanf(line, "%7s %u", command, &code) != 2 || code > 255 ||
            (strcmp(command, "down") != 0 && strcmp(command, "up") != 0)) {
            fprintf(stderr, "virtualkeyboard: not a command: %s", line);
            continue;
        }
        down[code] = strcmp(command, "down") == 0;
        zwp_virtual_keyboard_v1_key(
            keyboard, Milliseconds(), code,
            down[code] ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
        if (wl_display_roundtrip(display) < 0) return Fail("lost the compositor");
        printf("ok\n");
        fflush(stdout);
    }
    for (unsigned code = 0; code < 256; ++code) {
        if (down[code])
            zwp_virtual_keyboard_v1_key(keyboard, Milliseconds(), code, WL_KEYBOARD_KEY_STATE_RELEASED);
    }
    wl_display_roundtrip(display);
    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_disconnect(display);
    return 0;
}
