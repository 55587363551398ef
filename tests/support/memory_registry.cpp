#include "tests/support/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Key and value names compare without case, as in the Windows registry.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return Upper(a) < Upper(b); }
};

}  // namespace

struct CMemoryRegistry::Node {
    std::map<std::string, std::unique_ptr<Node>, NoCaseLess> children;
    std::vector<std::pair<std::string, std::string>> values;  // name -> bytes, in the order set
};

CMemoryRegistry::CMemoryRegistry() : m_root(std::make_unique<Node>()) {}
CMemoryRegistry::~CMemoryRegistry() = default;

CMemoryRegistry::Node* CMemoryRegistry::Walk(Node* from, const std::string& path, bool create, std::string* fullPath)
{
    std::size_t at = 0;
    while (from != nullptr && at < path.size()) {
        std::size_t end = path.find('\\', at);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(at, end - at);
        at = end + 1;
        if (part.empty()) continue;
        auto it = from->children.find(part);
        if (it == from->children.end()) {
            if (!create) return nullptr;
            it = from->children.emplace(part, std::make_unique<Node>()).first;
        }
        if (fullPath != nullptr) {
            if (!fullPath->empty()) fullPath->push_back('\\');
            fullPath->append(Upper(part));
        }
        from = it->second.get();
    }
    return from;
}

CMemoryRegistry::Node* CMemoryRegistry::Find(RegKey key)
{
    if (key == REG_ROOT_LOCAL_MACHINE) return m_root.get();
    const auto it = m_handles.find(key);
    return it == m_handles.end() ? nullptr : it->second.first;
}

void CMemoryRegistry::AddKey(const std::string& path)
{
    Walk(m_root.get(), path, true, nullptr);
}

void CMemoryRegistry::SetString(const std::string& path, const std::string& name, const std::string& value,
                                bool terminated)
{
    Node* node = Walk(m_root.get(), path, true, nullptr);
    const std::string bytes = terminated ? value + '\0' : value;
    for (auto& [existing, data] : node->values) {
        if (Upper(existing) == Upper(name)) {
            data = bytes;
            return;
        }
    }
    node->values.emplace_back(name, bytes);
}

void CMemoryRegistry::FailOpen(const std::string& path, long error)
{
    m_failures[Upper(path)] = error;
}

void CMemoryRegistry::SetVersion(int platformId, int majorVersion)
{
    m_nPlatformId = platformId;
    m_nMajorVersion = majorVersion;
}

long CMemoryRegistry::OpenKey(RegKey parent, const char* subKey, std::uint32_t access, RegKey* key)
{
    Node* from = Find(parent);
    if (from == nullptr) return 6;  // ERROR_INVALID_HANDLE
    std::string path = parent == REG_ROOT_LOCAL_MACHINE ? std::string() : m_handles[parent].second;
    Node* node = Walk(from, subKey, false, &path);
    if (node == nullptr) return REG_FILE_NOT_FOUND;
    if (const auto failure = m_failures.find(path); failure != m_failures.end()) return failure->second;
    *key = m_nextHandle++;
    m_handles[*key] = {node, path};
    m_opened.emplace_back(path, access);
    return REG_SUCCESS;
}

long CMemoryRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size)
{
    Node* node = Find(key);
    if (node == nullptr) return 6;
    if (index >= node->children.size()) return REG_NO_MORE_ITEMS;
    const std::string& child = std::next(node->children.begin(), index)->first;
    if (child.size() + 1 > *size) return REG_MORE_DATA;
    std::memcpy(name, child.c_str(), child.size() + 1);
    *size = static_cast<std::uint32_t>(child.size());
    return REG_SUCCESS;
}

long CMemoryRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                                unsigned char* data, std::uint32_t* dataSize)
{
    Node* node = Find(key);
    if (node == nullptr) return 6;
    if (index >= node->values.size()) return REG_NO_MORE_ITEMS;
    const auto& [valueName, bytes] = node->values[index];
    if (valueName.size() + 1 > *nameSize || bytes.size() > *dataSize) {
        *dataSize = static_cast<std::uint32_t>(bytes.size());
        return REG_MORE_DATA;
    }
    std::memcpy(name, valueName.c_str(), valueName.size() + 1);
    std::memcpy(data, bytes.data(), bytes.size());
    *nameSize = static_cast<std::uint32_t>(valueName.size());
    *dataSize = static_cast<std::uint32_t>(bytes.size());
    return REG_SUCCESS;
}

long CMemoryRegistry::QueryValue(RegKey key, const char* name, unsigned char* data, std::uint32_t* size)
{
    Node* node = Find(key);
    if (node == nullptr) return 6;
    for (const auto& [valueName, bytes] : node->values) {
        if (Upper(valueName) != Upper(name)) continue;
        const std::uint32_t needed = static_cast<std::uint32_t>(bytes.size());
        if (needed > *size) {
            *size = needed;
            return REG_MORE_DATA;
        }
        std::memcpy(data, bytes.data(), bytes.size());
        *size = needed;
        return REG_SUCCESS;
    }
    return REG_FILE_NOT_FOUND;
}

long CMemoryRegistry::CloseKey(RegKey key)
{
    if (m_handles.erase(key) == 0) {
        ++m_nBadCloses;
        return 6;
    }
    return REG_SUCCESS;
}

void CMemoryRegistry::GetVersion(int* platformId, int* majorVersion)
{
    *platformId = m_nPlatformId;
    *majorVersion = m_nMajorVersion;
}
