#include "ptp_packets.h"

namespace frametally::camera {

namespace {

void put16(PtpBytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(PtpBytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Writes the length of what follows offset (the packet's start) into its
// first four bytes, once the packet is whole.
void closeLength(PtpBytes& out, std::size_t start) {
    const auto length = static_cast<std::uint32_t>(out.size() - start);
    for (int i = 0; i < 4; ++i) out[start + i] = static_cast<std::uint8_t>(length >> (8 * i));
}

std::uint32_t read32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint16_t read16(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }

PtpBytes usbContainer(UsbContainerType type, std::uint16_t code, std::uint32_t transaction) {
    PtpBytes out;
    put32(out, 0);
    put16(out, static_cast<std::uint16_t>(type));
    put16(out, code);
    put32(out, transaction);
    return out;
}

void startPtpip(PtpBytes& out, PtpipType type) {
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(type));
}

}  // namespace

PtpBytes usbCommand(const PtpOperation& operation, std::uint32_t transaction) {
    PtpBytes out = usbContainer(UsbContainerType::Command, operation.code, transaction);
    for (std::uint32_t param : operation.params) put32(out, param);
    closeLength(out, 0);
    return out;
}

PtpBytes usbData(const PtpOperation& operation, std::uint32_t transaction) {
    PtpBytes out = usbContainer(UsbContainerType::Data, operation.code, transaction);
    out.insert(out.end(), operation.data.begin(), operation.data.end());
    closeLength(out, 0);
    return out;
}

std::optional<UsbContainerHeader> usbContainerHeader(const std::uint8_t* bytes, std::size_t size) {
    if (size < 12) return std::nullopt;
    UsbContainerHeader header;
    header.length = read32(bytes);
    const std::uint16_t type = read16(bytes + 4);
    if (header.length < 12 || header.length > kLargestPtpPacket || type < 1 || type > 4) return std::nullopt;
    header.type = static_cast<UsbContainerType>(type);
    header.code = read16(bytes + 6);
    header.transaction = read32(bytes + 8);
    return header;
}

PtpBytes ptpipInitCommandRequest(const PtpipGuid& guid, std::u16string_view name) {
    PtpBytes out;
    startPtpip(out, PtpipType::InitCommandRequest);
    out.insert(out.end(), guid.begin(), guid.end());
    for (char16_t unit : name) put16(out, unit);
    put16(out, 0);
    put32(out, 0x00010000);  // protocol version 1.0
    closeLength(out, 0);
    return out;
}

PtpBytes ptpipInitEventRequest(std::uint32_t connection) {
    PtpBytes out;
    startPtpip(out, PtpipType::InitEventRequest);
    put32(out, connection);
    closeLength(out, 0);
    return out;
}

PtpBytes ptpipOperation(const PtpOperation& operation, std::uint32_t transaction) {
    PtpBytes out;
    startPtpip(out, PtpipType::OperationRequest);
    put32(out, operation.data.empty() ? 1 : 2);  // data phase: none, or sent to the camera
    put16(out, operation.code);
    put32(out, transaction);
    for (std::uint32_t param : operation.params) put32(out, param);
    closeLength(out, 0);
    if (operation.data.empty()) return out;

    std::size_t start = out.size();
    startPtpip(out, PtpipType::StartData);
    put32(out, transaction);
    put32(out, static_cast<std::uint32_t>(operation.data.size()));
    put32(out, 0);  // upper half of a 64-bit length
    closeLength(out, start);
    start = out.size();
    startPtpip(out, PtpipType::EndData);
    put32(out, transaction);
    out.insert(out.end(), operation.data.begin(), operation.data.end());
    closeLength(out, start);
    return out;
}

std::optional<PtpipHeader> ptpipHeader(const std::uint8_t* bytes) {
    PtpipHeader header;
    header.length = read32(bytes);
    if (header.length < 8 || header.length > kLargestPtpPacket) return std::nullopt;
    header.type = static_cast<PtpipType>(read32(bytes + 4));
    return header;
}

std::optional<std::uint32_t> u32At(const PtpBytes& payload, std::size_t offset) {
    if (offset > payload.size() || payload.size() - offset < 4) return std::nullopt;
    return read32(payload.data() + offset);
}

std::optional<std::uint16_t> u16At(const PtpBytes& payload, std::size_t offset) {
    if (offset > payload.size() || payload.size() - offset < 2) return std::nullopt;
    return read16(payload.data() + offset);
}

}  // namespace frametally::camera
