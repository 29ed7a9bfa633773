#include "base/shared_library.h"

#include <dlfcn.h>

#include "base/text_format.h"

namespace murmelix {

SharedLibrary::SharedLibrary(const char* file) : file_(file) {
    handle_ = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        failure_ = formatText("The library %s could not be loaded (%s); please install it.", file,
                              dlerror());
    }
}

void* SharedLibrary::symbol(const char* name, bool needed) {
    if (handle_ == nullptr) {
        return nullptr;
    }
    void* found = dlsym(handle_, name);
    if (found == nullptr && needed && failure_.empty()) {
        failure_ = formatText(
            "The library %s lacks its function %s; please install a version "
            "that has it.",
            file_.c_str(), name);
    }
    return found;
}

}  // namespace murmelix
