// Reading connected cameras through Debian's libgphoto2, against the
// project's PTP/IP fake camera: the counts of each maker's bodies, the bodies
// that give none, the camera left as found, and cameras that fail in every way
// a reading must survive (in words, in bounded time).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "camera/fake_camera.h"
#include "camera_failure.h"
#include "camera_reading.h"
#include "ptp_packets.h"
#include "test_support.h"

using frametally::Inspection;
using frametally::camera::readCamera;
using testing_support::runTiffwalker;
using tiffwalker::ReadingStatus;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

// First, while the program runs no other thread: the child it forks must not
// find a lock taken.
TEST(CameraFailure, ForbiddenDeviceSaysWhatToDo) {
    // A device file this user may not open, as a camera is before the udev
    // rules give it to the user at the computer. Root may open any file, so
    // as root the question is asked by a child that is nobody.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "frametally-usb-XXXXXX";
    std::string made = folder.string();
    ASSERT_NE(mkdtemp(made.data()), nullptr);
    const std::string device = made + "/006";
    std::ofstream(device).put('\0');
    chmod(made.c_str(), 0755);
    chmod(device.c_str(), 0);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(1);
        const std::string words = frametally::camera::permissionProblemAt(device);
        _exit(write(pipeEnds[1], words.data(), words.size()) == static_cast<ssize_t>(words.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string forbidden;
    char buffer[512];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) forbidden.append(buffer, size_t(got));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(forbidden.find("No permission to use the camera (" + device + ")"), std::string::npos) << forbidden;
    EXPECT_NE(forbidden.find("sudo adduser $USER plugdev"), std::string::npos) << forbidden;
    chmod(device.c_str(), 0666);
    EXPECT_EQ(frametally::camera::permissionProblemAt(device), "") << "a device this user may open";
    EXPECT_EQ(frametally::camera::permissionProblemAt(made + "/007"), "") << "no device there";
    std::filesystem::remove_all(made);
}

TEST(CameraReading, EachMakersCountAsTiffwalkerReportsIt) {
    struct Case {
        const char* kind;
        const char* result;
        const char* maker;
        const char* countKind;
        const char* model;
        const char* serial;
    };
    // Fujifilm: the X-T3 sends its count in the upper 16 bits, the GFX100 II
    // the count itself; both must read as the count.
    const Case cases[] = {
        {"eos", "15873", "Canon", "mechanical_releases", "Canon EOS 600D", "083021004567"},
        {"fuji", "24567", "Fujifilm", "image_count", "X-T3", "8FA12345"},
        {"fuji-unshifted", "1363", "Fujifilm", "image_count", "GFX100 II", "9GB23456"},
        {"om", "4017", "Olympus", "all_exposures", "OM-1", "BJK212345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        FakeCamera camera({"--kind", c.kind});
        ASSERT_TRUE(camera.started());
        const auto start = std::chrono::steady_clock::now();
        const auto run = runTiffwalker({"--camera", camera.port(), "--format", "json"});
        const double seconds = secondsSince(start);
        std::cout << "[ measured ] tiffwalker --camera on the " << c.kind << " fake: " << seconds << " s\n";
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const auto row = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(row.is_discarded()) << run.out;
        EXPECT_EQ(row["path"], camera.port());
        EXPECT_EQ(row["result"], c.result);
        EXPECT_EQ(row["status"], "count");
        EXPECT_EQ(row["maker"], c.maker);
        EXPECT_EQ(row["count_kind"], c.countKind);
        EXPECT_EQ(row["model"], c.model);
        EXPECT_EQ(row["serial"], c.serial);
        EXPECT_EQ(row["source"], "camera");
    }
}

TEST(CameraReading, BodiesWithoutACountSayWhereToLook) {
    struct Case {
        const char* kind;
        const char* words;
    };
    const Case cases[] = {
        {"fuji-refused", "Take a picture and read its file."},
        {"nikon", "Take a picture and read its file."},
        // An EOS body that neither sends its count nor writes it in files.
        {"eos-silent", "records none in its pictures either"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        FakeCamera camera({"--kind", c.kind});
        ASSERT_TRUE(camera.started());
        const auto run = runTiffwalker({"--camera", camera.port(), "--format", "tsv"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.out.find("\tNo Count\tno_count\t"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(c.words), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\tcamera\n"), std::string::npos) << run.out;
    }
}

// libgphoto2's own setting of where an EOS body's pictures go decides what it
// changes on the body: by default it moves them to the computer, with "card"
// it leaves them on the body, and either way it leaves remote mode on.
void keepPicturesOnCard(bool onCard) {
    const std::filesystem::path settings = std::filesystem::path(std::getenv("HOME")) / ".gphoto" / "settings";
    std::filesystem::create_directories(settings.parent_path());
    std::string kept;
    {
        std::ifstream in(settings);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("ptp2=capturetarget=", 0) != 0) kept += line + "\n";
        }
    }
    std::ofstream(settings) << kept << (onCard ? "ptp2=capturetarget=card\n" : "");
}

TEST(CameraReading, LeavesTheCameraAsFound) {
    for (const bool onCard : {false, true}) {
        keepPicturesOnCard(onCard);
        for (const char* kind : {"eos", "eos-silent", "fuji", "om"}) {
            SCOPED_TRACE(std::string(kind) + (onCard ? ", pictures kept on the card" : ""));
            FakeCamera camera({"--kind", kind});
            ASSERT_TRUE(camera.started());
            nlohmann::json before = camera.state();
            const auto run = runTiffwalker({"--camera", camera.port(), "--format", "tsv"});
            EXPECT_EQ(run.out.find("remote control"), std::string::npos) << run.out;
            nlohmann::json after = camera.state();
            EXPECT_GT(after["operations"], 0);
            // Every mode, property and lock as the body had them, its session closed.
            before.erase("operations");
            after.erase("operations");
            EXPECT_EQ(after, before);
        }
    }
    keepPicturesOnCard(false);

    // A body that cannot be reached again to be given its settings back:
    // the count stands, and its owner is told what may be left.
    FakeCamera once({"--kind", "eos", "--hostile", "once"});
    ASSERT_TRUE(once.started());
    const auto run = runTiffwalker({"--camera", once.port(), "--format", "json"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find(R"("result":"15873","status":"count")"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(R"("reason":"The camera may still be under the computer's remote control)"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(once.state()["remote_mode"], 1);
}

TEST(CameraReading, FailingCamerasGiveWordsInBoundedTime) {
    struct Case {
        std::vector<std::string> arguments;
        const char* words;
    };
    // Garbage, a camera that stops answering after it said who it is, one
    // that accepts the connection and never answers, one unplugged as its
    // count is asked for, and a port where nothing listens.
    const Case cases[] = {
        {{"--kind", "fuji", "--hostile", "garbage"}, "did not answer"},
        {{"--kind", "fuji", "--hostile", "silent"}, "did not answer"},
        {{"--kind", "fuji", "--hostile", "mute"}, "could not be opened"},
        {{"--kind", "om", "--hostile", "drop"}, "stopped answering"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        FakeCamera camera(c.arguments);
        ASSERT_TRUE(camera.started());
        const auto start = std::chrono::steady_clock::now();
        const auto run = runTiffwalker({"--camera", camera.port()});
        EXPECT_LT(secondsSince(start), 25.0);
        EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
        EXPECT_NE(run.out.find("Not Readable"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(c.words), std::string::npos) << run.out;
    }
    const auto nothing = runTiffwalker({"--camera", "ptpip:127.0.0.1:1:1"});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_NE(nothing.out.find("could not be opened"), std::string::npos) << nothing.out;
}

TEST(CameraReading, GivesUpAtItsDeadline) {
    // libgphoto2 waits some seconds per unanswered request; the reading's own
    // deadline ends the wait however many it makes.
    FakeCamera camera({"--kind", "fuji", "--hostile", "silent"});
    ASSERT_TRUE(camera.started());
    const auto start = std::chrono::steady_clock::now();
    const Inspection inspection = readCamera(camera.port(), "", std::chrono::milliseconds(1000));
    EXPECT_LT(secondsSince(start), 2.0);
    EXPECT_EQ(inspection.status, ReadingStatus::NotReadable);
    EXPECT_EQ(inspection.reason,
              "The camera did not answer within 1 second. Switch it off and on, connect it again, and read it again.");
    EXPECT_EQ(inspection.source, "camera");
}

TEST(CameraReading, NoCameraAndCamerasHeld) {
    const auto none = frametally::camera::connectedCameras();
    if (none.cameras.empty()) {
        const auto run = runTiffwalker({"--camera"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("No camera is connected."), std::string::npos) << run.err;
    }
    const auto absent = readCamera("usb:001,099");
    EXPECT_EQ(absent.status, ReadingStatus::NotReadable);
    EXPECT_NE(absent.reason.find("No camera at usb:001,099"), std::string::npos) << absent.reason;

    // libgphoto2's "Could not claim the USB device": a file manager has it.
    const std::string held = frametally::camera::openFailure("usb:001,006", -53);
    EXPECT_NE(held.find("gvfs"), std::string::npos);
    EXPECT_NE(held.find("gio mount -s gphoto2"), std::string::npos);

    EXPECT_EQ(frametally::camera::usbDevicePath("usb:001,006"), "/dev/bus/usb/001/006");
    EXPECT_EQ(frametally::camera::usbDevicePath("usb:"), "");
    EXPECT_EQ(frametally::camera::usbDevicePath("ptpip:127.0.0.1:1:1"), "");

    const auto usage = runTiffwalker({"--camera", "usb:001,006", "a.NEF"});
    EXPECT_EQ(usage.exitCode, 2);
}

TEST(CameraPtpPackets, UsbContainersAndTheLengthsACameraSends) {
    using namespace frametally::camera;
    // SetRemoteMode(0) as transaction 2, and an operation's data after it.
    EXPECT_EQ(usbCommand({0x9114, {0}, {}}, 2), (PtpBytes{16, 0, 0, 0, 1, 0, 0x14, 0x91, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(usbData({0x9110, {}, {1, 2, 3}}, 7), (PtpBytes{15, 0, 0, 0, 2, 0, 0x10, 0x91, 7, 0, 0, 0, 1, 2, 3}));

    std::uint8_t response[] = {12, 0, 0, 0, 3, 0, 0x01, 0x20, 2, 0, 0, 0};
    const auto header = usbContainerHeader(response, sizeof response);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->type, UsbContainerType::Response);
    EXPECT_EQ(header->code, 0x2001);
    EXPECT_EQ(header->transaction, 2u);
    // Fewer bytes than a header, a length shorter than one or longer than
    // any answer, a container type PTP has not.
    EXPECT_FALSE(usbContainerHeader(response, 11).has_value());
    response[0] = 11;
    EXPECT_FALSE(usbContainerHeader(response, sizeof response).has_value());
    response[0] = 0xF0, response[3] = 0x7F;
    EXPECT_FALSE(usbContainerHeader(response, sizeof response).has_value());
    response[0] = 12, response[3] = 0, response[4] = 9;
    EXPECT_FALSE(usbContainerHeader(response, sizeof response).has_value());

    const std::uint8_t shortPacket[] = {7, 0, 0, 0, 7, 0, 0, 0};
    const std::uint8_t hugePacket[] = {0xF0, 0xFF, 0xFF, 0x7F, 0x55, 0, 0, 0};
    EXPECT_FALSE(ptpipHeader(shortPacket).has_value());
    EXPECT_FALSE(ptpipHeader(hugePacket).has_value());
}
