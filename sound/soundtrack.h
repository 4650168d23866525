// The show's music: started once, with every failure shown to the user, after which the show
// goes on, silent if need be.
#pragma once

#include <cstdint>

// Returns once the play request is made and any failure box has been dismissed.
void startSoundtrack();

// The sound library's error code as a user reads it; codes outside the table, negative ones
// included, are "Unknown error".
const char* soundErrorText(int32_t code);
