#pragma once
// A PTP connection of our own to a camera, next to libgphoto2's: for the few
// operations libgphoto2 offers no way to send once it has closed the camera.
// USB cameras are reached through libgphoto2's port library (the same device
// and endpoints libgphoto2 uses), cameras on a network over PTP/IP.
#include <gphoto2/gphoto2-abilities-list.h>
#include <gphoto2/gphoto2-port-info-list.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ptp_packets.h"

namespace frametally::camera {

class PtpLink {
public:
    virtual ~PtpLink() = default;
    // Sends the operation (and its data) and waits for the camera's response:
    // its code, or empty when the camera answered nothing a PTP camera would.
    virtual std::optional<std::uint16_t> run(const PtpOperation& operation) = 0;

protected:
    // OpenSession goes as transaction 0, what follows counts from 1.
    std::uint32_t nextTransaction() { return transaction_++; }

private:
    std::uint32_t transaction_ = 0;
};

// "ptpip:HOST[:PORT[:EVENTPORT]]": connects to both of the camera's
// connections under guid, the computer's name for the camera, which a body
// paired with a computer knows it by. Empty when the camera cannot be reached
// or refuses within wait.
std::unique_ptr<PtpLink> openPtpipLink(const std::string& port, const PtpipGuid& guid, std::chrono::milliseconds wait);

// The USB camera at the port libgphoto2 describes, found as libgphoto2 finds
// it from the abilities of its model. Empty when it cannot be opened.
std::unique_ptr<PtpLink> openUsbPtpLink(GPPortInfo port, const CameraAbilities& abilities,
                                        std::chrono::milliseconds wait);

}  // namespace frametally::camera
