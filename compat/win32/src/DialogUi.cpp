// Draws a dialog's controls with Dear ImGui into the dialog's own GL context: push buttons,
// static texts and drop-down lists at their template positions, hidden controls left out and
// disabled ones greyed and inert.

#include "Dialog.h"
#include "DialogFont.h"

#include <imgui.h>

#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>

#include <GL/gl.h>

#include <cstdio>

namespace tarnelix::win32 {

namespace {

// Makes a dialog's GL and ImGui contexts current for the life of the object, and puts back
// whatever was current before.
class UiScope {
public:
    explicit UiScope(Dialog& dialog)
        : m_window(SDL_GL_GetCurrentWindow()), m_gl(SDL_GL_GetCurrentContext()),
          m_ui(ImGui::GetCurrentContext()) {
        if (dialog.gl) {
            SDL_GL_MakeCurrent(dialog.sdl, dialog.gl);
        }
        ImGui::SetCurrentContext(dialog.ui);
    }
    ~UiScope() {
        ImGui::SetCurrentContext(m_ui);
        if (m_gl) {
            SDL_GL_MakeCurrent(m_window, m_gl);
        }
    }
    UiScope(const UiScope&) = delete;
    UiScope& operator=(const UiScope&) = delete;

private:
    SDL_Window* m_window;
    SDL_GLContext m_gl;
    ImGuiContext* m_ui;
};

ImVec2 pixelPosition(const Control& control) {
    const DialogControlTemplate& layout = control.layout;
    RECT r = dialogUnitsToPixels(*control.dialog, RECT{layout.x, layout.y, layout.x, layout.y});
    return ImVec2(static_cast<float>(r.left), static_cast<float>(r.top));
}

ImVec2 pixelSize(const Control& control) {
    const DialogControlTemplate& layout = control.layout;
    RECT r = dialogUnitsToPixels(*control.dialog, RECT{0, 0, layout.width, layout.height});
    return ImVec2(static_cast<float>(r.right), static_cast<float>(r.bottom));
}

void notify(const Control& control, WORD code) {
    PostMessageA(control.dialog->handle, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(control.layout.id), code),
                 reinterpret_cast<LPARAM>(control.handle));
}

void drawButton(const Control& control) {
    ImVec2 size = pixelSize(control);
    if (control.isDefaultButton()) {
        ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
    }
    if (ImGui::Button(control.text.c_str(), size)) {
        notify(control, BN_CLICKED);
    }
    if (control.isDefaultButton()) {
        ImGui::PopStyleVar();
    }
}

void drawComboBox(Control& control) {
    ImVec2 size = pixelSize(control);
    const char* preview =
        control.selection >= 0 ? control.items[static_cast<size_t>(control.selection)].c_str() : "";
    ImGui::SetNextItemWidth(size.x);
    // The template's height is that of the dropped-down list.
    ImGui::SetNextWindowSizeConstraints(ImVec2(size.x, 0.0f), ImVec2(size.x, size.y));
    char label[32];
    std::snprintf(label, sizeof(label), "##control%p", static_cast<void*>(control.handle));
    if (!ImGui::BeginCombo(label, preview)) {
        return;
    }
    for (size_t i = 0; i < control.items.size(); ++i) {
        ImGui::PushID(static_cast<int>(i));
        bool current = static_cast<int>(i) == control.selection;
        if (ImGui::Selectable(control.items[i].c_str(), current) && !current) {
            control.selection = static_cast<int>(i);
            notify(control, CBN_SELCHANGE);
        }
        ImGui::PopID();
    }
    ImGui::EndCombo();
}

void drawControl(Control& control) {
    ImGui::SetCursorPos(pixelPosition(control));
    ImGui::BeginDisabled(!control.enabled);
    if (control.isButton()) {
        drawButton(control);
    } else if (control.isComboBox()) {
        drawComboBox(control);
    } else {
        ImGui::TextUnformatted(control.text.c_str());
    }
    ImGui::EndDisabled();
}

void drawControls(Dialog& dialog) {
    ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                             ImGuiWindowFlags_NoSavedSettings |
                             ImGuiWindowFlags_NoBringToFrontOnFocus;
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0.0f, 0.0f));
    ImGui::Begin("##dialog", nullptr, flags);
    ImGui::PopStyleVar();
    for (Control* control : dialog.controls) {
        if (control->visible) {
            drawControl(*control);
        }
    }
    ImGui::End();
}

} // namespace

