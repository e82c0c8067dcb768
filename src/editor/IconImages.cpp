// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/IconImages.h"

#include <QString>

#include <cstddef>

// The images sit in a static library: this call keeps them in the program.
// It names a function of the global namespace, so it stands outside ours.
static void LoadFixedImages()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(images);
        return true;
    }();
    static_cast<void>(loaded);
}

namespace twl {

QImage ToQImage(const RgbaImage& image)
{
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() !=
            static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height) * 4) {
        return QImage();
    }
    // The QImage only borrows the pixels; copy() gives it its own.
    return QImage(image.Pixels.data(),
                  image.Width,
                  image.Height,
                  image.Width * 4,
                  QImage::Format_RGBA8888)
        .copy();
}

QImage FixedImage(const std::string& name)
{
    if (name != "notfound" && name != "notinuse" && name != "userdef") {
        return QImage();
    }
    LoadFixedImages();
    return QImage(QStringLiteral(":/images/%1.png").arg(QString::fromStdString(name)));
}

QPixmap IconPixmap(const IconChoice& choice, const QSize& box, qreal devicePixelRatio)
{
    QImage image = choice.Shows == IconChoice::Kind::Skin
                       ? ToQImage(choice.Image)
                       : FixedImage(FixedImageName(choice.Shows));
    if (image.isNull() || box.isEmpty()) {
        return QPixmap();
    }
    QSize pixels = (QSizeF(box) * devicePixelRatio).toSize();
    QPixmap pixmap =
        QPixmap::fromImage(image.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace twl
