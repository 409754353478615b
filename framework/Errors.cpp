#include "framework/Errors.h"

#include <limits>

namespace fw {

int StrToInt(const QString& text)
{
    // Leading blanks, a sign and decimal digits; a "$" or "0x" prefix reads hexadecimal.
    bool ok = false;
    int value = 0;
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == ' ')
        ++first;
    const QString trimmed = text.mid(first);
    if (!trimmed.isEmpty()) {
        QString digits = trimmed;
        bool negative = false;
        if (digits.startsWith('-') || digits.startsWith('+')) {
            negative = digits.startsWith('-');
            digits.remove(0, 1);
        }
        int base = 10;
        if (digits.startsWith('$')) {
            base = 16;
            digits.remove(0, 1);
        } else if (digits.startsWith("0x", Qt::CaseInsensitive)) {
            base = 16;
            digits.remove(0, 2);
        }
        bool plain = !digits.isEmpty();
        for (const QChar c : digits)
            plain = plain && (c.isDigit() || (base == 16 && QStringLiteral("abcdefABCDEF").contains(c)));
        const qlonglong magnitude = plain ? digits.toLongLong(&ok, base) : 0;
        const qlonglong signedValue = negative ? -magnitude : magnitude;
        ok = ok && signedValue >= std::numeric_limits<int>::min() && signedValue <= std::numeric_limits<int>::max();
        value = int(signedValue);
    }
    if (!ok)
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

} // namespace fw
