#include "app/FaultReport.h"

#include "engine/resources/TextureCache.h"

#include <cstdio>

void reportFault(const char* program, const char* what, const char* reason, const char* outcome) {
    std::fprintf(stderr, "%s: %s: %s%s%s\n", program, what, reason, outcome ? "; " : "",
                 outcome ? outcome : "");
}

void reportTextureFailures(TextureCache& textures, const char* program) {
    textures.onLoadFailure = [program](const char* name, const char* reason) {
        reportFault(program, name, reason, "the show goes on without this texture");
    };
}
