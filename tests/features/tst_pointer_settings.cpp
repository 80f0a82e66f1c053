// The system settings page's pointer settings: slider levels to the values the
// system takes, and the texts written when the system refuses one.

#include "features/pointer_settings.h"
#include "support/fake_pointer_backend.h"

#include <QtTest>
#include <functional>

namespace {

using Apply = std::function<void(PointerSettings&, uint)>;

// Collects the messages written while it lives.
class MessageCapture {
public:
    MessageCapture() { s_messages.clear(); m_previous = qInstallMessageHandler(&MessageCapture::handle); }
    ~MessageCapture() { qInstallMessageHandler(m_previous); }
    QStringList messages() const { return s_messages; }
private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& text) { s_messages.append(text); }
    static inline QStringList s_messages;
    QtMessageHandler m_previous = nullptr;
};

} // namespace

Q_DECLARE_METATYPE(Apply)

class TestPointerSettings : public QObject {
    Q_OBJECT
private slots:
    void mapsLevels_data()
    {
        QTest::addColumn<Apply>("apply");
        QTest::addColumn<uint>("input");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("failure");

        const Apply speed = [](PointerSettings& p, uint v) { p.mouseSetCursorSpeed(v); };
        const Apply click = [](PointerSettings& p, uint v) { p.mouseSetDoubleClickSpeed(v); };
        const Apply lines = [](PointerSettings& p, uint v) { p.mouseSetVerticalScrollLines(v); };
        const QString speedFail = QStringLiteral("setCursorSpeed Failed");
        const QString clickFail = QStringLiteral("setDoubleClickSpeed Failed");
        const QString linesFail = QStringLiteral("setVerticalScrollLines Failed");

        QTest::newRow("speed 0 -> 1") << speed << 0u << "speed" << 1u << speedFail;
        QTest::newRow("speed 1 -> 2") << speed << 1u << "speed" << 2u << speedFail;
        QTest::newRow("speed 5 -> 10") << speed << 5u << "speed" << 10u << speedFail;
        QTest::newRow("speed 10 -> 20") << speed << 10u << "speed" << 20u << speedFail;
        QTest::newRow("speed 11 stays at 20") << speed << 11u << "speed" << 20u << speedFail;
        QTest::newRow("speed huge stays at 20") << speed << 0x80000000u << "speed" << 20u << speedFail;
        QTest::newRow("click 0 -> 900") << click << 0u << "doubleClick" << 900u << clickFail;
        QTest::newRow("click 1 -> 830") << click << 1u << "doubleClick" << 830u << clickFail;
        QTest::newRow("click 10 -> 200") << click << 10u << "doubleClick" << 200u << clickFail;
        QTest::newRow("click 13 does not wrap") << click << 13u << "doubleClick" << 200u << clickFail;
        QTest::newRow("lines 3") << lines << 3u << "scrollLines" << 3u << linesFail;
        QTest::newRow("lines 1000 (one screen)") << lines << 1000u << "scrollLines" << 1000u << linesFail;
    }
    // Each call hands exactly one value to the system; a refusal writes the
    // operation's own text, an acceptance writes nothing.
    void mapsLevels()
    {
        QFETCH(Apply, apply);
        QFETCH(uint, input);
        QFETCH(QString, setting);
        QFETCH(uint, value);
        QFETCH(QString, failure);

        for (bool succeeds : {true, false}) {
            auto record = std::make_shared<PointerRecord>();
            record->succeeds = succeeds;
            PointerSettings settings(std::make_unique<FakePointerBackend>(record));
            QStringList written;
            {
                MessageCapture capture;
                apply(settings, input);
                written = capture.messages();
            }
            QCOMPARE(written, succeeds ? QStringList() : QStringList{failure});
            QCOMPARE(record->calls.size(), 1);
            QCOMPARE(record->calls.at(0).setting, setting);
            QCOMPARE(record->calls.at(0).value, value);
        }
    }

    void withoutBackendEverySettingFails()
    {
        PointerSettings settings(nullptr);
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        settings.mouseSetCursorSpeed(3);
        settings.mouseSetDoubleClickSpeed(3);
        settings.mouseSetVerticalScrollLines(3);
    }
};

QTEST_GUILESS_MAIN(TestPointerSettings)
#include "tst_pointer_settings.moc"
