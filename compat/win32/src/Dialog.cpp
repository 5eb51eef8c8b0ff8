// Dialogs from registered templates: CreateDialogParamA, the dialog's own window procedure that
// hands messages to the program's dialog procedure, and the controls' window procedures.

#include "Dialog.h"

#include "Window.h"

#include <tarnelix/Win32Window.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <strings.h>

namespace tarnelix::win32 {

namespace {

constexpr const char* kDialogClass = "#32770";

std::map<HWND, std::unique_ptr<Dialog>>& dialogs() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* live = new std::map<HWND, std::unique_ptr<Dialog>>();
    return *live;
}

std::map<HWND, std::unique_ptr<Control>>& controls() {
    // Never destroyed: static objects of the program may still use it while the process ends.
    static auto* live = new std::map<HWND, std::unique_ptr<Control>>();
    return *live;
}

bool sameClass(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

int copyText(const std::string& text, LPSTR out, int capacity) {
    if (!out || capacity <= 0) {
        return 0;
    }
    int length = static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(capacity - 1)));
    std::memcpy(out, text.data(), static_cast<size_t>(length));
    out[length] = '\0';
    return length;
}

LRESULT comboMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case CB_ADDSTRING:
        if (!lParam) {
            return CB_ERR;
        }
        // None of the stand-in's combo boxes sorts: items keep the order they were added in.
        control.items.emplace_back(reinterpret_cast<const char*>(lParam));
        return static_cast<LRESULT>(control.items.size() - 1);
    case CB_GETCOUNT:
        return static_cast<LRESULT>(control.items.size());
    case CB_GETCURSEL:
        return control.selection;
    case CB_SETCURSEL: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= static_cast<int>(control.items.size())) {
            control.selection = -1;
            return CB_ERR;
        }
        control.selection = index;
        return index;
    }
    case CB_GETLBTEXTLEN: {
        size_t index = wParam;
        return index < control.items.size() ? static_cast<LRESULT>(control.items[index].size())
                                            : CB_ERR;
    }
    case CB_GETLBTEXT: {
        size_t index = wParam;
        if (index >= control.items.size() || !lParam) {
            return CB_ERR;
        }
        // The caller's buffer must hold the item, as on Windows (CB_GETLBTEXTLEN + 1).
        const std::string& item = control.items[index];
        std::memcpy(reinterpret_cast<char*>(lParam), item.c_str(), item.size() + 1);
        return static_cast<LRESULT>(item.size());
    }
    case CB_RESETCONTENT:
        control.items.clear();
        control.selection = -1;
        return TRUE;
    default:
        return 0;
    }
}

// What a control shows as its window text: a drop-down list shows its current item.
std::string windowTextOf(const Control& control) {
    if (control.isComboBox()) {
        return control.selection >= 0 ? control.items[static_cast<size_t>(control.selection)] : "";
    }
    return control.text;
}

LRESULT CALLBACK controlWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = findControl(handle);
    if (!control) {
        return 0;
    }
    switch (message) {
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(windowTextOf(*control).size());
    case WM_GETTEXT:
        return copyText(windowTextOf(*control), reinterpret_cast<LPSTR>(lParam),
                        static_cast<int>(wParam));
    case WM_SETTEXT:
        if (!control->isComboBox()) {
            control->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        }
        return TRUE;
    case WM_NCDESTROY:
        controls().erase(handle);
        return 0;
    default:
        return control->isComboBox() ? comboMessage(*control, message, wParam, lParam) : 0;
    }
}

int SDLCALL watchDialogEvents(void* user, SDL_Event* event) {
    Dialog* dialog = static_cast<Dialog*>(user);
    uint32_t windowId = 0;
    switch (event->type) {
    case SDL_WINDOWEVENT:
        windowId = event->window.windowID;
        break;
    case SDL_MOUSEMOTION:
        windowId = event->motion.windowID;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        windowId = event->button.windowID;
        break;
    case SDL_MOUSEWHEEL:
        windowId = event->wheel.windowID;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        windowId = event->key.windowID;
        break;
    case SDL_TEXTINPUT:
        windowId = event->text.windowID;
        break;
    default:
        return 1;
    }
    if (!dialog->sdl || windowId != SDL_GetWindowID(dialog->sdl)) {
        return 1;
    }
    feedDialogUi(*dialog, *event);
    dialog->framesPending = 3;
    if (!dialog->paintQueued) {
        dialog->paintQueued = PostMessageA(dialog->handle, WM_PAINT, 0, 0) != FALSE;
    }
    return 1;
}

void tearDown(Dialog& dialog) {
    SDL_DelEventWatch(watchDialogEvents, &dialog);
    for (Control* control : dialog.controls) {
        DestroyWindow(control->handle);
    }
    dialog.controls.clear();
    destroyDialogUi(dialog);
}

