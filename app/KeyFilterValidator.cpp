#include "app/KeyFilterValidator.h"

namespace nvx {

KeyFilterValidator::KeyFilterValidator(Filter filter, QObject* parent) : QValidator(parent), filter_(filter)
{
}

QValidator::State KeyFilterValidator::validate(QString& input, int& /*position*/) const
{
    for (char32_t key : input.toUcs4())
        if (filter_(key) == 0)
            return Invalid;
    return Acceptable;
}

} // namespace nvx
