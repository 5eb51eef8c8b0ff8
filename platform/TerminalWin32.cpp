#include "platform/Terminal.h"

#include <io.h>

bool streamIsTerminal(std::FILE* stream) {
    return stream != nullptr && _isatty(_fileno(stream)) != 0;
}