void paintDialog(Dialog& dialog) {
    dialog.paintQueued = false;
    // Pace the frames that follow input to the display's rate, so a busy dialog does not spin.
    uint32_t now = SDL_GetTicks();
    uint32_t sinceLast = now - dialog.lastFrameTicks;
    if (dialog.framesPending > 0 && sinceLast < 16) {
        SDL_Delay(16 - sinceLast);
    }
    drawDialogFrame(dialog.handle);
    if (dialog.framesPending > 0 && IsWindow(dialog.handle)) {
        --dialog.framesPending;
        dialog.paintQueued = PostMessageA(dialog.handle, WM_PAINT, 0, 0) != FALSE;
    }
}

LRESULT CALLBACK dialogWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = findDialog(handle);
    if (!dialog) {
        return 0;
    }
    if (message == WM_PAINT) {
        paintDialog(*dialog);
        return 0;
    }
    if (message == WM_GETTEXT) {
        return copyText(dialog->layout.caption, reinterpret_cast<LPSTR>(lParam),
                        static_cast<int>(wParam));
    }
    INT_PTR handled =
        dialog->procedure ? dialog->procedure(handle, message, wParam, lParam) : FALSE;
    if (message == WM_DESTROY) {
        tearDown(*dialog);
    } else if (message == WM_NCDESTROY) {
        dialogs().erase(handle);
    }
    return handled;
}

HWND createControl(Dialog& dialog, const DialogControlTemplate& layout) {
    auto window = std::make_unique<Window>();
    window->procedure = controlWindowProc;
    window->className = layout.windowClass;
    window->style = layout.style;
    HWND handle = adoptWindow(std::move(window));

    auto control = std::make_unique<Control>();
    control->handle = handle;
    control->dialog = &dialog;
    control->layout = layout;
    control->visible = (layout.style & WS_VISIBLE) != 0;
    control->enabled = (layout.style & WS_DISABLED) == 0;
    control->text = layout.text;
    dialog.controls.push_back(control.get());
    controls()[handle] = std::move(control);
    return handle;
}

SDL_Window* openDialogWindow(const Dialog& dialog) {
    const DialogTemplate& layout = dialog.layout;
    if (!ensureSdlVideo()) {
        return nullptr;
    }
    requestWindowVisual();
    RECT size = dialogUnitsToPixels(dialog, RECT{0, 0, layout.width, layout.height});
    Uint32 flags = SDL_WINDOW_OPENGL;
    flags |= (layout.style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    SDL_Window* sdl = SDL_CreateWindow(layout.caption.c_str(), SDL_WINDOWPOS_CENTERED,
                                       SDL_WINDOWPOS_CENTERED, size.right, size.bottom, flags);
    if (!sdl) {
        std::fprintf(stderr, "tarnelix win32: cannot open the dialog's window: %s\n",
                     SDL_GetError());
    }
    return sdl;
}

} // namespace

bool Control::isButton() const {
    return sameClass(layout.windowClass, "BUTTON");
}

bool Control::isDefaultButton() const {
    return isButton() && (layout.style & 0x0F) == BS_DEFPUSHBUTTON;
}

bool Control::isComboBox() const {
    return sameClass(layout.windowClass, "COMBOBOX");
}

Dialog* findDialog(HWND handle) {
    auto found = dialogs().find(handle);
    return found == dialogs().end() ? nullptr : found->second.get();
}

Control* findControl(HWND handle) {
    auto found = controls().find(handle);
    return found == controls().end() ? nullptr : found->second.get();
}

RECT dialogUnitsToPixels(const Dialog& dialog, const RECT& units) {
    const int x = dialog.baseUnitX;
    const int y = dialog.baseUnitY;
    return RECT{units.left * x / 4, units.top * y / 8, units.right * x / 4, units.bottom * y / 8};
}

} // namespace tarnelix::win32

using tarnelix::win32::Control;
using tarnelix::win32::Dialog;
using tarnelix::win32::findControl;
using tarnelix::win32::findDialog;

