#include "link/SharedLibrary.h"

#include <dlfcn.h>

namespace tickerlux::link {

bool CSharedLibrary::Load(const char* fileName)
{
    Free();
    // RTLD_LOCAL: the library's names stay out of the program's global scope, so each load finds
    // the library's own functions and nothing is left behind once it is unloaded.
    m_handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* error = dlerror();
        m_lastError = error ? error : "";
    }
    return m_handle != nullptr;
}

void CSharedLibrary::Free()
{
    if (m_handle) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* CSharedLibrary::Symbol(const char* name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

} // namespace tickerlux::link
