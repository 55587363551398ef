// Text between the dialog's UTF-8 and the Unicode (W) functions' UTF-16.
#pragma once

#include <string>

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
