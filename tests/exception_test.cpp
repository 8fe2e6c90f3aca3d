#include <gtest/gtest.h>

#include <memory>

#include <tiffwalker/tiffwalker_exception.h>
#include "context_free/engine_wide.h"
#include "io/file_stream.h"
#include "test_support.h"

using namespace tiffwalker;
using testing_support::CapturedOutput;
using testing_support::TempDir;

TEST(TiffwalkerException, IsThrownAsAPointerThatAnyBaseCatches) {
    try {
        reportNotJpeg("EXIF header text incorrect");
        FAIL() << "nothing was raised";
    } catch (CException* error) {
        ASSERT_TRUE(error->IsKindOf(&CTiffwalkerException::classCTiffwalkerException));
        EXPECT_EQ(static_cast<CTiffwalkerException*>(error)->message(),
                  "EXIF header text incorrect\r\nFile is not a JPG/JPEG file");
        error->Delete();
    }
    try {
        throwTiffwalkerException("File type is not Nikon JPG");
    } catch (CObject* error) {
        EXPECT_STREQ(error->GetRuntimeClass()->className, "CTiffwalkerException");
        EXPECT_TRUE(error->IsKindOf(&CException::classCException));
        delete error;
    }
}

TEST(TiffwalkerException, DynamicCreationGivesTheDefaultMessage) {
    const std::unique_ptr<CObject> made(CTiffwalkerException::classCTiffwalkerException.CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<CTiffwalkerException*>(made.get())->message(), "TiffwalkerException");
    EXPECT_EQ(CException::classCException.CreateObject(), nullptr);
}

TEST(TiffwalkerException, ReportKeepsTheGenericText) {
    const CTiffwalkerException error("File type is not Nikon JPG");
    char buffer[64];
    EXPECT_FALSE(error.GetErrorMessage(buffer, sizeof buffer));
    EXPECT_EQ(error.ReportError(), "An unsupported operation was attempted.");
}

TEST(ReportFileError, RaisesOnlyOnAStreamError) {
    TempDir dir;
    FileStream healthy;
    healthy.open(dir.write("f", {1, 2, 3}).c_str());
    char buffer[8];
    healthy.read(buffer, sizeof buffer);  // a plain end of file
    CapturedOutput out;
    EXPECT_NO_THROW(reportFileError(healthy));

    // Reading a directory fails with an error, as a disk fault would.
    FileStream broken;
    ASSERT_TRUE(broken.open(dir.path().string().c_str()));
    broken.read(buffer, sizeof buffer);
    ASSERT_TRUE(broken.hasError());
    const std::string expected = "Error number: " + std::to_string(broken.descriptor());
    try {
        reportFileError(broken);
        FAIL() << "nothing was raised";
    } catch (CTiffwalkerException* error) {
        EXPECT_EQ(error->message(), expected);
        error->Delete();
    }
    EXPECT_EQ(out.text(), "\n" + expected);
}
