#include "engine/rar/RarState.h"

#include <cstdlib>
#include <cstring>

namespace rar {

void RarState::releaseWork() {
    archive.close();
    parts.list.clear();
    decoder.attachWindow(nullptr);
    std::free(window);
    window = nullptr;
    // Volatile stores so the wipe of the password is not optimised away.
    volatile char* secret = password;
    for (size_t i = 0; i < sizeof(password); ++i) {
        secret[i] = 0;
    }
    hasPassword = false;
    cipher.clear();
    packed.start(nullptr, 0, nullptr, 0);
    found = false;
}

RarState& rarState() {
    static RarState state;
    return state;
}

} // namespace rar
