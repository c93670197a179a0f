// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace kestrova {

// Test seam: where "Save Picture..." writes. The window uses QtPicturePaths; a test answers
// with a prepared path (nothing = cancelled).
class PicturePaths {
  public:
    virtual ~PicturePaths() = default;
    virtual std::optional<QString> choosePicturePath(QWidget* parent) = 0;
};

// A save dialog offering PNG and SVG, or PNG only where this build has no SVG writer, and
// saying so in its caption. A name without a picture suffix gets the chosen filter's.
class QtPicturePaths : public PicturePaths {
  public:
    std::optional<QString> choosePicturePath(QWidget* parent) override;
};

}  // namespace kestrova
