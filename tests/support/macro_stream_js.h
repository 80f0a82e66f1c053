#pragma once
// The macro editor's byte-stream builder (modules/qml/basic/MacroStream.js)
// in a JavaScript engine of its own, called with the C++ form of a macro, so
// that tests and the fuzzer can hold it and macroblock::buildStream to the
// same bytes. Header-only: the users link Qt Qml themselves.

#include "features/macro_block.h"

#include <QFile>
#include <QJSEngine>
#include <QJSValue>
#include <QString>

class MacroStreamJs {
public:
    explicit MacroStreamJs(const QString& scriptPath)
    {
        QFile file(scriptPath);
        if (!file.open(QIODevice::ReadOnly))
            return;
        // A QML library script: its pragma line is no plain JavaScript.
        QString code = QString::fromUtf8(file.readAll());
        code.replace(QStringLiteral(".pragma library"), QString());
        const QJSValue result = m_engine.evaluate(code, scriptPath);
        m_ok = !result.isError();
        // Actions carry their key code as hexadecimal text.
        m_codeOf = m_engine.evaluate(QStringLiteral("(function(name) { return parseInt(name, 16) })"));
    }

    bool isValid() const { return m_ok; }

    // The events as the editor keeps them: {type, info}; a delay's info is
    // its milliseconds as text, an action's its key code.
    QJSValue events(const QList<MacroAction>& actions)
    {
        QJSValue list = m_engine.newArray(uint(actions.size()));
        for (int i = 0; i < actions.size(); ++i) {
            const MacroAction& a = actions.at(i);
            QJSValue e = m_engine.newObject();
            e.setProperty(QStringLiteral("type"), int(a.kind));
            e.setProperty(QStringLiteral("info"), a.isDelay() ? QString::number(a.value)
                                                                : QString::number(a.value & 0xFF, 16));
            list.setProperty(quint32(i), e);
        }
        return list;
    }

    // build(events, repeat, codeOf); empty with `error` set when the script threw.
    QByteArray build(const QList<MacroAction>& actions, int repeat, QString* error = nullptr)
    {
        return bytes(m_engine.globalObject().property(QStringLiteral("build"))
                         .call({events(actions), repeat, m_codeOf}), error);
    }
    // fitted(events, repeat, codeOf)
    QByteArray fitted(const QList<MacroAction>& actions, int repeat, QString* error = nullptr)
    {
        return bytes(m_engine.globalObject().property(QStringLiteral("fitted"))
                         .call({events(actions), repeat, m_codeOf}), error);
    }
    // length(events); -1 when the script threw.
    int length(const QList<MacroAction>& actions)
    {
        const QJSValue v = m_engine.globalObject().property(QStringLiteral("length")).call({events(actions)});
        return v.isError() ? -1 : v.toInt();
    }

    QJSEngine& engine() { return m_engine; }

private:
    static QByteArray bytes(const QJSValue& v, QString* error)
    {
        if (v.isError() || !v.isArray()) {
            if (error)
                *error = v.toString();
            return QByteArray();
        }
        const int n = v.property(QStringLiteral("length")).toInt();
        QByteArray out(n, '\0');
        for (int i = 0; i < n; ++i)
            out[i] = char(v.property(quint32(i)).toInt() & 0xFF);
        return out;
    }

    QJSEngine m_engine;
    QJSValue m_codeOf;
    bool m_ok = false;
};
