// The Windows registry behind the port list's registry operations.
#include "ports/registry.h"
#include "base/windows_api.h"

namespace {

HKEY ToHkey(RegKey key)
{
    // The predefined key is a sign-extended 32-bit value, not our 0x80000002.
    return key == REG_ROOT_LOCAL_MACHINE ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

class CWin32Registry : public CRegistry {
public:
    long OpenKey(RegKey parent, const char* subKey, std::uint32_t access, RegKey* key) override
    {
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExA(ToHkey(parent), subKey, 0, access, &opened);
        *key = reinterpret_cast<RegKey>(opened);
        return result;
    }

    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) override
    {
        DWORD length = *size;
        FILETIME lastWrite{};
        const LONG result = RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, &lastWrite);
        *size = length;
        return result;
    }

    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize, unsigned char* data,
                   std::uint32_t* dataSize) override
    {
        DWORD nameLength = *nameSize;
        DWORD dataLength = *dataSize;
        DWORD type = 0;
        const LONG result = RegEnumValueA(ToHkey(key), index, name, &nameLength, nullptr, &type, data, &dataLength);
        *nameSize = nameLength;
        *dataSize = dataLength;
        return result;
    }

    long QueryValue(RegKey key, const char* name, unsigned char* data, std::uint32_t* size) override
    {
        DWORD length = *size;
        const LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, nullptr, data, &length);
        *size = length;
        return result;
    }

    long CloseKey(RegKey key) override { return RegCloseKey(ToHkey(key)); }

    void GetVersion(int* platformId, int* majorVersion) override
    {
        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;  // 148
        GetVersionExA(&version);
        *platformId = static_cast<int>(version.dwPlatformId);
        *majorVersion = static_cast<int>(version.dwMajorVersion);
    }

    void SetLastError(long error) override { ::SetLastError(static_cast<DWORD>(error)); }
};

}  // namespace

CRegistry* SystemRegistry()
{
    static CWin32Registry registry;
    return &registry;
}
