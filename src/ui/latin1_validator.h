// SPDX-License-Identifier: MIT
#pragma once

#include <QValidator>

namespace kestrova {

// Accepts only characters that fit in one byte, so that what is typed or pasted into the page
// name is exactly what the page's single-byte name field can hold.
class Latin1Validator : public QValidator {
    Q_OBJECT

  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace kestrova
