#include <tiffwalker/tiffwalker_exception.h>

#include <ostream>

#include "io/file_stream.h"

namespace tiffwalker {

namespace {
CObject* createTiffwalkerException() { return new CTiffwalkerException; }
}  // namespace

const CRuntimeClass CTiffwalkerException::classCTiffwalkerException{
    "CTiffwalkerException", &CException::classCException, &createTiffwalkerException};

CTiffwalkerException::CTiffwalkerException() : message_("TiffwalkerException") {}

CTiffwalkerException::CTiffwalkerException(const std::string& message) : message_(message) {}

const CRuntimeClass* CTiffwalkerException::GetRuntimeClass() const { return &classCTiffwalkerException; }

void throwTiffwalkerException(const std::string& message) { throw new CTiffwalkerException(message); }

void reportNotJpeg(const std::string& text) { throwTiffwalkerException(text + "\r\nFile is not a JPG/JPEG file"); }

void reportFileError(std::ostream& out, const FileStream& file) {
    if (!file.hasError()) return;
    const std::string message = "Error number: " + std::to_string(file.descriptor());
    out << "\n" << message;
    throwTiffwalkerException(message);
}

}  // namespace tiffwalker
