#pragma once
// The columns of a file beyond its result: who made the camera, which body,
// when the picture was taken and through which lens, taken from the records of
// the file's reading.
#include <cstdint>
#include <string>
#include <vector>

#include <tiffwalker/record_list.h>

namespace frametally {

struct FileDetails {
    std::string make;
    std::string model;
    std::string serialNumber;
    std::string dateTimeOriginal;
    std::string lens;
    std::string software;
};

FileDetails detailsOf(const tiffwalker::RecordList& records);
// EXIF's BodySerialNumber; the serial number of bodies whose maker notes give
// none that detailsOf() reads (every maker's but Nikon's).
std::string bodySerialNumber(const tiffwalker::RecordList& records);
// The tags detailsOf() and bodySerialNumber() take their texts from.
std::vector<uint16_t> detailTags();

// The camera as people name it: the model, led by the maker's first word when
// the model does not already begin with it ("NIKON E775", "NIKON D70").
std::string cameraName(const FileDetails& details);

}  // namespace frametally
