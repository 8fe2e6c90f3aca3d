#include "ptp_driver.h"

#include <dlfcn.h>
#include <gphoto2/gphoto2-library.h>
#include <gphoto2/gphoto2-result.h>
#include <gphoto2/gphoto2-version.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace frametally::camera {

namespace {

// libgphoto2 keeps its drivers in LIBDIR/libgphoto2/VERSION, LIBDIR being
// where libgphoto2 itself is; CAMLIBS names another directory.
std::string driverDirectory() {
    if (const char* named = std::getenv("CAMLIBS"); named && *named) return named;
    Dl_info library{};
    if (dladdr(reinterpret_cast<void*>(&gp_abilities_list_new), &library) == 0 || !library.dli_fname) return {};
    const std::string path = library.dli_fname;
    const std::size_t slash = path.rfind('/');
    const char** version = gp_library_version(GP_VERSION_SHORT);
    if (slash == std::string::npos || !version || !version[0]) return {};
    return path.substr(0, slash) + "/libgphoto2/" + version[0];
}

// Text into a fixed field, cut to fit and ended with a NUL.
template <std::size_t N>
void copyText(char (&field)[N], std::string_view text) {
    const std::size_t size = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), size);
    field[size] = '\0';
}

class LoadedDriver {
public:
    explicit LoadedDriver(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedDriver() {
        if (handle_) dlclose(handle_);
    }
    LoadedDriver(const LoadedDriver&) = delete;
    LoadedDriver& operator=(const LoadedDriver&) = delete;

    template <typename Function>
    Function entry(const char* name) const {
        return handle_ ? reinterpret_cast<Function>(dlsym(handle_, name)) : nullptr;
    }

private:
    void* handle_;
};

}  // namespace

int loadPtpDriver(CameraAbilitiesList* list) {
    const std::string directory = driverDirectory();
    if (directory.empty()) return GP_ERROR_LIBRARY;
    const std::string path = directory + "/ptp2.so";
    const LoadedDriver driver(path);
    const auto id = driver.entry<CameraLibraryIdFunc>("camera_id");
    const auto abilities = driver.entry<CameraLibraryAbilitiesFunc>("camera_abilities");
    CameraText name{};
    if (!id || !abilities || id(&name) < GP_OK) return GP_ERROR_LIBRARY;

    // The driver lists its models; each is then marked, as libgphoto2 marks
    // them, with the driver's name and file, which opening a camera loads.
    CameraAbilitiesList* models = nullptr;
    int result = gp_abilities_list_new(&models);
    if (result >= GP_OK) result = abilities(models);
    const int count = result >= GP_OK ? gp_abilities_list_count(models) : 0;
    for (int i = 0; i < count && result >= GP_OK; ++i) {
        CameraAbilities model;
        result = gp_abilities_list_get_abilities(models, i, &model);
        if (result < GP_OK) break;
        copyText(model.id, std::string_view(name.text, strnlen(name.text, sizeof name.text)));
        copyText(model.library, path);
        result = gp_abilities_list_append(list, model);
    }
    if (models) gp_abilities_list_free(models);
    if (result >= GP_OK && count == 0) result = GP_ERROR_LIBRARY;
    return result;
}

}  // namespace frametally::camera
