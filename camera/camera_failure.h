#pragma once
// A camera that could not be read, in words for its owner: what happened and
// what to do about it.
#include <string>

namespace frametally::camera {

// "/dev/bus/usb/001/006" for "usb:001,006"; "" for another port.
std::string usbDevicePath(const std::string& port);

// When the device file of a USB port exists and this user may not open it:
// what to do. "" otherwise.
std::string permissionProblem(const std::string& port);
// The same for the device file at this path.
std::string permissionProblemAt(const std::string& device);

// Why the camera at port could not be opened, from libgphoto2's result code.
std::string openFailure(const std::string& port, int result);

// Why reading a camera that was opened stopped, from libgphoto2's result code.
std::string readFailure(int result);

std::string noCameraText();
std::string noAnswerText(long long seconds);

}  // namespace frametally::camera
