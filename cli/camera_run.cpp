#include "camera_run.h"

#include <vector>

#include "camera_failure.h"
#include "camera_reading.h"
#include "tally.h"

namespace frametally::cli {

int runCamera(const std::string& port, Format format, std::ostream& out, std::ostream& err) {
    std::vector<camera::ConnectedCamera> cameras;
    if (!port.empty()) {
        cameras.push_back({port, std::string()});
    } else {
        camera::ConnectedCameras found = camera::connectedCameras();
        if (!found.error.empty()) {
            err << "tiffwalker: " << found.error << "\n";
            return 1;
        }
        if (found.cameras.empty()) {
            err << "tiffwalker: " << camera::noCameraText() << "\n";
            return 1;
        }
        cameras = std::move(found.cameras);
    }
    std::vector<std::string> ports;
    for (const camera::ConnectedCamera& camera : cameras) ports.push_back(camera.port);
    // Always the table in text: a camera's row says which body it is.
    const auto writer = makeReportWriter(format, true, out, ports);
    Tally tally;
    for (const camera::ConnectedCamera& camera : cameras) {
        const FileOutcome outcome = camera::readCamera(camera.port, camera.model);
        if (outcome.status == Status::Error) err << "error: " << outcome.path << ": " << outcome.message << "\n";
        writer->row(outcome);
        tally.add(outcome);
    }
    RunEnd end;
    end.planned = cameras.size();
    writer->finish(tally, end);
    out.flush();
    return tally.exitCode();
}

}  // namespace frametally::cli
