// What the console needs before the first Korean line is printed.
#pragma once

// Windows: the console shows the UTF-8 this tool writes (it starts in the OEM code page, CP949 on
// a Korean system) until the tool exits. Elsewhere terminals take UTF-8 as it is.
void UseUtf8Console();
