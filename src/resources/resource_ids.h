// Resource ids shared by the resource script and the Win32 code.
#pragma once

// The lowest icon id, so Explorer shows it as the program's icon.
#define IDI_TUNEBRIDGE 1
