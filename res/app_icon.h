// The application icon (resource 128), drawn rather than shipped so that it scales and needs no file.
#pragma once

#include <QIcon>

QIcon AppIcon();
