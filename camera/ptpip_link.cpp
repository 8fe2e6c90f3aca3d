// PTP/IP: the command connection carries operations and their answers, the
// event connection must be open for a camera to accept operations at all.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "ptp_link.h"

namespace frametally::camera {

namespace {

constexpr const char* kDefaultPtpipPort = "15740";

struct PtpipAddress {
    std::string host;
    std::string commandPort = kDefaultPtpipPort;
    std::string eventPort;
};

std::optional<PtpipAddress> parsePtpipPort(const std::string& port) {
    constexpr std::string_view prefix = "ptpip:";
    if (port.rfind(prefix, 0) != 0) return std::nullopt;
    PtpipAddress address;
    std::string rest = port.substr(prefix.size());
    std::string* fields[] = {&address.host, &address.commandPort, &address.eventPort};
    for (std::string* field : fields) {
        const std::size_t colon = rest.find(':');
        *field = rest.substr(0, colon);
        if (colon == std::string::npos) {
            rest.clear();
            break;
        }
        rest.erase(0, colon + 1);
    }
    if (address.host.empty() || !rest.empty()) return std::nullopt;
    if (address.commandPort.empty()) address.commandPort = kDefaultPtpipPort;
    if (address.eventPort.empty()) address.eventPort = address.commandPort;
    return address;
}

class Socket {
public:
    Socket() = default;
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool connect(const std::string& host, const std::string& port, std::chrono::milliseconds wait) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return false;
        bool connected = false;
        for (addrinfo* a = found; a && !connected; a = a->ai_next) {
            if (fd_ >= 0) ::close(fd_);
            fd_ = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
            if (fd_ < 0) continue;
            if (::connect(fd_, a->ai_addr, a->ai_addrlen) == 0) {
                connected = true;
            } else if (errno == EINPROGRESS) {
                pollfd p{fd_, POLLOUT, 0};
                int error = 0;
                socklen_t size = sizeof error;
                connected = ::poll(&p, 1, static_cast<int>(wait.count())) == 1 &&
                            ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
            }
        }
        ::freeaddrinfo(found);
        if (!connected) return false;
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        timeval limit{static_cast<time_t>(wait.count() / 1000), static_cast<suseconds_t>(wait.count() % 1000 * 1000)};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        return true;
    }

    bool send(const PtpBytes& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    bool receive(std::uint8_t* into, std::size_t size) {
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = ::recv(fd_, into + got, size - got, 0);
            if (n <= 0) return false;
            got += static_cast<std::size_t>(n);
        }
        return true;
    }

    // The next packet: its type and what follows its header.
    std::optional<PtpipType> packet(PtpBytes& payload) {
        std::uint8_t head[8];
        if (!receive(head, sizeof head)) return std::nullopt;
        const auto header = ptpipHeader(head);
        if (!header) return std::nullopt;
        payload.resize(header->length - 8);
        if (!receive(payload.data(), payload.size())) return std::nullopt;
        return header->type;
    }

private:
    int fd_ = -1;
};

class PtpipLink final : public PtpLink {
public:
    bool open(const PtpipAddress& address, const PtpipGuid& guid, std::chrono::milliseconds wait) {
        if (!command_.connect(address.host, address.commandPort, wait) ||
            !command_.send(ptpipInitCommandRequest(guid, u"Frametally"))) {
            return false;
        }
        PtpBytes payload;
        if (command_.packet(payload) != PtpipType::InitCommandAck) return false;
        const auto connection = u32At(payload, 0);
        if (!connection || !event_.connect(address.host, address.eventPort, wait) ||
            !event_.send(ptpipInitEventRequest(*connection))) {
            return false;
        }
        return event_.packet(payload) == PtpipType::InitEventAck;
    }

    std::optional<std::uint16_t> run(const PtpOperation& operation) override {
        const std::uint32_t transaction = nextTransaction();
        if (!command_.send(ptpipOperation(operation, transaction))) return std::nullopt;
        // Data the camera sends back is skipped; a camera that keeps sending
        // packets without a response is given up on.
        PtpBytes payload;
        for (int packets = 0; packets < 64; ++packets) {
            const auto type = command_.packet(payload);
            if (!type) return std::nullopt;
            if (*type == PtpipType::OperationResponse && u32At(payload, 2) == transaction) return u16At(payload, 0);
        }
        return std::nullopt;
    }

private:
    Socket command_;
    Socket event_;
};

}  // namespace

std::unique_ptr<PtpLink> openPtpipLink(const std::string& port, const PtpipGuid& guid, std::chrono::milliseconds wait) {
    const auto address = parsePtpipPort(port);
    if (!address) return nullptr;
    auto link = std::make_unique<PtpipLink>();
    if (!link->open(*address, guid, wait)) return nullptr;
    return link;
}

}  // namespace frametally::camera
