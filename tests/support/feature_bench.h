#pragma once
// A virtual mouse of one model on the device link, a store on a copy of the
// installed data whose global file names that model, and the feature context
// the view would hand the operations. Header-only: the support library links
// the device layer only, the store and the features come with the test.

#include "features/feature_context.h"
#include "features/profile_sync.h"
#include "store/settings_store.h"
#include "support/link_rig.h"

#include <QByteArray>
#include <QSettings>
#include <functional>
#include <memory>

class FeatureBench {
public:
    // What the global settings say about the mouse; the link host reports
    // recoil presets as `gun` says.
    struct Model {
        int family = 553;
        bool colourful = true;
        bool gun = false;
        bool is55328 = false;
    };
    // Connect: the device check runs before the constructor returns;
    // Later: it waits for connect().
    enum class Link { Connect, Later };
    // The byte a profile block holds at `index` before the blocks are read.
    using BlockPattern = std::function<uchar(int block, int index)>;

    // `prepare` changes the data folder after the global settings are written
    // and before the store reads it.
    explicit FeatureBench(const Model& model, const std::function<void(DataFixture&)>& prepare = {},
                          Link link = Link::Connect)
        : rig(model.family)
    {
        {
            QSettings s(rig.apConfig(), QSettings::IniFormat);
            s.setValue(QStringLiteral("mouse/icType"), QString::number(model.family));
            s.setValue(QStringLiteral("mouse/isColorful"), model.colourful);
            s.setValue(QStringLiteral("mouse/isGun"), model.gun);
            s.setValue(QStringLiteral("mouse/is55328"), model.is55328);
        }
        rig.host.gun = model.gun;
        if (prepare)
            prepare(rig.fixture);
        store = std::make_unique<SettingsStore>(rig.fixture.root());
        ctx.store = store.get();
        ctx.hid = &rig.hid;
        if (link == Link::Connect)
            connect();
    }

    // The device check; what it exchanged with the mouse is forgotten.
    bool connect()
    {
        connected = rig.check() == 1;
        rig.mouse->clearReceived();
        return connected;
    }

    // Gives the mouse's five profile blocks `pattern` (so bytes an operation
    // must leave alone are not zero) and reads them as the connect sequence does.
    void readBlocks(const BlockPattern& pattern)
    {
        VirtualMouseState s = rig.mouse->state();
        for (int b = 0; b < 5; ++b)
            for (int i = 0; i < 128; ++i)
                s.profileBlocks[size_t(b)][size_t(i)] = pattern(b, i);
        rig.mouse->setState(s);
        ProfileSync(ctx).readAtConnect();
        rig.mouse->clearReceived();
    }

    // Profile block `b` as the mouse holds it.
    QByteArray mouseBlock(int b) const
    {
        const VirtualMouseState state = rig.mouse->state();     // a copy: keep it while reading
        const VirtualBlock& block = state.profileBlocks[size_t(b)];
        return QByteArray(reinterpret_cast<const char*>(block.data()), int(block.size()));
    }

    LinkRig rig;
    std::unique_ptr<SettingsStore> store;
    FeatureContext ctx;
    bool connected = false;
};
