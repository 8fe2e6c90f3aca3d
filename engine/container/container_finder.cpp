#include "container/container_finder.h"

#include "container/cr3_boxes.h"
#include "container/heif_exif.h"
#include "container/jpeg_segments.h"
#include "container/raf_file.h"
#include "container/source_bytes.h"

namespace tiffwalker::container {

const char* containerName(ContainerKind kind) {
    switch (kind) {
        case ContainerKind::Tiff: return "TIFF";
        case ContainerKind::Jpeg: return "JPEG";
        case ContainerKind::Heif: return "HEIF";
        case ContainerKind::Cr3: return "CR3";
        case ContainerKind::Raf: return "RAF";
        case ContainerKind::Unknown: break;
    }
    return "unknown";
}

ContainerFinding findTiffStructures(ByteSource& source) {
    ContainerFinding finding;
    const auto add = [&finding](std::optional<TiffLocation> location) {
        if (location) finding.structures.push_back(std::move(*location));
    };
    const int64_t size = source.size();
    if (hasTiffHeaderAt(source, 0)) {
        // NEF, ARW, SR2, PEF, DNG; CR2 too, whose "CR" at byte 8 is no concern
        // of the TIFF structure.
        finding.kind = ContainerKind::Tiff;
        add(TiffLocation{0, size, TiffRole::Main, "TIFF header at the start"});
    } else if (isJpegStart(source, 0)) {
        finding.kind = ContainerKind::Jpeg;
        add(findJpegExif(source, 0, size));
    } else if (isRafFile(source)) {
        finding.kind = ContainerKind::Raf;
        add(findRafExif(source));
    } else if (isCr3File(source)) {
        finding.kind = ContainerKind::Cr3;
        finding.structures = findCr3Structures(source);
    } else if (isHeifFile(source)) {
        finding.kind = ContainerKind::Heif;
        add(findHeifExif(source));
    }
    return finding;
}

}  // namespace tiffwalker::container
