#pragma once

// TARNELIX_GL_CHECK=1: every GL error the stand-in causes is a fault, reported on stderr as
// "GL error: <error> in <GL call> from <Direct3D 9 call>". The context is made with the debug
// flag and GL reports through KHR_debug; where a driver lacks it, glGetError is asked after
// every GL call the stand-in makes (Gl.h routes them through checkedGl). With the variable
// unset the cost is one well-predicted branch per public call and per GL call.

#include <type_traits>

namespace tarnelix::d3d9 {

namespace glcheck {
// Set when a device starts; the only state the unchecked path touches.
extern bool enabled;
extern bool polling;
extern thread_local const char* currentCall;
} // namespace glcheck

// Whether TARNELIX_GL_CHECK asks for the check.
bool glCheckRequested();

// Turns the check on, if asked, for the device's freshly made, current context: debug output
// where the driver has KHR_debug, error polling otherwise.
void startGlCheck();

// Selects error polling instead of debug output (drivers without KHR_debug; tests).
void setGlErrorPolling(bool on);

// Reports one GL error; `detail` is the driver's text when it has one.
void reportGlError(const char* error, const char* glCall, const char* detail);

// Asks glGetError after `glCall` and reports what it gives.
void pollGlErrors(const char* glCall);

// The GL error's name ("GL_INVALID_ENUM").
const char* glErrorName(unsigned error);

// GL errors reported so far; tests that cause one on purpose put the count back.
unsigned glFaultCount();
void setGlFaultCount(unsigned count);

// Names the Direct3D 9 call the program made while its GL calls run. Calls the stand-in makes
// to itself keep the outer name, the one the program wrote.
class D3d9CallScope {
public:
    explicit D3d9CallScope(const char* name) {
        if (glcheck::enabled && !glcheck::currentCall) {
            glcheck::currentCall = name;
            owner_ = true;
        }
    }
    ~D3d9CallScope() {
        if (owner_) {
            glcheck::currentCall = nullptr;
        }
    }
    D3d9CallScope(const D3d9CallScope&) = delete;
    D3d9CallScope& operator=(const D3d9CallScope&) = delete;

private:
    bool owner_ = false;
};

template <typename Function, typename... Args>
inline auto checkedGl(const char* name, Function function, Args... args) {
    if constexpr (std::is_void_v<decltype(function(args...))>) {
        function(args...);
        if (glcheck::polling) {
            pollGlErrors(name);
        }
    } else {
        auto result = function(args...);
        if (glcheck::polling) {
            pollGlErrors(name);
        }
        return result;
    }
}

} // namespace tarnelix::d3d9

// At the top of every public entry point of the device and its resources.
#define TARNELIX_D3D9_CALL() ::tarnelix::d3d9::D3d9CallScope d3d9CallScope_(__func__)
