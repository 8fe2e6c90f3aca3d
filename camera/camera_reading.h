#pragma once
// The count of a connected camera, read over PTP through libgphoto2 (USB, or
// PTP/IP on a network), shown as a file's reading is: the same Inspection,
// with source "camera" and the port where a file has its path.
#include <chrono>
#include <string>
#include <vector>

#include "readout.h"

namespace frametally::camera {

struct ConnectedCamera {
    std::string port;   // as libgphoto2 writes it: "usb:001,006", "ptpip:127.0.0.1:15740:15740"
    std::string model;  // libgphoto2's name for the body, "Canon EOS 600D"
};

struct ConnectedCameras {
    std::vector<ConnectedCamera> cameras;
    std::string error;  // why the cameras could not be listed; empty when they were
};

// The cameras on the USB ports. Cameras on a network are not found: name
// their port.
ConnectedCameras connectedCameras();

// How long a reading may take at most. A real body answers in about a second;
// one that is busy or broken must not keep the program waiting.
inline constexpr std::chrono::seconds kReadingDeadline{20};

// Reads the camera at port. model is libgphoto2's name for it; empty means the
// one detected at that port ("PTP/IP Camera" for a ptpip: port). Never raises:
// a camera that cannot be read gives "Not Readable" and why, one that answers
// what no camera would gives an error, one without a count "No Count" and why.
// The settings that reading changes on the camera are put back before it ends.
Inspection readCamera(const std::string& port, const std::string& model = std::string(),
                      std::chrono::milliseconds deadline = kReadingDeadline);

}  // namespace frametally::camera
