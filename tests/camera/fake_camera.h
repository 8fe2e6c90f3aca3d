#pragma once
// The project's PTP/IP fake camera (fake_ptpip_camera.py), started for a test
// on 127.0.0.1 on a free port and stopped when the test ends.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "test_support.h"

class FakeCamera {
public:
    // arguments: --kind KIND, --hostile WAY, ...
    explicit FakeCamera(const std::vector<std::string>& arguments);
    ~FakeCamera();
    FakeCamera(const FakeCamera&) = delete;
    FakeCamera& operator=(const FakeCamera&) = delete;

    bool started() const { return port_ > 0; }
    // "ptpip:127.0.0.1:PORT:PORT", as libgphoto2 writes it.
    std::string port() const;
    // The settings the camera holds now.
    nlohmann::json state() const;

private:
    testing_support::TempDir dir_;
    int pid_ = -1;
    int port_ = 0;
};
