#include "qml_rig.h"
#include "run_files.h"

#include "app/app_rules_bridge.h"
#include "device/hid_thread.h"
#include "device/tracing_hid_api.h"
#include "device/virtual_mouse.h"
#include "features/profile_sync.h"
#include "store/my_qquick_view.h"
#include "support/data_fixture.h"
#include "support/fake_pointer_backend.h"
#include "support/link_rig.h"
#include "view/view_types.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJSValue>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSettings>

namespace {

QString boolText(const QVariant& v) { return v.toBool() ? QStringLiteral("true") : QStringLiteral("false"); }

} // namespace

QmlRig::QmlRig(QQmlEngine* engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_pointer(std::make_shared<PointerRecord>())
{
    registerViewTypes();
    m_traceBuffer.open(QIODevice::ReadWrite);
}

QmlRig::~QmlRig()
{
    // The view's pages may still hold the objects; let QML drop them first.
    if (m_engine) {
        m_engine->rootContext()->setContextProperty(QStringLiteral("ui_View"), nullptr);
        m_engine->rootContext()->setContextProperty(QStringLiteral("appRules"), nullptr);
    }
}

bool QmlRig::start(const QVariantMap& options)
{
    auto data = std::make_unique<DataFixture>();
    if (!data->isValid())
        return false;
    const QString apConfig = data->path(QStringLiteral("modules/setting/apConfig.bin"));
    {
        QSettings s(apConfig, QSettings::IniFormat);
        const int family = options.value(QStringLiteral("family"), 553).toInt();
        s.setValue(QStringLiteral("mouse/icType"), QString::number(family == 560 ? 560 : 553));
        for (const char* flag : {"isColorful", "is55328", "isGun"}) {
            const QString name = QString::fromLatin1(flag);
            if (options.contains(name))
                s.setValue(QStringLiteral("mouse/") + name, boolText(options.value(name)));
        }
        if (options.contains(QStringLiteral("keyCount")))
            s.setValue(QStringLiteral("mouse/keyCount"), options.value(QStringLiteral("keyCount")).toInt());
        if (options.contains(QStringLiteral("language")))
            s.setValue(QStringLiteral("common/language"), options.value(QStringLiteral("language")).toString());
    }
    const QVariantMap files = options.value(QStringLiteral("files")).toMap();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        writeSettings(data->path(it.key()), it.value().toMap());

    // The old view goes only after the new one is published.
    std::unique_ptr<myQQuickView> oldView = std::move(m_view);
    std::unique_ptr<Hid_Thread> oldHid = std::move(m_hid);
    std::unique_ptr<TracingHidApi> oldTracer = std::move(m_tracer);
    std::unique_ptr<VirtualMouse> oldMouse = std::move(m_mouse);
    std::unique_ptr<AppRulesBridge> oldAppRules = std::move(m_appRules);

    m_data = std::move(data);
    m_traceBuffer.close();
    m_traceBuffer.setData(QByteArray());
    m_traceBuffer.open(QIODevice::ReadWrite);
    m_pointer->calls.clear();
    m_dialogs.answers.clear();
    m_dialogs.calls.clear();

    const VirtualMouseIdentity id = identityFromCatalogue(apConfig);
    m_mouse = std::make_unique<VirtualMouse>(m_clock, id);
    if (options.contains(QStringLiteral("mouseProfile"))) {
        VirtualMouseState state = m_mouse->state();
        state.currentProfile = uchar(options.value(QStringLiteral("mouseProfile")).toInt());
        m_mouse->setState(state);
    }
    m_tracer = std::make_unique<TracingHidApi>(*m_mouse, m_clock);
    m_tracer->setDevice(&m_traceBuffer);
    m_hid = std::make_unique<Hid_Thread>(*m_tracer, m_clock);
    m_host = std::make_unique<FakeLinkHost>();
    m_host->gun = options.value(QStringLiteral("isGun"), true).toBool();
    m_hid->setHost(m_host.get());
    m_view = std::make_unique<myQQuickView>(m_data->root(), &m_dialogs,
                                            std::make_unique<FakePointerBackend>(m_pointer));
    m_view->setObjectName(QStringLiteral("ui_View"));
    m_view->setHidLink(m_hid.get());
    m_appRules = std::make_unique<AppRulesBridge>(m_data->root());
    m_appRules->setAvailable(options.value(QStringLiteral("appRulesAvailable"), true).toBool());
    const QStringList running = options.value(QStringLiteral("runningPrograms")).toStringList();
    m_appRules->setRunningPrograms([running] { return running; });
    publish();

    // The connect sequence of the program, without the listener thread.
    const int index = m_hid->checkDevices(apConfig);
    if (index < 0)
        return false;
    m_view->clearHidBusy();
    m_hid->setDeviceConnected(true);
    if (m_view->featureContext().is560())
        m_view->profileSync().readAtConnect();
    m_view->setEnabled(true);
    oldView.reset();
    oldHid.reset();
    oldTracer.reset();
    oldMouse.reset();
    oldAppRules.reset();
    return true;
}

void QmlRig::publish()
{
    QQmlContext* context = m_engine->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), m_view.get());
    context->setContextProperty(QStringLiteral("hid"), m_hid.get());
    context->setContextProperty(QStringLiteral("ui_Ctl"), &m_controller);
    context->setContextProperty(QStringLiteral("appRules"), m_appRules.get());
    context->setContextProperty(QStringLiteral("rig"), this);
}

