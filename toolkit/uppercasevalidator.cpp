#include "toolkit/uppercasevalidator.h"

namespace tk {

QValidator::State UppercaseValidator::validate(QString& input, int& pos) const
{
    // Character by character, so the length and the cursor stay where they were ("ß" stays).
    for (QChar& c : input)
        c = c.toUpper();
    (void)pos;
    return Acceptable;
}

} // namespace tk
