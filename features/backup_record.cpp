#include "features/backup_record.h"

#include "device/json_bytes.h"
#include "features/mouse_values.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kFormat = QStringLiteral("korvex-stryde-mouse-backup");

// The fields a record of each family has, and nothing else.
const QStringList kCommonKeys{QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("vendorId"),
                              QStringLiteral("productId"), QStringLiteral("family"), QStringLiteral("taken"),
                              QStringLiteral("keyboardOptions")};
const QStringList k553Keys{QStringLiteral("currentDpiStage")};
const QStringList k560Keys{QStringLiteral("currentProfile"), QStringLiteral("profileDpiStages"),
                           QStringLiteral("profileBlocks")};

QString id4(quint16 v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); }

using jsonbytes::byteValue;

// A byte from `min` to `max`: what the mouse can hold in that field.
bool byteIn(const QJsonValue& v, int min, int max, uchar& out)
{
    return byteValue(v, out) && out >= min && out <= max;
}

// Exactly `size` bytes of hexadecimal text into `out`.
bool hexBytes(const QJsonValue& v, int size, uchar* out)
{
    QByteArray b;
    if (!jsonbytes::parseHex(v, b) || b.size() != size)
        return false;
    std::copy(b.begin(), b.end(), out);
    return true;
}

bool mouseId(const QJsonValue& v, quint16& out)
{
    uchar b[2];
    if (!hexBytes(v, 2, b))
        return false;
    out = quint16((b[0] << 8) | b[1]);
    return true;
}

} // namespace

QString BackupRecord::mouseName(quint16 vendorId, quint16 productId)
{
    return id4(vendorId) + QLatin1Char(':') + id4(productId);
}

QByteArray BackupRecord::toJson() const
{
    const MouseSnapshot& s = snapshot;
    QJsonObject o;
    o.insert(QStringLiteral("format"), kFormat);
    o.insert(QStringLiteral("version"), kVersion);
    o.insert(QStringLiteral("vendorId"), id4(vendorId));
    o.insert(QStringLiteral("productId"), id4(productId));
    o.insert(QStringLiteral("family"), s.family);
    o.insert(QStringLiteral("taken"), taken.toUTC().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("keyboardOptions"), jsonbytes::toHex(s.keyboardOptions.data(), s.keyboardOptionCount()));
    if (!s.is560()) {
        o.insert(QStringLiteral("currentDpiStage"), int(s.currentDpiStage));
        return QJsonDocument(o).toJson(QJsonDocument::Indented);
    }
    o.insert(QStringLiteral("currentProfile"), int(s.currentProfile));
    QJsonArray stages;
    for (uchar stage : s.profileDpiStages)
        stages.append(int(stage));
    o.insert(QStringLiteral("profileDpiStages"), stages);
    QJsonArray blocks;
    for (const MouseSnapshot::Block& b : s.profileBlocks)
        blocks.append(jsonbytes::toHex(b.data(), int(b.size())));
    o.insert(QStringLiteral("profileBlocks"), blocks);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<BackupRecord> BackupRecord::fromJson(const QByteArray& text, QString* error)
{
    auto refuse = [error](const QString& why) -> std::optional<BackupRecord> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    auto bad = [&refuse](const char* field, const char* expected) {
        return refuse(QStringLiteral("\"%1\" is missing or not %2").arg(QLatin1String(field), QLatin1String(expected)));
    };

    QJsonParseError pe{};
    const QJsonDocument doc = QJsonDocument::fromJson(text, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        return refuse(QStringLiteral("not a JSON object"));
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != kFormat)
        return refuse(QStringLiteral("not a mouse backup of this program"));
    if (o.value(QStringLiteral("version")) != QJsonValue(kVersion))
        return refuse(QStringLiteral("a backup of another version (expected %1)").arg(kVersion));

    BackupRecord r;
    MouseSnapshot& s = r.snapshot;
    if (!mouseId(o.value(QStringLiteral("vendorId")), r.vendorId))
        return bad("vendorId", "four hexadecimal digits");
    if (!mouseId(o.value(QStringLiteral("productId")), r.productId))
        return bad("productId", "four hexadecimal digits");
    const QJsonValue family = o.value(QStringLiteral("family"));
    if (family != QJsonValue(553) && family != QJsonValue(560))
        return bad("family", "553 or 560");
    s.family = family.toInt();
    r.taken = QDateTime::fromString(o.value(QStringLiteral("taken")).toString(), Qt::ISODateWithMs);
    if (!r.taken.isValid())
        return bad("taken", "a date and time");
    r.taken = r.taken.toUTC();

    const QStringList own = kCommonKeys + (s.is560() ? k560Keys : k553Keys);
    for (const QString& key : o.keys()) {
        if (!own.contains(key))
            return refuse(QStringLiteral("\"%1\" does not belong in a backup of a %2 mouse").arg(key).arg(s.family));
    }
    if (!hexBytes(o.value(QStringLiteral("keyboardOptions")), s.keyboardOptionCount(), s.keyboardOptions.data()))
        return refuse(QStringLiteral("\"keyboardOptions\" is missing or not %1 bytes in hexadecimal").arg(s.keyboardOptionCount()));
    if (!s.is560()) {
        if (!byteIn(o.value(QStringLiteral("currentDpiStage")), mousevalues::kFirstStage, mousevalues::kLastStage,
                    s.currentDpiStage))
            return bad("currentDpiStage", "a DPI stage from 1 to 8");
        return r;
    }
    if (!byteIn(o.value(QStringLiteral("currentProfile")), mousevalues::kFirstProfile, mousevalues::kLastProfile,
                s.currentProfile))
        return bad("currentProfile", "a profile from 1 to 4");
    const QJsonArray stages = o.value(QStringLiteral("profileDpiStages")).toArray();
    if (stages.size() != MouseSnapshot::kProfiles)
        return bad("profileDpiStages", "four DPI stages from 1 to 8");
    for (int p = 0; p < MouseSnapshot::kProfiles; ++p) {
        if (!byteIn(stages.at(p), mousevalues::kFirstStage, mousevalues::kLastStage, s.profileDpiStages[size_t(p)]))
            return bad("profileDpiStages", "four DPI stages from 1 to 8");
    }
    const QJsonArray blocks = o.value(QStringLiteral("profileBlocks")).toArray();
    if (blocks.size() != MouseSnapshot::kBlocks)
        return bad("profileBlocks", "five blocks");
    for (int n = 0; n < MouseSnapshot::kBlocks; ++n) {
        if (!hexBytes(blocks.at(n), MouseSnapshot::kBlockSize, s.profileBlocks[size_t(n)].data()))
            return refuse(QStringLiteral("profile block %1 is not 128 bytes in hexadecimal").arg(n));
    }
    return r;
}
