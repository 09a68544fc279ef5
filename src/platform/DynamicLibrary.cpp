#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <utility>

namespace orvanta::platform {

DynamicLibrary::~DynamicLibrary()
{
    unload();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_))
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool DynamicLibrary::load(const std::string& path)
{
    unload();
    // RTLD_LOCAL keeps the engine's own dependencies out of the global
    // symbol namespace.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        error_ = reason ? reason : "unknown error";
        return false;
    }
    error_.clear();
    return true;
}

void DynamicLibrary::unload()
{
    if (handle_) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

void* DynamicLibrary::symbol(const char* name) const
{
    if (!handle_) {
        return nullptr;
    }
    return dlsym(handle_, name);
}

}
