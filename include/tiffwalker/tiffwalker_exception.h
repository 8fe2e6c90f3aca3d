#pragma once
// The one error the reader raises: a malformed EXIF header in a JPEG file.
// It is thrown as a pointer to a heap object; the catcher deletes it.
#include <iosfwd>
#include <string>

#include <tiffwalker/exception_base.h>
#include <tiffwalker/export.h>

namespace tiffwalker {

class TIFFWALKER_API CTiffwalkerException : public CException {
public:
    CTiffwalkerException();
    explicit CTiffwalkerException(const std::string& message);
    const CRuntimeClass* GetRuntimeClass() const override;

    const std::string& message() const { return message_; }

    static const CRuntimeClass classCTiffwalkerException;

private:
    std::string message_;
};

[[noreturn]] TIFFWALKER_API void throwTiffwalkerException(const std::string& message);
// Raises the text followed by "\r\nFile is not a JPG/JPEG file".
[[noreturn]] TIFFWALKER_API void reportNotJpeg(const std::string& text);
// Raises a stream error, if the stream's error indicator is set, writing its
// message to out first; otherwise returns.
#ifdef TIFFWALKER_INTERNALS
class FileStream;
void reportFileError(std::ostream& out, const FileStream& file);
#endif

}  // namespace tiffwalker
