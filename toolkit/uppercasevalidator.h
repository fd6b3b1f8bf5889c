// Turns letters into capitals as they are typed into a line edit.
#ifndef ARBOLIX_TOOLKIT_UPPERCASEVALIDATOR_H
#define ARBOLIX_TOOLKIT_UPPERCASEVALIDATOR_H

#include <QValidator>

class QLineEdit;

namespace tk {

// Typed letters reach the field already in capitals, so the field inserts each once, as a
// screen reader then hears it; text that comes in other ways (pasted) is turned by validate.
class UppercaseValidator : public QValidator
{
    Q_OBJECT
public:
    explicit UppercaseValidator(QLineEdit* edit);
    State validate(QString& input, int& pos) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tk

#endif
