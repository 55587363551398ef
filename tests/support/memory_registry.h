// A registry held in memory: keys, string values, a version, and failures on request. It
// counts open keys, so a walk that leaks one is caught.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ports/registry.h"

class CMemoryRegistry : public CRegistry {
public:
    CMemoryRegistry();
    ~CMemoryRegistry() override;

    // Paths are backslash-separated below HKEY_LOCAL_MACHINE; missing keys are created.
    void AddKey(const std::string& path);
    // A string value; `terminated` false stores it without its NUL, as a careless writer may.
    void SetString(const std::string& path, const std::string& name, const std::string& value, bool terminated = true);
    // Opening the key at `path` fails with `error` from now on.
    void FailOpen(const std::string& path, long error);
    void SetVersion(int platformId, int majorVersion);

    int OpenKeyCount() const { return static_cast<int>(m_handles.size()); }
    int BadCloseCount() const { return m_nBadCloses; }
    long LastError() const { return m_nLastError; }
    // Every successful open, as (path, access mask).
    const std::vector<std::pair<std::string, std::uint32_t>>& Opened() const { return m_opened; }

    long OpenKey(RegKey parent, const char* subKey, std::uint32_t access, RegKey* key) override;
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) override;
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize, unsigned char* data,
                   std::uint32_t* dataSize) override;
    long QueryValue(RegKey key, const char* name, unsigned char* data, std::uint32_t* size) override;
    long CloseKey(RegKey key) override;
    void GetVersion(int* platformId, int* majorVersion) override;
    void SetLastError(long error) override { m_nLastError = error; }

private:
    struct Node;
    Node* Find(RegKey key);
    Node* Walk(Node* from, const std::string& path, bool create, std::string* fullPath);

    std::unique_ptr<Node> m_root;
    std::map<RegKey, std::pair<Node*, std::string>> m_handles;  // handle -> key and its path
    std::map<std::string, long> m_failures;                     // upper-case path -> error
    std::vector<std::pair<std::string, std::uint32_t>> m_opened;
    RegKey m_nextHandle = 0x1000;
    int m_nBadCloses = 0;
    long m_nLastError = 0;
    int m_nPlatformId = PLATFORM_WIN32_NT;
    int m_nMajorVersion = 10;
};
