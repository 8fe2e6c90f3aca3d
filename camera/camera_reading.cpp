#include "camera_reading.h"

#include <pthread.h>
#include <signal.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "camera_count.h"
#include "camera_failure.h"
#include "canon_models.h"
#include "eos_restore.h"
#include "gphoto_camera.h"

namespace frametally::camera {

using tiffwalker::Maker;
using tiffwalker::ReadingStatus;

namespace {

// libgphoto2's model for a camera on a network: it learns the body's own
// name from the body.
constexpr const char* kNetworkModel = "PTP/IP Camera";

// How long a body that has just answered libgphoto2 may take to answer each
// step of being given its settings back.
constexpr std::chrono::milliseconds kRestoreWait{3000};

Inspection cameraInspection(const std::string& port) {
    Inspection inspection;
    inspection.path = port;
    inspection.source = "camera";
    return inspection;
}

Inspection notReadable(const std::string& port, std::string reason) {
    Inspection inspection = cameraInspection(port);
    inspection.status = ReadingStatus::NotReadable;
    inspection.result = "Not Readable";
    inspection.reason = std::move(reason);
    return inspection;
}

std::string modelAtPort(GphotoLibrary& library, const std::string& port, int& result) {
    if (port.rfind("ptpip:", 0) == 0) return kNetworkModel;
    CameraList* list = nullptr;
    gp_list_new(&list);
    result = gp_abilities_list_detect(library.abilities(), library.ports(), list, library.context());
    std::string model;
    for (int i = 0, n = result >= GP_OK ? gp_list_count(list) : 0; i < n; ++i) {
        const char* name = nullptr;
        const char* value = nullptr;
        gp_list_get_name(list, i, &name);
        gp_list_get_value(list, i, &value);
        if (value && port == value && name) model = name;
    }
    gp_list_free(list);
    return model;
}

Inspection readNow(const std::string& port, std::string model) {
    GphotoLibrary library(GphotoLibrary::Drivers::PtpFirst);
    if (library.loadResult() < GP_OK) {
        return notReadable(port, std::string("libgphoto2's camera drivers could not be loaded (") +
                                     gp_result_as_string(library.loadResult()) + ").");
    }
    int result = GP_OK;
    if (model.empty()) {
        model = modelAtPort(library, port, result);
        // A camera another driver than PTP's drives is found by all of them.
        if (model.empty() && library.loadAllDrivers()) model = modelAtPort(library, port, result);
    }
    library.loadDriverFor(model);
    if (model.empty()) {
        const std::string denied = permissionProblem(port);
        return notReadable(port, denied.empty() ? openFailure(port, GP_ERROR_MODEL_NOT_FOUND) : denied);
    }
    GphotoCamera camera(library);
    if ((result = camera.open(port, model)) < GP_OK) return notReadable(port, openFailure(port, result));

    Inspection inspection = cameraInspection(port);
    FileDetails& details = inspection.details;
    if (!camera.text("manufacturer", details.make) || !camera.text("cameramodel", details.model)) {
        inspection.status = ReadingStatus::NotReadable;
        inspection.result = "Not Readable";
        inspection.reason = readFailure(camera.lastResult());
        return inspection;
    }
    camera.text("serialnumber", details.serialNumber);
    camera.text("deviceversion", details.software);
    inspection.maker = makerOfManufacturer(details.make);

    const char* entry = countEntryOf(inspection.maker);
    std::string text;
    std::optional<std::uint32_t> count;
    bool gone = false;
    if (*entry && camera.text(entry, text)) {
        count = countOfEntryText(inspection.maker, text);
    } else if (*entry) {
        gone = !camera.answers();
    }
    const int countResult = camera.lastResult();
    camera.close();
    // libgphoto2 leaves an EOS body under the computer's control when it
    // closes it: the body is given its own settings back through a
    // connection of our own.
    bool restored = true;
    if (inspection.maker == Maker::Canon && !gone) {
        const auto link = camera.ownLink(port, kRestoreWait);
        restored = link && restoreEosBody(*link);
    }

    if (count) {
        inspection.status = ReadingStatus::Count;
        inspection.result = std::to_string(*count);
        inspection.countKind = countKindOf(inspection.maker);
    } else if (gone) {
        inspection.status = ReadingStatus::NotReadable;
        inspection.result = "Not Readable";
        inspection.reason = readFailure(countResult);
    } else {
        inspection.status = ReadingStatus::NoCount;
        inspection.result = "No Count";
        std::string body = details.model;
        if (body.rfind("Canon ", 0) == 0) body.erase(0, 6);
        const bool recordsInFiles = inspection.maker != Maker::Canon || tiffwalker::canonModelOf(body) != nullptr;
        inspection.reason = noCountOverUsbReason(inspection.maker, recordsInFiles);
    }
    if (!restored) {
        if (!inspection.reason.empty()) inspection.reason += ' ';
        inspection.reason +=
            "The camera may still be under the computer's remote control, saving its pictures to the computer: "
            "switch it off and on before using it.";
    }
    return inspection;
}

}  // namespace

ConnectedCameras connectedCameras() {
    ConnectedCameras found;
    GphotoLibrary library;
    if (library.loadResult() < GP_OK) {
        found.error = std::string("libgphoto2's camera drivers could not be loaded (") +
                      gp_result_as_string(library.loadResult()) + ").";
        return found;
    }
    CameraList* list = nullptr;
    gp_list_new(&list);
    const int result = gp_abilities_list_detect(library.abilities(), library.ports(), list, library.context());
    if (result < GP_OK) {
        found.error = std::string("The cameras could not be listed (") + gp_result_as_string(result) + ").";
    }
    for (int i = 0, n = result >= GP_OK ? gp_list_count(list) : 0; i < n; ++i) {
        const char* name = nullptr;
        const char* value = nullptr;
        gp_list_get_name(list, i, &name);
        gp_list_get_value(list, i, &value);
        // The "usb:" entry without a bus and device stands for any camera; a
        // body found is listed with its own.
        if (name && value && std::string(value) != "usb:") found.cameras.push_back({value, name});
    }
    gp_list_free(list);
    return found;
}

Inspection readCamera(const std::string& port, const std::string& model, std::chrono::milliseconds deadline) {
    // libgphoto2 waits on a camera without an end of its own in places (a
    // connection that accepts and never answers): the reading runs on a
    // thread of its own, and is given up at the deadline. The thread then
    // ends when libgphoto2 does, or with the program.
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Inspection> inspection;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, port, model] {
        // A camera on the network that closes its connection must not end the
        // program: libgphoto2's writes then fail with EPIPE instead.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        Inspection inspection = readNow(port, model);
        std::lock_guard lock(shared->mutex);
        shared->inspection = std::move(inspection);
        shared->done.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    if (!shared->done.wait_for(lock, deadline, [&] { return shared->inspection.has_value(); })) {
        return notReadable(port, noAnswerText(std::chrono::duration_cast<std::chrono::seconds>(deadline).count()));
    }
    return std::move(*shared->inspection);
}

}  // namespace frametally::camera
