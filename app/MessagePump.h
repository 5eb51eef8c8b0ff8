#pragma once

// Handles at most one waiting window message of the thread's queue: false when it was the quit
// message, true otherwise (also when none was waiting).
bool pumpMessage();
