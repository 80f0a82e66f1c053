#include "store/language_strings.h"

#include "store/argument_check.h"
#include "store/store_log.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>

namespace {

const char* const kDpiSwitchDefault = "DPI Switch to";
const char* const kDpiSwitchGroup = "other";

bool isPlainFileName(const QString& code)
{
    if (code.isEmpty() || code == QLatin1String(".") || code == QLatin1String(".."))
        return false;
    for (const QChar c : code) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    }
    return true;
}

} // namespace

LanguageStrings::LanguageStrings(const QString& dataRoot)
    : m_root(dataRoot)
    , m_dpiSwitchTexts(defaultDpiSwitchTexts())
{
}

QStringList LanguageStrings::defaultDpiSwitchTexts()
{
    QStringList texts;
    for (int i = 0; i < DpiSwitchTextCount; ++i)
        texts << QString::fromLatin1(kDpiSwitchDefault);
    return texts;
}

QStringList LanguageStrings::mergeDpiSwitchTexts(const QStringList& current, const QStringList& group)
{
    QStringList merged;
    for (int i = 0; i < DpiSwitchTextCount; ++i) {
        if (i < group.size() && !group.at(i).isEmpty())
            merged << group.at(i);
        else if (i < current.size() && !current.at(i).isEmpty())
            merged << current.at(i);
        else
            merged << QString::fromLatin1(kDpiSwitchDefault);
    }
    return merged;
}

QString LanguageStrings::languageFilePath(const QString& langCode) const
{
    if (!isPlainFileName(langCode))
        return QString();
    return m_root + QStringLiteral("/modules/i18n/") + langCode + QStringLiteral(".ini");
}

QStringList LanguageStrings::getLangStrings(const QString& typeStr, const QString& langCode)
{
    QStringList strings;
    const QString path = languageFilePath(langCode);
    if (path.isEmpty()) {
        ArgumentCheck::refuse("getLangStrings", "langCode", QStringLiteral("no language code: %1").arg(langCode));
        return strings;
    }
    // QSettings would read a missing file as empty anyway; checking first
    // keeps a typo in the language code visible in the debug output.
    if (!QFileInfo::exists(path)) {
        qCDebug(lcStore) << "getLangStrings: no language file" << path;
        return strings;
    }

    {
        // Qt 6 reads INI files as UTF-8, which is what the language files hold.
        QSettings file(path, QSettings::IniFormat);
        int total = file.value(typeStr + QStringLiteral("/total"), 0).toInt();
        if (total > MaxGroupSize) {
            qCDebug(lcStore) << "getLangStrings: group" << typeStr << "claims" << total << "strings, reading" << MaxGroupSize;
            total = MaxGroupSize;
        }
        for (int i = 0; i < total; ++i)
            strings << file.value(typeStr + QLatin1Char('/') + QString::number(i), QString()).toString();
    }

    if (typeStr == QLatin1String(kDpiSwitchGroup) && !strings.isEmpty()) {
        QStringList texts;
        DpiSwitchSink sink;
        {
            QMutexLocker lock(&m_mutex);
            m_dpiSwitchTexts = mergeDpiSwitchTexts(m_dpiSwitchTexts, strings);
            texts = m_dpiSwitchTexts;
            sink = m_sink;
        }
        // The receiver takes its own lock; never call it while holding ours.
        if (sink)
            sink(texts);
    }
    return strings;
}

void LanguageStrings::setDpiSwitchSink(DpiSwitchSink sink)
{
    QMutexLocker lock(&m_mutex);
    m_sink = std::move(sink);
}

QStringList LanguageStrings::dpiSwitchTexts() const
{
    QMutexLocker lock(&m_mutex);
    return m_dpiSwitchTexts;
}
