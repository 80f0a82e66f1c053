#pragma once
// The tests' pointer backend: records every setting it is handed and answers
// with `succeeds`. The record outlives the backend (the settings own it).

#include "features/pointer_backend.h"

#include <QList>
#include <QString>
#include <memory>

struct PointerCall {
    QString setting;        // "speed", "doubleClick" or "scrollLines"
    unsigned int value = 0;
    bool operator==(const PointerCall& o) const { return setting == o.setting && value == o.value; }
};

struct PointerRecord {
    QList<PointerCall> calls;
    bool succeeds = true;
};

class FakePointerBackend : public PointerBackend {
public:
    explicit FakePointerBackend(std::shared_ptr<PointerRecord> record = std::make_shared<PointerRecord>())
        : record(std::move(record)) {}

    bool setMouseSpeed(unsigned int speed) override { return take(QStringLiteral("speed"), speed); }
    bool setDoubleClickTime(unsigned int milliseconds) override { return take(QStringLiteral("doubleClick"), milliseconds); }
    bool setWheelScrollLines(unsigned int lines) override { return take(QStringLiteral("scrollLines"), lines); }

    std::shared_ptr<PointerRecord> record;

private:
    bool take(const QString& setting, unsigned int value)
    {
        record->calls.append({setting, value});
        return record->succeeds;
    }
};
