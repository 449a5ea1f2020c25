#pragma once

// A shared library opened when it is first needed rather than linked: speech and the KVTML
// reader bring some twenty libraries (eSpeak NG, the sound server's client, ALSA, libxml2 and
// ICU), and loading them at every start cost about 5 ms before the first frame. The library is
// opened once and never closed (some start threads of their own).

#include <string>

class SharedLibrary {
public:
    // Opens the library with this file name (its soname, e.g. "libxml2.so.2"), all its symbols
    // bound now; a library that cannot be opened leaves the object closed.
    explicit SharedLibrary(const char* soname);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool isOpen() const { return handle_ != nullptr; }
    // Why it could not be opened (the loader's message), empty when it is open.
    const std::string& failure() const { return failure_; }

    // Points `function` at the library's symbol of that name; false (and null) when the library
    // is closed or has no such symbol.
    template <typename Function>
    bool bind(Function*& function, const char* name) const {
        function = reinterpret_cast<Function*>(symbol(name));
        return function != nullptr;
    }

private:
    void* symbol(const char* name) const;

    void* handle_ = nullptr;
    std::string failure_;
};
