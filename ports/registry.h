// The registry operations the serial port list needs. The Windows registry implements them in
// registry_win32.cpp; CMemoryRegistry (memory_registry.h) is one held in memory for tests.
// Results are Win32 error codes.
#pragma once

#include <cstdint>

using RegKey = std::uintptr_t;
inline constexpr RegKey REG_ROOT_LOCAL_MACHINE = 0x80000002;

inline constexpr long REG_SUCCESS = 0;
inline constexpr long REG_FILE_NOT_FOUND = 2;
inline constexpr long REG_NOT_ENOUGH_MEMORY = 8;
inline constexpr long REG_MORE_DATA = 234;
inline constexpr long REG_NO_MORE_ITEMS = 259;

inline constexpr std::uint32_t REG_ACCESS_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr std::uint32_t REG_ACCESS_READ = 0x20019;

inline constexpr int PLATFORM_WIN32_WINDOWS = 1;  // the consumer family (95, 98, Me)
inline constexpr int PLATFORM_WIN32_NT = 2;

class CRegistry {
public:
    virtual ~CRegistry() = default;

    // RegOpenKeyExA: `subKey` is a backslash-separated path below `parent`.
    virtual long OpenKey(RegKey parent, const char* subKey, std::uint32_t access, RegKey* key) = 0;
    // RegEnumKeyExA: `size` goes in as the buffer's size in bytes and comes back as the name's
    // length without its NUL; REG_MORE_DATA when the name and its NUL do not fit.
    virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) = 0;
    // RegEnumValueA: the index-th value's name and data.
    virtual long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize, unsigned char* data,
                           std::uint32_t* dataSize) = 0;
    // RegQueryValueExA: on REG_MORE_DATA `size` comes back as the bytes the value needs. A
    // string value may lack its terminating NUL.
    virtual long QueryValue(RegKey key, const char* name, unsigned char* data, std::uint32_t* size) = 0;
    virtual long CloseKey(RegKey key) = 0;
    // GetVersionExA: platform id and major version.
    virtual void GetVersion(int* platformId, int* majorVersion) = 0;
    // The thread's last error, for a walk that ended on an error.
    virtual void SetLastError(long error) = 0;
};

// The registry of this system: the Windows registry there, null where there is none.
CRegistry* SystemRegistry();
