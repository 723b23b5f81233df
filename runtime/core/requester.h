// Requesters: the modal message box, and the requester library's cleanup.
#pragma once
#include <cstdint>

// Shows a modal message box with the program's other windows disabled meanwhile.
// Returns the pressed button as the message box reports it.
int32_t Requester_Message(const char* caption, const char* text, int32_t flags);
void Requester_End();
