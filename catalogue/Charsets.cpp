#include "catalogue/Charsets.h"

namespace catalogue {

QString charsetName(int charset)
{
    for (const TCharSetRec& record : charsetTable) {
        if (record.charset == charset)
            return QString::fromLatin1(record.name);
    }
    return QStringLiteral("Unknown charset %1").arg(charset);
}

void appendCharsets(sys::FontEnumeration& enumeration, const QString& face, QStringList& target)
{
    for (const sys::FontReport& report : enumeration.enumerateFace(face))
        target << charsetName(report.charset & 0xFF);
}

} // namespace catalogue
