#pragma once
// PTP operations as bytes on the wire: in the containers of a USB camera and
// in the packets of a camera on a network (PTP/IP). Built and read here, away
// from any connection, so that every length a camera sends is checked in one
// place before anything is read after it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace frametally::camera {

using PtpBytes = std::vector<std::uint8_t>;

struct PtpOperation {
    std::uint16_t code = 0;
    std::vector<std::uint32_t> params;  // PTP allows five
    PtpBytes data;                      // sent to the camera after the request; empty for none
};

// The largest packet or container taken from a camera here: the answers to
// the operations sent are a few bytes, and anything else is skipped.
inline constexpr std::uint32_t kLargestPtpPacket = 1 << 16;

// USB: a command container, and a data container after it when the
// operation carries data.
PtpBytes usbCommand(const PtpOperation& operation, std::uint32_t transaction);
PtpBytes usbData(const PtpOperation& operation, std::uint32_t transaction);

enum class UsbContainerType : std::uint16_t { Command = 1, Data = 2, Response = 3, Event = 4 };

struct UsbContainerHeader {
    std::uint32_t length = 0;
    UsbContainerType type = UsbContainerType::Command;
    std::uint16_t code = 0;
    std::uint32_t transaction = 0;
};

// The header of a container a camera sent; empty when the bytes are too few
// or declare a length no container has.
std::optional<UsbContainerHeader> usbContainerHeader(const std::uint8_t* bytes, std::size_t size);

// PTP/IP packet types.
enum class PtpipType : std::uint32_t {
    InitCommandRequest = 1,
    InitCommandAck = 2,
    InitEventRequest = 3,
    InitEventAck = 4,
    InitFail = 5,
    OperationRequest = 6,
    OperationResponse = 7,
    Event = 8,
    StartData = 9,
    Data = 10,
    Cancel = 11,
    EndData = 12,
};

using PtpipGuid = std::array<std::uint8_t, 16>;

PtpBytes ptpipInitCommandRequest(const PtpipGuid& guid, std::u16string_view name);
PtpBytes ptpipInitEventRequest(std::uint32_t connection);
// The request, with its start and end data packets when it carries data.
PtpBytes ptpipOperation(const PtpOperation& operation, std::uint32_t transaction);

struct PtpipHeader {
    std::uint32_t length = 0;  // with the header's 8 bytes
    PtpipType type = PtpipType::Event;
};

// The header of a packet from its first 8 bytes; empty when its length is
// below 8 or above kLargestPtpPacket.
std::optional<PtpipHeader> ptpipHeader(const std::uint8_t* bytes);

// A little-endian value inside a packet's payload; empty past its end.
std::optional<std::uint32_t> u32At(const PtpBytes& payload, std::size_t offset);
std::optional<std::uint16_t> u16At(const PtpBytes& payload, std::size_t offset);

}  // namespace frametally::camera
