#include "features/feature_context.h"

#include "device/hid_thread.h"
#include "store/settings_store.h"

bool FeatureContext::is560() const
{
    return store && store->icType() == QLatin1String("560");
}

WriteOutcome FeatureContext::writesOutcome() const
{
    return hid ? hid->outcome() : WriteOutcome::Done;
}
