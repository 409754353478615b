#include "preview/Sample.h"

#include <QFont>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>

namespace preview {

QString sampleText(const QString& chosen)
{
    return chosen == QLatin1String("Alphabets") ? alphabetSample : chosen;
}

int sampleSize(int typed)
{
    if (typed == 0) {
        const int fallback = QGuiApplication::font().pointSize();
        return fallback > 0 ? fallback : 10;
    }
    const long long magnitude = std::llabs(static_cast<long long>(typed));
    return int(std::min<long long>(magnitude, largestSampleSize));
}

} // namespace preview
