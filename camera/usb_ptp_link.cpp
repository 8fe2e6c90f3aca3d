// PTP over USB: a command container on the bulk-out endpoint, a data
// container after it for an operation that carries data, and the response
// container on the bulk-in endpoint.
#include <gphoto2/gphoto2-port-result.h>
#include <gphoto2/gphoto2-port.h>

#include "ptp_link.h"

namespace frametally::camera {

namespace {

class UsbPtpLink final : public PtpLink {
public:
    ~UsbPtpLink() override {
        if (opened_) gp_port_close(port_);
        if (port_) gp_port_free(port_);
    }

    bool open(GPPortInfo info, const CameraAbilities& abilities, std::chrono::milliseconds wait) {
        if (gp_port_new(&port_) < GP_OK || gp_port_set_info(port_, info) < GP_OK) return false;
        // As libgphoto2 finds the camera for its model: by its vendor and
        // product when the model has them, else by the PTP device class.
        const int found = abilities.usb_vendor != 0
                              ? gp_port_usb_find_device(port_, abilities.usb_vendor, abilities.usb_product)
                              : gp_port_usb_find_device_by_class(port_, abilities.usb_class, abilities.usb_subclass,
                                                                 abilities.usb_protocol);
        if (found < GP_OK || gp_port_open(port_) < GP_OK) return false;
        opened_ = true;
        return gp_port_set_timeout(port_, static_cast<int>(wait.count())) >= GP_OK;
    }

    std::optional<std::uint16_t> run(const PtpOperation& operation) override {
        const std::uint32_t transaction = nextTransaction();
        if (!write(usbCommand(operation, transaction))) return std::nullopt;
        if (!operation.data.empty() && !write(usbData(operation, transaction))) return std::nullopt;
        // A bulk read gives one container, or the first part of a longer one:
        // data and events before the response are skipped.
        std::uint8_t buffer[512];
        for (int reads = 0; reads < 64; ++reads) {
            const int got = gp_port_read(port_, reinterpret_cast<char*>(buffer), sizeof buffer);
            if (got < GP_OK) return std::nullopt;
            const auto header = usbContainerHeader(buffer, static_cast<std::size_t>(got));
            if (header && header->type == UsbContainerType::Response && header->transaction == transaction) {
                return header->code;
            }
        }
        return std::nullopt;
    }

private:
    bool write(const PtpBytes& bytes) {
        return gp_port_write(port_, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())) ==
               static_cast<int>(bytes.size());
    }

    GPPort* port_ = nullptr;
    bool opened_ = false;
};

}  // namespace

std::unique_ptr<PtpLink> openUsbPtpLink(GPPortInfo port, const CameraAbilities& abilities,
                                        std::chrono::milliseconds wait) {
    auto link = std::make_unique<UsbPtpLink>();
    if (!link->open(port, abilities, wait)) return nullptr;
    return link;
}

}  // namespace frametally::camera
