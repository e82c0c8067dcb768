// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalog/TgaImage.h"
#include "editing/SkinIcon.h"

#include <QImage>
#include <QPixmap>
#include <QSize>

#include <string>

namespace twl {

// A copy of decoded pixels as a QImage (RGBA, 8 bits a channel); a null
// image when the pixels do not fill Width x Height.
QImage ToQImage(const RgbaImage& image);

// The fixed image `name` ("notfound", "notinuse", "userdef"), compiled into
// the program from data/; a null image for any other name.
QImage FixedImage(const std::string& name);

// What the icon box shows for `choice`: the skin's icon or its fixed image,
// scaled to fit into `box` (device-independent pixels) with its proportions
// kept and centred by the box; a null pixmap for Empty, which clears the box.
// With `devicePixelRatio` above 1 the pixmap holds that many more pixels.
QPixmap IconPixmap(const IconChoice& choice, const QSize& box, qreal devicePixelRatio = 1.0);

} // namespace twl
