#pragma once

#include "engine/rar/RarHeaders.h"

namespace rar {

struct RarState;

// Decodes the entry whose parts were collected last, into the output block when it is the
// wanted one, else (in a solid archive) into the window only, and checks the wanted one's
// CRC-32. `first` is the header of its first part. On failure the state's status says why.
bool extractCurrentEntry(RarState& s, const FileHeader& first, bool solidArchive);

} // namespace rar
