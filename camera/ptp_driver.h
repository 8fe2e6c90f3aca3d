#pragma once
// Loading only libgphoto2's PTP driver (ptp2), which every body that gives a
// count over USB or PTP/IP goes through. libgphoto2 loads its twenty drivers
// a directory at a time, and most of the time a reading takes went into that;
// the PTP driver alone is a fifth of it.
#include <gphoto2/gphoto2-abilities-list.h>

namespace frametally::camera {

// Appends the models of the PTP driver to list, as libgphoto2's own loading
// does: from the driver's directory in the CAMLIBS variable, or else next to
// the libgphoto2 this program runs with. A libgphoto2 result code: an error
// when the driver is not where it should be, for the caller to load them all.
int loadPtpDriver(CameraAbilitiesList* list);

}  // namespace frametally::camera
