// The GL check's reporting side: the debug-output callback, error polling and the fault count
// that tests and the exit status read.

#include "GlCheck.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tarnelix::d3d9 {

namespace glcheck {
bool enabled = false;
bool polling = false;
thread_local const char* currentCall = nullptr;
} // namespace glcheck

namespace {

std::atomic<unsigned> faults{0};

const char* callerName() {
    return glcheck::currentCall ? glcheck::currentCall : "outside any Direct3D 9 call";
}

bool hasDebugOutput() {
    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (major * 10 + minor >= 43) {
        return true;
    }
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) {
        const char* name =
            reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
        if (name && std::strcmp(name, "GL_KHR_debug") == 0) {
            return true;
        }
    }
    return false;
}

// Mesa writes "GL_INVALID_ENUM in glTexParameter(pname)": the error, then the GL call with
// the offending argument. Other drivers' texts are passed on whole.
void reportDebugMessage(GLenum type, GLenum severity, const char* message) {
    std::string text = message ? message : "";
    std::string error = type == GL_DEBUG_TYPE_ERROR ? "GL error" : "high-severity message";
    std::string call = "a GL call";
    size_t in = text.find(" in gl");
    if (text.compare(0, 3, "GL_") == 0 && in != std::string::npos) {
        error = text.substr(0, in);
        size_t end = text.find_first_of("( :", in + 4);
        call = text.substr(in + 4, end == std::string::npos ? std::string::npos : end - in - 4);
    } else if (severity == GL_DEBUG_SEVERITY_HIGH && type != GL_DEBUG_TYPE_ERROR) {
        error = "GL_DEBUG_SEVERITY_HIGH";
    }
    reportGlError(error.c_str(), call.c_str(), text.c_str());
}

// Mesa gives every message of its shader compiler high severity, warnings included (a global
// that main writes and a function it calls reads is "used uninitialized" there), and only when
// it compiles rather than finds the program in its cache: the compiler's warnings are no
// faults. Its errors come as GL_DEBUG_TYPE_ERROR.
bool isFault(GLenum source, GLenum type, GLenum severity) {
    if (type == GL_DEBUG_TYPE_ERROR) {
        return true;
    }
    return severity == GL_DEBUG_SEVERITY_HIGH && source != GL_DEBUG_SOURCE_SHADER_COMPILER;
}

void APIENTRY onDebugMessage(GLenum source, GLenum type, GLuint, GLenum severity, GLsizei,
                             const GLchar* message, const void*) {
    if (isFault(source, type, severity)) {
        reportDebugMessage(type, severity, message);
    }
}

// A run that met a GL error fails, even where only its exit status is looked at (programs the
// tests start).
void failRunOnFaults() {
    unsigned count = faults.load();
    if (count > 0) {
        std::fprintf(stderr, "GL error: %u in this run; the check fails it\n", count);
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    }
}

} // namespace

bool glCheckRequested() {
    const char* value = std::getenv("TARNELIX_GL_CHECK");
    return value && *value && std::strcmp(value, "0") != 0;
}

void startGlCheck() {
    glcheck::enabled = glCheckRequested();
    if (!glcheck::enabled) {
        return;
    }
    static bool exitHooked = false;
    if (!exitHooked) {
        exitHooked = std::atexit(failRunOnFaults) == 0;
    }
    if (!hasDebugOutput()) {
        setGlErrorPolling(true);
        return;
    }
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(onDebugMessage, nullptr);
}

void setGlErrorPolling(bool on) {
    glcheck::polling = on && glcheck::enabled;
}

void reportGlError(const char* error, const char* glCall, const char* detail) {
    faults.fetch_add(1);
    if (detail && *detail) {
        std::fprintf(stderr, "GL error: %s in %s from %s (%s)\n", error, glCall, callerName(),
                     detail);
    } else {
        std::fprintf(stderr, "GL error: %s in %s from %s\n", error, glCall, callerName());
    }
}

void pollGlErrors(const char* glCall) {
    // A call may leave several errors behind; each is a fault of its own.
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        reportGlError(glErrorName(error), glCall, nullptr);
    }
}

const char* glErrorName(unsigned error) {
    switch (error) {
    case GL_INVALID_ENUM:
        return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE:
        return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION:
        return "GL_INVALID_OPERATION";
    case GL_INVALID_FRAMEBUFFER_OPERATION:
        return "GL_INVALID_FRAMEBUFFER_OPERATION";
    case GL_OUT_OF_MEMORY:
        return "GL_OUT_OF_MEMORY";
    case GL_STACK_UNDERFLOW:
        return "GL_STACK_UNDERFLOW";
    case GL_STACK_OVERFLOW:
        return "GL_STACK_OVERFLOW";
    default:
        return "unknown GL error";
    }
}

unsigned glFaultCount() {
    return faults.load();
}

void setGlFaultCount(unsigned count) {
    faults.store(count);
}

} // namespace tarnelix::d3d9

// For test mains, which reach it through a weak reference: programs without the device lack it.
extern "C" unsigned tarnelix_gl_fault_count() {
    return tarnelix::d3d9::glFaultCount();
}
