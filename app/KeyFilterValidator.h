// A line edit validator made of a key filter of the pages: a text holding a character the filter
// refuses is invalid, so typing or pasting it leaves the edit as it was. Interface thread only.
#pragma once

#include <QValidator>

namespace nvx {

class KeyFilterValidator : public QValidator {
    Q_OBJECT
public:
    // The filter returns the key it accepts, or 0 (TInputController and the pages' own filters).
    using Filter = char32_t (*)(char32_t key);

    KeyFilterValidator(Filter filter, QObject* parent);

    State validate(QString& input, int& position) const override;

private:
    Filter filter_;
};

} // namespace nvx
