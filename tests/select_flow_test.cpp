// The dialogs' Select command without a window: a stand-in window and, where
// it matters, a stand-in reader.
#include "select_flow.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "synthetic_files.h"
#include "test_support.h"

using frametally::ChosenFile;
using frametally::Inspection;
using frametally::SelectFlow;
using frametally::SelectReading;
using Pick = SelectFlow::PickResult;
using tiffwalker::ReadingStatus;

namespace {

class FakeUi : public SelectFlow::Ui {
public:
    std::deque<std::pair<Pick, ChosenFile>> picks;  // the picker's next answers
    std::vector<std::string> log, messages;
    std::vector<SelectReading> shown;

    Pick pickFile(ChosenFile& chosen) override {
        log.push_back("pick");
        auto [result, file] = picks.front();
        picks.pop_front();
        if (result == Pick::Confirmed) chosen = file;
        return result;
    }
    void showMessage(const std::string& text) override { log.push_back("message"), messages.push_back(text); }
    void showReading(const SelectReading& reading) override { log.push_back("reading"), shown.push_back(reading); }
};

const ChosenFile kNef{"/photos/DSC_0001.NEF", "/photos/DSC_0001.NEF"};
const ChosenFile kBad{"/photos/bad.JPG", "/photos/bad.JPG"};

class SelectFlowTest : public testing::Test {
protected:
    FakeUi ui;
    std::vector<std::string> readPaths;
    enum { Answer, RaiseError, Throw } behaviour = Answer;
    SelectFlow select{ui, [this](const std::string& path) {
                          readPaths.push_back(path);
                          if (behaviour == Throw) throw std::runtime_error("out of memory");
                          Inspection inspection;
                          inspection.path = path;
                          if (behaviour == RaiseError) {
                              inspection.status = ReadingStatus::Error;
                              inspection.message = "EXIF header text incorrect\r\nFile is not a JPG/JPEG file";
                          } else {
                              inspection.status = ReadingStatus::Count;
                              inspection.result = "12345";
                              inspection.details.make = "NIKON CORPORATION";
                              inspection.details.model = "NIKON D70";
                          }
                          return inspection;
                      }};
};

TEST_F(SelectFlowTest, FirstCancelSaysNothingLaterCancelsReadTheLastConfirmedFileAgain) {
    ui.picks = {{Pick::Cancelled, {}}, {Pick::Confirmed, kNef}, {Pick::Cancelled, {}}};
    select.select();
    // No file was ever chosen: nothing is read and nothing shown.
    EXPECT_TRUE(readPaths.empty());
    EXPECT_EQ(ui.log, (std::vector<std::string>{"pick"}));
    EXPECT_FALSE(select.selectedFile());
    select.select();
    select.select();
    EXPECT_EQ(readPaths, (std::vector<std::string>{kNef.path, kNef.path}));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown.back().file.path, kNef.path);
    EXPECT_EQ(ui.shown.back().result, "12345");
    EXPECT_EQ(ui.shown.back().camera, "NIKON D70");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SelectFlowTest, PickerThatCannotOpenIsReportedAndTheStoredFileRead) {
    ui.picks = {{Pick::NotCreated, {}}};
    select.select();
    EXPECT_EQ(ui.log, (std::vector<std::string>{"pick", "message"}));
    select.readFile(kNef);
    ui.log.clear();
    ui.picks = {{Pick::NotCreated, {}}};
    select.select();
    EXPECT_EQ(ui.log, (std::vector<std::string>{"pick", "message", "reading"}));
    EXPECT_EQ(ui.messages.back(), "Dialog box could not be created!");
    EXPECT_EQ(readPaths.back(), kNef.path);
}

TEST_F(SelectFlowTest, FailedReadingNamesTheFileAndShowsNothingOfIt) {
    ui.picks = {{Pick::Confirmed, kNef}, {Pick::Confirmed, kBad}, {Pick::Confirmed, kBad}, {Pick::Cancelled, {}}};
    select.select();
    behaviour = RaiseError;
    select.select();
    behaviour = Throw;
    select.select();
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{
                  "/photos/bad.JPG could not be read:\nEXIF header text incorrect\nFile is not a JPG/JPEG file",
                  "/photos/bad.JPG could not be read:\nout of memory"}));

    // The dialog goes on working, with the failed file still the selected one.
    behaviour = Answer;
    select.select();
    EXPECT_EQ(readPaths.back(), kBad.path);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown.back().file.path, kBad.path);
}

TEST_F(SelectFlowTest, TextsForTheWindowAreValidUtf8WhateverTheFileHolds) {
    const ChosenFile odd{"/photos/\xFF\xFE.NEF", "/photos/\xEF\xBF\xBD\xEF\xBF\xBD.NEF"};
    SelectFlow oddFlow(ui, [](const std::string&) {
        Inspection inspection;
        inspection.status = ReadingStatus::NoCount;
        inspection.result = "No Count";
        inspection.details.model = "D\xE9\xFF";
        inspection.reason = "written by \"Caf\xE9\"";
        return inspection;
    });
    oddFlow.readFile(odd);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].file.path, odd.path);  // the bytes go on untouched
    EXPECT_EQ(ui.shown[0].camera, "D\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(ui.shown[0].reason, "written by \"Caf\xEF\xBF\xBD\"");
}

// The real reader, on a file whose name holds bytes that are not UTF-8: the
// bytes reach the engine as they are.
TEST(SelectFlowReading, NameWithBytesThatAreNotUtf8IsRead) {
    testing_support::TempDir dir;
    synthetic::CameraFile camera;
    camera.shutterCount = 3619;
    const std::string path = dir.write("DSC_\xFF\xFE.NEF", synthetic::makeNef(camera));
    FakeUi ui;
    SelectFlow select(ui);
    select.readFile({path, "DSC_\xEF\xBF\xBD\xEF\xBF\xBD.NEF"});
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].result, "3619");
    EXPECT_EQ(ui.shown[0].camera, "NIKON D70");
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
