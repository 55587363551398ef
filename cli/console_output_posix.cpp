#include "cli/console_output.h"

// Linux terminals speak UTF-8 already.
void UseUtf8Console() {}
