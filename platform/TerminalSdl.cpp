#include "platform/Terminal.h"

#include <unistd.h>

bool streamIsTerminal(std::FILE* stream) {
    return stream != nullptr && isatty(fileno(stream)) == 1;
}
