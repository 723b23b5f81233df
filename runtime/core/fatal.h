// The runtime's answer to memory it cannot get: a message and the normal end of the program,
// rather than a crash at the next use.
#pragma once

[[noreturn]] void Runtime_OutOfMemory();
