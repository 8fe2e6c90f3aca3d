#pragma once
// One camera opened through libgphoto2, closed when it goes: its entries read
// as text, set from text, and the failures of libgphoto2 kept as its codes.
#include <gphoto2/gphoto2.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ptp_link.h"

namespace frametally::camera {

// libgphoto2's context, the list of its camera drivers and the list of ports,
// loaded once for a listing or a reading.
class GphotoLibrary {
public:
    // Finding every camera takes every driver; reading one mostly the PTP
    // driver alone, which loads in a fraction of the time.
    enum class Drivers { All, PtpFirst };

    explicit GphotoLibrary(Drivers drivers = Drivers::All);
    ~GphotoLibrary();
    GphotoLibrary(const GphotoLibrary&) = delete;
    GphotoLibrary& operator=(const GphotoLibrary&) = delete;

    GPContext* context() { return context_; }
    CameraAbilitiesList* abilities() { return abilities_; }
    GPPortInfoList* ports() { return ports_; }
    int loadResult() const { return loadResult_; }
    // Loads every driver when only the PTP driver is: whether it did.
    bool loadAllDrivers();
    // Makes sure a driver for the model is loaded: every driver, when the PTP
    // driver alone does not drive it.
    void loadDriverFor(const std::string& model);
    // The last error libgphoto2 reported through the context, for its words.
    const std::string& lastError() const { return lastError_; }

private:
    GPContext* context_ = nullptr;
    CameraAbilitiesList* abilities_ = nullptr;
    GPPortInfoList* ports_ = nullptr;
    int loadResult_ = GP_OK;
    bool allDrivers_ = false;
    std::string lastError_;
};

class GphotoCamera {
public:
    explicit GphotoCamera(GphotoLibrary& library) : library_(library) {}
    ~GphotoCamera();
    GphotoCamera(const GphotoCamera&) = delete;
    GphotoCamera& operator=(const GphotoCamera&) = delete;

    // Connects to the camera: a libgphoto2 result code.
    int open(const std::string& port, const std::string& model);
    // An entry's value as text (a number for a range entry); false when the
    // camera has no such entry or it could not be read (lastResult() says which).
    bool text(const char* entry, std::string& value);
    int lastResult() const { return lastResult_; }
    // Whether the camera still answers a request (its storage list): a
    // missing entry and a camera gone look alike otherwise.
    bool answers();
    // Closes the connection, ending the camera's session.
    void close();
    // Once closed: a PTP connection of our own to the same camera at port,
    // for what libgphoto2 has no call for. Empty when it cannot be opened.
    std::unique_ptr<PtpLink> ownLink(const std::string& port, std::chrono::milliseconds wait);

private:
    GphotoLibrary& library_;
    Camera* camera_ = nullptr;
    bool opened_ = false;
    int lastResult_ = GP_OK;
};

}  // namespace frametally::camera
