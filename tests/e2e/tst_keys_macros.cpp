// The key pages and the macro editor of the real program under Xvfb, on the
// virtual mouse, driven with real pointer events and real X key events
// (tests/e2e/support/stryde_session.h).

#include "support/stryde_session.h"

#include <QtTest>

namespace {

// Window coordinates of the main screen (1024 x 640).
QPoint keyRow(int slot) { return QPoint(140, 140 + 26 * slot); }
const QPoint kMacroEditorEntry(140, 402);
const QPoint kSaveFace(942, 612);
const QColor kUnsaved(0xff, 0x30, 0x30);
const QColor kDialogTitle(0x3c, 0x3c, 0x3c);
// The key-assignment dialog (416 x 404) opens centred at (304, 118); its
// body starts 42 below its top. A point of its title bar, its close icon and
// the radio button of the third mouse option ("Middle Key").
const QPoint kAssignTitle(304 + 200, 118 + 8);
const QPoint kAssignClose(304 + 416 - 24, 118 + 20);
const QPoint kMiddleKeyOption(304 + 24 + 12 + 118 + 5, 118 + 42 + 6 + 36 + 7);
// The macro editor (640 x 448) opens centred at (192, 96).
const QPoint kEditorTitle(192 + 300, 96 + 8);
const QPoint kEditorClose(192 + 640 - 24, 96 + 20);
const QPoint kNewMacro(192 + 16 + 32, 96 + 412 + 12);
const QPoint kRecord(192 + 200 + 50, 96 + 412 + 12);

// The bytes written to the mouse after the first command frame starting with
// `command`: the payload of its output reports, report id dropped.
QByteArray payloadAfter(const QStringList& lines, const QString& command)
{
    QByteArray payload;
    bool found = false;
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() < 3 || line.startsWith(QLatin1Char('#')))
            continue;
        if (f.at(1) == QLatin1String("set-feature") && f.at(2) == QLatin1String("cmd") && f.size() > 4) {
            if (found)
                break;
            found = f.at(4) == command;
            continue;
        }
        if (found && f.at(1) == QLatin1String("write")) {
            for (int i = 4; i < f.size(); ++i)
                payload.append(char(f.at(i).toInt(nullptr, 16)));
        }
    }
    return payload;
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

class KeysAndMacros : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aKeyAssignedInTheDialogIsSavedToTheMouse();
    void keysTypedWhileRecordingLandInTheMacroFile();

private:
    StrydeSession m_session;
};

void KeysAndMacros::initTestCase()
{
    StrydeSession::Options options;
    options.language = QStringLiteral("English");
    QVERIFY2(m_session.start(options), qPrintable(m_session.error()));
}

void KeysAndMacros::aKeyAssignedInTheDialogIsSavedToTheMouse()
{
    StrydeSession& s = m_session;

    // Slot 1 (the right button) becomes the middle button.
    QVERIFY(s.click(keyRow(1).x(), keyRow(1).y()));
    QVERIFY2(s.waitForPixel(kAssignTitle.x(), kAssignTitle.y(), kDialogTitle, 6), "the dialog did not open");
    QVERIFY(s.click(kMiddleKeyOption.x(), kMiddleKeyOption.y()));
    QVERIFY(s.saveScreenshot(QStringLiteral("e2e_key_assignment")));
    QVERIFY(s.click(kAssignClose.x(), kAssignClose.y()));
    QVERIFY2(s.waitForPixel(kSaveFace.x(), kSaveFace.y(), kUnsaved, 8), "Save did not turn red");

    const int mark = s.traceMark();
    QVERIFY(s.click(kSaveFace.x(), kSaveFace.y()));
    QVERIFY2(s.waitForCommand(QStringLiteral("12"), mark), "the key matrix did not reach the mouse");
    QVERIFY(s.waitFor([&] {
        return s.readSetting(QStringLiteral("modules/setting/p1.bin"), QStringLiteral("mouseKeyMatrix/1"))
                   .toStringList() == QStringList({QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("242"),
                                                   QStringLiteral("0")});
    }));
    // Matrix 1 as written: the left button, then the middle button in slot 1.
    QVERIFY(s.waitFor([&] { return payloadAfter(s.traceLines(mark), QStringLiteral("12")).size() >= 64; }));
    const QByteArray matrix = payloadAfter(s.traceLines(mark), QStringLiteral("12")).left(64);
    QCOMPARE(hex(matrix.mid(0, 8)), QStringLiteral("01 00 f0 00 01 00 f2 00"));
    QCOMPARE(hex(matrix.mid(8, 4)), QStringLiteral("01 00 f2 00"));
}

