#pragma once
// What the container tests share: a source over bytes held by the test, and
// the place of a TIFF structure inside a file built around it.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include <tiffwalker/byte_source.h>
#include "synthetic_files.h"

namespace container_testing {

using Bytes = std::vector<uint8_t>;

// A MemorySource that keeps its bytes.
class HeldSource : public tiffwalker::MemorySource {
public:
    explicit HeldSource(Bytes bytes) : HeldSource(std::make_unique<Bytes>(std::move(bytes))) {}

private:
    explicit HeldSource(std::unique_ptr<Bytes> held)
        : MemorySource(held->data(), held->size()), held_(std::move(held)) {}
    std::unique_ptr<Bytes> held_;
};

// Where part first occurs in whole, or -1.
inline int64_t placeOf(const Bytes& whole, const Bytes& part) {
    const auto found = std::search(whole.begin(), whole.end(), part.begin(), part.end());
    return found == whole.end() ? -1 : found - whole.begin();
}

// The TIFF structure of a camera's EXIF data, in either byte order, for the
// containers to carry.
inline Bytes cameraTiff(synthetic::Order order) {
    synthetic::CameraFile camera;
    camera.order = order;
    return synthetic::makeExifTiff(camera);
}

}  // namespace container_testing
