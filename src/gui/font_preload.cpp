#include "gui/font_preload.h"

#include <dlfcn.h>

namespace murmelix {

namespace {

// fontconfig comes with the toolkit; when it is not loaded there is nothing to read ahead.
void readFontConfiguration() {
    void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr) {
        return;
    }
    using Init = int (*)();
    if (const auto init = reinterpret_cast<Init>(dlsym(library, "FcInit"))) {
        init();
    }
    dlclose(library);
}

}  // namespace

FontPreload::FontPreload() : reader_(readFontConfiguration) {}

FontPreload::~FontPreload() {
    reader_.join();
}

}  // namespace murmelix