void KeysAndMacros::keysTypedWhileRecordingLandInTheMacroFile()
{
    StrydeSession& s = m_session;

    QVERIFY(s.click(kMacroEditorEntry.x(), kMacroEditorEntry.y()));
    QVERIFY2(s.waitForPixel(kEditorTitle.x(), kEditorTitle.y(), kDialogTitle, 6), "the macro editor did not open");
    QVERIFY(s.click(kNewMacro.x(), kNewMacro.y()));
    const QString file = QStringLiteral("modules/macro/Macro_0.bin");
    QVERIFY2(s.waitFor([&] { return s.readSetting(file, QStringLiteral("config/repeat")).toString() == QLatin1String("1"); }),
             "no macro was created");

    // Keys typed before recording are not taken.
    QVERIFY(s.key(QStringLiteral("z")));
    QVERIFY(s.click(kRecord.x(), kRecord.y()));
    // The button turns red once recording runs (the pointer moved off it first).
    QVERIFY(s.moveTo(kRecord.x() + 150, kRecord.y() - 200));
    // The mark beside the button blinks while recording: the button itself comes to rest.
    const QRect recordButton(kRecord.x() - 50, kRecord.y() - 12, 100, 24);
    QVERIFY2(s.waitForPixel(kRecord.x() - 40, kRecord.y() - 8, QColor(0xb2, 0x08, 0x08), 16, 5000, recordButton),
             "recording did not start");
    QVERIFY(s.key(QStringLiteral("a")));
    QVERIFY(s.key(QStringLiteral("b")));
    QVERIFY(s.saveScreenshot(QStringLiteral("e2e_macro_recording")));
    QVERIFY(s.click(kRecord.x(), kRecord.y()));
    QVERIFY2(s.waitFor([&] { return s.readSetting(file, QStringLiteral("config/total")).toInt() == 4; }),
             qPrintable(QStringLiteral("the recorded keys were not saved: ") + s.programOutput()));
    QStringList events;
    for (int i = 0; i < 4; ++i)
        events << s.readSetting(file, QStringLiteral("macro/%1").arg(i)).toString();
    QCOMPARE(events, QStringList({QStringLiteral("1,A"), QStringLiteral("2,A"), QStringLiteral("1,B"),
                                  QStringLiteral("2,B")}));
    QCOMPARE(s.readSetting(QStringLiteral("modules/setting/name.bin"), QStringLiteral("macro/macroName")).toStringList(),
             QStringList({QStringLiteral("Macro_0"), QStringLiteral("listpadentry")}));

    // After recording, typed keys reach the file no more; the program logged none.
    QVERIFY(s.key(QStringLiteral("c")));
    QVERIFY(s.click(kEditorClose.x(), kEditorClose.y()));
    QVERIFY(s.waitForPixelGone(kEditorTitle.x(), kEditorTitle.y(), kDialogTitle, 0));
    QCOMPARE(s.readSetting(file, QStringLiteral("config/total")).toInt(), 4);
    const QString output = s.programOutput();
    QVERIFY2(!output.contains(QLatin1String("1,A")) && !output.contains(QLatin1String("usb")), qPrintable(output));
}

QTEST_MAIN(KeysAndMacros)
#include "tst_keys_macros.moc"
