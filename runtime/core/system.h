// Common controls and COM start-up.
#pragma once

void System_Init();
