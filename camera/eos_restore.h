#pragma once
// Giving a Canon EOS body back its own settings after libgphoto2 has read it.
// To read an EOS body, libgphoto2 puts it under the computer's remote control
// and into event mode, and (unless told otherwise in its settings) moves the
// body's capture target to the computer; when it closes the body it leaves
// remote mode on, and at times the event mode and capture target too, with
// no way through its own interface to end them.
#include "ptp_link.h"

namespace frametally::camera {

// On a link opened after libgphoto2 closed the body: the capture target back
// on the body's card, event and remote mode ended, in a session of its own.
// False when the body refused or did not answer any of it.
bool restoreEosBody(PtpLink& link);

}  // namespace frametally::camera
