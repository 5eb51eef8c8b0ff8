// SDL_mixer makes its MP3 decoder handles itself and leaves libmpg123's messages on: a music
// file that is not an MP3 puts lines such as "Note: Illegal Audio-MPEG-Header" on stderr, above
// the one line the program says about it. No SDL_mixer call reaches those handles, so this
// definition stands in front of libmpg123's own: it makes the handle as the library would and
// sets the library's quiet flag on it. Where SDL_mixer loads libmpg123 at run time instead of
// linking it, this is never called and nothing changes.
#include <mpg123.h>

#include <dlfcn.h>

namespace {

using NewHandle = mpg123_handle* (*)(const char*, int*);

NewHandle libraryNewHandle() {
    static const NewHandle next = reinterpret_cast<NewHandle>(dlsym(RTLD_NEXT, "mpg123_new"));
    return next;
}

} // namespace

extern "C" mpg123_handle* mpg123_new(const char* decoder, int* error) {
    const NewHandle next = libraryNewHandle();
    if (next == nullptr) {
        if (error != nullptr) {
            *error = MPG123_ERR;
        }
        return nullptr;
    }
    mpg123_handle* handle = next(decoder, error);
    if (handle != nullptr) {
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    }
    return handle;
}

// Referenced from the FSOUND calls so that a static link always takes this file in.
namespace tarnelix::fmod {
void keepMp3DecoderQuiet() {}
} // namespace tarnelix::fmod
