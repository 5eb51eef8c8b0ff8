// Cursor shapes on SDL's system cursors, and whether the cursor shows.

#include "Window.h"

#include <tarnelix/Win32Window.h>

#include <SDL.h>

#include <map>

namespace {

struct CursorShape {
    WORD id;
    SDL_SystemCursor sdl;
};

// Windows' shapes that SDL lacks take the nearest it has.
constexpr CursorShape kShapes[] = {
    {32512, SDL_SYSTEM_CURSOR_ARROW},     {32513, SDL_SYSTEM_CURSOR_IBEAM},
    {32514, SDL_SYSTEM_CURSOR_WAIT},      {32515, SDL_SYSTEM_CURSOR_CROSSHAIR},
    {32516, SDL_SYSTEM_CURSOR_ARROW},     {32640, SDL_SYSTEM_CURSOR_SIZEALL},
    {32641, SDL_SYSTEM_CURSOR_ARROW},     {32642, SDL_SYSTEM_CURSOR_SIZENWSE},
    {32643, SDL_SYSTEM_CURSOR_SIZENESW},  {32644, SDL_SYSTEM_CURSOR_SIZEWE},
    {32645, SDL_SYSTEM_CURSOR_SIZENS},    {32646, SDL_SYSTEM_CURSOR_SIZEALL},
    {32648, SDL_SYSTEM_CURSOR_NO},        {32649, SDL_SYSTEM_CURSOR_HAND},
    {32650, SDL_SYSTEM_CURSOR_WAITARROW}, {32651, SDL_SYSTEM_CURSOR_ARROW},
};

} // namespace

// A cursor handle: one per shape, made when first loaded and kept for the whole run, as the
// system's shared cursors are.
struct HCURSOR__ {
    SDL_SystemCursor shape;
    SDL_Cursor* sdl; // made when first shown; stays null where the driver has no cursors
};

namespace {

HCURSOR g_current = nullptr;
int g_displayCount = 0;

HCURSOR systemCursor(ULONG_PTR id) {
    static auto* loaded = new std::map<ULONG_PTR, HCURSOR__>();
    auto found = loaded->find(id);
    if (found != loaded->end()) {
        return &found->second;
    }
    for (const CursorShape& shape : kShapes) {
        if (shape.id == id) {
            HCURSOR__& cursor = (*loaded)[id];
            cursor = HCURSOR__{shape.sdl, nullptr};
            return &cursor;
        }
    }
    return nullptr;
}

void showCurrent() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        return;
    }
    if (g_current && !g_current->sdl) {
        g_current->sdl = SDL_CreateSystemCursor(g_current->shape);
    }
    if (g_current && g_current->sdl) {
        SDL_SetCursor(g_current->sdl);
    }
    SDL_ShowCursor(g_current && g_displayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

HCURSOR loadCursor(HINSTANCE instance, ULONG_PTR name) {
    // Only the system's shapes exist: a program has no cursor resources here.
    HCURSOR cursor = (!instance && IS_INTRESOURCE(name)) ? systemCursor(name) : nullptr;
    if (!cursor) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return cursor;
}

} // namespace

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    return loadCursor(instance, reinterpret_cast<ULONG_PTR>(name));
}

HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    return loadCursor(instance, reinterpret_cast<ULONG_PTR>(name));
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR previous = g_current;
    g_current = cursor;
    showCurrent();
    return previous;
}

HCURSOR WINAPI GetCursor(void) {
    return g_current;
}

int WINAPI ShowCursor(BOOL show) {
    g_displayCount += show ? 1 : -1;
    if (!g_current) {
        g_current = systemCursor(32512); // the arrow shows until a program sets another
    }
    showCurrent();
    return g_displayCount;
}
