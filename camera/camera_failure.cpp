#include "camera_failure.h"

#include <gphoto2/gphoto2-port-result.h>
#include <gphoto2/gphoto2-result.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace frametally::camera {

std::string usbDevicePath(const std::string& port) {
    unsigned bus = 0;
    unsigned device = 0;
    char rest = 0;
    if (std::sscanf(port.c_str(), "usb:%3u,%3u%c", &bus, &device, &rest) != 2) return {};
    char path[48];
    std::snprintf(path, sizeof path, "/dev/bus/usb/%03u/%03u", bus, device);
    return path;
}

std::string permissionProblem(const std::string& port) {
    const std::string device = usbDevicePath(port);
    return device.empty() ? std::string() : permissionProblemAt(device);
}

std::string permissionProblemAt(const std::string& device) {
    if (access(device.c_str(), F_OK) != 0) return {};
    if (access(device.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return {};
    return "No permission to use the camera (" + device +
           "). Debian's libgphoto2 package installs the udev rules that give cameras to the user at the "
           "computer and to the group plugdev: add yourself to it (sudo adduser $USER plugdev), log in "
           "again and plug the camera in again.";
}

std::string openFailure(const std::string& port, int result) {
    switch (result) {
        case GP_ERROR_IO_USB_CLAIM:
        case GP_ERROR_IO_LOCK:
        case GP_ERROR_CAMERA_BUSY:
            return "The camera is in use by another program: most often the desktop's file manager (gvfs), "
                   "which takes a camera when it is plugged in. Free it with \"gio mount -s gphoto2\" (or "
                   "eject the camera in the file manager), then read it again.";
        case GP_ERROR_MODEL_NOT_FOUND:
        case GP_ERROR_UNKNOWN_PORT:
        case GP_ERROR_IO_USB_FIND: return "No camera at " + port + ". Is it connected and switched on?";
        case GP_ERROR_TIMEOUT: return "The camera at " + port + " did not answer.";
        case GP_ERROR_BAD_PARAMETERS:
            return "\"" + port + "\" is no camera port: write it as usb:001,006 or ptpip:ADDRESS:PORT:PORT.";
        default: break;
    }
    const std::string denied = permissionProblem(port);
    if (!denied.empty()) return denied;
    return "The camera at " + port + " could not be opened (" + gp_result_as_string(result) +
           "). Is it connected, switched on and not asleep?";
}

std::string readFailure(int result) {
    if (result == GP_ERROR_CORRUPTED_DATA) {
        return "The camera's answer made no sense, so no count was read. Switch it off and on, and read it again.";
    }
    (void)result;
    return "The camera stopped answering while it was read: was it disconnected or switched off? Connect it and "
           "read it again.";
}

std::string noCameraText() {
    return "No camera is connected. Connect the camera with its USB cable, switch it on (in PTP or PC mode "
           "where it asks), and read again.";
}

std::string noAnswerText(long long seconds) {
    return "The camera did not answer within " + std::to_string(seconds) + (seconds == 1 ? " second." : " seconds.") +
           " Switch it off and on, connect it again, and read it again.";
}

}  // namespace frametally::camera