bool createDialogUiContext(Dialog& dialog) {
    ImGuiContext* previousUi = ImGui::GetCurrentContext();
    dialog.ui = ImGui::CreateContext();
    ImGui::SetCurrentContext(dialog.ui);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    ImGui::StyleColorsLight();
    ImGui::GetStyle().FrameBorderSize = 1.0f;
    const DialogFont font = addDialogFont(*io.Fonts, dialog.layout.fontPointSize);
    io.FontDefault = font.font;
    dialog.font = font.font;
    dialog.baseUnitX = font.baseUnitX;
    dialog.baseUnitY = font.baseUnitY;
    ImGui::SetCurrentContext(previousUi);
    return true;
}

bool createDialogUi(Dialog& dialog) {
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousGl = SDL_GL_GetCurrentContext();
    dialog.gl = SDL_GL_CreateContext(dialog.sdl);
    if (!dialog.gl) {
        std::fprintf(stderr, "tarnelix win32: cannot draw the dialog: %s\n", SDL_GetError());
        return false;
    }
    ImGuiContext* previousUi = ImGui::GetCurrentContext();
    ImGui::SetCurrentContext(dialog.ui);
    bool ready = ImGui_ImplSDL2_InitForOpenGL(dialog.sdl, dialog.gl) &&
                 ImGui_ImplOpenGL3_Init("#version 330");
    ImGui::SetCurrentContext(previousUi);
    if (previousGl) {
        SDL_GL_MakeCurrent(previousWindow, previousGl);
    }
    if (!ready) {
        std::fprintf(stderr, "tarnelix win32: cannot set up the dialog's drawing\n");
    }
    return ready;
}

void destroyDialogUi(Dialog& dialog) {
    if (dialog.ui) {
        UiScope scope(dialog);
        ImGuiIO& io = ImGui::GetIO();
        if (io.BackendRendererUserData) {
            ImGui_ImplOpenGL3_Shutdown();
        }
        if (io.BackendPlatformUserData) {
            ImGui_ImplSDL2_Shutdown();
        }
    }
    if (dialog.ui) {
        ImGuiContext* current = ImGui::GetCurrentContext();
        ImGui::DestroyContext(dialog.ui);
        ImGui::SetCurrentContext(current == dialog.ui ? nullptr : current);
        dialog.ui = nullptr;
    }
    if (dialog.gl) {
        if (SDL_GL_GetCurrentContext() == dialog.gl) {
            SDL_GL_MakeCurrent(dialog.sdl, nullptr);
        }
        SDL_GL_DeleteContext(dialog.gl);
        dialog.gl = nullptr;
    }
}

void feedDialogUi(Dialog& dialog, const SDL_Event& event) {
    if (!dialog.ui) {
        return;
    }
    ImGuiContext* previous = ImGui::GetCurrentContext();
    ImGui::SetCurrentContext(dialog.ui);
    ImGui_ImplSDL2_ProcessEvent(&event);
    ImGui::SetCurrentContext(previous);
}

float dialogTextWidth(Dialog& dialog, const char* text) {
    if (!dialog.ui || !dialog.font) {
        return 0.0f;
    }
    return dialog.font->CalcTextSizeA(dialog.font->FontSize, 1e9f, 0.0f, text).x;
}

float comboTextRoom(Control& comboBox) {
    Dialog& dialog = *comboBox.dialog;
    if (!dialog.ui) {
        return 0.0f;
    }
    ImGuiContext* previous = ImGui::GetCurrentContext();
    ImGui::SetCurrentContext(dialog.ui);
    // What BeginCombo leaves for the preview: the frame less its square arrow button and the
    // padding on both sides of the text. (GetFrameHeight needs a frame; the font is known.)
    const ImGuiStyle& style = ImGui::GetStyle();
    const float arrow = dialog.font->FontSize + 2.0f * style.FramePadding.y;
    const float room = pixelSize(comboBox).x - arrow - 2.0f * style.FramePadding.x;
    ImGui::SetCurrentContext(previous);
    return room;
}

void drawDialogUi(Dialog& dialog) {
    if (!dialog.ui || !dialog.gl) {
        return;
    }
    UiScope scope(dialog);
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    if (dialog.pointer.active) {
        ImGuiIO& io = ImGui::GetIO();
        io.MousePos = ImVec2(dialog.pointer.x, dialog.pointer.y);
        io.MouseDown[0] = dialog.pointer.buttonDown;
    }
    ImGui::NewFrame();
    drawControls(dialog);
    ImGui::Render();

    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(dialog.sdl, &width, &height);
    ImGuiStyle& style = ImGui::GetStyle();
    ImVec4 background = style.Colors[ImGuiCol_WindowBg];
    glViewport(0, 0, width, height);
    glClearColor(background.x, background.y, background.z, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(dialog.sdl);
}

} // namespace tarnelix::win32
