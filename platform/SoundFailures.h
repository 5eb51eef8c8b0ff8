#pragma once

// Why the sound system or the music did not start, in a user's terms: each system knows its
// own reasons.

// After SoundSystem::init failed.
const char* soundFailureReason();
// After the music file `fileName` could not be opened.
const char* musicFailureReason(const char* fileName);
