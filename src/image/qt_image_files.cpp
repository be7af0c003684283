#include "image/qt_image_files.h"

#include "util/atomic_file.h"
#include "util/errors.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>

#include <algorithm>
#include <string_view>

namespace meshforge {

namespace {

QString PathOf(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

bool Allowed(int width, int height) {
    return width > 0 && height > 0 && width <= QtImageFiles::kMaxSide &&
           height <= QtImageFiles::kMaxSide;
}

// Encodes `image` as a BMP in memory and puts it in place atomically.
bool Save(const std::string& path, const QImage& image, std::string& error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(image)) {
        error = "Cannot write file " + path + ": " + writer.errorString().toStdString();
        return false;
    }
    try {
        WriteFileAtomically(path,
                            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const FileError& e) {
        error = e.what();
        return false;
    }
    return true;
}

} // namespace

std::optional<ImageSize> QtImageFiles::ReadSize(const std::string& path) {
    QImageReader reader(PathOf(path));
    if (!reader.canRead())
        return std::nullopt;
    const QSize size = reader.size(); // from the header
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    return ImageSize{size.width(), size.height()};
}

std::optional<RgbImage> QtImageFiles::ReadRgb(const std::string& path) {
    QImageReader reader(PathOf(path));
    if (!reader.canRead())
        return std::nullopt;
    const QSize claimed = reader.size();
    if (claimed.isValid() && !Allowed(claimed.width(), claimed.height()))
        return std::nullopt;
    // A format whose header gives no size is still held to the limit while decoding (MiB).
    reader.setAllocationLimit(kMaxSide * kMaxSide * 4 / (1024 * 1024));
    // The decoder fills the picture it is given when size and format match; one cleared here
    // keeps the rows a file cut short never delivers black instead of undefined.
    QImage decoded;
    if (claimed.isValid() && reader.imageFormat() != QImage::Format_Invalid) {
        decoded = QImage(claimed, reader.imageFormat());
        decoded.fill(0);
    }
    if (!reader.read(&decoded) || decoded.isNull() || !Allowed(decoded.width(), decoded.height()))
        return std::nullopt;
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    RgbImage out;
    out.Width = rgb.width();
    out.Height = rgb.height();
    out.Pixels.resize(static_cast<size_t>(out.Width) * static_cast<size_t>(out.Height));
    for (int y = 0; y < out.Height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < out.Width; ++x)
            out.Pixels[static_cast<size_t>(y) * static_cast<size_t>(out.Width) +
                       static_cast<size_t>(x)] = line[x] & 0x00FFFFFFu;
    }
    return out;
}

bool QtImageFiles::WriteMask(const std::string& path, const MaskImage& mask, std::string& error) {
    if (!Allowed(mask.Width, mask.Height) ||
        mask.White.size() != static_cast<size_t>(mask.Width) * static_cast<size_t>(mask.Height)) {
        error = "Cannot write file " + path + ": not a mask of its stated size";
        return false;
    }
    // Format_Mono is most significant bit first, as a BMP stores its rows; the colour table is
    // set here so that index 0 is black and 1 white whatever Qt's own default is.
    QImage image(mask.Width, mask.Height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < mask.Height; ++y) {
        uchar* line = image.scanLine(y);
        std::fill(line, line + image.bytesPerLine(), uchar(0));
        for (int x = 0; x < mask.Width; ++x)
            if (mask.White[static_cast<size_t>(y) * static_cast<size_t>(mask.Width) +
                           static_cast<size_t>(x)])
                line[x / 8] = static_cast<uchar>(line[x / 8] | (0x80 >> (x % 8)));
    }
    return Save(path, image, error);
}

bool QtImageFiles::WriteRgb(const std::string& path, const RgbImage& image, std::string& error) {
    if (!Allowed(image.Width, image.Height) ||
        image.Pixels.size() !=
            static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height)) {
        error = "Cannot write file " + path + ": not an image of its stated size";
        return false;
    }
    QImage out(image.Width, image.Height, QImage::Format_RGB32);
    for (int y = 0; y < image.Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.Width; ++x)
            line[x] = 0xFF000000u | image.At(x, y);
    }
    return Save(path, out, error);
}

} // namespace meshforge