HWND WINAPI CreateDialogParamA(HINSTANCE, LPCSTR templateName, HWND, DLGPROC procedure,
                               LPARAM initParam) {
    if (!IS_INTRESOURCE(templateName)) {
        std::fprintf(stderr, "tarnelix win32: dialog templates are registered by number only\n");
        return nullptr;
    }
    int resourceId = static_cast<int>(reinterpret_cast<ULONG_PTR>(templateName));
    const tarnelix::DialogTemplate* layout = tarnelix::findDialogTemplate(resourceId);
    if (!layout) {
        std::fprintf(stderr, "tarnelix win32: no dialog template %d is registered\n", resourceId);
        return nullptr;
    }
    auto dialog = std::make_unique<Dialog>();
    Dialog& record = *dialog;
    record.procedure = procedure;
    record.layout = *layout;
    // The font decides the dialog units, and with them the window's size.
    SDL_Window* sdl = tarnelix::win32::createDialogUiContext(record)
                          ? tarnelix::win32::openDialogWindow(record)
                          : nullptr;
    if (!sdl) {
        tarnelix::win32::destroyDialogUi(record);
        return nullptr;
    }
    auto window = std::make_unique<tarnelix::win32::Window>();
    window->sdl = sdl;
    window->procedure = tarnelix::win32::dialogWindowProc;
    window->className = tarnelix::win32::kDialogClass;
    window->style = layout->style;
    HWND handle = tarnelix::win32::adoptWindow(std::move(window));
    record.handle = handle;
    record.sdl = sdl;
    tarnelix::win32::dialogs()[handle] = std::move(dialog);
    if (!tarnelix::win32::createDialogUi(record)) {
        DestroyWindow(handle);
        return nullptr;
    }
    for (const tarnelix::DialogControlTemplate& control : layout->controls) {
        tarnelix::win32::createControl(record, control);
    }
    SDL_AddEventWatch(tarnelix::win32::watchDialogEvents, &record);

    HWND firstControl = record.controls.empty() ? nullptr : record.controls.front()->handle;
    SendMessageA(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstControl), initParam);
    if (IsWindow(handle)) {
        record.framesPending = 2;
        record.paintQueued = PostMessageA(handle, WM_PAINT, 0, 0) != FALSE;
    }
    return IsWindow(handle) ? handle : nullptr;
}

HWND WINAPI GetDlgItem(HWND dialogHandle, int id) {
    Dialog* dialog = findDialog(dialogHandle);
    if (!dialog) {
        return nullptr;
    }
    for (Control* control : dialog->controls) {
        if (control->layout.id == id) {
            return control->handle;
        }
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND handle) {
    Control* control = findControl(handle);
    return control ? control->layout.id : 0;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int capacity) {
    if (!text || capacity <= 0) {
        return 0;
    }
    text[0] = '\0';
    if (findControl(handle) || findDialog(handle)) {
        return static_cast<int>(SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                             reinterpret_cast<LPARAM>(text)));
    }
    SDL_Window* sdl = tarnelix::sdlWindowOf(handle);
    return sdl ? tarnelix::win32::copyText(SDL_GetWindowTitle(sdl), text, capacity) : 0;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    if (Control* control = findControl(handle)) {
        return control->visible && IsWindowVisible(control->dialog->handle);
    }
    SDL_Window* sdl = tarnelix::sdlWindowOf(handle);
    return sdl && (SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    if (Control* control = findControl(handle)) {
        return control->enabled ? TRUE : FALSE;
    }
    return IsWindow(handle);
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Control* control = findControl(handle);
    if (!control) {
        return FALSE;
    }
    BOOL wasDisabled = control->enabled ? FALSE : TRUE;
    control->enabled = enable != FALSE;
    return wasDisabled;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR caption) {
    if (className && !tarnelix::win32::sameClass(tarnelix::win32::kDialogClass, className)) {
        return nullptr;
    }
    for (auto& [handle, dialog] : tarnelix::win32::dialogs()) {
        if (!caption || dialog->layout.caption == caption) {
            return handle;
        }
    }
    return nullptr;
}

BOOL WINAPI MapDialogRect(HWND handle, LPRECT rect) {
    Dialog* dialog = findDialog(handle);
    if (!dialog || !rect) {
        return FALSE;
    }
    *rect = tarnelix::win32::dialogUnitsToPixels(*dialog, *rect);
    return TRUE;
}

namespace tarnelix {

bool drawDialogFrame(HWND handle) {
    Dialog* dialog = findDialog(handle);
    if (!dialog) {
        return false;
    }
    win32::drawDialogUi(*dialog);
    dialog->lastFrameTicks = SDL_GetTicks();
    return true;
}

void overrideDialogPointer(HWND handle, float x, float y, bool buttonDown) {
    if (Dialog* dialog = findDialog(handle)) {
        dialog->pointer = win32::PointerOverride{true, x, y, buttonDown};
    }
}

float dialogTextWidth(HWND handle, const char* text) {
    Dialog* dialog = findDialog(handle);
    return dialog && text ? win32::dialogTextWidth(*dialog, text) : 0.0f;
}

float comboTextRoom(HWND handle) {
    Control* control = findControl(handle);
    return control && control->isComboBox() ? win32::comboTextRoom(*control) : 0.0f;
}

void releaseDialogPointer(HWND handle) {
    if (Dialog* dialog = findDialog(handle)) {
        dialog->pointer = win32::PointerOverride{};
    }
}

} // namespace tarnelix
