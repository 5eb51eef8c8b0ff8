#pragma once

class TextureCache;

// Faults in the show's data or surroundings, each told in one line on stderr:
// "PROGRAM: WHAT: reason; outcome". `outcome` says what happens next and may be null.
void reportFault(const char* program, const char* what, const char* reason, const char* outcome);

// From now on every texture of `textures` that will not load is reported once, by name, as the
// show goes on without it.
void reportTextureFailures(TextureCache& textures, const char* program);
