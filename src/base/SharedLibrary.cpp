#include "base/SharedLibrary.h"

#include <dlfcn.h>

SharedLibrary::SharedLibrary(const char* soname) : handle_(::dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        const char* why = ::dlerror();
        failure_ = why != nullptr ? why : std::string("cannot open ") + soname;
    }
}

void* SharedLibrary::symbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}
