// The page's reasons in a camera owner's words, beside the command's.
#include "plain_reason.h"

#include "no_count_reason.h"

#include <gtest/gtest.h>

#include <set>

using frametally::Inspection;
using tiffwalker::ReadingCause;

TEST(PlainReason, EveryCauseHasWordsOfItsOwnAndACountHasNone) {
    Inspection inspection;
    EXPECT_EQ(frametally::plainReason(inspection), "");
    std::set<std::string> seen;
    for (int cause = static_cast<int>(ReadingCause::OpenFailed); cause <= static_cast<int>(ReadingCause::RaisedError);
         ++cause) {
        inspection.cause = static_cast<ReadingCause>(cause);
        const std::string text = frametally::plainReason(inspection);
        EXPECT_FALSE(text.empty()) << cause;
        EXPECT_EQ(text.find("TIFF"), std::string::npos) << text;
        EXPECT_EQ(text.find("maker note"), std::string::npos) << text;
        EXPECT_EQ(text.find("EXIF directory"), std::string::npos) << text;
        seen.insert(text);
    }
    EXPECT_GE(seen.size(), 15u);  // a few causes share their words
}

TEST(PlainReason, NamesTheEditingProgramButNotTheCamerasFirmware) {
    Inspection edited;
    edited.cause = ReadingCause::NoMakerNotes;
    edited.details.software = "Adobe Photoshop CS6 (Windows)";
    EXPECT_NE(frametally::plainReason(edited).find("saved by \"Adobe Photoshop CS6 (Windows)\""), std::string::npos);
    edited.details.software = "Ver.1.00";
    EXPECT_EQ(frametally::plainReason(edited).find("saved by"), std::string::npos);
    Inspection coolpix;
    coolpix.cause = ReadingCause::MakeNotNikon;
    coolpix.details.make = "NIKON";
    EXPECT_NE(frametally::plainReason(coolpix).find("(\"NIKON\")"), std::string::npos);
}

// A file cut short before its Make entry's text, or one left blank, names no
// camera: no reason may quote an empty name as if it were one.
TEST(PlainReason, AnEmptyMakeNamesNoCamera) {
    Inspection blank;
    blank.cause = ReadingCause::MakeNotNikon;
    for (const char* make : {"", "   "}) {
        blank.details.make = make;
        EXPECT_EQ(frametally::plainReason(blank).find("(\""), std::string::npos) << frametally::plainReason(blank);
        tiffwalker::ReadingOutcome outcome;
        outcome.cause = ReadingCause::MakeNotNikon;
        outcome.make = make;
        EXPECT_NE(frametally::reasonForNoCount(outcome).find("names no camera"), std::string::npos)
            << frametally::reasonForNoCount(outcome);
    }
}