QString QmlRig::dataRoot() const { return m_data ? m_data->root() : QString(); }

int QmlRig::traceMark() const { return traceLines().size(); }

QStringList QmlRig::traceLines(int from) const
{
    return traceLinesOf(m_traceBuffer.data()).mid(qMax(0, from));
}

QStringList QmlRig::commands(int from) const { return commandFramesOf(traceLines(from)); }
QStringList QmlRig::writes(int from) const { return writeFramesOf(traceLines(from)); }

bool QmlRig::setMouseOption(const QString& key, const QString& value)
{
    return m_mouse && m_mouse->setOption(key, value);
}

QVariantMap QmlRig::mouseState() const { return m_mouse ? m_mouse->toJson().toVariantMap() : QVariantMap(); }

QVariant QmlRig::readSetting(const QString& file, const QString& key) const
{
    return m_data ? freshSetting(m_data->path(file), key) : QVariant();
}

void QmlRig::writeSetting(const QString& file, const QString& key, const QVariant& value)
{
    if (!m_data)
        return;
    QSettings s(m_data->path(file), QSettings::IniFormat);
    // A JavaScript array arrives as a QJSValue: store it as a list.
    s.setValue(key, value.canConvert<QJSValue>() && value.userType() == qMetaTypeId<QJSValue>()
                        ? value.value<QJSValue>().toVariant() : value);
}

QString QmlRig::readFile(const QString& file) const
{
    return m_data ? QString::fromUtf8(m_data->readFile(file)) : QString();
}

bool QmlRig::fileExists(const QString& file) const { return m_data && QFileInfo::exists(m_data->path(file)); }

QVariantList QmlRig::pointerCalls() const
{
    QVariantList calls;
    for (const PointerCall& c : m_pointer->calls)
        calls.append(QVariantMap{{QStringLiteral("setting"), c.setting}, {QStringLiteral("value"), c.value}});
    return calls;
}

void QmlRig::answerFileDialogs(const QStringList& answers)
{
    for (const QString& a : answers)
        m_dialogs.answers.append(a.isEmpty() || QDir::isAbsolutePath(a) || !m_data ? a : m_data->path(a));
}

QVariantList QmlRig::fileDialogCalls() const
{
    QVariantList calls;
    for (const ScriptedFileDialogs::Call& c : m_dialogs.calls)
        calls.append(QVariantMap{{QStringLiteral("save"), c.save}, {QStringLiteral("caption"), c.caption},
                                 {QStringLiteral("dir"), c.dir}, {QStringLiteral("filter"), c.filter}});
    return calls;
}

QString QmlRig::screenshotPath(const QString& name) const
{
    const QString dir = QDir::cleanPath(QStringLiteral(STRYDE_BIN_DIR "/../screenshots"));
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name + QStringLiteral(".png");
}

QObject* QmlRig::createControl(const QString& qml, QQuickItem* parentItem)
{
    QQmlContext* context = parentItem ? qmlContext(parentItem) : nullptr;
    if (!context) {
        qWarning("createControl: the parent item has no QML context");
        return nullptr;
    }
    QQmlComponent component(m_engine);
    const QString source = QStringLiteral("import QtQuick\nimport \"qrc:/modules/qml/K7\"\n") + qml;
    component.setData(source.toUtf8(), QUrl(QStringLiteral("qrc:/modules/qml/rig_control.qml")));
    QObject* object = component.beginCreate(context);
    if (!object) {
        qWarning().noquote() << "createControl:" << component.errorString();
        return nullptr;
    }
    if (auto* item = qobject_cast<QQuickItem*>(object))
        item->setParentItem(parentItem);
    component.completeCreate();
    QQmlEngine::setObjectOwnership(object, QQmlEngine::JavaScriptOwnership);
    return object;
}
