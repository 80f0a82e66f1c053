#pragma once
// Recoil presets: the user's library of named presets in
// modules/gun/gunData.bin, the upload of one preset into a preset slot of the
// mouse, and the per-profile XY sensitivity and selected presets.
//
// The library is never created here: every library operation does nothing
// (or gives an empty result) while the file is missing. A library file that
// is no INI text is kept aside as gunData.bin.damaged (DamagedFiles) instead
// of being rewritten, one that cannot be parsed is left as it is, and a
// change replaces the file only once the new content is complete.

#include "device/write_outcome.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <optional>

class QSettings;
struct FeatureContext;

// The operations that write to the mouse return what became of the writes
// (FeatureContext::writesOutcome).
class RecoilOps {
public:
    explicit RecoilOps(FeatureContext& ctx) : m_ctx(ctx) {}

    // Stores src6 = (name, key text, period, X, Y, times) under
    // "gunData/<index>". Refused, with nothing stored: an index that is not a
    // single key, another number of values, a blank name or key text, or a
    // period, X, Y or times that is not an integer from 0 to 255.
    void mouseSaveGundata(QVariant index, QVariantList src6);
    // Type 0 deletes "gunData/<src6[0]>". Type 1 renames: src6 = (new name,
    // key text, period, X, Y, times, old name); the old entry is replaced by
    // the new one. A rename onto another existing preset is refused. Other
    // types, and lists without the names they need or with values that
    // mouseSaveGundata refuses, change nothing.
    void modifyGundata(QVariant modifyType, QVariantList src6);
    // The list stored under "gunData/<name>"; empty when it is missing, not a
    // list, or the library is missing.
    QVariantList getGunData(QVariant name);
    // Every key of the group "gunData"; empty when the library is missing.
    QStringList getGunDataKey();

    // Sends src = (times, X, Y) to preset slot `index` (1-3) of a mouse with
    // recoil presets: on the 560 family through profile block index + 1, on
    // the 553 family with the preset command, Y counted the way the mouse's
    // keyboard options ask. Without recoil presets nothing is sent; another
    // slot, or a list that is not three integers from 0 to 255, is refused.
    WriteOutcome mouseSendGundata(int index, QVariantList src);

    // "XYSensitive/<index>" of the current profile (default 4) and its
    // setter; `index` is 0 (X) or 1 (Y), `xyData` a slider position 0-1024.
    QVariant getXYSensitive(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    // "selectGun/<index>" of the current profile (default "") and its setter;
    // `index` is a preset slot, 0-3. Other indexes are refused (ArgumentCheck):
    // the getters give the default, the setters store nothing. The setter
    // takes a preset's name or number, not a list or nothing.
    QVariant getselectGun(QVariant index);
    void setSelectGun(QVariant index, QVariant xyData);

    QString libraryPath() const;

private:
    // Runs `change` on the library and, when it reports a change, replaces the
    // file atomically with the result; false when the file is missing,
    // damaged, unchanged or could not be written.
    bool editLibrary(const char* operation, const std::function<bool(QSettings&)>& change);
    // "<group>/<index>" for an index 0..last; refused (nullopt) otherwise.
    static std::optional<QString> profileKey(const char* operation, const QString& group, const QVariant& index,
                                             int last);
    QVariant profileValue(const std::optional<QString>& key, const QVariant& fallback) const;
    void setProfileValue(const std::optional<QString>& key, const QVariant& value);
    void sendPreset560(int slot, const QVariantList& src);
    void sendPreset553(int slot, const QVariantList& src);

    FeatureContext& m_ctx;
};
