#pragma once
// A stretch of another source presented as a file of its own, starting at 0:
// a TIFF structure found inside a container is read through one, so that the
// walker reads it as it reads a TIFF file, with offsets counted from its
// header, and can never read past the stretch the container gives it.
#include <cstddef>
#include <cstdint>

#include <tiffwalker/byte_source.h>

namespace tiffwalker {

class WindowSource : public ByteSource {
public:
    WindowSource() = default;
    // The stretch [offset, offset + length) of source, cut to what the source
    // holds.
    WindowSource(ByteSource& source, int64_t offset, int64_t length);

    int64_t size() const override { return length_; }
    size_t readAt(int64_t position, void* dest, size_t n) override;
    bool hasError() const override { return source_ != nullptr && source_->hasError(); }

    // Where the stretch starts in the source.
    int64_t origin() const { return offset_; }

private:
    ByteSource* source_ = nullptr;
    int64_t offset_ = 0;
    int64_t length_ = 0;
};

}  // namespace tiffwalker
