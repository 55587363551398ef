// A Windows program always has its desktop to draw on.
#include "app/setup_app.h"

bool CheckDisplay()
{
    return true;
}
