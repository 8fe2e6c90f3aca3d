#pragma once
// Paths between Qt and the Select flow. The flow carries a file as the bytes
// the system gave; QString cannot hold every such name (bytes that are not
// valid UTF-8 are lost in decoding), so paths come here as bytes (argv) or as
// URLs (picker, drop, "file:" arguments), whose percent-encoding keeps every
// byte, and only the name for people goes through QString.
#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>
#include <string>

#include "select_flow.h"

namespace chosenfile {

// A path in the system's bytes, made absolute against the working folder.
frametally::ChosenFile fromBytes(const QByteArray& path);
// A local file URL; nothing for any other URL.
std::optional<frametally::ChosenFile> fromUrl(const QUrl& url);
// A command-line operand: a path, or a "file:" URL as some file managers pass.
std::optional<frametally::ChosenFile> fromArgument(const QByteArray& argument);

// The flow's UTF-8 texts in Qt.
inline QString text(const std::string& utf8) { return QString::fromUtf8(utf8); }

}  // namespace chosenfile
