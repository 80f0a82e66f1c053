#include "app/font_fallbacks.h"

#include <QFont>
#include <QStringList>

void installFontFallbacks()
{
    const QStringList fallbacks{QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Sans"),
                                QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"), fallbacks);
}
