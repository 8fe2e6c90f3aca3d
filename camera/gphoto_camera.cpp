#include "gphoto_camera.h"

#include <gphoto2/gphoto2-setting.h>

#include "ptp_driver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace frametally::camera {

namespace {

void keepError(GPContext*, const char* text, void* data) { *static_cast<std::string*>(data) = text ? text : ""; }

// The name libgphoto2 gives this computer on PTP/IP ("bf:34:cd:...", kept in
// its settings once it has connected): a body paired over Wi-Fi knows the
// computer by it. Zeros when there is none.
PtpipGuid libgphotoGuid() {
    char text[1024] = "";
    char id[] = "ptp2_ip";
    char key[] = "guid";
    PtpipGuid guid{};
    if (gp_setting_get(id, key, text) < GP_OK) return guid;
    text[sizeof text - 1] = '\0';
    unsigned bytes[16];
    if (std::sscanf(text, "%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x:%2x", &bytes[0], &bytes[1],
                    &bytes[2], &bytes[3], &bytes[4], &bytes[5], &bytes[6], &bytes[7], &bytes[8], &bytes[9], &bytes[10],
                    &bytes[11], &bytes[12], &bytes[13], &bytes[14], &bytes[15]) != 16) {
        return guid;
    }
    for (int i = 0; i < 16; ++i) guid[i] = static_cast<std::uint8_t>(bytes[i]);
    return guid;
}

}  // namespace

GphotoLibrary::GphotoLibrary(Drivers drivers) {
    context_ = gp_context_new();
    gp_context_set_error_func(context_, keepError, &lastError_);
    gp_abilities_list_new(&abilities_);
    gp_port_info_list_new(&ports_);
    loadResult_ = drivers == Drivers::PtpFirst ? loadPtpDriver(abilities_) : GP_ERROR;
    if (loadResult_ < GP_OK) {
        gp_abilities_list_reset(abilities_);
        loadResult_ = gp_abilities_list_load(abilities_, context_);
        allDrivers_ = true;
    }
    if (loadResult_ >= GP_OK) loadResult_ = gp_port_info_list_load(ports_);
}

bool GphotoLibrary::loadAllDrivers() {
    if (allDrivers_ || loadResult_ < GP_OK) return false;
    allDrivers_ = true;
    gp_abilities_list_reset(abilities_);
    loadResult_ = gp_abilities_list_load(abilities_, context_);
    return loadResult_ >= GP_OK;
}

void GphotoLibrary::loadDriverFor(const std::string& model) {
    if (gp_abilities_list_lookup_model(abilities_, model.c_str()) < GP_OK) loadAllDrivers();
}

GphotoLibrary::~GphotoLibrary() {
    gp_port_info_list_free(ports_);
    gp_abilities_list_free(abilities_);
    gp_context_unref(context_);
}

GphotoCamera::~GphotoCamera() {
    close();
    if (camera_) gp_camera_free(camera_);
}

int GphotoCamera::open(const std::string& port, const std::string& model) {
    if ((lastResult_ = gp_camera_new(&camera_)) < GP_OK) return lastResult_;
    const int modelIndex = gp_abilities_list_lookup_model(library_.abilities(), model.c_str());
    if (modelIndex < GP_OK) return lastResult_ = GP_ERROR_MODEL_NOT_FOUND;
    CameraAbilities abilities;
    if ((lastResult_ = gp_abilities_list_get_abilities(library_.abilities(), modelIndex, &abilities)) < GP_OK ||
        (lastResult_ = gp_camera_set_abilities(camera_, abilities)) < GP_OK) {
        return lastResult_;
    }
    const int portIndex = gp_port_info_list_lookup_path(library_.ports(), port.c_str());
    if (portIndex < GP_OK) return lastResult_ = GP_ERROR_UNKNOWN_PORT;
    GPPortInfo portInfo;
    if ((lastResult_ = gp_port_info_list_get_info(library_.ports(), portIndex, &portInfo)) < GP_OK ||
        (lastResult_ = gp_camera_set_port_info(camera_, portInfo)) < GP_OK) {
        return lastResult_;
    }
    lastResult_ = gp_camera_init(camera_, library_.context());
    opened_ = lastResult_ >= GP_OK;
    return lastResult_;
}

bool GphotoCamera::text(const char* entry, std::string& value) {
    if (!opened_) return false;
    CameraWidget* widget = nullptr;
    lastResult_ = gp_camera_get_single_config(camera_, entry, &widget, library_.context());
    if (lastResult_ < GP_OK) return false;
    CameraWidgetType type;
    gp_widget_get_type(widget, &type);
    bool read = false;
    if (type == GP_WIDGET_RANGE) {
        float number = 0;
        if (gp_widget_get_value(widget, &number) >= GP_OK) {
            char digits[32];
            std::snprintf(digits, sizeof digits, "%.0f", static_cast<double>(number));
            value = digits;
            read = true;
        }
    } else if (type == GP_WIDGET_TEXT || type == GP_WIDGET_RADIO || type == GP_WIDGET_MENU) {
        const char* text = nullptr;
        if (gp_widget_get_value(widget, &text) >= GP_OK && text) {
            value = text;
            read = true;
        }
    }
    gp_widget_free(widget);
    return read;
}

bool GphotoCamera::answers() {
    if (!opened_) return false;
    CameraStorageInformation* storages = nullptr;
    int count = 0;
    const int result = gp_camera_get_storageinfo(camera_, &storages, &count, library_.context());
    std::free(storages);
    if (result < GP_OK) lastResult_ = result;
    return result >= GP_OK || result == GP_ERROR_NOT_SUPPORTED;
}

void GphotoCamera::close() {
    if (opened_) gp_camera_exit(camera_, library_.context());
    opened_ = false;
}

std::unique_ptr<PtpLink> GphotoCamera::ownLink(const std::string& port, std::chrono::milliseconds wait) {
    if (opened_ || !camera_) return nullptr;
    if (port.rfind("ptpip:", 0) == 0) return openPtpipLink(port, libgphotoGuid(), wait);
    GPPortInfo info;
    CameraAbilities abilities;
    if (gp_camera_get_port_info(camera_, &info) < GP_OK || gp_camera_get_abilities(camera_, &abilities) < GP_OK) {
        return nullptr;
    }
    return openUsbPtpLink(info, abilities, wait);
}

}  // namespace frametally::camera
