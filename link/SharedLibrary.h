#pragma once

#include <string>

namespace tickerlux::link {

// A shared library loaded by its file name through the system's ordinary library search, and
// the functions found in it by name. The library is unloaded by Free or when the object goes.
class CSharedLibrary {
public:
    CSharedLibrary() = default;
    ~CSharedLibrary() { Free(); }
    CSharedLibrary(const CSharedLibrary&) = delete;
    CSharedLibrary& operator=(const CSharedLibrary&) = delete;

    bool Load(const char* fileName);
    void Free();
    // The system's text for the last Load that failed.
    const std::string& LastError() const { return m_lastError; }

    // The function named `name`, or nullptr when the library has none.
    template <class Function>
    Function Find(const char* name) const
    {
        return reinterpret_cast<Function>(Symbol(name));
    }

private:
    void* Symbol(const char* name) const;

    void* m_handle = nullptr;
    std::string m_lastError;
};

} // namespace tickerlux::link
