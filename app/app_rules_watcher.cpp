#include "app/app_rules_watcher.h"

#include "app/app_log.h"
#include "device/hid_thread.h"
#include "store/language_strings.h"
#include "view/my_qquick_view.h"
#include "view/view_facade.h"
#include "store/name_lists.h"
#include "store/settings_store.h"

#include <QApplication>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQuickItem>

namespace {

// The texts of the group "appRules" of the language files that the native
// side uses, by index.
constexpr int kToolTipForProgram = 9;   // "%1 — for %2"

} // namespace

AppRulesWatcher::AppRulesWatcher(myQQuickView& view, Hid_Thread& hid, Clock& clock,
                                 std::unique_ptr<ActiveWindowSource> source,
                                 std::function<void(const QString&)> toolTip, QObject* parent)
    : QObject(parent), m_view(view), m_hid(hid), m_source(std::move(source)), m_toolTip(std::move(toolTip)),
      m_bridge(view.facade()->store().dataRoot()),
      m_switch(clock, *this, [this](const QStringList& names) { return m_bridge.rules().match(names); },
               QCoreApplication::applicationPid())
{
    if (!m_source)
        m_source = makeActiveWindowSource();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_switch.poll(); });
    connect(m_source.get(), &ActiveWindowSource::activeWindowChanged, this,
            [this](const ActiveWindow& w) { m_switch.windowChanged(w); });
    connect(m_view.facade(), &ViewFacade::currentProfileChanged, this, [this](int profile) {
        m_switch.profileChanged(profile);
        updateToolTip();
    });
    // A rule added for the program in front counts at once.
    connect(&m_bridge, &AppRulesBridge::rulesChanged, this, [this] { deviceConnected(); });
    ActiveWindowSource* src = m_source.get();
    m_bridge.setRunningPrograms([src] { return src->runningPrograms(); });
    m_view.rootContext()->setContextProperty(QStringLiteral("appRules"), &m_bridge);
}

AppRulesWatcher::~AppRulesWatcher()
{
    m_view.rootContext()->setContextProperty(QStringLiteral("appRules"), nullptr);
}

bool AppRulesWatcher::start()
{
    const bool ok = m_source->start();
    m_bridge.setAvailable(ok);
    updateToolTip();
    return ok;
}

void AppRulesWatcher::deviceConnected()
{
    if (m_bridge.available())
        m_switch.reconsider();
}

int AppRulesWatcher::currentProfile() const
{
    return m_view.facade()->store().currentProfile();
}

bool AppRulesWatcher::profileExists(int profile) const
{
    const NameLists names(m_view.facade()->store().dataRoot());
    return AppRules::listedProfiles(names.getNameList(2)).contains(profile);
}

bool AppRulesWatcher::switchHeld() const
{
    if (!m_hid.deviceConnected() || !m_hid.transport().isReady() || !m_view.facade()->isEnabled())
        return true;
    if (QGuiApplication::modalWindow() || QApplication::activeModalWidget())
        return true;
    // Every dialog of the interface lies over the mask.
    const QQuickItem* root = m_view.rootObject();
    const QQuickItem* mask = root ? root->findChild<QQuickItem*>(QStringLiteral("mainMask")) : nullptr;
    return !root || (mask && mask->isVisible());
}

bool AppRulesWatcher::switchProfile(int profile)
{
    return m_view.facade()->chooseProfile(profile);
}

void AppRulesWatcher::schedule(int ms)
{
    // Without a mouse nothing is switched; the connect sequence asks again.
    if (m_hid.deviceConnected())
        m_timer.start(ms);
}

void AppRulesWatcher::ruleChanged()
{
    updateToolTip();
}

QString AppRulesWatcher::toolTipLine() const
{
    const int profile = currentProfile();
    const QString name = AppRules::profileName(NameLists(m_view.facade()->store().dataRoot()).getNameList(2), profile);
    if (name.isEmpty())
        return QString();
    if (m_switch.ruleProfile() != profile)
        return name;
    const QString language = m_view.facade()->store().getGlobalData(QStringLiteral("common/language")).toString();
    QString format = m_view.facade()->languageStrings().getLangStrings(QStringLiteral("appRules"), language).value(kToolTipForProgram);
    if (!format.contains(QLatin1String("%1")) || !format.contains(QLatin1String("%2")))
        format = QStringLiteral("%1 — for %2");
    return format.arg(name, m_switch.ruleProgram());
}

void AppRulesWatcher::updateToolTip()
{
    if (m_toolTip)
        m_toolTip(toolTipLine());
}
