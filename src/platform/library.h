#pragma once
#include <string>

namespace platform {

// A shared library loaded by file name for as long as the object lives.
class Library {
public:
    Library() = default;
    explicit Library(const std::string& path); // check loaded() afterwards
    ~Library();
    Library(Library&&) noexcept;
    Library& operator=(Library&&) noexcept;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    void* symbol(const char* name) const; // nullptr when missing
    void unload();
    // Why the load failed (the loader's own text), for a log or a detailed message.
    const std::string& errorText() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace platform
