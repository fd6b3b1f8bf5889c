// Turns letters into capitals as they are typed into a line edit.
#ifndef ARBOLIX_TOOLKIT_UPPERCASEVALIDATOR_H
#define ARBOLIX_TOOLKIT_UPPERCASEVALIDATOR_H

#include <QValidator>

namespace tk {

class UppercaseValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace tk

#endif
