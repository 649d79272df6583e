#include "settings/RegistryAccess.h"

#include "settings/UserStore.h"

#include <cstring>

namespace tickerlux::settings {

namespace {

std::string FullKey(RegRoot root, const std::string& subkey)
{
    switch (root) {
    case RegRoot::CurrentUser:
        break;
    }
    return "HKEY_CURRENT_USER\\" + subkey;
}

} // namespace

CRegistrySnapshot::CRegistrySnapshot() : m_store(userstore::Load()) {}

bool CRegistrySnapshot::ReadValue(void* buffer, std::uint32_t* size, std::uint32_t bufferSize,
                                  RegRoot root, const std::string& subkey,
                                  const std::string& name) const
{
    const std::string key = FullKey(root, subkey);
    if (!m_store || !m_store->HasKey(key))
        return false;
    const regfile::Value* value = m_store->Find(key, name);
    if (!value || value->data.size() > bufferSize) {
        if (size)
            *size = 0;
        return false;
    }
    if (!value->data.empty())
        std::memcpy(buffer, value->data.data(), value->data.size());
    if (size)
        *size = static_cast<std::uint32_t>(value->data.size());
    return true;
}

bool CRegistryAccess::ReadValue(void* buffer, std::uint32_t* size, std::uint32_t bufferSize,
                                RegRoot root, const std::string& subkey,
                                const std::string& name) const
{
    return Snapshot().ReadValue(buffer, size, bufferSize, root, subkey, name);
}

bool CRegistryAccess::WriteValue(const void* data, std::uint32_t type, std::uint32_t size,
                                 RegRoot root, const std::string& subkey,
                                 const std::string& name) const
{
    return WriteValues(root, subkey,
                       {{name, type, std::string(static_cast<const char*>(data), size)}});
}

bool CRegistryAccess::WriteValues(RegRoot root, const std::string& subkey,
                                  const std::vector<regfile::Value>& values) const
{
    return ChangeValues(root, subkey, [&](const CRegistrySnapshot&) { return values; });
}

bool CRegistryAccess::ChangeValues(RegRoot root, const std::string& subkey,
                                   const ValueEdit& edit) const
{
    const std::string key = FullKey(root, subkey);
    return userstore::Update([&](regfile::CRegFile& store) {
        for (const regfile::Value& value : edit(CRegistrySnapshot(store)))
            store.Set(key, value);
        return true;
    });
}

bool CRegistryAccess::DeleteValue(RegRoot root, const std::string& subkey,
                                  const std::string& name) const
{
    const std::string key = FullKey(root, subkey);
    return userstore::Update([&](regfile::CRegFile& store) { return store.Remove(key, name); });
}

} // namespace tickerlux::settings
