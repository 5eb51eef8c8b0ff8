#include "app/capture/CaptureMain.h"

int main(int argc, char** argv) {
    return runCapture(argc, argv);
}
