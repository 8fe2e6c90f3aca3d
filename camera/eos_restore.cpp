#include "eos_restore.h"

namespace frametally::camera {

namespace {

constexpr std::uint16_t kOpenSession = 0x1002;
constexpr std::uint16_t kCloseSession = 0x1003;
constexpr std::uint16_t kEosSetDevicePropValueEx = 0x9110;
constexpr std::uint16_t kEosSetRemoteMode = 0x9114;
constexpr std::uint16_t kEosSetEventMode = 0x9115;
constexpr std::uint16_t kOk = 0x2001;
constexpr std::uint16_t kOperationNotSupported = 0x2005;
constexpr std::uint16_t kDevicePropNotSupported = 0x200A;
constexpr std::uint16_t kSessionAlreadyOpen = 0x201E;
constexpr std::uint32_t kCaptureTarget = 0xD11C;
// The capture target a body has without a computer: its memory card.
constexpr std::uint32_t kCaptureTargetCard = 1;

PtpOperation setEosProperty(std::uint32_t property, std::uint32_t value) {
    PtpOperation operation{kEosSetDevicePropValueEx, {}, {}};
    // A property record: its size (12 bytes), the property, the value.
    for (std::uint32_t word : {12u, property, value}) {
        for (int i = 0; i < 4; ++i) operation.data.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
    }
    return operation;
}

// What a body has not, libgphoto2 cannot have changed either (a Canon body
// without the EOS operations): nothing to put back.
bool putBack(const std::optional<std::uint16_t>& response) {
    return response == kOk || response == kOperationNotSupported || response == kDevicePropNotSupported;
}

}  // namespace

bool restoreEosBody(PtpLink& link) {
    const auto opened = link.run({kOpenSession, {1}, {}});
    if (opened != kOk && opened != kSessionAlreadyOpen) return false;
    // The capture target first, while the body still takes the computer's
    // settings; the modes last, remote mode after the events it belongs to.
    // A body that stops answering is not waited for again.
    const PtpOperation steps[] = {
        setEosProperty(kCaptureTarget, kCaptureTargetCard),
        {kEosSetEventMode, {0}, {}},
        {kEosSetRemoteMode, {0}, {}},
    };
    bool restored = true;
    for (const PtpOperation& step : steps) {
        const auto response = link.run(step);
        if (!response) return false;
        restored = putBack(response) && restored;
    }
    return link.run({kCloseSession, {}, {}}) == kOk && restored;
}

}  // namespace frametally::camera
