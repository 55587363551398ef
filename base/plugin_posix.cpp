#include "base/plugin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

std::string PluginFolder()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return DORVANE_PLUGIN_DIR_FROM_BIN;
    std::string folder(self, static_cast<std::size_t>(length));
    folder.erase(folder.find_last_of('/') + 1);
    return folder + DORVANE_PLUGIN_DIR_FROM_BIN;
}

void* LoadPluginEntry(const PluginName& name, const char* entry, OperatorMessage& failure)
{
    const std::string path = PluginFolder() + "/" + name.fileName;
    // RTLD_LOCAL: the part's libraries stay out of the program's own symbol lookup.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* symbol = handle != nullptr ? ::dlsym(handle, entry) : nullptr;
    if (symbol != nullptr) return symbol;
    const char* reason = ::dlerror();
    failure = {std::string(name.korean) + " 기능이 설치되어 있지 않습니다 (" + path + ")",
               std::string("the part for ") + name.english + " is not installed: " + (reason ? reason : path)};
    return nullptr;
}
