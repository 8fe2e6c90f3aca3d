// Reading connected cameras through Debian's libgphoto2, against the
// project's PTP/IP fake camera: the counts of each maker's bodies, the bodies
// that give none, the camera left as found, and cameras that fail in every way
// a reading must survive (in words, in bounded time).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>

#include "camera/fake_camera.h"
#include "camera_failure.h"
#include "camera_reading.h"
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

TEST(CameraReading, LeavesTheCameraAsFound) {
    for (const char* kind : {"eos", "fuji", "om"}) {
        SCOPED_TRACE(kind);
        FakeCamera camera({"--kind", kind});
        ASSERT_TRUE(camera.started());
        const nlohmann::json before = camera.state();
        const Inspection inspection = readCamera(camera.port());
        EXPECT_EQ(inspection.status, ReadingStatus::Count) << inspection.reason;
        const nlohmann::json after = camera.state();
        EXPECT_EQ(after["session_open"], false);
        EXPECT_EQ(after["event_mode"], before["event_mode"]);
        EXPECT_EQ(after["props"], before["props"]);  // no PTP property written
    }
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

TEST(CameraReading, NoCameraAndCamerasHeldOrForbidden) {
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
