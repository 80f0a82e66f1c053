#pragma once
// The QML tests' rig, published to QML as `rig`. Each start() gives a test a
// fresh copy of the installed data, a connected virtual mouse of the chosen
// family and model, and a new view; it publishes ui_View, hid and ui_Ctl in
// the engine's root context, as the program does. It then tells the test what
// reached the mouse (HID trace, mouse state), the files (fresh reads), the
// system pointer settings and the file dialogs, and saves screenshots.

#include "app/ui_controler.h"
#include "device/clock.h"
#include "store/scripted_file_dialogs.h"

#include <QBuffer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <memory>

class AppRulesBridge;
class DataFixture;
class FakeLinkHost;
class Hid_Thread;
class QQmlEngine;
class QQuickItem;
class TracingHidApi;
class VirtualMouse;
class ViewFacade;
struct PointerRecord;

class QmlRig : public QObject {
    Q_OBJECT
public:
    explicit QmlRig(QQmlEngine* engine, QObject* parent = nullptr);
    ~QmlRig() override;

    ViewFacade* view() const { return m_view.get(); }
    VirtualMouse* mouse() const { return m_mouse.get(); }

    // Starts afresh. Options (all optional):
    //   family: 553 | 560           mouse/icType and the virtual mouse's command family
    //   isColorful, is55328, isGun: bool;  keyCount: int   the model flags (global settings)
    //   language: "English" | "ChineseSimplified"          common/language
    //   mouseProfile: int           the 560 mouse's current profile before it connects
    //   files: { "modules/setting/p1.bin": { "mouse/dpiCount": 6, ... }, ... }
    //                               settings written before the view opens them
    //   appRulesAvailable: bool     whether the program in front can be seen (default true)
    //   runningPrograms: [names]    what appRules.runningPrograms() offers
    // False when the data copy or the device check failed.
    Q_INVOKABLE bool start(const QVariantMap& options = QVariantMap());
    // The folder holding modules/ of the current data copy.
    Q_INVOKABLE QString dataRoot() const;

    // --- what reached the mouse ---------------------------------------------
    // Number of trace lines so far (take it before an action, pass it to the
    // functions below to see only what the action caused).
    Q_INVOKABLE int traceMark() const;
    // Trace lines "<ms> <event> <iface> [<hex bytes>]" from line `from` on.
    Q_INVOKABLE QStringList traceLines(int from = 0) const;
    // The command frames sent from line `from` on: the 8 frame bytes of every
    // feature report on the command interface, "0b 03 00 00 00 00 00 f1".
    Q_INVOKABLE QStringList commands(int from = 0) const;
    // The same, writes only: reads (the backup before the first write, the
    // read-back of each profile block written) left out.
    Q_INVOKABLE QStringList writes(int from = 0) const;
    // Changes the virtual mouse like --virtual-option KEY=VALUE; false when refused.
    Q_INVOKABLE bool setMouseOption(const QString& key, const QString& value);
    // The virtual mouse's memory (as its JSON state file has it).
    Q_INVOKABLE QVariantMap mouseState() const;
    // Off: a Save, a Reset and a profile switch write a profile block each
    // time a page sends it, as the single operations do, instead of once.
    Q_INVOKABLE void setBlockBatching(bool on);

    // --- what reached the files ----------------------------------------------
    // A fresh read of `key` in the INI file `file` (relative to dataRoot()),
    // read from a copy so that no cached value of this process answers.
    // A list comes back as a list; a missing key as undefined.
    Q_INVOKABLE QVariant readSetting(const QString& file, const QString& key) const;
    // Writes a setting (the view sees it at once).
    Q_INVOKABLE void writeSetting(const QString& file, const QString& key, const QVariant& value);
    Q_INVOKABLE QString readFile(const QString& file) const;
    Q_INVOKABLE bool fileExists(const QString& file) const;

    // --- other effects --------------------------------------------------------
    // The system pointer settings applied: [{setting: "speed"|"doubleClick"|"scrollLines", value}].
    Q_INVOKABLE QVariantList pointerCalls() const;
    // Answers for the next file dialogs, in order ("" cancels); a path relative
    // to dataRoot() is made absolute.
    Q_INVOKABLE void answerFileDialogs(const QStringList& answers);
    // The file dialogs shown: [{save: bool, caption, dir, filter}].
    Q_INVOKABLE QVariantList fileDialogCalls() const;

    // --- building blocks ------------------------------------------------------
    // Creates `qml` (with QtQuick and the K7 controls imported) as a child of
    // `parentItem`, in the scope of the file that made parentItem, so that a
    // shared control created inside main.qml finds the root's colours, fonts
    // and images the way the pages do. Null (and a warning) on errors.
    Q_INVOKABLE QObject* createControl(const QString& qml, QQuickItem* parentItem);

    // --- golden files ----------------------------------------------------------
    // Compares `lines` with tests/data/<name> line by line: "" when they agree,
    // else where they part. With STRYDE_UPDATE_GOLDEN=1 in the environment the
    // file is written from `lines` instead (and "" returned).
    Q_INVOKABLE QString compareGolden(const QString& name, const QStringList& lines) const;

    // --- screenshots -----------------------------------------------------------
    // build/screenshots/<name>.png (the folder is created).
    Q_INVOKABLE QString screenshotPath(const QString& name) const;

private:
    void publish();

    QPointer<QQmlEngine> m_engine;
    VirtualClock m_clock;
    ScriptedFileDialogs m_dialogs;
    Ui_Controler m_controller;
    QBuffer m_traceBuffer;
    std::shared_ptr<PointerRecord> m_pointer;
    std::unique_ptr<DataFixture> m_data;
    std::unique_ptr<FakeLinkHost> m_host;
    std::unique_ptr<VirtualMouse> m_mouse;
    std::unique_ptr<TracingHidApi> m_tracer;
    std::unique_ptr<Hid_Thread> m_hid;
    std::unique_ptr<ViewFacade> m_view;
    std::unique_ptr<AppRulesBridge> m_appRules;
};
