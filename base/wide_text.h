// Text between Dorvane's UTF-8 and the UTF-16 of Windows' Unicode (W) functions.
#pragma once

#include <string>

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
