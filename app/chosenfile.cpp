#include "chosenfile.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace chosenfile {

frametally::ChosenFile fromBytes(const QByteArray& path)
{
    std::string bytes = path.toStdString();
    std::error_code error;
    // std::filesystem keeps a POSIX path's bytes as they are, the working
    // folder's included, where QDir would decode them.
    const std::filesystem::path absolute = std::filesystem::absolute(bytes, error);
    if (!error && !bytes.empty())
        bytes = absolute.lexically_normal().string();
    frametally::ChosenFile file;
    file.displayPath = QFile::decodeName(QByteArray::fromStdString(bytes)).toStdString();
    file.path = std::move(bytes);
    return file;
}

std::optional<frametally::ChosenFile> fromUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    // The encoded path keeps bytes that are not UTF-8 as %XX; decoding the
    // percent-encoding gives them back exactly.
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    return fromBytes(QByteArray::fromPercentEncoding(encoded));
}

std::optional<frametally::ChosenFile> fromArgument(const QByteArray& argument)
{
    if (argument.isEmpty())
        return std::nullopt;
    if (argument.startsWith("file:"))
        return fromUrl(QUrl::fromEncoded(argument));
    return fromBytes(argument);
}

}  // namespace chosenfile
