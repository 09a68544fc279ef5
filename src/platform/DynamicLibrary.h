#pragma once

#include <string>

namespace orvanta::platform {

// A shared library loaded by path, with entry points resolved by name.
// Unloads the library when destroyed.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads the library; on failure isLoaded() stays false and error() says why.
    bool load(const std::string& path);
    void unload();
    bool isLoaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }

    // The entry point's address, or null when the library lacks it.
    void* symbol(const char* name) const;

    template <typename Function>
    Function resolve(const char* name) const
    {
        return reinterpret_cast<Function>(symbol(name));
    }

private:
    void* handle_ = nullptr;
    std::string error_;
};

}
